#include "app/shell_controller.h"
#include "core/text_file.h"
#include "db/dataset.h"
#include "output/console_runner.h"
#include "output/report_engine.h"
#include "output/report_error.h"
#include "registers/entrepreneur_record.h"
#include "support/db/test_databases.h"
#include "support/fake_shell_view.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace kelvarn {
namespace {

using test::FakeShellView;
using test::ScriptedPrompts;

const QString kFailed =
    QStringLiteral("Chyba. Nepodařilo se inicializovat databázi. (Stisknutím F1 zobrazíte nápovědu)");
const QString kDemoName = QStringLiteral("Jiří Dvořák - truhlářství");

// Records the report-engine calls of the start-up and the end of the run.
class FakeReportEngine : public ReportEngine {
  public:
    void setProjectFile(const QString& path) override { file = path; }
    QString projectFile() const override { return file; }
    void openProject() override {
        calls << QStringLiteral("open");
        if (!openError.isEmpty())
            throw ReportError(openError);
        open = true;
    }
    bool isProjectOpen() const override { return open; }
    void closeProject() override {
        calls << QStringLiteral("close");
        open = false;
        if (!closeError.isEmpty())
            throw ReportError(closeError);
    }
    QStringList reportNames() const override { return open ? names : QStringList(); }
    void setParameter(const QString& name, const QString& value) override { parameters[name] = value; }
    QString parameter(const QString& name) const override { return parameters.value(name); }
    void bindConnection(int, Dataset*) override {}
    void runReport(const QString&) override {}

    QString file;
    bool open = false;
    QStringList names{QStringLiteral("M00_Faktura"), QStringLiteral("M10_Seznam")};
    QString openError;
    QString closeError;
    QStringList calls;
    QMap<QString, QString> parameters;
};

QStringList codesOf(const ScriptedPrompts& prompts) {
    return prompts.captions();
}

class ShellControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousDir_ = QDir::currentPath();
        ASSERT_TRUE(cwd_.isValid());
        // firstlogin.txt lives in the current directory.
        QDir::setCurrent(cwd_.path());
    }
    void TearDown() override {
        shell.reset();
        QDir::setCurrent(previousDir_);
    }

    void useDatabase(bool demo) {
        db = test::createTestDatabase(DbPlatform::Jet, demo);
        ASSERT_TRUE(db);
        appDir = db->state.appDir;
    }

    QString dataSource() const {
        return QStringLiteral("Data Source=") + appDir + QStringLiteral("kelvarn.db;");
    }
    QString jetString(const QString& credentials = QStringLiteral("User ID=administrator;Password=;")) const {
        return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;") + credentials + dataSource();
    }

    void writeIni(const QString& connection, const QString& more = QStringLiteral("[show tips]\nNO\n")) {
        ASSERT_TRUE(writeCp1250File(appDir + QStringLiteral("kelvarn.ini"),
                                    QStringLiteral("[database string]\n") + connection +
                                        QStringLiteral("\n[database platform]\n1\n") + more));
    }

    ShellController& make() {
        shell = std::make_unique<ShellController>(view, prompts, appDir);
        auto engine = std::make_unique<FakeReportEngine>();
        reports = engine.get();
        shell->setReportEngine(std::move(engine));
        shell->setRandom([](int low, int) { return low; });
        return *shell;
    }

    bool start(const QString& connection) {
        writeIni(connection);
        return make().startUp();
    }

    void execute(const QString& statement) { db->session->execute(statement); }

    QString firstLoginPath() const { return QDir(cwd_.path()).filePath(QStringLiteral("firstlogin.txt")); }

    std::unique_ptr<test::TestDatabase> db;
    QString appDir;
    FakeShellView view;
    ScriptedPrompts prompts;
    FakeReportEngine* reports = nullptr;
    std::unique_ptr<ShellController> shell;

  private:
    QTemporaryDir cwd_;
    QString previousDir_;
};

