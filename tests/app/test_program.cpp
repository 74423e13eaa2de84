// The built programs, run as the installer and the user run them.

#include "core/text_file.h"
#include "db/database_session.h"
#include "support/db/test_databases.h"
#include "support/test_application.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace kelvarn {
namespace {

void ensureApplication() {
    test::ensureApplication<QCoreApplication>();
}

// The executables sit in the build folder, one level above the tests.
QString executable(const char* name) {
    ensureApplication();
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../") +
                           QLatin1String(name));
}

#define REQUIRE_EXECUTABLE(path)                                                                             \
    do {                                                                                                     \
        if (!QFileInfo(path).isExecutable())                                                                 \
            GTEST_SKIP() << (path).toStdString() << " is missing; build the whole project to run this test"; \
    } while (0)

struct Outcome {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome run(const QString& program, const QStringList& arguments, const QString& workDir,
            const QString& appDir, const QString& unattended = QStringLiteral("1")) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KELVARN_APPDIR"), appDir);
    env.insert(QStringLiteral("KELVARN_UNATTENDED"), unattended);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    p.start(program, arguments);
    Outcome r;
    r.finished = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    if (!r.finished)
        p.kill();
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A program folder with install/ and a kelvarn.ini naming an embedded database
// that does not exist yet.
class ProgramFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(work.isValid());
        appDir = dir.path() + QLatin1Char('/');
        ASSERT_TRUE(test::copyFolder(test::sourceDir() + QStringLiteral("/install"),
                                     appDir + QStringLiteral("install")));
        ASSERT_TRUE(
            writeCp1250File(appDir + QStringLiteral("kelvarn.ini"),
                            QStringLiteral("[database string]\r\n") + connectionString() +
                                QStringLiteral("\r\n[database platform]\r\n1\r\n[show tips]\r\nNO\r\n")));
    }

    QString database() const { return appDir + QStringLiteral("kelvarn.db"); }
    QString connectionString() const {
        return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + database() +
               QLatin1Char(';');
    }
    Outcome kelvarn(const QStringList& arguments, const QString& unattended = QStringLiteral("1")) {
        return run(executable("kelvarn"), arguments, work.path(), appDir, unattended);
    }
    Outcome newdb(const QStringList& arguments) {
        return run(executable("kelvarn-newdb"), arguments, work.path(), appDir);
    }

    QTemporaryDir dir;
    QTemporaryDir work;
    QString appDir;
};

std::string describe(const Outcome& r) {
    return "exit " + std::to_string(r.exitCode) + "\nstdout: " + r.out.toStdString() +
           "\nstderr: " + r.err.toStdString();
}

TEST_F(ProgramFolder, VersionQueryWritesTheVersionFile) {
    REQUIRE_EXECUTABLE(executable("kelvarn"));
    const Outcome r = kelvarn({QStringLiteral("-ver")});
    ASSERT_TRUE(r.finished) << describe(r);
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    QFile version(work.filePath(QStringLiteral("kelvarn_verze.txt")));
    ASSERT_TRUE(version.open(QIODevice::ReadOnly)) << "written in the current directory";
    EXPECT_EQ(version.readAll(), QByteArray("1.70\r\n"));
    EXPECT_FALSE(QFile::exists(database())) << "nothing else happens";
    EXPECT_FALSE(QFile::exists(appDir + QStringLiteral("kelvarn.log")));
}

TEST_F(ProgramFolder, InstallCreatesTheStructureOnceOnly) {
    REQUIRE_EXECUTABLE(executable("kelvarn"));
    const QStringList arguments{QStringLiteral("-inst"), QStringLiteral("~dp0install/kelvarn_install.sql"),
                                QStringLiteral("x")};
    const Outcome first = kelvarn(arguments);
    ASSERT_TRUE(first.finished) << describe(first);
    EXPECT_EQ(first.exitCode, 0) << describe(first);
    EXPECT_TRUE(
        first.err.contains(QStringLiteral("Instalace: Vytvoření databázové struktury proběhlo úspěšně.")))
        << describe(first);
    EXPECT_FALSE(first.err.contains(QStringLiteral("Upozornění")))
        << "the database lies in the program folder";
    {
        DatabaseSession session;
        session.open(connectionString(), DbPlatform::Jet);
        EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT verze_databaze FROM tbl_system WHERE id=1")),
                  QStringLiteral("1.70"));
        EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT count(*) FROM tbl_podnikatel")),
                  QStringLiteral("1"));
        EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT count(*) FROM tbl_doklad")),
                  QStringLiteral("0"));
    }

    const Outcome second = kelvarn(arguments);
    ASSERT_TRUE(second.finished) << describe(second);
    EXPECT_NE(second.exitCode, 0) << describe(second);
    EXPECT_TRUE(second.err.contains(QStringLiteral("Chyba (ODBC)"))) << describe(second);
    EXPECT_TRUE(second.err.contains(QStringLiteral("Chyba při instalaci"))) << describe(second);
    EXPECT_FALSE(second.err.contains(QStringLiteral("proběhlo úspěšně")));
    DatabaseSession session;
    session.open(connectionString(), DbPlatform::Jet);
    EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT count(*) FROM tbl_system")), QStringLiteral("1"))
        << "the failed run damaged nothing";
}

