#include "support/db/test_databases.h"

#include "core/text_file.h"
#include "db/db_error.h"
#include "output/console_runner.h"
#include "output/script_converter.h"
#include "support/scripted_prompts.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace kelvarn::test {

namespace {

QAtomicInt counter;

QString env(const char* name) {
    return qEnvironmentVariable(name);
}

QString uniqueName() {
    return QStringLiteral("kt_%1_%2")
        .arg(QCoreApplication::applicationPid())
        .arg(counter.fetchAndAddRelaxed(1));
}

QString mysqlServerString() {
    QString s = QStringLiteral("Provider=MySQLProv;Data Source=%1;Port=%2;User ID=%3;Password=%4;")
                    .arg(env("KELVARN_TEST_MYSQL_HOST"), env("KELVARN_TEST_MYSQL_PORT"),
                         env("KELVARN_TEST_MYSQL_USER"), env("KELVARN_TEST_MYSQL_PASSWORD"));
    return s;
}

QString firebirdString(const QString& path) {
    return QStringLiteral("Provider=LCPI.IBProvider;Data Source=%1:%2;User ID=%3;Password=%4;")
        .arg(env("KELVARN_TEST_FB_HOST"), path, env("KELVARN_TEST_FB_USER"), env("KELVARN_TEST_FB_PASSWORD"));
}

bool createFirebirdFile(const QString& path, QString& error) {
    QProcess isql;
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q")});
    if (!isql.waitForStarted(10000)) {
        error = QStringLiteral("isql-fb cannot be started");
        return false;
    }
    const QString sql =
        QStringLiteral("CREATE DATABASE '%1:%2' USER '%3' PASSWORD '%4' DEFAULT CHARACTER SET UTF8;\n")
            .arg(env("KELVARN_TEST_FB_HOST"), path, env("KELVARN_TEST_FB_USER"),
                 env("KELVARN_TEST_FB_PASSWORD"));
    isql.write(sql.toUtf8());
    isql.closeWriteChannel();
    if (!isql.waitForFinished(60000) || isql.exitCode() != 0) {
        error = QString::fromLocal8Bit(isql.readAllStandardError() + isql.readAllStandardOutput());
        return false;
    }
    return true;
}

bool runScript(TestDatabase& db, const QString& file) {
    QString script;
    QString error;
    if (!readCp1250File(file, script, &error)) {
        ADD_FAILURE() << "cannot read " << file.toStdString() << ": " << error.toStdString();
        return false;
    }
    ScriptedPrompts prompts;
    ConsoleRunner runner(*db.session, db.state, prompts);
    runner.setMode(modeForPlatform(db.state.platform));
    db.state.installResult = 0;
    runner.run(script);
    if (db.state.installResult != 2 || !prompts.shown.isEmpty()) {
        std::string shown;
        for (const auto& s : prompts.shown)
            shown += (s.caption + QStringLiteral(": ") + s.text + QLatin1Char('\n')).toStdString();
        ADD_FAILURE() << "script " << file.toStdString() << " failed on "
                      << platformLabel(db.platform).toStdString() << ":\n"
                      << shown;
        return false;
    }
    return true;
}

} // namespace

bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    return true;
}

QString scalar(DatabaseSession& session, const QString& sql) {
    QSqlQuery q = session.query(sql);
    return q.next() ? q.value(0).toString() : QStringLiteral("<no row>");
}

QString sourceDir() {
    return QStringLiteral(KELVARN_SOURCE_DIR);
}

QString platformLabel(DbPlatform platform) {
    switch (platform) {
    case DbPlatform::MySql:
        return QStringLiteral("mariadb");
    case DbPlatform::Firebird:
        return QStringLiteral("firebird");
    default:
        return QStringLiteral("sqlite");
    }
}

std::vector<DbPlatform> testPlatforms() {
    return {DbPlatform::Jet, DbPlatform::MySql, DbPlatform::Firebird};
}