TEST_F(ShellControllerTest, StartsOnTheDemoDatabaseWithEveryStepDone) {
    useDatabase(true);
    ASSERT_TRUE(start(jetString()));

    const AppState& s = shell->state();
    EXPECT_TRUE(prompts.shown.isEmpty()) << codesOf(prompts).join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(view.loginCalls, 0); // both credentials configured
    EXPECT_EQ(s.entrepreneurName, kDemoName);
    EXPECT_EQ(s.entrepreneurIco, QStringLiteral("27384519"));
    EXPECT_EQ(s.vatReduced, 12);
    EXPECT_EQ(s.vatBasic, 21);
    EXPECT_EQ(s.defaultItemVat, 21); // a VAT payer
    EXPECT_EQ(s.dbVersion, QStringLiteral("1.70"));
    EXPECT_EQ(view.caption(),
              QStringLiteral(" Podnikatelský subjekt: ") + kDemoName + QStringLiteral(", IČ: 27384519"));
    EXPECT_EQ(view.aboutAppVersion, QStringLiteral("1.70"));
    EXPECT_EQ(view.aboutDbVersion, QStringLiteral("1.70"));
    EXPECT_EQ(view.settingsUser, QStringLiteral("administrator"));
    EXPECT_EQ(view.settingsConnection, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;") + dataSource());
    EXPECT_EQ(view.entrepreneurShown, &shell->entrepreneur());
    EXPECT_TRUE(shell->entrepreneur().isActive());
    EXPECT_EQ(view.selectedTabs, QList<int>{0});
    EXPECT_EQ(view.recordCount, 1);
    EXPECT_EQ(view.status(), QStringLiteral("Není aplikován žádný filtr. Jsou zobrazeny všechny záznamy."));
    EXPECT_EQ(view.splashCalls, QList<bool>{false});
    EXPECT_TRUE(view.modulesEnabled);

    // The report project from the program folder, its names in the settings window.
    EXPECT_EQ(reports->file, appDir + QStringLiteral("sestavy.rav"));
    EXPECT_TRUE(reports->open);
    EXPECT_EQ(view.reportNames, reports->names);
    EXPECT_EQ(reports->parameters.value(QStringLiteral("p_logo01")), appDir + QStringLiteral("logo.bmp"));

    // The first login leaves the connection (without credentials) behind.
    QString text;
    ASSERT_TRUE(readCp1250File(firstLoginPath(), text));
    EXPECT_EQ(text, s.connectionStringShown + QStringLiteral("\r\n"));

    // Once only.
    writeIni(QStringLiteral("Provider=Nothing;"));
    EXPECT_TRUE(shell->startUp());
    EXPECT_EQ(reports->calls, QStringList{QStringLiteral("open")});
}

TEST_F(ShellControllerTest, TestDatabaseBlinksItsCaption) {
    useDatabase(true); // the demo entrepreneur marks a TEST database
    ASSERT_TRUE(start(jetString()));
    const QString saved = view.caption();
    EXPECT_EQ(view.blinkInterval, 500);
    EXPECT_EQ(shell->state().savedCaption, saved);
    EXPECT_EQ(view.applicationTitle, QStringLiteral("Kelvarn (TEST) - ") + kDemoName);
    EXPECT_EQ(shell->state().testState, 1);

    shell->blinkTick();
    EXPECT_EQ(view.caption(), QString(20, QLatin1Char(' ')) + saved);
    EXPECT_EQ(shell->state().testState, 2);
    shell->blinkTick();
    EXPECT_EQ(view.caption(), QStringLiteral(" ! T E S T !   ") + saved);
    EXPECT_EQ(shell->state().testState, 1);
    shell->blinkTick();
    EXPECT_EQ(view.caption(), QString(20, QLatin1Char(' ')) + saved);
}

TEST_F(ShellControllerTest, OrdinaryDatabaseHasThePlainTitleAndNoBlink) {
    useDatabase(true);
    execute(QStringLiteral("UPDATE tbl_podnikatel SET test=0, platce_dph='Ne' WHERE id=1"));
    ASSERT_TRUE(start(jetString()));
    EXPECT_EQ(view.applicationTitle, QStringLiteral("Kelvarn - ") + kDemoName);
    EXPECT_EQ(view.blinkInterval, 0);
    EXPECT_EQ(shell->state().defaultItemVat, 0); // not a VAT payer
    const QString caption = view.caption();
    shell->blinkTick();
    EXPECT_EQ(view.caption(), caption);
}

TEST_F(ShellControllerTest, MissingConfigurationEndsDisabled) {
    useDatabase(true);
    make();
    view.login = [](QString& user, QString& password) {
        user = QStringLiteral("administrator");
        password.clear();
        return true;
    };
    prompts.answers = {Answer::No}; // the database found in the program folder is not wanted
    EXPECT_FALSE(shell->startUp());
    // Message 1, the offer, then the empty connection string cannot be opened: message 3.
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (I/O)"));
    EXPECT_EQ(prompts.shown[1].style, MessageStyle::Question);
    EXPECT_EQ(prompts.shown[2].caption, QStringLiteral("Chyba (ODBC)"));
    EXPECT_FALSE(QFile::exists(appDir + QStringLiteral("kelvarn.ini")));
    EXPECT_EQ(view.loginCalls, 1);
    EXPECT_EQ(view.status(), kFailed);
    EXPECT_TRUE(view.splashVisible());
    EXPECT_FALSE(view.modulesEnabled);
    EXPECT_EQ(view.selectedTabs.last(), 0);
    EXPECT_FALSE(QFile::exists(firstLoginPath()));
    EXPECT_TRUE(reports->calls.isEmpty());
}

// A lost kelvarn.ini is reported, and a new database comes only when the user asks
// for one; the start-up then goes on with it.
TEST_F(ShellControllerTest, MissingConfigurationOffersANewDatabaseAfterMessageOne) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    appDir = folder.path() + QLatin1Char('/');
    ASSERT_TRUE(
        test::copyFolder(test::sourceDir() + QStringLiteral("/install"), appDir + QStringLiteral("install")));
    make();
    view.login = [](QString&, QString& password) { // the dialog's preset
        password.clear();
        return true;
    };
    prompts.answers = {Answer::Yes, Answer::Yes};
    ASSERT_TRUE(shell->startUp());
    const QStringList captions = prompts.captions();
    ASSERT_GE(captions.size(), 3);
    EXPECT_EQ(captions.mid(0, 3),
              (QStringList{QStringLiteral("Chyba (I/O)"), QStringLiteral("Dotaz"), QStringLiteral("Dotaz")}));
    EXPECT_EQ(shell->state().entrepreneurName, kDemoName);
    EXPECT_EQ(shell->state().platform, QStringLiteral("1"));
    EXPECT_TRUE(QFile::exists(appDir + QStringLiteral("kelvarn.db")));
    EXPECT_EQ(view.applicationTitle, QStringLiteral("Kelvarn (TEST) - ") + kDemoName);
    shell.reset();
}

