#include "app/first_run.h"
#include "core/ini_reader.h"
#include "core/text_file.h"
#include "db/database_session.h"
#include "db/db_error.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString embeddedString(const QString& file) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file + QLatin1Char(';');
}

// A program folder as an installation leaves it: install/ present, nothing else.
// Its name has Czech letters, which the configuration file keeps in code page 1250.
class FirstRun : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        appDir = root.filePath(QStringLiteral("Účetnictví Nováková")) + QLatin1Char('/');
        ASSERT_TRUE(test::copyFolder(test::sourceDir() + QStringLiteral("/install"),
                                     appDir + QStringLiteral("install")));
    }

    QString ini() const { return appDir + QStringLiteral("kelvarn.ini"); }
    QString database() const { return appDir + QStringLiteral("kelvarn.db"); }

    QTemporaryDir root;
    QString appDir;
};

TEST_F(FirstRun, WritesTheConfigurationAndADemoDatabase) {
    QString error;
    ASSERT_TRUE(prepareFirstRun(appDir, &error)) << error.toStdString();

    const QByteArray bytes = readBytes(ini());
    const QByteArray source =
        toCp1250(QStringLiteral("Data Source=") + appDir + QStringLiteral("kelvarn.db;\r\n"));
    EXPECT_TRUE(bytes.contains(source)) << "the data source names the program folder, in code page 1250";
    EXPECT_FALSE(bytes.contains((QStringLiteral("Účetnictví")).toUtf8())) << "no UTF-8 in the file";
    EXPECT_FALSE(bytes.contains("~dp0"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n")) << "CR LF line ends";

    AppState state;
    state.appDir = appDir;
    ASSERT_TRUE(readIniFile(ini(), state).ok());
    EXPECT_EQ(state.platform, QStringLiteral("1"));
    EXPECT_EQ(state.connectionString, embeddedString(database()));

    ASSERT_TRUE(QFileInfo(database()).isFile());
    DatabaseSession session;
    session.open(embeddedString(database()), DbPlatform::Jet);
    EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT verze_databaze FROM tbl_system WHERE id=1")),
              QStringLiteral("1.70"));
    EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT test FROM tbl_podnikatel WHERE id=1")),
              QStringLiteral("1"))
        << "the demo data mark a TEST database";
    EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT mesto FROM tbl_podnikatel WHERE id=1")),
              QStringLiteral("Třebíč"));
    EXPECT_GT(test::scalar(session, QStringLiteral("SELECT count(*) FROM tbl_partner")).toInt(), 0);
    session.close();
    EXPECT_TRUE(QFile::exists(appDir + QStringLiteral("kelvarn.log"))) << "the console logged the scripts";
}

TEST_F(FirstRun, ASecondCallDoesNothing) {
    QString error;
    ASSERT_TRUE(prepareFirstRun(appDir, &error)) << error.toStdString();
    // The user's own settings and a database moved away both stay as they are.
    ASSERT_TRUE(appendCp1250(ini(), QStringLiteral("; vlastní poznámka\r\n")));
    const QByteArray before = readBytes(ini());
    ASSERT_TRUE(QFile::remove(database()));

    EXPECT_TRUE(prepareFirstRun(appDir, &error));
    EXPECT_EQ(readBytes(ini()), before);
    EXPECT_FALSE(QFile::exists(database()));
}

TEST_F(FirstRun, MissingInstallFolderIsReported) {
    ASSERT_TRUE(QDir(appDir + QStringLiteral("install")).removeRecursively());
    QString error;
    EXPECT_FALSE(prepareFirstRun(appDir, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(ini()));
    EXPECT_FALSE(QFile::exists(database()));
}

TEST_F(FirstRun, AFailedDatabaseLeavesNothingBehind) {
    // A damaged demo script: the install runs, the demo data fail half way.
    QFile demo(appDir + QStringLiteral("install/kelvarn_demo.sql"));
    ASSERT_TRUE(demo.open(QIODevice::WriteOnly | QIODevice::Append));
    demo.write("\r\nINSERT INTO tbl_neexistuje (id) VALUES (1);\r\n");
    demo.close();

    QString error;
    EXPECT_FALSE(prepareFirstRun(appDir, &error));
    EXPECT_TRUE(error.contains(QLatin1String("kelvarn_demo.sql"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String("tbl_neexistuje"))) << "the console's message is passed on";
    EXPECT_FALSE(QFile::exists(database())) << "a half-made database would fail every later start";
    // Without the database the configuration would only lead to a failed start;
    // the next start must be able to try again.
    EXPECT_FALSE(QFile::exists(ini()));
}

TEST_F(FirstRun, CreateDatabaseRefusesAnExistingFile) {
    AppState state;
    state.appDir = appDir;
    state.platform = QStringLiteral("1");
    state.connectionString = embeddedString(database());
    test::ScriptedPrompts prompts;
    QString error;

    ASSERT_TRUE(createDatabase(state, prompts, false, &error)) << error.toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty());
    {
        DatabaseSession session;
        session.open(embeddedString(database()), DbPlatform::Jet);
        EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT test FROM tbl_podnikatel WHERE id=1")),
                  QStringLiteral("0"))
            << "without demo data the database is an ordinary one";
        session.execute(QStringLiteral("UPDATE tbl_podnikatel SET nazev = 'Moje data' WHERE id=1"));
    }
    const QByteArray before = readBytes(database());

    error.clear();
    EXPECT_FALSE(createDatabase(state, prompts, true, &error));
    EXPECT_TRUE(error.contains(database())) << error.toStdString();
    EXPECT_EQ(readBytes(database()), before);
    EXPECT_FALSE(state.loggedIn) << "the caller's state is left alone";

    // An empty file counts as existing too: it may be someone's database being copied.
    QFile empty(appDir + QStringLiteral("prazdna.db"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    state.connectionString = embeddedString(empty.fileName());
    EXPECT_FALSE(createDatabase(state, prompts, false, &error));
    EXPECT_EQ(QFileInfo(empty.fileName()).size(), 0);
}

} // namespace
} // namespace kelvarn

