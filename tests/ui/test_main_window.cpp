#include "module_window_fixture.h"
#include "support/test_application.h"
#include "app/shell_controller.h"
#include "core/text_file.h"
#include "db/dataset.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"
#include "ui/about_dialog.h"
#include "ui/entrepreneur_panel.h"
#include "ui/main_window.h"
#include "ui/query_analyzer_window.h"
#include "ui/settings_dialog.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <memory>

namespace kelvarn {
namespace {

void ensureApplication() {
    test::ensureApplication<QApplication>();
}

struct Started {
    QString program;
    QStringList arguments;
};

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureApplication();
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(cwd_.path()); // firstlogin.txt
        db = demoProgramFolder();
        ASSERT_TRUE(db);
        appDir = db->state.appDir;
        // The help page the program folder ships with.
        QDir(appDir).mkpath(QStringLiteral("help"));
        QFile help(appDir + QStringLiteral("help/!dokument2.htm"));
        ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    }
    void TearDown() override {
        if (window) {
            // Nothing may stop the window from going.
            prompts.answers = {Answer::Yes, Answer::Yes};
            window.reset();
        }
        QDir::setCurrent(previousDir_);
    }

    MainWindow& create() {
        window = std::make_unique<MainWindow>(prompts, appDir);
        window->setStartOnShow(false);
        window->setLauncher(DesktopLauncher(
            [this](const QString& program, const QStringList& arguments) {
                started.push_back({program, arguments});
                return true;
            },
            [](const QString&) { return QString(); }));
        return *window;
    }

    bool startWindow() {
        create();
        window->show();
        const bool running = window->controller().startUp();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        prompts.shown.clear();
        return running;
    }

    QLineEdit* field(const QString& column) {
        return qobject_cast<QLineEdit*>(window->entrepreneurPanel()->editorFor(column));
    }
    Dataset& entrepreneur() { return window->controller().entrepreneur(); }
    QString stored(const QString& column) {
        QSqlQuery q =
            db->session->query(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM tbl_podnikatel"));
        return q.next() ? q.value(0).toString() : QString();
    }
    QMenu* menuTitled(const QString& title) {
        for (QAction* a : window->menuBar()->actions())
            if (a->text() == title)
                return a->menu();
        return nullptr;
    }

    std::unique_ptr<test::TestDatabase> db;
    QString appDir;
    test::ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> window;
    std::vector<Started> started;

  private:
    QTemporaryDir cwd_;
    QString previousDir_;
};

TEST_F(MainWindowTest, StartedWindowShowsTheEntrepreneurOnTheFirstTab) {
    ASSERT_TRUE(startWindow());
    QTabBar* tabs = window->tabBar();
    ASSERT_EQ(tabs->count(), 12);
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_EQ(tabs->tabText(i), MainWindow::moduleCaptions()[i]);
        EXPECT_EQ(tabs->accessibleTabName(i), MainWindow::moduleCaptions()[i]);
    }
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Plnění (podklad pro DPH)"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(tabs->isEnabled());
    EXPECT_TRUE(window->toolbar().bar->isEnabled());
    EXPECT_FALSE(window->splash()->isVisible());
    EXPECT_TRUE(window->entrepreneurPanel()->isVisible());

    EXPECT_EQ(field(QStringLiteral("nazev"))->text(), QStringLiteral("Jiří Dvořák - truhlářství"));
    EXPECT_TRUE(field(QStringLiteral("nazev"))->isReadOnly());
    EXPECT_EQ(field(QStringLiteral("ico"))->text(), QStringLiteral("27384519"));
    EXPECT_EQ(field(QStringLiteral("dph19"))->text(), QStringLiteral("21"));
    auto* payer =
        qobject_cast<QComboBox*>(window->entrepreneurPanel()->editorFor(QStringLiteral("platce_dph")));
    ASSERT_TRUE(payer);
    EXPECT_EQ(payer->currentText(), QStringLiteral("Ano"));

