#include "support/test_application.h"
#include "core/text_file.h"
#include "output/console_runner.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"
#include "ui/qt_prompts.h"
#include "ui/query_analyzer_window.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kelvarn {
namespace {

void ensureApplication() {
    test::ensureApplication<QApplication>();
}

class HookedPrompts : public test::ScriptedPrompts {
  public:
    void processEvents() override {
        if (hook)
            hook();
    }
    std::function<void()> hook;
};

QAction* findAction(QWidget* owner, const QString& text) {
    for (QAction* a : owner->findChildren<QAction*>())
        if (a->text() == text)
            return a;
    return nullptr;
}

class QueryAnalyzerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureApplication();
        db = test::createTestDatabase(DbPlatform::Jet);
        ASSERT_TRUE(db);
        db->session->execute(
            QStringLiteral("CREATE TABLE console_t (id INTEGER PRIMARY KEY, nazev VARCHAR(100))"));
        db->session->execute(QStringLiteral("INSERT INTO console_t VALUES (1, 'a')"));
        db->session->execute(QStringLiteral("INSERT INTO console_t VALUES (2, 'b')"));
        runner = std::make_unique<ConsoleRunner>(*db->session, db->state, prompts);
        window = std::make_unique<QueryAnalyzerWindow>(*runner, prompts);
    }

    void showActive() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    std::unique_ptr<test::TestDatabase> db;
    HookedPrompts prompts;
    std::unique_ptr<ConsoleRunner> runner;
    std::unique_ptr<QueryAnalyzerWindow> window;
};

TEST_F(QueryAnalyzerTest, OpensWithTheRulesSelectedAndTheMenusOfTheConsole) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" SQL dotazy (Query Analyzer)"));
    QPlainTextEdit* editor = window->editor();
    EXPECT_EQ(editor->toPlainText(), QueryAnalyzerWindow::rulesText());
    EXPECT_EQ(editor->textCursor().selectedText().size(), editor->toPlainText().size());
    const QFontMetrics metrics(editor->font()); // fontconfig does not flag every mono font as fixed pitch
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('M')));

    QStringList menus;
    for (QAction* a : window->menuBar()->actions())
        menus.append(a->text());
    EXPECT_EQ(menus, (QStringList{QStringLiteral("Hlavní menu"), QStringLiteral("Mód spuštění"),
                                  QStringLiteral("Export/Import")}));
    const QList<std::pair<const char*, QKeySequence>> items = {
        {"Otevřít...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"Spustit dotaz", QKeySequence(Qt::CTRL | Qt::Key_R)},
        {"save", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"Zavřít", {}},
        {"Export", {}}};
    for (const auto& [text, key] : items) {
        QAction* a = findAction(window.get(), QString::fromUtf8(text));
        ASSERT_TRUE(a && a->isEnabled()) << text;
        EXPECT_EQ(a->shortcut(), key) << text;
    }
    ASSERT_TRUE(findAction(window.get(), QStringLiteral("Import")));
    EXPECT_FALSE(findAction(window.get(), QStringLiteral("Import"))->isEnabled());

    // Exactly one mode is checked, and it follows the runner both ways.
    QAction* firebird = findAction(window.get(), QStringLiteral("  Access -> Firebird"));
    QAction* none = findAction(window.get(), QStringLiteral("  Nekonvertovat"));
    ASSERT_TRUE(firebird && none && findAction(window.get(), QStringLiteral("  Access -> Microsoft S&QL")));
    EXPECT_TRUE(none->isChecked());
    firebird->trigger();
    EXPECT_EQ(runner->mode(), ConversionMode::Firebird);
    EXPECT_FALSE(none->isChecked());
    runner->setMode(ConversionMode::None);
    EXPECT_TRUE(none->isChecked() && !firebird->isChecked());

    // "Otevřít..." reads the script as code page 1250.
    const QString path = db->dir->filePath(QStringLiteral("skript.sql"));
    ASSERT_TRUE(writeCp1250File(path, QStringLiteral("UPDATE console_t SET nazev='žluť';\r\n")));
    prompts.fileNames = {path};
    findAction(window.get(), QStringLiteral("Otevřít..."))->trigger();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("UPDATE console_t SET nazev='žluť';\n"));
}

