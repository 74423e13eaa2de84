#include "ui/module_window_fixture.h"

#include <QAction>

namespace kelvarn {
namespace {

class DocumentEntryTest : public ModuleWindowFixture {};

// A new issued document whose save was declined on entering the item grid has no
// id yet: a line started there would belong to no document and never be seen again.
TEST_F(DocumentEntryTest, NoItemLineUnderAnUnsavedDocument) {
    db->state.saveWithoutPrompt = false;
    showTab(3);
    press(Qt::Key_F9);
    ASSERT_TRUE(container(QStringLiteral("PanelFAV"))->isVisible());
    window->toolbar().actions.value(QStringLiteral("InsertRecord"))->trigger();
    Dataset* documents = dataset(QStringLiteral("ADOFormFAV"));
    ASSERT_EQ(documents->state(), Dataset::State::Insert);
    const int lines = rowsIn(QStringLiteral("tbl_polozky"));
    const int headers = rowsIn(QStringLiteral("tbl_doklad"));

    prompts.answers = {Answer::No}; // "Opravdu chcete záznam uložit?"
    DatasetGrid* items = grid(QStringLiteral("DBGridFAVpol"));
    items->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(items->hasFocus());
    EXPECT_EQ(documents->state(), Dataset::State::Insert) << "the header stays unsaved";

    press(Qt::Key_Insert);
    EXPECT_EQ(items->dataset()->state(), Dataset::State::Browse) << "no line is started";
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_polozky")), lines);
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_doklad")), headers);
    EXPECT_EQ(documents->state(), Dataset::State::Insert) << "the document is still there to be saved";
}

} // namespace
} // namespace kelvarn