TEST_F(ShellControllerTest, ConfigurationVariantsReachTheLogin) {
    useDatabase(true);
    const struct Case {
        const char* what;
        QString ini;
        QString platform; // as the login dialog is told
        QStringList captions;
        bool debug;
    } cases[] = {
        {"no platform key: the embedded platform",
         "[database string]\n" + jetString(QString()) + "\n",
         "1",
         {},
         false},
        {"y means Oracle",
         "[database platform]\ny\n[database string]\n" + jetString(QString()) + "\n",
         "3",
         {},
         false},
        {"N means the embedded platform",
         "[database platform]\nN\n[database string]\n" + jetString(QString()) + "\n",
         "1",
         {},
         false},
        {"the last of repeated keys wins",
         "[database platform]\n5\n[database string]\nProvider=Nothing;\n[database platform]\n1\n[database "
         "string]\n" +
             jetString(QString()) + "\n[debug]\nYES\n",
         "1",
         {},
         true},
        {"a bad update criteria stops reading there",
         "[database platform]\n1\n[database string]\n" + jetString(QString()) +
             "\n[update criteria]\nx\n[debug]\nYES\n",
         "1",
         {QStringLiteral("Chyba (I/O)")},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(firstLoginPath());
        ASSERT_TRUE(writeCp1250File(appDir + QStringLiteral("kelvarn.ini"),
                                    QStringLiteral("[show tips]\nNO\n") + c.ini));
        prompts.shown.clear();
        view = FakeShellView();
        view.login = [](QString& user, QString& password) {
            user = QStringLiteral("administrator");
            password.clear();
            return true;
        };
        make();
        shell->startUp();
        EXPECT_EQ(view.loginPlatform, c.platform);
        EXPECT_EQ(codesOf(prompts), c.captions);
        EXPECT_EQ(shell->state().debug, c.debug);
    }
}

TEST_F(ShellControllerTest, CredentialCasesComposeTheConnection) {
    useDatabase(true);
    const QString provider = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;");
    const struct Case {
        const char* what;
        QString configured;
        int logins;
        QString preset;
        QString composed;
    } cases[] = {
        {"user only: the dialog is preset with it", provider + "User ID=jana;" + dataSource(), 1, "jana",
         "User ID=petr;Password=heslo;" + provider + dataSource()},
        {"password only", provider + "Password=x;" + dataSource(), 1, "",
         "User ID=petr;Password=heslo;" + provider + dataSource()},
        {"both: nobody is asked", provider + "User ID=jana;Password=x;" + dataSource(), 0, "",
         provider + "User ID=jana;Password=x;" + dataSource()},
        {"neither", provider + dataSource(), 1, "", "User ID=petr;Password=heslo;" + provider + dataSource()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view = FakeShellView();
        view.login = [](QString& user, QString& password) {
            user = QStringLiteral("petr");
            password = QStringLiteral("heslo");
            return true;
        };
        prompts.shown.clear();
        EXPECT_TRUE(start(c.configured));
        EXPECT_EQ(view.loginCalls, c.logins);
        if (c.logins) {
            EXPECT_EQ(view.loginPreset, c.preset);
            // While the dialog is open the status bar shows what is being logged in to.
            EXPECT_EQ(view.statusWhileLogin, c.configured);
        }
        EXPECT_EQ(shell->state().connectionString, c.composed);
        EXPECT_EQ(view.settingsConnection, provider + dataSource());
        EXPECT_TRUE(prompts.shown.isEmpty());
    }
}

TEST_F(ShellControllerTest, CancelledLoginTriesNoConnection) {
    useDatabase(true);
    EXPECT_FALSE(start(jetString(QString())));
    EXPECT_EQ(view.loginCalls, 1);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(shell->session().isOpen());
    EXPECT_FALSE(view.modulesEnabled);
    EXPECT_EQ(view.status(), kFailed);
}

TEST_F(ShellControllerTest, UnreachableServerShowsMessageThree) {
    useDatabase(true);
    writeIni(
        QStringLiteral(
            "Provider=MySQLProv;Data Source=127.0.0.1;Port=1;Initial Catalog=kelvarn;User ID=a;Password=b;"),
        QStringLiteral("[show tips]\nNO\n[database platform]\n4\n"));
    EXPECT_FALSE(make().startUp());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (ODBC)"));
    EXPECT_FALSE(prompts.shown[0].text.isEmpty());
    EXPECT_FALSE(view.modulesEnabled);
}

TEST_F(ShellControllerTest, VersionMismatchDisablesAfterTheInitialisation) {
    useDatabase(true);
    for (const char* statement :
         {"UPDATE tbl_system SET verze_databaze='1.60' WHERE id=1", "DELETE FROM tbl_system WHERE id=1"}) {
        SCOPED_TRACE(statement);
        execute(QString::fromLatin1(statement));
        view = FakeShellView();
        prompts.shown.clear();
        EXPECT_FALSE(start(jetString()));
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (verze)"));
        EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("Verze databáze (") +
                                                     shell->state().dbVersion +
                                                     QStringLiteral(") a exe aplikace (1.70)")));
        // The initialisation was done: the caption names the entrepreneur.
        EXPECT_TRUE(view.caption().contains(kDemoName));
        EXPECT_FALSE(view.modulesEnabled);
        EXPECT_EQ(view.status(), kFailed);
    }
}