    EXPECT_EQ(window->recordCountLabel()->text(), QStringLiteral("1"));
    EXPECT_TRUE(window->recordCountLabel()->font().bold());
    EXPECT_EQ(window->statusLabel()->text(),
              QStringLiteral("Není aplikován žádný filtr. Jsou zobrazeny všechny záznamy."));
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral(" Podnikatelský subjekt: Jiří Dvořák - truhlářství, IČ: 27384519"));
    EXPECT_EQ(window->applicationTitle(), QStringLiteral("Kelvarn (TEST) - Jiří Dvořák - truhlářství"));
    EXPECT_TRUE(window->blinking());
    EXPECT_EQ(window->aboutDialog()->dbVersionText(), QStringLiteral("verze databáze: 1.70"));
    EXPECT_FALSE(window->splashImage().isNull());

    // Switching modules keeps the counter honest for modules without panels.
    tabs->setCurrentIndex(3);
    EXPECT_EQ(window->modules()->currentIndex(), 3);
    EXPECT_EQ(window->recordCountLabel()->text(), QStringLiteral("0"));
}

TEST_F(MainWindowTest, FailedLoginLeavesOnlyTheMenus) {
    create();
    window->setLoginHandler([](const QString&, QString&, QString&) { return false; });
    ASSERT_TRUE(
        writeCp1250File(appDir + QStringLiteral("kelvarn.ini"),
                        QStringLiteral("[database string]\nProvider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                            appDir + QStringLiteral("kelvarn.db;\n[show tips]\nNO\n")));
    window->show();
    EXPECT_FALSE(window->controller().startUp());
    EXPECT_FALSE(window->tabBar()->isEnabled());
    EXPECT_FALSE(window->toolbar().bar->isEnabled());
    EXPECT_TRUE(window->menuBar()->isEnabled());
    EXPECT_TRUE(window->mainMenu().queryAnalyzer->isEnabled());
    EXPECT_TRUE(window->mainMenu().help->isEnabled());
    EXPECT_TRUE(window->mainMenu().configFile->isEnabled());
    EXPECT_TRUE(window->splash()->isVisible());
    EXPECT_EQ(window->tabBar()->currentIndex(), 0);
    EXPECT_EQ(
        window->statusLabel()->text(),
        QStringLiteral("Chyba. Nepodařilo se inicializovat databázi. (Stisknutím F1 zobrazíte nápovědu)"));

    // The menus still reach the configuration and the help.
    window->mainMenu().configFile->trigger();
    window->mainMenu().help->trigger();
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].arguments, QStringList{appDir + QStringLiteral("kelvarn.ini")});
    EXPECT_EQ(started[1].arguments, QStringList{appDir + QStringLiteral("help/!dokument2.htm")});
}

TEST_F(MainWindowTest, MissingSplashPictureIsReportedAtCreation) {
    QFile::remove(appDir + QStringLiteral("logo.jpg"));
    create();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba"));
    EXPECT_EQ(prompts.shown[0].style, MessageStyle::Error);
    EXPECT_TRUE(prompts.shown[0].text.endsWith(QStringLiteral("\r\n\r\n")));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("logo.jpg")));
}

TEST_F(MainWindowTest, ASplashPictureWithAnAbsurdHeaderIsReportedAndTheRunGoesOn) {
    // The shipped picture with its frame header claiming 6000 × 4000 points: decoded,
    // it would take far more memory than the whole file could ever describe.
    QFile logo(appDir + QStringLiteral("logo.jpg"));
    ASSERT_TRUE(logo.open(QIODevice::ReadWrite));
    QByteArray data = logo.readAll();
    const qsizetype sof = data.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    data[sof + 5] = char(4000 >> 8);
    data[sof + 6] = char(4000 & 0xFF);
    data[sof + 7] = char(6000 >> 8);
    data[sof + 8] = char(6000 & 0xFF);
    ASSERT_TRUE(logo.seek(0));
    ASSERT_EQ(logo.write(data), data.size());
    logo.close();

    create();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba"));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("hlavička udává 6000 × 4000 bodů")))
        << prompts.shown[0].text.toStdString();
    window->show();
    EXPECT_TRUE(window->controller().startUp()) << "the run goes on without the picture";
}

