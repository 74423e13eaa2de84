#pragma once

#include "core/app_state.h"
#include "db/database_session.h"
#include "db/db_platform.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace kelvarn::test {

// A fresh database of one platform, created by the real install script through the
// real console runner. SQLite always; MariaDB and Firebird when scripts/test-servers
// started them (KELVARN_TEST_MYSQL_* / KELVARN_TEST_FB_* in the environment). With
// KELVARN_REQUIRE_SERVERS=1 a missing server fails the test instead of skipping it.
struct TestDatabase {
    DbPlatform platform = DbPlatform::Jet;
    QString connectionString; // with credentials
    AppState state;           // platform, sequence marks and appDir set for this database
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<DatabaseSession> session;
    QString serverDatabase; // MariaDB schema or Firebird file to drop afterwards

    ~TestDatabase();

    // Another connection to the same database (for concurrency tests).
    std::unique_ptr<DatabaseSession> openSecondSession(const QString& name) const;
};

// "sqlite", "mariadb", "firebird"
QString platformLabel(DbPlatform platform);
std::vector<DbPlatform> testPlatforms();

// Why the platform cannot be used here ("" when it can).
QString unavailableReason(DbPlatform platform);

// Creates the database; installDemo also runs the demo data script. Fails the
// current test (gtest ADD_FAILURE) and returns null when creation fails.
std::unique_ptr<TestDatabase> createTestDatabase(DbPlatform platform, bool installDemo = false);

// The folder holding install/ (the source tree), for scripts.
QString sourceDir();

// Copies the files of one folder (not its subfolders) into another, made if needed.
bool copyFolder(const QString& from, const QString& to);

// The first column of the first row as text; "<no row>" when nothing comes back.
QString scalar(DatabaseSession& session, const QString& sql);

} // namespace kelvarn::test

// Skips (or fails, when servers are required) a test whose platform is unavailable.
#define KELVARN_REQUIRE_PLATFORM(platform)                                                                   \
    do {                                                                                                     \
        const QString why_ = ::kelvarn::test::unavailableReason(platform);                                   \
        if (!why_.isEmpty()) {                                                                               \
            if (qEnvironmentVariableIntValue("KELVARN_REQUIRE_SERVERS") == 1)                                \
                FAIL() << why_.toStdString();                                                                \
            GTEST_SKIP() << why_.toStdString();                                                              \
        }                                                                                                    \
    } while (0)
