#pragma once

#include "app/shell_view.h"

namespace kelvarn::bench {

// The window's side of the start-up and of the panels, with nobody looking.
class NullShellView : public ShellView {
  public:
    void setSplashVisible(bool) override {}
    void setStatusText(const QString&) override {}
    void setRecordCount(int, bool) override {}
    QString caption() const override { return {}; }
    void setCaption(const QString&) override {}
    void setApplicationTitle(const QString&) override {}
    void setModulesEnabled(bool) override {}
    void selectTab(int) override {}
    int currentTab() const override { return 0; }
    void showTips() override {}
    bool askLogin(const QString&, QString&, QString&) override { return false; }
    void setAboutApplication(const QString&, const QString&) override {}
    void setAboutDatabase(const QString&) override {}
    void setSettingsConnection(const QString&, const QString&) override {}
    void setReportNames(const QStringList&) override {}
    void openConfigurationFile() override {}
    void showConsole() override {}
    void showEntrepreneurPanel(Dataset&) override {}
    void startBlinkTimer(int) override {}
    void stopBlinkTimer() override {}
    void closeWindow() override {}
};

} // namespace kelvarn::bench
