#include "module_window_fixture.h"

#include "app/filter_commands.h"
#include "ui/dataset_grid.h"
#include "ui/filter_dialog.h"
#include "ui/filter_help.h"

#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

namespace kelvarn {
namespace {

class FilterDialogTest : public ModuleWindowFixture {};

QString shotsFolder() {
    return qEnvironmentVariable("KELVARN_SCREENSHOT_DIR");
}

// Partners from Brno, typed with the attribute box and the keyboard, applied from the
// real dialog over the real window; then taken off with the toolbar.
TEST_F(FilterDialogTest, AFilterTypedInTheDialogNarrowsTheListUntilCancelled) {
    showTab(10);
    ASSERT_EQ(dataset(QStringLiteral("ADOFormPartneri"))->recordCount(), 3);
    bool ran = false;
    QTimer::singleShot(0, [&] {
        FilterDialog* dialog = window->filterDialog();
        ASSERT_TRUE(dialog && dialog->isVisible());
        ran = true;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Definice/výběr uživatelského filtru"));
        // Every control answers to its visible text.
        EXPECT_EQ(dialog->insertButton()->accessibleName(), QStringLiteral("Vložit atribut"));
        EXPECT_EQ(dialog->applyButton()->accessibleName(), QStringLiteral("Aplikovat filtr"));
        EXPECT_EQ(dialog->memo()->accessibleName(), QStringLiteral("SQL definice filtru"));
        EXPECT_EQ(dialog->toolBar()->widgetForAction(dialog->action(QStringLiteral("SaveRecords")))->accessibleName(),
                  QStringLiteral("Uložit záznam (Ctrl+S)"));

        // The list of the attribute box comes with its first opening.
        QTest::mouseClick(dialog->attributeBox(), Qt::LeftButton);
        dialog->attributeBox()->hidePopup();
        EXPECT_EQ(dialog->attributeBox()->itemText(0), QStringLiteral("[ID]"));
        dialog->attributeBox()->setEditText(QStringLiteral("[Obec]"));
        QTest::mouseClick(dialog->insertButton(), Qt::LeftButton);
        EXPECT_EQ(dialog->memo()->toPlainText(), QStringLiteral("[Obec] "));
        EXPECT_EQ(dialog->memo()->textCursor().selectedText(), QStringLiteral("[Obec] "));
        QTest::keyClick(dialog->memo(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(dialog->memo(), QStringLiteral("= 'Brno'"));
        EXPECT_TRUE(dialog->grid()->dataset()->isEditing());

        // Closing over an unsaved filter is refused.
        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(prompts.shown.size(), 1);

        QTest::mouseClick(dialog->helpButton(), Qt::LeftButton);
        ASSERT_TRUE(dialog->helpWindow() && dialog->helpWindow()->isVisible());
        if (const QString shots = shotsFolder(); !shots.isEmpty()) {
            QCoreApplication::processEvents();
            dialog->grab().save(shots + QStringLiteral("/filter_dialog.png"));
            dialog->helpWindow()->grab().save(shots + QStringLiteral("/filter_help.png"));
        }
        QTest::mouseClick(dialog->applyButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog->helpWindow()->isVisible());
    });
    window->toolbar().actions.value(QStringLiteral("Filtr"))->trigger();
    ASSERT_TRUE(ran);
    EXPECT_FALSE(window->filterDialog()->isVisible());
    EXPECT_EQ(storedText(QStringLiteral("SELECT nazev FROM tbl_filtry WHERE id_panel=10")), QStringLiteral("Filtr"));
    EXPECT_EQ(dataset(QStringLiteral("ADOFormPartneri"))->recordCount(), 1);
    EXPECT_EQ(window->statusLabel()->text(), QStringLiteral("Aktivní filtr: Filtr"));
    EXPECT_EQ(window->recordCountLabel()->palette().color(QPalette::WindowText), QColor(Qt::red));
    if (const QString shots = shotsFolder(); !shots.isEmpty())
        shoot(shots + QStringLiteral("/filter_applied.png"));

    window->toolbar().actions.value(QStringLiteral("FiltrCancel"))->trigger();
    EXPECT_EQ(dataset(QStringLiteral("ADOFormPartneri"))->recordCount(), 3);
    EXPECT_EQ(window->statusLabel()->text(),
              QStringLiteral("Není aplikován žádný filtr. Jsou zobrazeny všechny záznamy."));
}

// Ctrl+F on a detail panel opens nothing.
TEST_F(FilterDialogTest, DetailPanelsOpenNoDialog) {
    showTab(10);
    modules().toggleMasterDetail();
    window->toolbar().actions.value(QStringLiteral("Filtr"))->trigger();
    EXPECT_EQ(window->filterDialog(), nullptr);
}

} // namespace
} // namespace kelvarn