TEST_F(MainWindowTest, ToolbarButtonsInOrderWithTheirHints) {
    ASSERT_TRUE(startWindow());
    const QList<QPair<QString, QString>> expected = {
        {"Refresh", "Znovunačtení dat - Refresh (F5)"},
        {"FirstRecord", "První záznam (Ctrl+NUM 8)"},
        {"PriorRecord", "Předchozí záznam (Ctrl+NUM 4)"},
        {"NextRecord", "Následující záznam (Ctrl+NUM 6)"},
        {"LastRecord", "Poslední záznam (Ctrl+NUM 2)"},
        {"InsertRecord", "Nový záznam (INSERT)"},
        {"DeleteRecords", "Smazat záznam (Ctrl+DEL)"},
        {"SaveRecords", "Uložit záznam (Ctrl+S)"},
        {"PrintRecords", "Tisk (Ctrl+P)"},
        {"SortASC", "Seřadit vzestupně (F11)"},
        {"SortDESC", "Seřadit sestupně (F12)"},
        {"Filtr", "Nastavit filtr (Ctrl+F)"},
        {"FiltrCancel", "Zrušit filtr"},
        {"ToolButton4", "Export/Import"},
        {"MasterDetail", "Seznam/detail (F9)"},
    };
    QToolBar* bar = window->toolbar().bar;
    QStringList names;
    QList<QAction*> all = bar->actions();
    for (int i = 0; i < all.size(); ++i) {
        if (all[i]->isSeparator()) {
            ASSERT_LT(i + 1, all.size());
            EXPECT_EQ(all[i + 1]->objectName(), QStringLiteral("Filtr")); // the only separator
            continue;
        }
        names << all[i]->objectName();
    }
    ASSERT_EQ(names.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].first.toStdString());
        EXPECT_EQ(names[i], expected[i].first);
        QAction* action = window->toolbar().actions.value(expected[i].first);
        EXPECT_EQ(action->toolTip(), expected[i].second);
        EXPECT_EQ(bar->widgetForAction(action)->accessibleName(), expected[i].second);
        EXPECT_TRUE(action->isEnabled());
    }
    EXPECT_EQ(window->toolbar().actions.value(QStringLiteral("MasterDetail"))->text(), QStringLiteral("F9"));
}

TEST_F(MainWindowTest, MenusWithTheirCaptionsShortcutsAndSeparators) {
    create();
    QStringList titles;
    for (QAction* a : window->menuBar()->actions())
        if (a->isVisible())
            titles << a->text();
    EXPECT_EQ(titles, (QStringList{"Aplikace", "Zobrazit", "Akce", "Výměna dat", "Nástroje", "Nápověda"}));

    auto itemsOf = [](QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions()) {
            QString entry = a->isSeparator() ? QStringLiteral("|") : a->text();
            if (!a->shortcut().isEmpty())
                entry += QStringLiteral(" [") + a->shortcut().toString() + QLatin1Char(']');
            out << entry;
        }
        return out;
    };
    EXPECT_EQ(itemsOf(menuTitled("Aplikace")), QStringList{" &Konec"});
    EXPECT_EQ(itemsOf(menuTitled("Zobrazit")), QStringList{" Kalendář [Ctrl+K]"});
    EXPECT_EQ(itemsOf(menuTitled("Akce")),
              (QStringList{"Zaevidovat jako příjem (+)", "Zaevidovat jako výdaj  (-)"}));
    EXPECT_EQ(itemsOf(menuTitled("Výměna dat")),
              (QStringList{"Import bankovního výpisu (GPC, camt.053)...", "|", "Export faktury do ISDOC...",
                           "Export zobrazených faktur do ISDOC...", "Import přijaté faktury ISDOC...", "|",
                           "Kontrolní hlášení DPH (XML)...", "Přiznání k DPH (XML)..."}));
    EXPECT_EQ(itemsOf(menuTitled("Nástroje")),
              (QStringList{" Query Analyzer [Ctrl+Q]", "|", " Pravidelné zálohování",
                           " Průvodce aktualizacemi a reinstalací", " Tvorba TESTu", "|",
                           " ODBC - správce zdrojů dat", " Správa .ini souboru ", " Možnosti...   [F10]"}));
    EXPECT_EQ(itemsOf(menuTitled("Nápověda")),
              (QStringList{" Obsah a rejstřík  [F1]", " Tipy", " Zobrazit složku s programem", "|",
                           " O aplikaci Kelvarn "}));
    QMenu* test = menuTitled("Test");
    ASSERT_TRUE(test);
    EXPECT_FALSE(test->menuAction()->isVisible());
    EXPECT_EQ(itemsOf(test), QStringList{"Testovací tlačítko :) [Ctrl+S]"});

    const MainMenu& m = window->mainMenu();
    // The hand-overs to outside tools say that they have no counterpart here, and the
    // program stays open.
    for (QAction* tool : {m.backup, m.updateWizard, m.createTest}) {
        SCOPED_TRACE(tool->text().toStdString());
        ASSERT_TRUE(tool->isEnabled());
        prompts.shown.clear();
        tool->trigger();
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("nemá obdobu")));
        EXPECT_TRUE(started.empty());
    }
    EXPECT_TRUE(m.calendar->isEnabled());
    EXPECT_TRUE(m.registerIncome->isEnabled());
    EXPECT_TRUE(m.registerExpense->isEnabled());
}

