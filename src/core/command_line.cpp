#include "core/command_line.h"

#include "core/text_file.h"
#include "core/text_utils.h"

namespace kelvarn {

CommandLine parseCommandLine(const QStringList& arguments, const QString& appDir) {
    CommandLine result;
    if (arguments.size() == 1 && arguments.at(0) == QLatin1String("-ver")) {
        result.mode = StartMode::VersionQuery;
        return result;
    }
    // The third argument is never used, but installers have always passed one and
    // its absence marks a command line typed by hand.
    if (arguments.size() > 2 && !arguments.at(1).isEmpty() && !arguments.at(2).isEmpty()) {
        if (arguments.at(0) == QLatin1String("-inst"))
            result.mode = StartMode::Install;
        else if (arguments.at(0) == QLatin1String("-reinst"))
            result.mode = StartMode::Reinstall;
        if (result.mode != StartMode::Normal)
            result.scriptPath = replaceFirst(arguments.at(1), QStringLiteral("~dp0"), appDir);
    }
    return result;
}

bool writeVersionFile(const QString& path, const QString& appVersion, QString* error) {
    return writeCp1250File(path, appVersion + QStringLiteral("\r\n"), error);
}

} // namespace kelvarn
