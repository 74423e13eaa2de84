#include "app/startup.h"
#include "core/text_file.h"
#include "db/database_session.h"
#include "output/console_runner.h"
#include "support/scripted_prompts.h"

#include <QFile>
#include <QObject>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace kelvarn {
namespace {

using test::ScriptedPrompts;

const QString kJet = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;");
const QString kSource = QStringLiteral("Data Source=/srv/ucetnictvi/kelvarn.db;");

// The login dialog as composeCredentials sees it: records what it was preset with
// and answers with fixed credentials, or cancels.
struct FakeLogin {
    bool accept = true;
    QString user;
    QString password;
    int calls = 0;
    QString preset;

    LoginFunction function() {
        return [this](QString& u, QString& p) {
            ++calls;
            preset = u;
            if (!accept)
                return false;
            u = user;
            p = password;
            return true;
        };
    }
};

TEST(ComposeCredentials, FourCasesOfTheConfiguredString) {
    const QString userItem = QStringLiteral("User ID=jana;");
    const QString passwordItem = QStringLiteral("Password=tajne;");
    const struct Case {
        const char* what;
        QString platform;
        StartMode mode;
        QString configured;
        bool dialog;      // the login dialog is shown
        QString preset;   // the name box of the dialog (when shown)
        QString userName; // credentials in use afterwards
        QString password;
        QString composed; // final connection string
    } cases[] = {
        {"user only: the dialog is preset with the configured name", "1", StartMode::Normal,
         kJet + userItem + kSource, true, "jana", "petr", "heslo",
         "User ID=petr;Password=heslo;" + kJet + kSource},
        {"user only in a reinstall asks too", "5", StartMode::Reinstall, kJet + userItem + kSource, true,
         "jana", "petr", "heslo", "User ID=petr;Password=heslo;" + kJet + kSource},
        {"user only, install on JET: empty password", "1", StartMode::Install, kJet + userItem + kSource,
         false, "", "jana", "", "User ID=jana;Password=;" + kJet + kSource},
        {"user only, install on Oracle", "3", StartMode::Install, userItem + kJet + kSource, false, "",
         "jana", "qx", "User ID=jana;Password=qx;" + kJet + kSource},
        {"user only, install on Firebird", "5", StartMode::Install, kJet + kSource + userItem, false, "",
         "jana", "quillfern", "User ID=jana;Password=quillfern;" + kJet + kSource},
        {"user only, install on MySQL: empty password", "4", StartMode::Install, kJet + userItem + kSource,
         false, "", "jana", "", "User ID=jana;Password=;" + kJet + kSource},
        {"password only: dialog, also in install mode", "1", StartMode::Install,
         kJet + passwordItem + kSource, true, "", "petr", "heslo",
         "User ID=petr;Password=heslo;" + kJet + kSource},
        {"password only, normal start", "5", StartMode::Normal, passwordItem + kJet + kSource, true, "",
         "petr", "heslo", "User ID=petr;Password=heslo;" + kJet + kSource},
        {"both: no dialog, string unchanged", "1", StartMode::Normal,
         kJet + userItem + passwordItem + kSource, false, "", "jana", "tajne",
         kJet + userItem + passwordItem + kSource},
        {"both in install mode: the configured password wins", "5", StartMode::Install,
         passwordItem + kJet + kSource + userItem, false, "", "jana", "tajne",
         passwordItem + kJet + kSource + userItem},
        {"neither, install on JET", "1", StartMode::Install, kJet + kSource, false, "", "administrator", "",
         "User ID=administrator;Password=;" + kJet + kSource},
        {"neither, install on Oracle", "3", StartMode::Install, kJet + kSource, false, "", "administrator",
         "qx", "User ID=administrator;Password=qx;" + kJet + kSource},
        {"neither, install on Firebird", "5", StartMode::Install, kJet + kSource, false, "", "SYSDBA",
         "quillfern", "User ID=SYSDBA;Password=quillfern;" + kJet + kSource},
        {"neither, install on MS SQL: empty credentials", "2", StartMode::Install, kJet + kSource, false, "",
         "", "", "User ID=;Password=;" + kJet + kSource},
        {"neither, normal start asks", "1", StartMode::Normal, kJet + kSource, true, "", "petr", "heslo",
         "User ID=petr;Password=heslo;" + kJet + kSource},
        {"neither, reinstall asks", "1", StartMode::Reinstall, kJet + kSource, true, "", "petr", "heslo",
         "User ID=petr;Password=heslo;" + kJet + kSource},
        {"the markers are case-sensitive", "1", StartMode::Normal,
         kJet + QStringLiteral("user id=jana;password=x;") + kSource, true, "", "petr", "heslo",
         "User ID=petr;Password=heslo;" + kJet + QStringLiteral("user id=jana;password=x;") + kSource},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppState state;
        state.platform = c.platform;
        state.startMode = c.mode;
        state.connectionString = c.configured;
        FakeLogin login;
        login.user = QStringLiteral("petr");
        login.password = QStringLiteral("heslo");

        const QString status = composeCredentials(state, login.function());

        EXPECT_EQ(login.calls, c.dialog ? 1 : 0);
        if (c.dialog) {
            EXPECT_EQ(login.preset, c.preset);
        }
        EXPECT_TRUE(state.loggedIn);
        EXPECT_EQ(state.userName, c.userName);
        EXPECT_EQ(state.password, c.password);
        EXPECT_EQ(state.connectionString, c.composed);
        EXPECT_EQ(state.connectionStringShown, connectionStringWithoutCredentials(c.composed));
        EXPECT_FALSE(state.connectionStringShown.contains(QLatin1String("User ID=")));
        EXPECT_FALSE(state.connectionStringShown.contains(QLatin1String("Password=")));
        // The status bar shows the configured string unless both credentials were there.
        const bool both = c.configured.contains(QLatin1String("User ID=")) &&
                          c.configured.contains(QLatin1String("Password="));
        EXPECT_EQ(status, both ? QString() : c.configured);
    }
}

TEST(ComposeCredentials, ProviderUserAndSourceWithoutPassword) {
    AppState state;
    state.platform = QStringLiteral("1");
    state.connectionString = QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Účetní Nováková;Data Source=/data/kelvarn.db;");
    FakeLogin login;
    login.user = QStringLiteral("Účetní Nováková");
    login.password = QStringLiteral("řž");
    composeCredentials(state, login.function());
    EXPECT_EQ(login.preset, QStringLiteral("Účetní Nováková"));
    EXPECT_EQ(state.connectionString,
              QStringLiteral("User ID=Účetní Nováková;Password=řž;Provider=Microsoft.Jet.OLEDB.4.0;"
                             "Data Source=/data/kelvarn.db;"));
    EXPECT_EQ(state.connectionStringShown,
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/kelvarn.db;"));
}

TEST(ComposeCredentials, CancelledLoginLeavesNoCredentials) {
    for (const QString& configured : {kJet + QStringLiteral("User ID=jana;") + kSource,
                                      kJet + QStringLiteral("Password=tajne;") + kSource, kJet + kSource}) {
        SCOPED_TRACE(configured.toStdString());
        AppState state;
        state.platform = QStringLiteral("1");
        state.connectionString = configured;
        state.loggedIn = true; // whatever it was before, a cancel clears it
        FakeLogin login;
        login.accept = false;
        composeCredentials(state, login.function());
        EXPECT_EQ(login.calls, 1);
        EXPECT_FALSE(state.loggedIn);
        EXPECT_TRUE(state.userName.isEmpty());
        EXPECT_TRUE(state.password.isEmpty());
        EXPECT_FALSE(state.connectionString.contains(QLatin1String("tajne")));
        EXPECT_EQ(state.connectionStringShown, kJet + kSource);
    }
}

TEST(ComposeCredentials, WithoutLoginFunctionNothingIsAskedAndNobodyIsLoggedIn) {
    AppState state;
    state.platform = QStringLiteral("1");
    state.connectionString = kJet + kSource;
    composeCredentials(state, {});
    EXPECT_FALSE(state.loggedIn);
}

TEST(ConnectionStringWithoutCredentials, RemovesFirstUserAndPasswordItems) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"User ID=a;Password=b;Provider=X;Data Source=/d;", "Provider=X;Data Source=/d;"},
        {"Provider=X;User ID=a;Data Source=/d;Password=b;", "Provider=X;Data Source=/d;"},
        {"Provider=X;Data Source=/d;", "Provider=X;Data Source=/d;"},
        {"User ID=;Password=;Provider=X;", "Provider=X;"},
        {"", ""},
        // The last item may lack its ";".
        {"User ID=a", ""},
        {"Provider=X;Data Source=/d;Password=b", "Provider=X;Data Source=/d;"},
        {"Provider=X;User ID=a;Password=b", "Provider=X;"},
        {"Password=b;Provider=X;User ID=a", "Provider=X;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(connectionStringWithoutCredentials(QString::fromUtf8(c.in)), QString::fromUtf8(c.out))
            << c.in;
}

// A configuration file may leave out the ";" after its last item: the credentials in
// it are still read, used and kept out of every text that is shown or written.
TEST(ComposeCredentials, UnterminatedLastItemIsStillACredential) {
    const struct Case {
        const char* what;
        QString configured;
        bool dialog;
        QString userName;
        QString password;
        QString shown;
    } cases[] = {
        {"password last", kJet + kSource + QStringLiteral("Password=TopSecret42"), true, "petr", "heslo",
         kJet + kSource},
        {"both, password last",
         kJet + QStringLiteral("User ID=jana;") + kSource + QStringLiteral("Password=TopSecret42"), false,
         "jana", "TopSecret42", kJet + kSource},
        {"both, user last",
         QStringLiteral("Password=TopSecret42;") + kJet + kSource + QStringLiteral("User ID=jana"), false,
         "jana", "TopSecret42", kJet + kSource},
        {"user last", kJet + kSource + QStringLiteral("User ID=jana"), true, "petr", "heslo", kJet + kSource},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppState state;
        state.platform = QStringLiteral("1");
        state.connectionString = c.configured;
        FakeLogin login;
        login.user = QStringLiteral("petr");
        login.password = QStringLiteral("heslo");
        composeCredentials(state, login.function());
        EXPECT_EQ(login.calls, c.dialog ? 1 : 0);
        EXPECT_EQ(state.userName, c.userName);
        EXPECT_EQ(state.password, c.password);
        EXPECT_EQ(state.connectionStringShown, c.shown);
        EXPECT_FALSE(state.connectionStringShown.contains(QLatin1String("TopSecret42")));
        if (c.dialog) {
            EXPECT_EQ(state.connectionString, QStringLiteral("User ID=petr;Password=heslo;") + kJet + kSource)
                << "the configured item gives way to the typed credentials";
        } else {
            EXPECT_EQ(state.connectionString, c.configured);
        }
    }
}

TEST(ReadConfiguration, MissingOrBrokenFileShowsMessageOne) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    AppState state;
    state.appDir = dir.path() + QLatin1Char('/');
    ScriptedPrompts prompts;
    readConfiguration(state, prompts);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (I/O)"));
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("Nepodařilo se otevřít inicializační soubor - kelvarn.ini "));
    EXPECT_EQ(prompts.shown[0].style, MessageStyle::Error);
    EXPECT_TRUE(state.platform.isEmpty()) << "the defaults stay";
    EXPECT_TRUE(state.connectionString.isEmpty());

    // Reading stops at a bad value; what came before stays, what follows is not read.
    ASSERT_TRUE(writeCp1250File(state.configFilePath(), QStringLiteral("[database platform]\r\n5\r\n"
                                                                       "[update criteria]\r\nx\r\n"
                                                                       "[debug]\r\nYES\r\n")));
    prompts.shown.clear();
    readConfiguration(state, prompts);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (I/O)"));
    EXPECT_EQ(state.platform, QStringLiteral("5"));
    EXPECT_FALSE(state.debug);

    ASSERT_TRUE(writeCp1250File(
        state.configFilePath(),
        QStringLiteral("; komentář\r\n[database string]\r\nProvider=MySQLProv;Data Source=h;\r\n"
                       "[database platform]\r\ny\r\n")));
    prompts.shown.clear();
    readConfiguration(state, prompts);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(state.platform, QStringLiteral("3"));
    EXPECT_EQ(state.connectionString, QStringLiteral("Provider=MySQLProv;Data Source=h;"));
}

