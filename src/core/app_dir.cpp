#include "core/app_dir.h"

#include <QDir>

namespace kelvarn {

QString resolveAppDir(const QString& executableDir) {
    QString dir = qEnvironmentVariable("KELVARN_APPDIR");
    if (dir.isEmpty())
        dir = executableDir;
    // The folder is compared with the database path in the connection string, which
    // is absolute; a relative folder would never match.
    dir = QDir(dir).absolutePath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

} // namespace kelvarn