QString unavailableReason(DbPlatform platform) {
    switch (platform) {
    case DbPlatform::MySql:
        if (env("KELVARN_TEST_MYSQL_HOST").isEmpty())
            return QStringLiteral("no MariaDB test server (start it with scripts/test-servers start and "
                                  "export the lines of scripts/test-servers env)");
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QMYSQL")))
            return QStringLiteral("the Qt MySQL driver is not installed");
        return {};
    case DbPlatform::Firebird:
        if (env("KELVARN_TEST_FB_HOST").isEmpty())
            return QStringLiteral("no Firebird test server (start it with scripts/test-servers start and "
                                  "export the lines of scripts/test-servers env)");
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QIBASE")))
            return QStringLiteral("the Qt Firebird driver is not installed");
        return {};
    default:
        return {};
    }
}

TestDatabase::~TestDatabase() {
    if (session)
        session->close();
    session.reset();
    if (serverDatabase.isEmpty())
        return;
    try {
        if (platform == DbPlatform::MySql) {
            DatabaseSession admin;
            admin.open(mysqlServerString(), DbPlatform::MySql);
            admin.execute(QStringLiteral("DROP DATABASE IF EXISTS ") + serverDatabase);
        } else if (platform == DbPlatform::Firebird) {
            QFile::remove(serverDatabase);
        }
    } catch (const DbError&) {
        // A database left behind on a private test server does no harm.
    }
}

std::unique_ptr<DatabaseSession> TestDatabase::openSecondSession(const QString& name) const {
    auto s = std::make_unique<DatabaseSession>(name);
    s->open(connectionString, platform);
    return s;
}

std::unique_ptr<TestDatabase> createTestDatabase(DbPlatform platform, bool installDemo) {
    auto db = std::make_unique<TestDatabase>();
    db->platform = platform;
    db->dir = std::make_unique<QTemporaryDir>();
    db->state.appDir = db->dir->path() + QLatin1Char('/');
    db->state.platform = platformCode(platform);
    db->state.firebirdAutoInc = platform == DbPlatform::Firebird;
    db->state.oracleAutoInc = platform == DbPlatform::Oracle;
    db->session = std::make_unique<DatabaseSession>();
    try {
        switch (platform) {
        case DbPlatform::MySql: {
            const QString name = uniqueName();
            DatabaseSession admin;
            admin.open(mysqlServerString(), DbPlatform::MySql);
            admin.execute(QStringLiteral("CREATE DATABASE ") + name +
                          QStringLiteral(" CHARACTER SET utf8mb4 COLLATE utf8mb4_czech_ci"));
            db->serverDatabase = name;
            db->connectionString =
                mysqlServerString() + QStringLiteral("Initial Catalog=") + name + QLatin1Char(';');
            db->session->open(db->connectionString, platform);
            break;
        }
        case DbPlatform::Firebird: {
            const QString path =
                QDir(env("KELVARN_TEST_FB_DIR")).filePath(uniqueName() + QStringLiteral(".fdb"));
            QString error;
            if (!createFirebirdFile(path, error)) {
                ADD_FAILURE() << "cannot create Firebird database: " << error.toStdString();
                return nullptr;
            }
            db->serverDatabase = path;
            db->connectionString = firebirdString(path);
            db->session->open(db->connectionString, platform);
            break;
        }
        default: {
            const QString path = db->dir->filePath(QStringLiteral("kelvarn.db"));
            db->connectionString =
                QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path + QLatin1Char(';');
            db->session->open(db->connectionString, platform, true);
            break;
        }
        }
    } catch (const DbError& e) {
        ADD_FAILURE() << "cannot open " << platformLabel(platform).toStdString() << " database: " << e.what();
        return nullptr;
    }
    db->state.connectionString = db->connectionString;
    const QString install = sourceDir() + QStringLiteral("/install/");
    if (!runScript(*db, install + QStringLiteral("kelvarn_install.sql")))
        return nullptr;
    if (installDemo && !runScript(*db, install + QStringLiteral("kelvarn_demo.sql")))
        return nullptr;
    return db;
}

} // namespace kelvarn::test
