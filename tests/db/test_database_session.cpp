#include "db/connection_string.h"
#include "db/database_session.h"
#include "db/db_error.h"
#include "support/db/test_databases.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kelvarn;
using namespace kelvarn::test;

TEST(ConnectionString, ProvidersPickTheirDrivers) {
    struct Case {
        const char* text;
        DriverKind driver;
    } cases[] = {
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/x/kelvarn.db;", DriverKind::Sqlite},
        {"Data Source=/x/kelvarn.db;", DriverKind::Sqlite},
        {"Provider=MySQLProv;Data Source=db.local:3307;Initial Catalog=k;", DriverKind::MySql},
        {"Provider=LCPI.IBProvider;Data Source=localhost:/d/k.fdb;", DriverKind::Firebird},
        {"Provider=SQLOLEDB;Data Source=srv,1444;Initial Catalog=k;", DriverKind::MsSqlOdbc},
        {"Provider=OraOLEDB.Oracle;Data Source=ORCL;", DriverKind::OracleOdbc},
        {"Provider=Nonsense.1;Data Source=x;", DriverKind::Unknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseConnectionString(QString::fromLatin1(c.text)).driver, c.driver) << c.text;

    const ConnectionParams my = parseConnectionString(
        QStringLiteral("provider=MySQLProv; data source=db.local:3307;User ID=jan;Password=a=b;Initial Catalog=k;"));
    EXPECT_EQ(my.host, QStringLiteral("db.local"));
    EXPECT_EQ(my.port, 3307);
    EXPECT_EQ(my.user, QStringLiteral("jan"));
    EXPECT_EQ(my.password, QStringLiteral("a=b"));
    EXPECT_EQ(my.database, QStringLiteral("k"));
    const ConnectionParams ms = parseConnectionString(QStringLiteral("Provider=SQLOLEDB;Data Source=srv,1444;"));
    EXPECT_EQ(ms.host, QStringLiteral("srv"));
    EXPECT_EQ(ms.port, 1444);
    EXPECT_EQ(parseConnectionString(QStringLiteral("Provider=LCPI.IBProvider;Data Source=h/3051:/d/k.fdb;")).database,
              QStringLiteral("h/3051:/d/k.fdb"));
}

// Every way of failing to connect ends quickly with a text, never a hang or a crash.
TEST(DatabaseSessionOpen, FailuresAreQuickAndExplained) {
    QTemporaryDir dir;
    const QString junk = dir.filePath(QStringLiteral("junk.db"));
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    const struct {
        const char* what;
        QString connection;
        DbPlatform platform;
    } cases[] = {
        {"unknown provider", QStringLiteral("Provider=Foo.Bar;Data Source=x;"), DbPlatform::Jet},
        {"missing file", QStringLiteral("Data Source=") + dir.filePath(QStringLiteral("none.db")) + QLatin1Char(';'),
         DbPlatform::Jet},
        {"not a database", QStringLiteral("Data Source=") + junk + QLatin1Char(';'), DbPlatform::Jet},
        {"no data source", QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;"), DbPlatform::Jet},
        {"unreachable MariaDB", QStringLiteral("Provider=MySQLProv;Data Source=127.0.0.1:1;User ID=a;Password=b;"),
         DbPlatform::MySql},
        {"unreachable Firebird",
         QStringLiteral("Provider=LCPI.IBProvider;Data Source=127.0.0.1/1:/tmp/none.fdb;User ID=a;Password=b;"),
         DbPlatform::Firebird},
        {"no MS SQL server", QStringLiteral("Provider=SQLOLEDB;Data Source=127.0.0.1,1;User ID=a;Password=b;"),
         DbPlatform::MsSql},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DatabaseSession session;
        QElapsedTimer timer;
        timer.start();
        try {
            session.open(c.connection, c.platform);
            ADD_FAILURE() << "opened";
        } catch (const DbError& e) {
            EXPECT_FALSE(e.text().isEmpty());
        }
        EXPECT_LT(timer.elapsed(), 10000);
        EXPECT_FALSE(session.isOpen());
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.db")))) << "no empty database appears";
}

TEST(DatabaseSessionOpen, WrongPasswordIsRefusedOnServers) {
    for (DbPlatform p : {DbPlatform::MySql, DbPlatform::Firebird}) {
        if (!unavailableReason(p).isEmpty())
            continue;
        auto db = createTestDatabase(p);
        ASSERT_TRUE(db);
        QString wrong = db->connectionString;
        wrong.replace(QStringLiteral("Password=") + qEnvironmentVariable(p == DbPlatform::MySql
                                                                              ? "KELVARN_TEST_MYSQL_PASSWORD"
                                                                              : "KELVARN_TEST_FB_PASSWORD"),
                      QStringLiteral("Password=wrong-one"));
        DatabaseSession session;
        EXPECT_THROW(session.open(wrong, p), DbError) << platformLabel(p).toStdString();
    }
}

TEST(DatabaseSessionSqlite, AccessFunctionsExist) {
    auto db = createTestDatabase(DbPlatform::Jet);
    ASSERT_TRUE(db);
    QSqlQuery q = db->session->query(
        QStringLiteral("SELECT UCASE('žluťoučký'), LCASE('ŘEKA'), DATE(), #2008/02/01# FROM tbl_system"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("ŽLUŤOUČKÝ"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("řeka"));
    EXPECT_EQ(q.value(2).toString(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00")));
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("2008-02-01 00:00:00"));
}