TEST_F(MainWindowTest, ShortcutsAndToolsReachTheirWindows) {
    ASSERT_TRUE(startWindow());
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(window->console()->isVisible());
    window->console()->hide();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    QTest::keyClick(window.get(), Qt::Key_F1);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, QStringLiteral("xdg-open"));
    EXPECT_EQ(started[0].arguments, QStringList{appDir + QStringLiteral("help/!dokument2.htm")});
    window->mainMenu().programFolder->trigger();
    EXPECT_EQ(started.back().arguments, QStringList{appDir});

    window->mainMenu().odbcAdministrator->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("odbc.ini")));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("odbcinst.ini")));

    // Modal windows last: offscreen, the window does not get its activation back.
    bool settingsShown = false;
    QTimer::singleShot(0, window.get(), [&] {
        settingsShown = window->settingsDialog()->isVisible();
        // The settings window knows the user, the connection and the reports.
        EXPECT_EQ(window->settingsDialog()->connectionStringBox()->toPlainText(),
                  window->controller().state().connectionStringShown);
        window->settingsDialog()->reject();
    });
    QTest::keyClick(window.get(), Qt::Key_F10);
    EXPECT_TRUE(settingsShown);

    bool aboutShown = false;
    QTimer::singleShot(0, window.get(), [&] {
        aboutShown = window->aboutDialog()->isVisible();
        window->aboutDialog()->reject();
    });
    window->mainMenu().about->trigger();
    EXPECT_TRUE(aboutShown);
}

TEST_F(MainWindowTest, TypingEditsAndCtrlSSaves) {
    ASSERT_TRUE(startWindow());
    QLineEdit* rate = field(QStringLiteral("dph5"));
    rate->setFocus();
    rate->selectAll();
    QTest::keyClicks(rate, QStringLiteral("10"));
    EXPECT_TRUE(entrepreneur().isEditing());
    EXPECT_EQ(window->controller().unsavedPanels(), QStringLiteral("- Podnikatel\r\n"));

    QTest::keyClick(rate, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(prompts.captions(), (QStringList{"Dotaz", "Globální konfigurace"}));
    EXPECT_FALSE(entrepreneur().isEditing());
    EXPECT_EQ(stored(QStringLiteral("dph5")).toDouble(), 10);
    EXPECT_FALSE(stored(QStringLiteral("dateTS1")).isEmpty());
    EXPECT_EQ(rate->text(), QStringLiteral("10"));
    EXPECT_FALSE(field(QStringLiteral("dateTS1"))->text().isEmpty());
}

TEST_F(MainWindowTest, BadNumberIsExplainedAndEscCancels) {
    ASSERT_TRUE(startWindow());
    QLineEdit* rate = field(QStringLiteral("dph19"));
    rate->setFocus();
    rate->selectAll();
    QTest::keyClicks(rate, QStringLiteral("dvacet"));
    window->toolbar().actions.value(QStringLiteral("SaveRecords"))->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba"));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("Základní sazba DPH")));
    EXPECT_TRUE(entrepreneur().isEditing());
    EXPECT_TRUE(rate->hasFocus());
    EXPECT_EQ(stored(QStringLiteral("dph19")).toDouble(), 21);

    QTest::keyClick(rate, Qt::Key_Escape);
    EXPECT_FALSE(entrepreneur().isEditing());
    EXPECT_EQ(rate->text(), QStringLiteral("21"));
}

TEST_F(MainWindowTest, ClosingWithUnsavedEntrepreneurAsksFirst) {
    ASSERT_TRUE(startWindow());
    QLineEdit* street = field(QStringLiteral("ulice"));
    street->setFocus();
    QTest::keyClicks(street, QStringLiteral("x"));
    prompts.answers = {Answer::No};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompts.captions(), QStringList{"Neuložená data"});
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("- Podnikatel\r\n")));

    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(window->close());
    // Unsaved changes are not written by closing.
    window.reset();
    EXPECT_EQ(stored(QStringLiteral("ulice")), QStringLiteral("Žižkova 1234/5"));
}

