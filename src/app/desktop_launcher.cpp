#include "app/desktop_launcher.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace kelvarn {
namespace {

const QString kOpener = QStringLiteral("xdg-open");

} // namespace

DesktopLauncher::DesktopLauncher() : DesktopLauncher(&DesktopLauncher::startDetached, &systemEnvironment) {}

DesktopLauncher::DesktopLauncher(ProgramStarter starter, EnvironmentReader environment)
    : start_(std::move(starter)), environment_(std::move(environment)) {}

bool DesktopLauncher::openPath(const QString& path) const {
    if (path.isEmpty() || !start_)
        return false;
    return start_(kOpener, {path});
}

bool DesktopLauncher::openConfigFile(const QString& configPath) const {
    if (configPath.isEmpty() || !start_)
        return false;
    for (const QString& variable : {QStringLiteral("VISUAL"), QStringLiteral("EDITOR")}) {
        // The variable may carry options ("emacsclient -c"), split as a shell would.
        const QStringList command = QProcess::splitCommand(environment_ ? environment_(variable) : QString());
        if (command.isEmpty())
            continue;
        return start_(command.first(), command.mid(1) << configPath);
    }
    return start_(kOpener, {configPath});
}

bool DesktopLauncher::openHelp(const QString& appDir) const {
    if (!start_)
        return false;
    // HTML files belong to the web browser in every desktop's default associations.
    return start_(kOpener, {helpPagePath(appDir)});
}

QString DesktopLauncher::helpPagePath(const QString& appDir) {
    return appDir + QStringLiteral("help/!dokument2.htm");
}

bool DesktopLauncher::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

QString DesktopLauncher::systemEnvironment(const QString& name) {
    return QProcessEnvironment::systemEnvironment().value(name);
}

} // namespace kelvarn
