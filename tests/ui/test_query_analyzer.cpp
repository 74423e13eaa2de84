#include "core/text_file.h"
#include "output/console_runner.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"
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
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives for the whole test program
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
    EXPECT_TRUE(
        QueryAnalyzerWindow::rulesText().contains(QStringLiteral("tímto nástrojem v \ndatabázi napáchat.")));
    EXPECT_EQ(editor->textCursor().selectedText().size(), editor->toPlainText().size());
    const QFontMetrics metrics(editor->font()); // fontconfig does not always flag a mono font as fixed pitch
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('M')));

    QStringList menus;
    for (QAction* a : window->menuBar()->actions())
        menus.append(a->text());
    EXPECT_EQ(menus, (QStringList{QStringLiteral("Hlavní menu"), QStringLiteral("Mód spuštění"),
                                  QStringLiteral("Export/Import")}));
    const struct {
        const char* text;
        QKeySequence key;
    } items[] = {{"Otevřít...", QKeySequence(Qt::CTRL | Qt::Key_O)},
                 {"Spustit dotaz", QKeySequence(Qt::CTRL | Qt::Key_R)},
                 {"Zavřít", QKeySequence()},
                 {"Export", QKeySequence()},
                 {"save", QKeySequence(Qt::CTRL | Qt::Key_S)}};
    for (const auto& item : items) {
        QAction* a = findAction(window.get(), QString::fromUtf8(item.text));
        ASSERT_TRUE(a) << item.text;
        EXPECT_EQ(a->shortcut(), item.key) << item.text;
        EXPECT_TRUE(a->isEnabled()) << item.text;
    }
    ASSERT_TRUE(findAction(window.get(), QStringLiteral("Import")));
    EXPECT_FALSE(findAction(window.get(), QStringLiteral("Import"))->isEnabled());

    // The modes: exactly one checked, following the runner both ways.
    QAction* firebird = findAction(window.get(), QStringLiteral("  Access -> Firebird"));
    QAction* none = findAction(window.get(), QStringLiteral("  Nekonvertovat"));
    ASSERT_TRUE(firebird && none);
    ASSERT_TRUE(findAction(window.get(), QStringLiteral("  Access -> Microsoft S&QL")));
    EXPECT_TRUE(none->isChecked());
    firebird->trigger();
    EXPECT_EQ(runner->mode(), ConversionMode::Firebird);
    EXPECT_FALSE(none->isChecked());
    runner->setMode(ConversionMode::None);
    EXPECT_TRUE(none->isChecked());
    EXPECT_FALSE(firebird->isChecked());

    EXPECT_FALSE(editor->accessibleName().isEmpty());
    EXPECT_FALSE(window->grid()->accessibleName().isEmpty());
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

    // A cell edited in the grid is written by Ctrl+S.
    QAbstractItemModel* model = window->grid()->model();
    ASSERT_TRUE(model->setData(model->index(1, 1), QStringLiteral("změna")));
    EXPECT_TRUE(runner->result().isEditing());
    QTest::keyClick(window->grid(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(runner->result().isEditing());
    QSqlQuery q = db->session->query(QStringLiteral("SELECT nazev FROM console_t WHERE id=2"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("změna"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(QueryAnalyzerTest, OpenLoadsACodePage1250Script) {
    const QString path = db->dir->filePath(QStringLiteral("skript.sql"));
    ASSERT_TRUE(writeCp1250File(path, QStringLiteral("UPDATE console_t SET nazev='žluť';\r\n")));
    prompts.fileNames = {path};
    findAction(window.get(), QStringLiteral("Otevřít..."))->trigger();
    EXPECT_EQ(window->editor()->toPlainText(), QStringLiteral("UPDATE console_t SET nazev='žluť';\n"));
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

} // namespace
} // namespace kelvarn