TEST_F(MainWindowTest, EveryControlIsNamedForAssistiveTools) {
    ASSERT_TRUE(startWindow());
    for (QWidget* w : window->entrepreneurPanel()->findChildren<QWidget*>()) {
        if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w))
            continue;
        if (qobject_cast<QComboBox*>(w->parentWidget()))
            continue; // the combo box's own line edit
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_FALSE(w->accessibleName().isEmpty());
    }
    for (QLabel* label : window->entrepreneurPanel()->findChildren<QLabel*>()) {
        SCOPED_TRACE(label->text().toStdString());
        ASSERT_TRUE(label->buddy());
        EXPECT_EQ(label->buddy()->accessibleName(), label->text());
    }
    for (int i = 1; i < window->modules()->count(); ++i)
        EXPECT_EQ(window->modules()->widget(i)->accessibleName(), MainWindow::moduleCaptions()[i]);
    EXPECT_FALSE(window->recordCountLabel()->accessibleName().isEmpty());
    EXPECT_FALSE(window->statusLabel()->accessibleName().isEmpty());
}

} // namespace
} // namespace kelvarn

namespace kelvarn {
namespace {

// The title bar carries the caption the start-up composes, once: the application
// title is what the desktop shows for the program, not a suffix of every caption.
TEST_F(MainWindowTest, TitleIsTheComposedCaptionOnce) {
    ASSERT_TRUE(startWindow());
    const QString name = QStringLiteral("Jiří Dvořák - truhlářství");
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral(" Podnikatelský subjekt: ") + name + QStringLiteral(", IČ: 27384519"));
    EXPECT_EQ(window->applicationTitle(), QStringLiteral("Kelvarn (TEST) - ") + name);
    EXPECT_EQ(window->windowIconText(), window->applicationTitle());
    // Qt appends an application display name to the caption of every window.
    EXPECT_FALSE(QGuiApplication::applicationDisplayName().contains(name));
    window->controller().blinkTick();
    EXPECT_EQ(window->windowTitle().count(name), 1);
}

// Assistive tools read what the status line and the record counter say, not only
// what they are.
TEST_F(MainWindowTest, StatusLineAndCounterExposeTheirText) {
    ASSERT_TRUE(startWindow());
    auto described = [](QWidget* w) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        return a ? a->text(QAccessible::Description) : QStringLiteral("<none>");
    };
    for (int tab : {0, 1, 3, 9}) {
        SCOPED_TRACE(tab);
        window->tabBar()->setCurrentIndex(tab);
        EXPECT_FALSE(window->statusLabel()->text().isEmpty());
        EXPECT_EQ(described(window->statusLabel()), window->statusLabel()->text());
        EXPECT_EQ(described(window->recordCountLabel()), window->recordCountLabel()->text());
        EXPECT_FALSE(window->statusLabel()->accessibleName().isEmpty());
    }
    EXPECT_NE(window->recordCountLabel()->text(), QStringLiteral("0")) << "the goods list has rows";
}

} // namespace
} // namespace kelvarn