TEST_F(ProgramFolder, AnUpdateWithNothingToDoEndsQuietlyAndSucceeds) {
    REQUIRE_EXECUTABLE(executable("kelvarn"));
    const Outcome install = kelvarn(
        {QStringLiteral("-inst"), QStringLiteral("~dp0install/kelvarn_install.sql"), QStringLiteral("x")});
    ASSERT_EQ(install.exitCode, 0) << describe(install);
    // The sections of older versions are skipped on a database of the current one.
    ASSERT_TRUE(
        writeCp1250File(appDir + QStringLiteral("install/update.sql"),
                        QStringLiteral("#ALLOW ONLY-1.60-;\r\nALTER TABLE tbl_doklad ADD COLUMN x INT;\r\n"
                                       "UPDATE tbl_system SET verze_databaze='1.70' WHERE id=1;\r\n")));
    const Outcome update =
        kelvarn({QStringLiteral("-inst"), QStringLiteral("~dp0install/update.sql"), QStringLiteral("x")});
    ASSERT_TRUE(update.finished) << describe(update);
    EXPECT_EQ(update.exitCode, 0) << describe(update);
    EXPECT_FALSE(update.err.contains(QStringLiteral("Instalace"))) << describe(update);
    EXPECT_FALSE(update.err.contains(QStringLiteral("Chyba"))) << describe(update);
}

TEST_F(ProgramFolder, InstallWithAMissingScriptFails) {
    REQUIRE_EXECUTABLE(executable("kelvarn"));
    const Outcome r =
        kelvarn({QStringLiteral("-inst"), QStringLiteral("~dp0install/neni.sql"), QStringLiteral("x")});
    ASSERT_TRUE(r.finished) << describe(r);
    EXPECT_NE(r.exitCode, 0) << describe(r);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Chyba (ODBC)"))) << describe(r);
    EXPECT_FALSE(r.err.contains(QStringLiteral("proběhlo úspěšně")));
}

TEST_F(ProgramFolder, NewDatabaseToolStoresNameAndIcoOnce) {
    REQUIRE_EXECUTABLE(executable("kelvarn-newdb"));
    const QStringList arguments{QStringLiteral("--name"), QStringLiteral("Jana Nováková"),
                                QStringLiteral("--ico"), QStringLiteral("12345678")};
    const Outcome first = newdb(arguments);
    ASSERT_TRUE(first.finished) << describe(first);
    EXPECT_EQ(first.exitCode, 0) << describe(first);
    const auto check = [&](const char* what) {
        SCOPED_TRACE(what);
        DatabaseSession session;
        session.open(connectionString(), DbPlatform::Jet);
        EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT nazev FROM tbl_podnikatel WHERE id=1")),
                  QStringLiteral("Jana Nováková"));
        EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT ico FROM tbl_podnikatel WHERE id=1")),
                  QStringLiteral("12345678"));
        EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT test FROM tbl_podnikatel WHERE id=1")),
                  QStringLiteral("0"));
        EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT verze_databaze FROM tbl_system WHERE id=1")),
                  QStringLiteral("1.70"));
    };
    check("after the first run");

    const Outcome second = newdb({QStringLiteral("--name"), QStringLiteral("Někdo jiný"),
                                  QStringLiteral("--ico"), QStringLiteral("87654321")});
    ASSERT_TRUE(second.finished) << describe(second);
    EXPECT_NE(second.exitCode, 0) << describe(second);
    EXPECT_TRUE(second.err.contains(database())) << describe(second);
    check("the second run changed nothing");
}