namespace kelvarn {
namespace {

// What the start-up offers after message 1 about a missing kelvarn.ini: every
// answer but the ones that ask for a database leaves the folder as it was.
TEST_F(FirstRun, MissingConfigurationOffersANewDatabase) {
    const struct Case {
        const char* what;
        QList<Answer> answers;
        QStringList inputs;
        bool created;
        QString test; // tbl_podnikatel.test of the new database
        QString name;
    } cases[] = {
        {"declined", {Answer::No}, {}, false, "", ""},
        {"closed", {Answer::Cancel}, {}, false, "", ""},
        {"with demo data", {Answer::Yes, Answer::Yes}, {}, true, "1", "Jiří Dvořák - truhlářství"},
        {"empty, for a named entrepreneur",
         {Answer::Yes, Answer::No},
         {"Jana Nováková", "12345678"},
         true,
         "0",
         "Jana Nováková"},
        {"empty, but no name given", {Answer::Yes, Answer::No}, {"  ", "12345678"}, false, "", ""},
        {"empty, name input cancelled", {Answer::Yes, Answer::No}, {}, false, "", ""},
        {"demo question cancelled", {Answer::Yes, Answer::Cancel}, {}, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(ini());
        QFile::remove(database());
        AppState state;
        state.appDir = appDir;
        test::ScriptedPrompts prompts;
        prompts.answers = c.answers;
        prompts.inputs = c.inputs;

        EXPECT_EQ(offerNewDatabase(state, prompts), c.created);
        EXPECT_EQ(prompts.shown.size(), c.answers.size()) << "one question per answer, nothing else";
        EXPECT_EQ(prompts.shown.first().style, MessageStyle::WarnQuestion);
        EXPECT_TRUE(prompts.shown.first().text.contains(appDir));
        EXPECT_EQ(QFile::exists(ini()), c.created);
        EXPECT_EQ(QFile::exists(database()), c.created);
        if (!c.created)
            continue;
        AppState written;
        written.appDir = appDir;
        ASSERT_TRUE(readIniFile(ini(), written).ok());
        EXPECT_EQ(written.connectionString, embeddedString(database()));
        DatabaseSession session;
        session.open(embeddedString(database()), DbPlatform::Jet);
        EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT test FROM tbl_podnikatel WHERE id=1")),
                  c.test);
        EXPECT_EQ(test::scalar(session, QStringLiteral("SELECT nazev FROM tbl_podnikatel WHERE id=1")),
                  c.name);
    }
}

// Records already in the program folder are offered as they are; a configuration
// that exists but cannot be read is never replaced.
TEST_F(FirstRun, OfferKeepsWhatIsAlreadyThere) {
    AppState state;
    state.appDir = appDir;
    test::ScriptedPrompts prompts;
    QString error;
    ASSERT_TRUE(prepareFirstRun(appDir, &error)) << error.toStdString();
    ASSERT_TRUE(QFile::remove(ini()));
    const QByteArray records = readBytes(database());

    prompts.answers = {Answer::No};
    EXPECT_FALSE(offerNewDatabase(state, prompts));
    EXPECT_FALSE(QFile::exists(ini()));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(database()));

    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(offerNewDatabase(state, prompts));
    AppState written;
    written.appDir = appDir;
    ASSERT_TRUE(readIniFile(ini(), written).ok());
    EXPECT_EQ(written.connectionString, embeddedString(database()));
    EXPECT_EQ(readBytes(database()), records) << "the database is used, not made again";

    // A kelvarn.ini that cannot be read (here: a folder of that name) stays.
    ASSERT_TRUE(QFile::remove(ini()));
    ASSERT_TRUE(QDir(appDir).mkdir(QStringLiteral("kelvarn.ini")));
    prompts.shown.clear();
    EXPECT_FALSE(offerNewDatabase(state, prompts));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(QFileInfo(ini()).isDir());
}

TEST_F(FirstRun, FailedOfferLeavesNothingBehind) {
    QFile demo(appDir + QStringLiteral("install/kelvarn_demo.sql"));
    ASSERT_TRUE(demo.open(QIODevice::WriteOnly | QIODevice::Append));
    demo.write("\r\nINSERT INTO tbl_neexistuje (id) VALUES (1);\r\n");
    demo.close();
    AppState state;
    state.appDir = appDir;
    test::ScriptedPrompts prompts;
    prompts.answers = {Answer::Yes, Answer::Yes};
    EXPECT_FALSE(offerNewDatabase(state, prompts));
    EXPECT_FALSE(QFile::exists(ini()));
    EXPECT_FALSE(QFile::exists(database()));
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Chyba"));
    EXPECT_TRUE(prompts.shown.last().text.contains(QLatin1String("kelvarn_demo.sql")));
}

} // namespace
} // namespace kelvarn