TEST_F(QueryAnalyzerTest, CtrlRRunsTheSelectionOrTheWholeTextIntoTheGrid) {
    showActive();
    QPlainTextEdit* editor = window->editor();
    const QString first = QStringLiteral("SELECT * FROM console_t WHERE id=1;");
    window->setScriptText(first + QStringLiteral("\nSELECT * FROM console_t;"));

    QTextCursor selection = editor->textCursor();
    selection.setPosition(0);
    selection.setPosition(static_cast<int>(first.size()), QTextCursor::KeepAnchor);
    editor->setTextCursor(selection);
    QTest::keyClick(editor, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(window->grid()->model()->rowCount(), 1);
    EXPECT_EQ(editor->textCursor().selectedText(), first); // the selection survives the run

    editor->moveCursor(QTextCursor::End);
    QTest::keyClick(editor, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(window->grid()->model()->rowCount(), 2);
    QLabel* status = window->findChild<QLabel*>(QStringLiteral("StatusBarQuery"));
    ASSERT_TRUE(status);
    EXPECT_EQ(status->text(), QStringLiteral("Počet nalezených záznamů: 2"));
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Ctrl+S writes a cell still open in the grid's editor.
    QTableView* grid = window->grid();
    const QModelIndex cell = grid->model()->index(1, 1);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    QWidget* cellEditor = QApplication::focusWidget();
    ASSERT_TRUE(cellEditor && cellEditor != grid);
    QTest::keyClicks(cellEditor, QStringLiteral("zmena"));
    QTest::keyClick(cellEditor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(runner->result().isEditing());
    QSqlQuery q = db->session->query(QStringLiteral("SELECT nazev FROM console_t WHERE id=2"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("zmena"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(QueryAnalyzerTest, AScriptLoadedByTheRunnerReplacesTheEditorText) {
    // The install run hands its script to the console this way before running it.
    const QString script = QStringLiteral("// Instalace;\r\nCREATE TABLE t1 (id INT);\r\n");
    runner->loadScript(script);
    EXPECT_EQ(window->editor()->toPlainText(), QStringLiteral("// Instalace;\nCREATE TABLE t1 (id INT);\n"));
    runner->loadScript(QString());
    EXPECT_TRUE(window->editor()->toPlainText().isEmpty());
}

TEST_F(QueryAnalyzerTest, CloseHidesButNotWhileAScriptRuns) {
    showActive();
    bool visibleDuringRun = false;
    prompts.hook = [&] {
        window->close();
        visibleDuringRun = window->isVisible();
    };
    window->setScriptText(QStringLiteral("SELECT * FROM console_t;"));
    window->runScript();
    EXPECT_TRUE(visibleDuringRun);

    findAction(window.get(), QStringLiteral("Zavřít"))->trigger();
    EXPECT_FALSE(window->isVisible());
    // Shown again, it still holds the script and the result.
    window->show();
    EXPECT_EQ(window->editor()->toPlainText(), QStringLiteral("SELECT * FROM console_t;"));
    EXPECT_EQ(window->grid()->model()->rowCount(), 2);
}

TEST(QtPrompts, UnattendedRunsNeverWaitForAPerson) {
    ensureApplication();
    qputenv("KELVARN_UNATTENDED", "no");
    QtPrompts prompts;
    EXPECT_EQ(prompts.message(QStringLiteral("Dotaz"), QStringLiteral("?"), MessageStyle::Question),
              Answer::No);
    qputenv("KELVARN_UNATTENDED", "1");
    EXPECT_EQ(prompts.message(QStringLiteral("Dotaz"), QStringLiteral("?"), MessageStyle::WarnQuestion),
              Answer::Yes);
    EXPECT_EQ(prompts.message(QStringLiteral("Chyba"), QStringLiteral("!"), MessageStyle::Error),
              Answer::None);
    EXPECT_TRUE(prompts.saveFileName(QStringLiteral("x"), QStringLiteral("a.txt"), {}, QStringLiteral("txt"))
                    .isEmpty());
    EXPECT_TRUE(prompts.openFileName(QStringLiteral("x"), QStringLiteral("/"), {}).isEmpty());
    qunsetenv("KELVARN_UNATTENDED");
}

} // namespace
} // namespace kelvarn