TEST_F(ShellControllerTest, EmptyTestValueFailsTheInitialisation) {
    useDatabase(true);
    execute(QStringLiteral("UPDATE tbl_podnikatel SET test=NULL WHERE id=1"));
    EXPECT_FALSE(start(jetString()));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba (ODBC)"));
    EXPECT_TRUE(view.caption().isEmpty()); // step 11 never ran
    EXPECT_TRUE(reports->calls.isEmpty());
    EXPECT_FALSE(view.modulesEnabled);
}

TEST_F(ShellControllerTest, UnusableVatRatesWarnButTheRunGoesOn) {
    useDatabase(true);
    const struct Case {
        const char* rates;
        bool warned;
    } cases[] = {{"dph5=0, dph19=21", true},
                 {"dph5=12, dph19=0", true},
                 {"dph5=21, dph19=21", true},
                 {"dph5=NULL, dph19=NULL", true},
                 {"dph5=12, dph19=21", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rates);
        execute(QStringLiteral("UPDATE tbl_podnikatel SET %1 WHERE id=1").arg(QString::fromLatin1(c.rates)));
        prompts.shown.clear();
        view = FakeShellView();
        EXPECT_TRUE(start(jetString()));
        EXPECT_EQ(prompts.sawCaption(QStringLiteral("Sazby DPH")), c.warned);
        EXPECT_EQ(prompts.shown.size(), c.warned ? 1 : 0);
    }
}

