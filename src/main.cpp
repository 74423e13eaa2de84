#include "app/desktop_launcher.h"
#include "app/shell_controller.h"
#include "app/startup.h"
#include "core/app_dir.h"
#include "core/app_state.h"
#include "core/command_line.h"
#include "core/formatting.h"
#include "core/message_catalogue.h"
#include "core/unattended.h"
#include "output/console_runner.h"
#include "ui/czech_translation.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/qt_prompts.h"
#include "ui/query_analyzer_window.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <memory>

using namespace kelvarn;

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList out;
    for (int i = 1; i < argc; ++i)
        out << QString::fromLocal8Bit(argv[i]);
    return out;
}

// "-inst"/"-reinst": connect with the configured string, run the script through the
// console, report the outcome and end. Unattended runs need no screen.
int runInstall(AppState& state, Prompts& prompts, const QString& script, QWidget* consoleParent) {
    InstallRunHooks hooks;
    // Nobody reads the configuration file, answers a dialog or watches the console of
    // an unattended run.
    if (consoleParent) {
        hooks.login = [&state, consoleParent](QString& user, QString& password) {
            LoginDialog login(consoleParent);
            login.setPlatform(state.platform);
            return login.ask(user, password);
        };
        hooks.openConfiguration = [&state] { DesktopLauncher().openConfigFile(state.configFilePath()); };
        hooks.showConsole = [&prompts](ConsoleRunner& runner) -> std::unique_ptr<QObject> {
            auto window = std::make_unique<QueryAnalyzerWindow>(runner, prompts);
            window->show();
            return window;
        };
    }
    return runInstallMode(state, prompts, script, hooks);
}

} // namespace

int main(int argc, char** argv) {
    const QStringList arguments = argumentsOf(argc, argv);
    const bool versionQuery = arguments == QStringList{QStringLiteral("-ver")};
    const bool unattended = unattendedMode();
    // An unattended run on a machine without a screen still runs the whole start-up.
    if (!versionQuery && unattended && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    std::unique_ptr<QCoreApplication> app(versionQuery ? new QCoreApplication(argc, argv)
                                                       : new QApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvarn"));
    const CzechTranslation czech;
    LocaleConventions::setCurrent(LocaleConventions::fromSystem());

    AppState state;
    state.appDir = resolveAppDir(QCoreApplication::applicationDirPath());
    state.decimalSeparator = LocaleConventions::current().decimalSeparator;
    const CommandLine command = parseCommandLine(arguments, state.appDir);
    state.startMode = command.mode;

    if (state.startMode == StartMode::VersionQuery) {
        QString error;
        if (!writeVersionFile(QDir::current().filePath(QStringLiteral("kelvarn_verze.txt")), state.appVersion,
                              &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }

    QtPrompts prompts; // every box goes to standard error in unattended runs

    if (state.startMode == StartMode::Install || state.startMode == StartMode::Reinstall) {
        std::unique_ptr<QWidget> anchor;
        if (!unattended)
            anchor = std::make_unique<QWidget>();
        return runInstall(state, prompts, command.scriptPath, anchor.get());
    }

    MainWindow window(prompts, state.appDir);
    window.controller().state().decimalSeparator = state.decimalSeparator;
    prompts.setParentWidget(&window);
    // Nobody can close the window of an unattended run: it ends after the start-up.
    const bool exitAfterStartUp =
        unattended || qEnvironmentVariableIntValue("KELVARN_EXIT_AFTER_STARTUP") == 1;
    window.setStartOnShow(!exitAfterStartUp);
    window.show();
    if (exitAfterStartUp) {
        const bool running = window.controller().startUp();
        window.close();
        return running ? 0 : 1;
    }
    return app->exec();
}
