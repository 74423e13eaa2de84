#pragma once

#include <QString>

namespace kelvarn {

enum class StartMode { Normal, Install, Reinstall, VersionQuery };

// The run-time values of the main window for one run of the program.
struct AppState {
    QString platform;               // DbPlatform code "1".."5"; empty until the ini file opens
    QString connectionString;
    QString connectionStringShown;
    QString userName;
    QString password;
    QString showTips;
    bool debug = false;
    bool saveWithoutPrompt = false;
    bool ascendingOrder = false;
    bool refreshAfterSave = false;
    int updateCriteria = 0;
    int resyncOnEdit = 4;
    int resyncOnInsert = 1;
    // Ticked for Oracle and Firebird: new row ids come from sequences, not the database.
    bool oracleAutoInc = false;
    bool firebirdAutoInc = false;
    QString appDir;                 // with trailing separator
    QString configBaseName = QStringLiteral("kelvarn");
    QString appVersion = QStringLiteral("1.70");
    QString revision;
    QString dbVersion;
    QString entrepreneurName;
    QString entrepreneurIco;
    double vatReduced = 0;
    double vatBasic = 0;
    double defaultItemVat = 0;
    int testState = 0;
    QString savedCaption;
    QString decimalSeparator = QStringLiteral(",");
    int themeActive = 0;
    StartMode startMode = StartMode::Normal;
    int installResult = 0;          // 2 success, 1 failure, 0 not set
    bool started = false;
    bool loggedIn = false;
    int tipIndex = 0;

    bool usesSequences() const { return oracleAutoInc || firebirdAutoInc; }
    QString configFilePath() const { return appDir + configBaseName + QStringLiteral(".ini"); }
};

} // namespace kelvarn