TEST_F(ShellControllerTest, FreshDatabaseWarnsAboutItsRates) {
    useDatabase(false); // the install script leaves the rates empty
    EXPECT_TRUE(start(jetString()));
    EXPECT_EQ(codesOf(prompts), QStringList{QStringLiteral("Sazby DPH")});
    EXPECT_EQ(view.applicationTitle, QStringLiteral("Kelvarn - "));
}

TEST_F(ShellControllerTest, TipsAndTheFirstLoginFile) {
    useDatabase(true);
    writeIni(jetString(), QStringLiteral("[show tips]\nyes\n"));
    make();
    shell->state().tipIndex = 7;
    ASSERT_TRUE(shell->startUp());
    // The very first run shows tip 0, the one about the default login.
    EXPECT_EQ(view.tipsShown, 1);
    EXPECT_EQ(shell->state().tipIndex, 0);

    // An existing file is left as it is.
    ASSERT_TRUE(writeCp1250File(firstLoginPath(), QStringLiteral("puvodni\r\n")));
    view = FakeShellView();
    make();
    ASSERT_TRUE(shell->startUp());
    QString text;
    ASSERT_TRUE(readCp1250File(firstLoginPath(), text));
    EXPECT_EQ(text, QStringLiteral("puvodni\r\n"));
    EXPECT_EQ(view.tipsShown, 1);

    writeIni(jetString(), QStringLiteral("[show tips]\nNO\n"));
    view = FakeShellView();
    make();
    ASSERT_TRUE(shell->startUp());
    EXPECT_EQ(view.tipsShown, 0);
}

