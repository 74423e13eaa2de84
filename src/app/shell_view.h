#pragma once

#include <QString>
#include <QStringList>

namespace kelvarn {

class Dataset;

// What the start-up and the end of the run need of the main window. The widget
// layer implements it; tests implement it with a recording fake.
class ShellView {
  public:
    virtual ~ShellView() = default;

    virtual void setSplashVisible(bool visible) = 0;
    virtual void setStatusText(const QString& text) = 0;
    // The module counter at the right end of the tab row; drawn in red while a
    // filter narrows the list.
    virtual void setRecordCount(int count, bool filtered) = 0;

    virtual QString caption() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setApplicationTitle(const QString& title) = 0;

    // The tab bar and the tool bar; the menus stay usable whatever this says.
    virtual void setModulesEnabled(bool enabled) = 0;
    virtual void selectTab(int index) = 0;
    virtual int currentTab() const = 0;

    // The tip of the day, not modal; the tip index is in the application state.
    virtual void showTips() = 0;
    // The login dialog for the platform, preset with userName when it is not empty.
    // True when the user logged in.
    virtual bool askLogin(const QString& platform, QString& userName, QString& password) = 0;

    // What the about window shows ("verze aplikace: " + appVersion and so on).
    virtual void setAboutApplication(const QString& appVersion, const QString& revision) = 0;
    virtual void setAboutDatabase(const QString& dbVersion) = 0;
    // Texts of the settings window.
    virtual void setSettingsConnection(const QString& userName, const QString& connectionShown) = 0;
    virtual void setReportNames(const QStringList& names) = 0;

    virtual void openConfigurationFile() = 0;
    // The SQL console, for the install run.
    virtual void showConsole() = 0;
    // Binds the entrepreneur panel to its dataset and shows it.
    virtual void showEntrepreneurPanel(Dataset& dataset) = 0;

    // The TEST caption blink; every tick calls StartupController::blinkTick.
    virtual void startBlinkTimer(int intervalMs) = 0;
    virtual void stopBlinkTimer() = 0;

    virtual void closeWindow() = 0;
};

} // namespace kelvarn