TEST_F(ProgramFolder, NewDatabaseToolWithDemoDataKeepsTheGivenName) {
    REQUIRE_EXECUTABLE(executable("kelvarn-newdb"));
    const Outcome r =
        newdb({QStringLiteral("--name"), QStringLiteral("Zkušební firma"), QStringLiteral("--demo")});
    ASSERT_TRUE(r.finished) << describe(r);
    EXPECT_EQ(r.exitCode, 0) << describe(r);
    DatabaseSession session;
    session.open(connectionString(), DbPlatform::Jet);
    EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT nazev FROM tbl_podnikatel WHERE id=1")),
              QStringLiteral("Zkušební firma"));
    EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT test FROM tbl_podnikatel WHERE id=1")),
              QStringLiteral("1"));
}

TEST_F(ProgramFolder, NewDatabaseToolRefusesBadInput) {
    REQUIRE_EXECUTABLE(executable("kelvarn-newdb"));
    const struct {
        const char* what;
        QStringList arguments;
        bool removeIni;
    } cases[] = {
        {"no name", {QStringLiteral("--ico"), QStringLiteral("12345678")}, false},
        {"blank name", {QStringLiteral("--name"), QStringLiteral("  ")}, false},
        {"no configuration file", {QStringLiteral("--name"), QStringLiteral("Jana")}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.removeIni)
            QFile::remove(appDir + QStringLiteral("kelvarn.ini"));
        const Outcome r = newdb(c.arguments);
        ASSERT_TRUE(r.finished) << describe(r);
        EXPECT_NE(r.exitCode, 0) << describe(r);
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_FALSE(QFile::exists(database()));
    }
}

// The program folder (with the embedded database in it) cannot be written: mounted
// read-only in a private mount namespace, or, for an ordinary user, without write
// permission.
class ReadOnlyProgramFolder : public ProgramFolder {
  protected:
    void SetUp() override {
        ProgramFolder::SetUp();
        if (HasFatalFailure())
            return;
        REQUIRE_EXECUTABLE(executable("kelvarn"));
        REQUIRE_EXECUTABLE(executable("kelvarn-newdb"));
        const Outcome created = newdb({QStringLiteral("--name"), QStringLiteral("Jana Nováková")});
        ASSERT_EQ(created.exitCode, 0) << describe(created);
        ASSERT_FALSE(QFile::exists(database() + QStringLiteral("-wal"))) << "a cleanly closed database";
    }

    Outcome kelvarnReadOnly(const QStringList& arguments) {
        if (::geteuid() != 0) {
            ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
            const Outcome r = kelvarn(arguments);
            ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
            return r;
        }
        const QStringList wrapped = QStringList{QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"),
                                                QStringLiteral("mount --bind -o ro \"$0\" \"$0\" && exec \"$@\""),
                                                dir.path(), executable("kelvarn")} +
                                    arguments;
        return run(QStringLiteral("unshare"), wrapped, work.path(), appDir);
    }

    // Changes waiting in the write-ahead journal, as another running instance (or
    // one that died) leaves them; withIndex keeps the journal's -shm index too.
    void leavePendingChange(const QString& version, bool withIndex) {
        QTemporaryDir snapshot;
        ASSERT_TRUE(snapshot.isValid());
        const QStringList files = {QStringLiteral("kelvarn.db"), QStringLiteral("kelvarn.db-wal"),
                                   QStringLiteral("kelvarn.db-shm")};
        {
            DatabaseSession session;
            session.open(connectionString(), DbPlatform::Jet);
            session.execute(QStringLiteral("UPDATE tbl_system SET verze_databaze = ? WHERE id = 1"), {version});
            for (const QString& f : files)
                ASSERT_TRUE(QFile::copy(appDir + f, snapshot.filePath(f))) << f.toStdString();
        }
        for (const QString& f : files) {
            QFile::remove(appDir + f);
            if (withIndex || !f.endsWith(QLatin1String("-shm"))) {
                ASSERT_TRUE(QFile::copy(snapshot.filePath(f), appDir + f));
            }
        }
    }

    static bool cannotIsolate(const Outcome& r) {
        return r.err.contains(QStringLiteral("unshare:")) || r.err.contains(QStringLiteral("mount:"));
    }
};