TEST_F(ShellControllerTest, ForeignEmbeddedDatabaseOpensTheConfigurationFile) {
    useDatabase(true);
    QTemporaryDir elsewhere;
    db->session->close(); // the whole database is in its file only once no connection holds it
    QFile::copy(appDir + QStringLiteral("kelvarn.db"), elsewhere.filePath(QStringLiteral("kelvarn.db")));
    EXPECT_TRUE(start(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=a;Password=;Data Source=") +
                      elsewhere.filePath(QStringLiteral("kelvarn.db")) + QLatin1Char(';')));
    EXPECT_EQ(codesOf(prompts), QStringList{QStringLiteral("Upozornění")});
    EXPECT_EQ(view.configFileOpened, 1);
}

TEST_F(ShellControllerTest, ReportProjectErrorsAreShownAndTheRunGoesOn) {
    useDatabase(true);
    writeIni(jetString());
    make();
    reports->openError = QStringLiteral("Soubor tiskových sestav neexistuje.");
    EXPECT_TRUE(shell->startUp());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba"));
    EXPECT_EQ(prompts.shown[0].text, reports->openError);
    EXPECT_TRUE(view.modulesEnabled);
}

TEST_F(ShellControllerTest, InstallRunExecutesTheScriptAndCloses) {
    useDatabase(false);
    const QString file = appDir + QStringLiteral("nova.db");
    writeIni(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file + QLatin1Char(';'));
    make();
    shell->state().startMode = StartMode::Install;
    shell->setInstallScript(test::sourceDir() + QStringLiteral("/install/kelvarn_install.sql"));
    QString consoleScript;
    QObject::connect(&shell->console(), &ConsoleRunner::scriptLoaded,
                     [&](const QString& text) { consoleScript = text; });
    EXPECT_FALSE(shell->startUp());
    EXPECT_EQ(view.loginCalls, 0); // install runs use the default credentials
    EXPECT_EQ(view.consoleShown, 1);
    QString script;
    ASSERT_TRUE(readCp1250File(test::sourceDir() + QStringLiteral("/install/kelvarn_install.sql"), script));
    EXPECT_EQ(consoleScript, script) << "the console shows the script it runs";
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(codesOf(prompts), QStringList{QStringLiteral("Instalace")});
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(firstLoginPath()));
}

// ---- the running program ------------------------------------------------------

