#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace kelvarn {

// Starts program with arguments without waiting for it; false when it could not
// be started (for example when it is not installed).
using ProgramStarter = std::function<bool(const QString& program, const QStringList& arguments)>;
// Reads an environment variable; empty when unset.
using EnvironmentReader = std::function<QString(const QString& name)>;

// Hands files, folders and the help page to the desktop's own programs. Nothing is
// waited for and a missing program only makes the call return false.
class DesktopLauncher {
  public:
    DesktopLauncher();
    DesktopLauncher(ProgramStarter starter, EnvironmentReader environment);

    // A file or folder in its default application (a folder in the file manager).
    bool openPath(const QString& path) const;
    // The configuration file in $VISUAL or $EDITOR when set, else in the default text application.
    bool openConfigFile(const QString& configPath) const;
    // The help page appDir + "help/!dokument2.htm" in the default web browser.
    bool openHelp(const QString& appDir) const;
    // Any program, with the arguments as they are.
    bool startProgram(const QString& program, const QStringList& arguments) const {
        return start_ && start_(program, arguments);
    }
    // There is no ODBC data source administrator to start here; the caller tells the user.
    bool openOdbcAdministrator() const { return false; }

    static QString helpPagePath(const QString& appDir);
    static bool startDetached(const QString& program, const QStringList& arguments);
    static QString systemEnvironment(const QString& name);

  private:
    ProgramStarter start_;
    EnvironmentReader environment_;
};

} // namespace kelvarn