TEST_F(ReadOnlyProgramFolder, TheRecordsAreShownWithAClearWordThatNothingCanBeSaved) {
    const struct {
        const char* what;
        const char* pendingVersion; // null: no pending change
        bool withIndex;
        int exitCode;
        QString says;
    } cases[] = {
        {"a cleanly closed database", nullptr, false, 0, QStringLiteral("Databáze jen pro čtení")},
        // The pending change is read: it makes the versions differ (message 6).
        {"changes pending with their index", "9.99", true, 1, QStringLiteral("Verze databáze (9.99)")},
        // Without the index they cannot be read; showing the database without them
        // would show old records as if they were all.
        {"changes pending without their index", "9.99", false, 1,
         QStringLiteral("její poslední změny jsou zatím jen v souboru \"kelvarn.db-wal\"")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.pendingVersion)
            leavePendingChange(QString::fromLatin1(c.pendingVersion), c.withIndex);
        const Outcome r = kelvarnReadOnly({});
        if (cannotIsolate(r))
            GTEST_SKIP() << "no private mount namespace here: " << r.err.toStdString();
        ASSERT_TRUE(r.finished) << describe(r);
        EXPECT_EQ(r.exitCode, c.exitCode) << describe(r);
        EXPECT_TRUE(r.err.contains(c.says)) << describe(r);
    }
}

TEST_F(ReadOnlyProgramFolder, AWriteIsRefusedWithTheSameWords) {
    const Outcome r =
        kelvarnReadOnly({QStringLiteral("-inst"), QStringLiteral("~dp0install/kelvarn_demo.sql"), QStringLiteral("x")});
    if (cannotIsolate(r))
        GTEST_SKIP() << "no private mount namespace here: " << r.err.toStdString();
    ASSERT_TRUE(r.finished) << describe(r);
    EXPECT_NE(r.exitCode, 0) << describe(r);
    EXPECT_TRUE(r.err.contains(DatabaseSession::readOnlyText())) << describe(r);
}

// A lost kelvarn.ini is reported and turns into nothing unless the user asks.
TEST_F(ProgramFolder, MissingConfigurationMakesNoDatabaseUnasked) {
    REQUIRE_EXECUTABLE(executable("kelvarn"));
    ASSERT_TRUE(QFile::remove(appDir + QStringLiteral("kelvarn.ini")));
    const Outcome r = kelvarn({}, QStringLiteral("no"));
    ASSERT_TRUE(r.finished) << describe(r);
    EXPECT_NE(r.exitCode, 0) << describe(r);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Nepodařilo se otevřít inicializační soubor - kelvarn.ini")))
        << describe(r);
    EXPECT_TRUE(r.err.contains(QStringLiteral("založit novou databázi"))) << describe(r);
    EXPECT_FALSE(QFile::exists(appDir + QStringLiteral("kelvarn.ini")));
    EXPECT_FALSE(QFile::exists(database()));
}

// What scripts/run does on a fresh checkout: the folder is prepared once, and the
// program starts on the demo database without a question.
TEST_F(ProgramFolder, FirstRunToolPreparesTheFolderOnce) {
    REQUIRE_EXECUTABLE(executable("kelvarn-newdb"));
    REQUIRE_EXECUTABLE(executable("kelvarn"));
    ASSERT_TRUE(QFile::remove(appDir + QStringLiteral("kelvarn.ini")));
    const Outcome prepared = newdb({QStringLiteral("--first-run")});
    ASSERT_TRUE(prepared.finished) << describe(prepared);
    EXPECT_EQ(prepared.exitCode, 0) << describe(prepared);
    ASSERT_TRUE(QFile::exists(database()));
    const QByteArray ini = [&] {
        QFile f(appDir + QStringLiteral("kelvarn.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    EXPECT_TRUE(ini.contains(toCp1250(database()))) << ini.toStdString();

    const Outcome started = kelvarn({}, QStringLiteral("no"));
    ASSERT_TRUE(started.finished) << describe(started);
    EXPECT_EQ(started.exitCode, 0) << describe(started);
    EXPECT_FALSE(started.err.contains(QStringLiteral("Dotaz"))) << describe(started);
    EXPECT_FALSE(started.err.contains(QStringLiteral("inicializační soubor"))) << describe(started);

    const Outcome again = newdb({QStringLiteral("--first-run")});
    EXPECT_EQ(again.exitCode, 0) << describe(again);
    QFile f(appDir + QStringLiteral("kelvarn.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), ini) << "a prepared folder is left alone";
}

} // namespace
} // namespace kelvarn