class RunningShellTest : public ShellControllerTest {
  protected:
    void SetUp() override {
        ShellControllerTest::SetUp();
        useDatabase(true);
        ASSERT_TRUE(start(jetString()));
        prompts.shown.clear();
    }
    Dataset& entrepreneur() { return shell->entrepreneur(); }
    QString stored(const QString& column) {
        QSqlQuery q =
            db->session->query(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM tbl_podnikatel"));
        return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }
    std::vector<FieldEdit> rateEdit(const QString& text) {
        return {{QStringLiteral("dph5"), QStringLiteral("Snížená sazba DPH"), text}};
    }
};

TEST_F(RunningShellTest, SavingTheEntrepreneurAsksAndAdvisesARestart) {
    EXPECT_FALSE(shell->saveCurrentRecord()); // nothing is being edited
    EXPECT_TRUE(prompts.shown.isEmpty());

    ASSERT_EQ(applyFieldEdits(entrepreneur(), rateEdit(QStringLiteral("10")), prompts), -1);
    EXPECT_TRUE(entrepreneur().isEditing());
    prompts.answers = {Answer::No};
    EXPECT_FALSE(shell->saveCurrentRecord());
    EXPECT_EQ(codesOf(prompts), QStringList{QStringLiteral("Dotaz")});
    EXPECT_TRUE(entrepreneur().isEditing());
    EXPECT_EQ(stored(QStringLiteral("dph5")).toDouble(), 12);

    prompts.shown.clear();
    EXPECT_TRUE(shell->saveCurrentRecord());
    EXPECT_EQ(codesOf(prompts),
              (QStringList{QStringLiteral("Dotaz"), QStringLiteral("Globální konfigurace")}));
    EXPECT_EQ(stored(QStringLiteral("dph5")).toDouble(), 10);
    const QString created = stored(QStringLiteral("dateTS0"));
    EXPECT_FALSE(created.isEmpty());
    EXPECT_FALSE(stored(QStringLiteral("dateTS1")).isEmpty());

    // Saving without the prompt; the creation stamp stays.
    shell->state().saveWithoutPrompt = true;
    prompts.shown.clear();
    execute(QStringLiteral("UPDATE tbl_podnikatel SET dateTS0='2001-02-03 04:05:06' WHERE id=1"));
    entrepreneur().refresh();
    ASSERT_EQ(applyFieldEdits(entrepreneur(), rateEdit(QStringLiteral("11")), prompts), -1);
    EXPECT_TRUE(shell->saveCurrentRecord());
    EXPECT_EQ(codesOf(prompts), QStringList{QStringLiteral("Globální konfigurace")});
    EXPECT_EQ(entrepreneur().asDateTime(QStringLiteral("dateTS0")),
              QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
}

TEST_F(RunningShellTest, BadNumberKeepsTheRowEditable) {
    ASSERT_EQ(applyFieldEdits(entrepreneur(), rateEdit(QStringLiteral("12,5x")), prompts), 0);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba"));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("Snížená sazba DPH")));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("12,5x")));
    EXPECT_TRUE(entrepreneur().isEditing());

    // Esc drops the change.
    shell->cancelCurrentEdit();
    EXPECT_FALSE(entrepreneur().isEditing());
    EXPECT_EQ(entrepreneur().asFloat(QStringLiteral("dph5")), 12);
}

TEST_F(RunningShellTest, EditStateGuard) {
    EXPECT_TRUE(shell->checkBrowseState(QString()));
    entrepreneur().edit();
    EXPECT_FALSE(shell->checkBrowseState(QStringLiteral("post")));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(shell->checkBrowseState(QString()));
    EXPECT_EQ(codesOf(prompts), QStringList{QStringLiteral("Chyba")});
    // Modules without panels yet are never refused.
    view.tab = 3;
    EXPECT_TRUE(shell->checkBrowseState(QString()));
}

TEST_F(RunningShellTest, CloseRequestListsUnsavedPanelsInTheirOrder) {
    EXPECT_TRUE(shell->closeRequested());
    EXPECT_TRUE(prompts.shown.isEmpty());

    Dataset goods(shell->session(), QStringLiteral("ADOFormZbozi"));
    goods.setTable(QStringLiteral("tbl_zbozi"));
    goods.open();
    Dataset cashBook(shell->session(), QStringLiteral("ADOFormHlavniKniha"));
    cashBook.setTable(QStringLiteral("tbl_hlavnikniha"));
    cashBook.open();
    shell->registerDataset(&goods);
    shell->registerDataset(&cashBook);
    goods.append();
    EXPECT_EQ(shell->unsavedPanels(), QStringLiteral("- Zboží\r\n"));

    entrepreneur().edit();
    cashBook.edit();
    prompts.answers = {Answer::No};
    EXPECT_FALSE(shell->closeRequested());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Neuložená data"));
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("Pozor, existují neuložená data v těchto panelech: \r\n\r\n"
                             "- Podnikatel\r\n- Příjmy a výdaje\r\n- Zboží\r\n"
                             "\r\nOpravdu chcete aplikaci zavřít?"));
    prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(shell->closeRequested());
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(shell->closeRequested());
    goods.cancel();
    cashBook.cancel();
}

TEST_F(RunningShellTest, ShutDownClosesEverythingAndAppendsTheDebugLog) {
    const QString logFile = appDir + QStringLiteral("kelvarn_debug.log");
    ASSERT_TRUE(appendCp1250(logFile, QStringLiteral("dřív")));
    shell->state().debug = true;
    shell->log().clear();
    shell->db().lookupValue(QStringLiteral("tbl_system"), QStringLiteral("verze_databaze"),
                            QStringLiteral("1"));
    const QString logged = shell->log().text();
    EXPECT_TRUE(logged.startsWith(QStringLiteral("\r\n-----\r\nSELECT id, verze_databaze FROM tbl_system")));

    shell->shutDown();
    EXPECT_FALSE(shell->session().isOpen());
    EXPECT_EQ(reports->calls, (QStringList{QStringLiteral("open"), QStringLiteral("close")}));
    QFile file(logFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), toCp1250(QStringLiteral("dřív") + logged));
    EXPECT_TRUE(prompts.shown.isEmpty());