TEST(WarnAboutForeignDatabase, OnlyEmbeddedDatabasesOutsideTheProgramFolder) {
    const QString appDir = QStringLiteral("/home/jana/Kelvarn/");
    const struct {
        const char* platform;
        const char* shown;
        bool warned;
    } cases[] = {
        {"1", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/home/jana/Kelvarn/kelvarn.db;", false},
        {"1", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/HOME/JANA/kelvarn/TEST.db;", false},
        {"1", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/home/jana/Kelvarn-test/kelvarn.db;", true},
        {"1", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/srv/kelvarn.db;", true},
        {"4", "Provider=MySQLProv;Data Source=127.0.0.1;", false},
        {"5", "Provider=LCPI.IBProvider;Data Source=localhost:/srv/kelvarn.fdb;", false},
        {"", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/srv/kelvarn.db;", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.platform) + " " + c.shown);
        AppState state;
        state.appDir = appDir;
        state.platform = QString::fromUtf8(c.platform);
        state.connectionStringShown = QString::fromUtf8(c.shown);
        ScriptedPrompts prompts;
        EXPECT_EQ(warnAboutForeignDatabase(state, prompts), c.warned);
        ASSERT_EQ(prompts.shown.size(), c.warned ? 1 : 0);
        if (c.warned) {
            EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Upozornění"));
            EXPECT_TRUE(
                prompts.shown[0].text.contains(QStringLiteral("jinde než  \"") + appDir + QLatin1Char('"')));
            EXPECT_TRUE(prompts.shown[0].text.endsWith(state.connectionStringShown));
        }
    }
}

class ConnectDatabase : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state.appDir = dir.path() + QLatin1Char('/');
        state.platform = QStringLiteral("1");
        state.loggedIn = true;
    }
    QString stringFor(const QString& file) const {
        return QStringLiteral(
                   "User ID=administrator;Password=;Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
               dir.filePath(file) + QLatin1Char(';');
    }

    QTemporaryDir dir;
    AppState state;
    ScriptedPrompts prompts;
    DatabaseSession session;
};

TEST_F(ConnectDatabase, FailureShowsMessageThreeAndLogsOut) {
    const struct {
        const char* what;
        QString connectionString;
    } cases[] = {
        {"missing file outside an install", stringFor(QStringLiteral("chybi.db"))},
        {"unknown provider", QStringLiteral("User ID=a;Password=;Provider=Nic.Neznameho;Data Source=x;")},
        {"no data source", QStringLiteral("User ID=a;Password=;Provider=Microsoft.Jet.OLEDB.4.0;")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        state.loggedIn = true;
        state.connectionString = c.connectionString;
        prompts.shown.clear();
        EXPECT_FALSE(connectDatabase(state, session, prompts));
        EXPECT_FALSE(state.loggedIn);
        EXPECT_FALSE(session.isOpen());
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (ODBC)"));
        EXPECT_FALSE(prompts.shown[0].text.isEmpty()) << "the driver's text is shown";
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("chybi.db")))) << "no empty database appears";
}

TEST_F(ConnectDatabase, NotLoggedInMeansNoAttempt) {
    state.loggedIn = false;
    state.connectionString = stringFor(QStringLiteral("chybi.db"));
    EXPECT_FALSE(connectDatabase(state, session, prompts));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ConnectDatabase, InstallRunsCreateTheEmbeddedFile) {
    for (StartMode mode : {StartMode::Install, StartMode::Reinstall}) {
        const QString file = mode == StartMode::Install ? QStringLiteral("i.db") : QStringLiteral("r.db");
        state.startMode = mode;
        state.loggedIn = true;
        state.connectionString = stringFor(file);
        EXPECT_TRUE(connectDatabase(state, session, prompts));
        EXPECT_TRUE(state.loggedIn);
        EXPECT_TRUE(session.isOpen());
        EXPECT_TRUE(QFile::exists(dir.filePath(file)));
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

class RunInstallScript : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state.appDir = dir.path() + QLatin1Char('/');
        state.platform = QStringLiteral("1");
        state.startMode = StartMode::Install;
        state.loggedIn = true;
        session.open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + dir.filePath("k.db") +
                         QLatin1Char(';'),
                     DbPlatform::Jet, true);
        console.emplace(session, state, prompts);
        script = dir.filePath(QStringLiteral("skript.sql"));
    }

    void writeScript(const QByteArray& bytes) {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    bool tableExists(const QString& table) {
        QSqlQuery q =
            session.query(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = ?"), {table});
        return q.next() && q.value(0).toInt() == 1;
    }

    QStringList captions() const { return prompts.captions(); }

    QTemporaryDir dir;
    AppState state;
    ScriptedPrompts prompts;
    DatabaseSession session;
    std::optional<ConsoleRunner> console;
    QString script;
};

TEST_F(RunInstallScript, SuccessShowsMessageFourteen) {
    writeScript(toCp1250(QStringLiteral("// Instalační skript;\r\n"
                                        "CREATE TABLE t1 (id INT, nazev VARCHAR(40));\r\n"
                                        "INSERT INTO t1 (id, nazev) VALUES (1, 'Žluťoučký kůň');\r\n")));
    EXPECT_EQ(runInstallScript(state, *console, prompts, script), 0);
    EXPECT_EQ(captions(), QStringList{QStringLiteral("Instalace")});
    EXPECT_FALSE(state.loggedIn) << "an install run never reaches the normal start";
    QSqlQuery q = session.query(QStringLiteral("SELECT nazev FROM t1"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("Žluťoučký kůň"))
        << "the script is read as code page 1250";
}

TEST_F(RunInstallScript, FailingStatementStopsTheRunAndKeepsEarlierOnes) {
    writeScript(toCp1250(QStringLiteral("CREATE TABLE t1 (id INT, nazev VARCHAR(40));\r\n"
                                        "INSERT INTO t1 (id, nazev) VALUES (1, 'a');\r\n"
                                        "INSERT INTO neni_tabulka (id) VALUES (1);\r\n"
                                        "CREATE TABLE t2 (id INT);\r\n")));
    EXPECT_EQ(runInstallScript(state, *console, prompts, script), 1);
    EXPECT_EQ(captions(),
              (QStringList{QStringLiteral("Chyba (ODBC)"), QStringLiteral("Chyba při instalaci")}));
    EXPECT_TRUE(prompts.shown[0].text.contains(QLatin1String("neni_tabulka")));
    EXPECT_TRUE(tableExists(QStringLiteral("t1")));
    EXPECT_FALSE(tableExists(QStringLiteral("t2")));
    EXPECT_EQ(state.installResult, 1);
    EXPECT_FALSE(state.loggedIn);
}

TEST_F(RunInstallScript, UnreadableScriptRunsNothing) {
    static const char bytes[] = "CREATE TABLE t1 (id INT);\r\n\0\0\0\x01\x02 binary;\r\n";
    writeScript(QByteArray(bytes, sizeof(bytes) - 1));
    EXPECT_EQ(runInstallScript(state, *console, prompts, script), 1);
    EXPECT_EQ(captions(), QStringList{QStringLiteral("Chyba (ODBC)")});
    EXPECT_FALSE(tableExists(QStringLiteral("t1")));
    EXPECT_FALSE(state.loggedIn);

    prompts.shown.clear();
    EXPECT_EQ(runInstallScript(state, *console, prompts, dir.filePath(QStringLiteral("neni.sql"))), 1);
    EXPECT_EQ(captions(), QStringList{QStringLiteral("Chyba (ODBC)")});
}

TEST_F(RunInstallScript, TheOutcomeDecidesTheMessageAndTheExitStatus) {
    // The database of an update: version 1.70 and nothing more to do for it.
    session.execute(QStringLiteral("CREATE TABLE tbl_system (id INT, verze_databaze VARCHAR(20))"));
    session.execute(QStringLiteral("INSERT INTO tbl_system VALUES (1, '1.70')"));
    struct Outcome {
        const char* name;
        const char* script;
        int result;
        QStringList captions;
        int exitStatus;
    };
    const std::vector<Outcome> outcomes = {
        {"statements ran", "CREATE TABLE t1 (id INT);\r\n", 2, {QStringLiteral("Instalace")}, 0},
        {"a statement failed",
         "CREATE TABLE t2 (id INT);\r\nCREATE TABLE t2 (id INT);\r\n",
         1,
         {QStringLiteral("Chyba (ODBC)"), QStringLiteral("Chyba při instalaci")},
         1},
        {"an update whose guards skip everything",
         "#ALLOW ONLY-1.60-;\r\nALTER TABLE tbl_system ADD COLUMN x INT;\r\n#ALLOW ONLY-1.50-;\r\n"
         "DROP TABLE tbl_system;\r\n",
         0,
         {},
         0},
        {"only comments", "// nothing to do yet;\r\n", 0, {}, 0},
        {"nothing at all", "", 0, {}, 0},
    };
    for (const Outcome& o : outcomes) {
        prompts.shown.clear();
        writeScript(toCp1250(QString::fromUtf8(o.script)));
        EXPECT_EQ(runInstallScript(state, *console, prompts, script), o.exitStatus) << o.name;
        EXPECT_EQ(state.installResult, o.result) << o.name;
        EXPECT_EQ(captions(), o.captions) << o.name;
    }
    EXPECT_TRUE(tableExists(QStringLiteral("tbl_system")));
}

TEST_F(RunInstallScript, TheConsoleShowsTheScriptItRuns) {
    QStringList loaded;
    QObject::connect(&*console, &ConsoleRunner::scriptLoaded, [&](const QString& text) { loaded << text; });
    const QString text = QStringLiteral("// Skript;\r\nCREATE TABLE t1 (nazev VARCHAR(40));\r\n");
    writeScript(toCp1250(text));
    runInstallScript(state, *console, prompts, script);
    EXPECT_EQ(loaded, QStringList{text});

    // An unreadable script leaves the script box empty.
    runInstallScript(state, *console, prompts, dir.filePath(QStringLiteral("neni.sql")));
    EXPECT_EQ(loaded, (QStringList{text, QString()}));
}

// "-inst" from the command line: the whole run without the main window.
class InstallMode : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(elsewhere.isValid());
        state.appDir = dir.path() + QLatin1Char('/');
        state.startMode = StartMode::Install;
        script = dir.filePath(QStringLiteral("skript.sql"));
        ASSERT_TRUE(writeCp1250File(script, QStringLiteral("CREATE TABLE t1 (id INT);\r\n")));
    }

    void writeIni(const QString& database) {
        ASSERT_TRUE(
            writeCp1250File(state.configFilePath(),
                            QStringLiteral("[database string]\r\nProvider=Microsoft.Jet.OLEDB.4.0;Data "
                                           "Source=") +
                                database + QStringLiteral(";\r\n[database platform]\r\n1\r\n")));
    }

    InstallRunHooks hooks() {
        InstallRunHooks h;
        h.openConfiguration = [this] { ++configurationOpened; };
        h.showConsole = [this](ConsoleRunner& runner) {
            auto window = std::make_unique<QObject>();
            QObject::connect(&runner, &ConsoleRunner::scriptLoaded, window.get(),
                             [this](const QString& text) { consoleScript = text; });
            return window;
        };
        return h;
    }

    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    AppState state;
    ScriptedPrompts prompts;
    QString script;
    int configurationOpened = 0;
    QString consoleScript;
};

TEST_F(InstallMode, ADatabaseOutsideTheProgramFolderWarnsAndOpensTheConfiguration) {
    writeIni(elsewhere.filePath(QStringLiteral("kelvarn.db")));
    EXPECT_EQ(runInstallMode(state, prompts, script, hooks()), 0);
    EXPECT_EQ(prompts.captions(), (QStringList{QStringLiteral("Upozornění"), QStringLiteral("Instalace")}));
    EXPECT_EQ(configurationOpened, 1);
    EXPECT_EQ(consoleScript, QStringLiteral("CREATE TABLE t1 (id INT);\r\n"));
    EXPECT_TRUE(QFile::exists(elsewhere.filePath(QStringLiteral("kelvarn.db"))));
}

TEST_F(InstallMode, ADatabaseInTheProgramFolderRunsWithoutWarningAndWithoutScreen) {
    writeIni(dir.filePath(QStringLiteral("kelvarn.db")));
    InstallRunHooks none;
    EXPECT_EQ(runInstallMode(state, prompts, script, none), 0);
    EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Instalace")});
    EXPECT_EQ(runInstallMode(state, prompts, script, hooks()), 1) << "the table exists now";
    EXPECT_EQ(configurationOpened, 0);
}

} // namespace
} // namespace kelvarn

namespace kelvarn {
namespace {

// Sets KELVARN_UNATTENDED for one scope.
class UnattendedScope {
  public:
    explicit UnattendedScope(const char* value) : old_(qgetenv("KELVARN_UNATTENDED")) {
        if (value)
            qputenv("KELVARN_UNATTENDED", value);
        else
            qunsetenv("KELVARN_UNATTENDED");
    }
    ~UnattendedScope() {
        if (old_.isNull())
            qunsetenv("KELVARN_UNATTENDED");
        else
            qputenv("KELVARN_UNATTENDED", old_);
    }
    UnattendedScope(const UnattendedScope&) = delete;
    UnattendedScope& operator=(const UnattendedScope&) = delete;

  private:
    QByteArray old_;
};

// An install run asks for the credentials exactly where a normal start would; only
// nobody at the screen makes it take the dialog's preset.
TEST(InstallRun, LoginDialogWhereTheCredentialRulesAskForIt) {
    const struct Case {
        const char* what;
        StartMode mode;
        QString credentials;
        const char* unattended;
        bool accept;
        int dialogs;
        QString userName;
        int exitCode;
    } cases[] = {
        {"password only, install: the dialog", StartMode::Install, QStringLiteral("Password=TopSecret42;"),
         nullptr, true, 1, "petr", 0},
        {"password only, install, cancelled: nothing runs", StartMode::Install,
         QStringLiteral("Password=TopSecret42;"), nullptr, false, 1, "", 1},
        {"password only, unattended install: the preset", StartMode::Install,
         QStringLiteral("Password=TopSecret42;"), "1", true, 0, "administrator", 0},
        {"user only, install: the platform's password", StartMode::Install, QStringLiteral("User ID=jana;"),
         nullptr, true, 0, "jana", 0},
        {"neither, install: the platform's user", StartMode::Install, QString(), nullptr, true, 0,
         "administrator", 0},
        {"neither, reinstall: the dialog", StartMode::Reinstall, QString(), nullptr, true, 1, "petr", 0},
        {"neither, unattended reinstall: the preset", StartMode::Reinstall, QString(), "1", true, 0,
         "administrator", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const UnattendedScope scope(c.unattended);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        AppState state;
        state.appDir = dir.path() + QLatin1Char('/');
        state.startMode = c.mode;
        ASSERT_TRUE(writeCp1250File(state.configFilePath(),
                                    QStringLiteral("[database string]\r\nProvider=Microsoft.Jet.OLEDB.4.0;") +
                                        c.credentials + QStringLiteral("Data Source=") +
                                        dir.filePath(QStringLiteral("k.db")) +
                                        QStringLiteral(";\r\n[database platform]\r\n1\r\n")));
        const QString script = dir.filePath(QStringLiteral("skript.sql"));
        ASSERT_TRUE(writeCp1250File(script, QStringLiteral("CREATE TABLE t1 (id INT);\r\n")));
        ScriptedPrompts prompts;
        FakeLogin login;
        login.accept = c.accept;
        login.user = QStringLiteral("petr");
        int consoles = 0;

        InstallRunHooks hooks;
        hooks.login = login.function();
        hooks.showConsole = [&](ConsoleRunner&) {
            ++consoles;
            return std::unique_ptr<QObject>();
        };
        const int exitCode = runInstallMode(state, prompts, script, hooks);

        EXPECT_EQ(login.calls, c.dialogs);
        EXPECT_EQ(exitCode, c.exitCode);
        EXPECT_EQ(consoles, c.exitCode == 0 ? 1 : 0);
        EXPECT_EQ(QFile::exists(dir.filePath(QStringLiteral("k.db"))), c.exitCode == 0);
        if (c.exitCode == 0) {
            EXPECT_EQ(state.userName, c.userName);
            EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Instalace")});
        }
    }
}

} // namespace
} // namespace kelvarn
