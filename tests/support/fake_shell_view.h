#pragma once

#include "app/shell_view.h"
#include "db/dataset.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kelvarn::test {

// A ShellView that records what the start-up showed and answers the login from a
// function (cancelled when none is set).
class FakeShellView : public ShellView {
  public:
    void setSplashVisible(bool visible) override { splashCalls << visible; }
    void setStatusText(const QString& text) override { statusTexts << text; }
    void setRecordCount(int count, bool filtered) override {
        recordCount = count;
        recordCountFiltered = filtered;
    }
    QString caption() const override { return caption_; }
    void setCaption(const QString& caption) override { caption_ = caption; }
    void setApplicationTitle(const QString& title) override { applicationTitle = title; }
    void setModulesEnabled(bool enabled) override { modulesEnabled = enabled; }
    void selectTab(int index) override {
        tab = index;
        selectedTabs << index;
    }
    int currentTab() const override { return tab; }
    void showTips() override { ++tipsShown; }
    bool askLogin(const QString& platform, QString& userName, QString& password) override {
        ++loginCalls;
        loginPlatform = platform;
        loginPreset = userName;
        statusWhileLogin = statusTexts.isEmpty() ? QString() : statusTexts.last();
        return login && login(userName, password);
    }
    void setAboutApplication(const QString& appVersion, const QString& rev) override {
        aboutAppVersion = appVersion;
        revision = rev;
    }
    void setAboutDatabase(const QString& dbVersion) override { aboutDbVersion = dbVersion; }
    void setSettingsConnection(const QString& user, const QString& connection) override {
        settingsUser = user;
        settingsConnection = connection;
    }
    void setReportNames(const QStringList& names) override { reportNames = names; }
    void openConfigurationFile() override { ++configFileOpened; }
    void showConsole() override { ++consoleShown; }
    void showEntrepreneurPanel(Dataset& dataset) override { entrepreneurShown = &dataset; }
    void startBlinkTimer(int intervalMs) override { blinkInterval = intervalMs; }
    void stopBlinkTimer() override { blinkInterval = 0; }
    void closeWindow() override { ++closed; }

    QString status() const { return statusTexts.isEmpty() ? QString() : statusTexts.last(); }
    bool splashVisible() const { return !splashCalls.isEmpty() && splashCalls.last(); }

    std::function<bool(QString& userName, QString& password)> login;

    QList<bool> splashCalls;
    QStringList statusTexts;
    int recordCount = -1;
    bool recordCountFiltered = false;
    QString caption_;
    QString applicationTitle;
    bool modulesEnabled = true;
    int tab = 0;
    QList<int> selectedTabs;
    int tipsShown = 0;
    int loginCalls = 0;
    QString loginPlatform;
    QString loginPreset;
    QString statusWhileLogin;
    QString aboutAppVersion;
    QString revision;
    QString aboutDbVersion;
    QString settingsUser;
    QString settingsConnection;
    QStringList reportNames;
    int configFileOpened = 0;
    int consoleShown = 0;
    Dataset* entrepreneurShown = nullptr;
    int blinkInterval = 0;
    int closed = 0;
};

} // namespace kelvarn::test