    shell->shutDown(); // once only
    EXPECT_EQ(reports->calls.size(), 2);
}

TEST_F(RunningShellTest, ShutDownErrorsAreShownButTheLogFailsSilently) {
    reports->closeError = QStringLiteral("Nelze zavřít.");
    shell->state().debug = true;
    // A folder where the log file should be cannot be appended to.
    ASSERT_TRUE(QDir(appDir).mkdir(QStringLiteral("kelvarn_debug.log")));
    shell->shutDown();
    EXPECT_EQ(codesOf(prompts), QStringList{QStringLiteral("Chyba")});
    EXPECT_EQ(prompts.shown[0].text, reports->closeError);
    EXPECT_FALSE(shell->session().isOpen());
}

TEST_F(RunningShellTest, WithoutDebugNoLogIsWritten) {
    shell->shutDown();
    EXPECT_FALSE(QFile::exists(appDir + QStringLiteral("kelvarn_debug.log")));
}

} // namespace
} // namespace kelvarn

namespace kelvarn {
namespace {

// A grid's arrangement made in one run comes back in the next; a damaged layout
// file only reaches the debug log and the grid keeps its own columns.
TEST_F(ShellControllerTest, GridLayoutsComeBackInTheNextRunAndCaptionMapsAreBuilt) {
    useDatabase(true);
    GridLayout arranged;
    arranged.columns = {{QStringLiteral("nazev"), QStringLiteral("Název firmy"), 240, true},
                        {QStringLiteral("ico"), QStringLiteral("IČ"), 90, false}};
    GridLayout restored;
    auto host = [&](ShellController& s) {
        ShellController::GridHost grid;
        grid.gridName = QStringLiteral("DBGridTest");
        grid.dataset = &s.entrepreneur();
        grid.columns = [] { return QStringList{QStringLiteral("ico"), QStringLiteral("nazev")}; };
        grid.layout = [&] { return arranged; };
        grid.apply = [&](const GridLayout& l) { restored = l; };
        s.registerGrid(grid);
    };
    writeIni(jetString());
    host(make());
    ASSERT_TRUE(shell->startUp());
    EXPECT_TRUE(restored.columns.isEmpty()) << "nothing saved yet";
    EXPECT_FALSE(shell->captionMaps()[1].isEmpty());
    EXPECT_TRUE(shell->captionMaps()[0].isEmpty());
    shell->shutDown();
    const QString file = gridLayoutPath(appDir, QStringLiteral("administrator"), QStringLiteral("DBGridTest"));
    ASSERT_TRUE(QFile::exists(file));

    host(make());
    ASSERT_TRUE(shell->startUp());
    ASSERT_EQ(restored.columns.size(), 2);
    EXPECT_EQ(restored.columns[0].title, QStringLiteral("Název firmy"));
    EXPECT_FALSE(restored.columns[1].visible);
    shell->shutDown();

    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("[layout of another program]\n");
    damaged.close();
    restored = GridLayout();
    host(make());
    ASSERT_TRUE(shell->startUp());
    EXPECT_TRUE(restored.columns.isEmpty());
    EXPECT_TRUE(shell->log().text().contains(file));
    EXPECT_FALSE(prompts.captions().contains(QStringLiteral("Chyba")));
    shell->shutDown(); // while the grid callbacks' objects still exist
}

} // namespace
} // namespace kelvarn
