#pragma once

#include "app/desktop_launcher.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kelvarn {

class Prompts;

// The tools menu's hand-overs to programs outside: the backup, the update wizard
// and the TEST database maker (each then ends this program), the ODBC administrator,
// the configuration file, the help page and the program folder. Each composes the
// command line it has always had; here it runs the counterpart this system has, and
// tells the user plainly when there is none, instead of closing for nothing.
class OutsideTools {
  public:
    enum class Tool { Backup, UpdateWizard, CreateTest };

    // isExecutable: whether a file exists and may be run (tests fake the folder).
    OutsideTools(Prompts& prompts, DesktopLauncher launcher, std::function<bool(const QString& path)> isExecutable = {});

    // The command line of the tool as composed for its own system.
    static QString commandLine(Tool tool);
    static QString caption(Tool tool);
    // Where a counterpart of the tool is looked for: the tool's name without its
    // extension, as a program or a ".sh" script in the program folder.
    static QStringList counterpartPaths(Tool tool, const QString& appDir);

    // Starts the tool's counterpart; true when it runs (the caller then closes the
    // main window). False after telling the user why nothing started.
    bool start(Tool tool, const QString& appDir);
    void odbcAdministrator();
    void configurationFile(const QString& configPath);
    void help(const QString& appDir);
    void programFolder(const QString& appDir);

  private:
    void notStarted(const QString& caption, const QString& text);

    Prompts& prompts_;
    DesktopLauncher launcher_;
    std::function<bool(const QString&)> isExecutable_;
};

} // namespace kelvarn
