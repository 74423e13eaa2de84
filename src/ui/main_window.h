#pragma once

#include "app/desktop_launcher.h"
#include "app/module_view.h"
#include "app/shell_view.h"
#include "ui/main_menu.h"
#include "ui/main_toolbar.h"

#include <QImage>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

class QKeyEvent;
class QLabel;
class QStackedWidget;
class QTabBar;

namespace kelvarn {

class AboutDialog;
class EntrepreneurPanel;
class ModulePages;
class Prompts;
class QueryAnalyzerWindow;
class ReportPreviewWindow;
class SettingsDialog;
class ShellController;
class SplashView;
class TipsDialog;

// The program's main window: menus, record tool bar, the row of module tabs with
// the record counter, the module panels under the splash picture and the status
// line. The start-up runs on its first showing; the rules live in ShellController
// and its ModuleController, which reach the panels through ModuleView.
class BoundForm;
class CalendarWindow;

class MainWindow : public QMainWindow, public ShellView, public ModuleView {
    Q_OBJECT
  public:
    MainWindow(Prompts& prompts, const QString& appDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    ShellController& controller() { return *controller_; }

    // How the login is asked (tests answer it themselves); by default the login
    // dialog, or in unattended runs its preset accepted.
    using LoginHandler = std::function<bool(const QString& platform, QString& userName, QString& password)>;
    void setLoginHandler(LoginHandler handler) { login_ = std::move(handler); }
    // Starts the desktop's programs (file manager, editor, browser).
    void setLauncher(const DesktopLauncher& launcher) { launcher_ = launcher; }
    // Whether the first showing starts the start-up (tests start it themselves).
    void setStartOnShow(bool start) { startOnShow_ = start; }

    QTabBar* tabBar() const { return tabs_; }
    QLabel* recordCountLabel() const { return recordCount_; }
    QLabel* statusLabel() const { return status_; }
    QWidget* splash() const;
    const QImage& splashImage() const { return splashImage_; }
    QStackedWidget* modules() const { return modules_; }
    EntrepreneurPanel* entrepreneurPanel() const { return entrepreneur_; }
    const ModulePages& modulePages() const { return *pages_; }
    const MainMenu& mainMenu() const { return menu_; }
    const MainToolbar& toolbar() const { return toolbar_; }
    QueryAnalyzerWindow* console() const { return console_; }
    TipsDialog* tipsDialog() const { return tips_; }
    AboutDialog* aboutDialog() const { return about_; }
    SettingsDialog* settingsDialog() const { return settings_; }
    ReportPreviewWindow* reportPreview() const { return preview_; }
    QString applicationTitle() const { return applicationTitle_; }
    bool blinking() const { return blink_.isActive(); }

    // The twelve module captions, in tab order.
    static QStringList moduleCaptions();

    // ShellView
    void setSplashVisible(bool visible) override;
    void setStatusText(const QString& text) override;
    void setRecordCount(int count, bool filtered) override;
    QString caption() const override;
    void setCaption(const QString& caption) override;
    void setApplicationTitle(const QString& title) override;
    void setModulesEnabled(bool enabled) override;
    void selectTab(int index) override;
    int currentTab() const override;
    void showTips() override;
    bool askLogin(const QString& platform, QString& userName, QString& password) override;
    void setAboutApplication(const QString& appVersion, const QString& revision) override;
    void setAboutDatabase(const QString& dbVersion) override;
    void setSettingsConnection(const QString& userName, const QString& connectionShown) override;
    void setReportNames(const QStringList& names) override;
    void openConfigurationFile() override;
    void showConsole() override;
    void showEntrepreneurPanel(Dataset& dataset) override;
    void startBlinkTimer(int intervalMs) override;
    void stopBlinkTimer() override;
    void closeWindow() override;

    // ModuleView (setRecordCount and setStatusText are shared with ShellView)
    void setContainerVisible(const QString& container, bool visible) override;
    void setFocus(const FocusTarget& target) override;
    QString focusedControl() const override;
    QList<Dataset::Bookmark> selectedRows(const QString& grid) const override;
    void setGridReadOnly(const QString& grid, bool readOnly) override;

  public Q_SLOTS:
    void saveRecord();
    void cancelEdit();
    void showQueryAnalyzer();
    void showSettings();
    void showAbout();
    void showOdbcNote();
    void openHelp();
    void openProgramFolder();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showCalendar();
    // F4 or a double click on a date field of a detail form.
    void pickDate(BoundForm* form, const QString& column, const QString& text);
    void pickDateInFocusedField();
    void buildModules();
    void loadSplash(const QString& appDir);
    void fitTabs();
    void wireMenu();
    void tabChanged(int index);
    void wireModules();
    void wireRecordButtons();
    // Writes what the detail form in the container could not take while typed; false
    // (the user told) when the row refuses it.
    bool headerTextsTaken(const QString& container);
    // Runs a module command; a database refusal is shown, not thrown.
    void runCommand(const std::function<void()>& command);
    // The keyboard map; true when the key was dealt with (and goes no further).
    bool moduleKeyPressed(QWidget* receiver, QKeyEvent* event);
    void sortCurrentList(bool descending);
    void selectWholeText(const QString& column);
    QWidget* namedControl(const QString& name) const;

    Prompts& prompts_;
    ShellController* controller_ = nullptr;
    LoginHandler login_;
    DesktopLauncher launcher_;
    bool startOnShow_ = true;

    MainMenu menu_;
    MainToolbar toolbar_;
    QTabBar* tabs_ = nullptr;
    QLabel* recordCount_ = nullptr;
    QStackedWidget* modules_ = nullptr;
    SplashView* splash_ = nullptr;
    QImage splashImage_;
    EntrepreneurPanel* entrepreneur_ = nullptr;
    std::unique_ptr<ModulePages> pages_;
    int shownTab_ = 0;
    bool restoringTab_ = false;
    bool forwardingKey_ = false;
    QLabel* status_ = nullptr;
    QTimer blink_;

    QueryAnalyzerWindow* console_ = nullptr;
    TipsDialog* tips_ = nullptr;
    AboutDialog* about_ = nullptr;
    ReportPreviewWindow* preview_ = nullptr;
    SettingsDialog* settings_ = nullptr;
    QString applicationTitle_;
    CalendarWindow* calendar_ = nullptr;
};

} // namespace kelvarn
