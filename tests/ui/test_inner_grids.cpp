#include "ui/module_window_fixture.h"

#include <QDateTime>

namespace kelvarn {
namespace {

const QString kSaveQuestion = QStringLiteral("Opravdu chcete záznam uložit?   ");

// The grids inside the document and asset forms.
class InnerGridsTest : public ModuleWindowFixture {
  protected:
    void SetUp() override {
        ModuleWindowFixture::SetUp();
        const char* statements[] = {
            "INSERT INTO tbl_majetek (id, typ, cislo, nazev, vstupni_cena) VALUES (1, 'HM', 'M-1', 'pila', 90000)",
            "INSERT INTO tbl_odpisy (id_tbl_majetek, rok, odpis, zustatkova_cena, opravky) "
            "VALUES (1, '2024', 10000, 80000, 10000)",
            "INSERT INTO tbl_doklad (id, cislo_dokladu, doklad_typ, odb_nazev_firmy, poznamka) "
            "VALUES (1, 'FAV-2026-00001', 1, 'Horák', 'stoly')",
            "INSERT INTO tbl_polozky (id_tbl_doklad, cislo_radku, popis, mnozstvi, mj, cena_jednotka) "
            "VALUES (1, 1, 'stůl', 1, 'ks', 9000)",
        };
        for (const char* statement : statements)
            db->session->execute(QString::fromUtf8(statement));
    }
    BoundForm* openDetail(int tab, const char* containerName) {
        showTab(tab);
        if (!container(QLatin1String(containerName))->isVisible())
            press(Qt::Key_F9);
        return window->modulePages().form(QLatin1String(containerName));
    }
    int questions() const {
        int count = 0;
        for (const auto& shown : prompts.shown)
            count += shown.text == kSaveQuestion;
        return count;
    }
    // Types a cell of the grid's current row and hands it in with Return.
    void typeCell(DatasetGrid* view, const QString& column, const QString& text) {
        view->setCurrentIndex(
            view->model()->index(view->dataset()->currentRow(), view->dataset()->columnIndex(column)));
        QTest::keyClick(view, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_TRUE(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    QStringList column(DatasetGrid* view, const char* name) const {
        QStringList values;
        const int c = view->dataset()->columnIndex(QLatin1String(name));
        for (int row = 0; row < view->model()->rowCount(); ++row)
            values << view->model()->index(row, c).data().toString();
        return values;
    }
};

// Entering the inner grid asks once whether to save the record above it; the focus
// coming back from the grid's own cell editor is no entering. Leaving the grid from
// the editor for another control is leaving it.
TEST_F(InnerGridsTest, TheSaveQuestionComesOncePerEntering) {
    const struct {
        int tab;
        const char* container;
        const char* headerColumn;
        const char* grid;
        const char* cellColumn;
        const char* gridPanel;
        const char* headerPanel;
    } details[] = {
        {7, "PanelMajetek", "nazev", "DBGridOdpisy", "odpis", "FormMajetek-odpisy", "FormMajetek-detail"},
        {3, "PanelFAV", "poznamka", "DBGridFAVpol", "popis", "FormFAV-polozky", "FormFAV-detail"},
    };
    for (const auto& d : details) {
        SCOPED_TRACE(d.grid);
        BoundForm* form = openDetail(d.tab, d.container);
        ASSERT_TRUE(form);
        QLineEdit* field = detailField(QLatin1String(d.container), QLatin1String(d.headerColumn));
        ASSERT_TRUE(field);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("zmena"));
        ASSERT_TRUE(form->dataset()->isEditing());
        prompts.shown.clear();
        prompts.answers = {Answer::No};
        DatasetGrid* view = grid(QLatin1String(d.grid));
        view->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(questions(), 1);
        EXPECT_TRUE(form->dataset()->isEditing()); // the answer was No

        for (const char* text : {"10", "20", "30"})
            typeCell(view, QLatin1String(d.cellColumn), QLatin1String(text));
        EXPECT_EQ(questions(), 1);

        // From the open editor straight to a field of the form: the row is saved.
        view->setCurrentIndex(view->model()->index(view->dataset()->currentRow(),
                                                   view->dataset()->columnIndex(QLatin1String(d.cellColumn))));
        QTest::keyClick(view, Qt::Key_F2);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("40"));
        prompts.answers = {Answer::Yes};
        field->setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(modules().currentPanelId(), QLatin1String(d.headerPanel));
        EXPECT_FALSE(view->dataset()->isEditing());
        EXPECT_EQ(questions(), 2);

        // Coming back is entering again.
        prompts.answers = {Answer::Yes};
        view->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(modules().currentPanelId(), QLatin1String(d.gridPanel));
        EXPECT_EQ(questions(), 3);
        EXPECT_FALSE(form->dataset()->isEditing());
    }
}

// Depreciation rows stand in year order as soon as each is saved, however they were
// typed; the cursor stays on the saved row.
TEST_F(InnerGridsTest, DepreciationRowsKeepYearOrderAfterEntry) {
    openDetail(7, "PanelMajetek");
    DatasetGrid* view = grid(QStringLiteral("DBGridOdpisy"));
    Dataset* rows = view->dataset();
    view->setFocus(Qt::TabFocusReason);
    QStringList expected{QStringLiteral("2024")};
    for (const char* year : {"2030", "2026", "2028", "2010"}) {
        SCOPED_TRACE(year);
        press(Qt::Key_Insert);
        ASSERT_EQ(rows->state(), Dataset::State::Insert);
        typeCell(view, QStringLiteral("rok"), QLatin1String(year));
        typeCell(view, QStringLiteral("odpis"), QStringLiteral("1000"));
        typeCell(view, QStringLiteral("zustatkova_cena"), QStringLiteral("5000"));
        typeCell(view, QStringLiteral("opravky"), QStringLiteral("1000"));
        QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
        QTest::keyRelease(window.get(), Qt::Key_Control);
        ASSERT_EQ(rows->state(), Dataset::State::Browse);
        expected << QLatin1String(year);
        expected.sort();
        EXPECT_EQ(column(view, "rok"), expected);
        EXPECT_EQ(rows->asString(QStringLiteral("rok")), QLatin1String(year));
        EXPECT_EQ(view->currentIndex().row(), rows->currentRow());
    }
    // Changing a year moves the row too, and moving on by a key lands on the row
    // that was next to it.
    rows->first();
    typeCell(view, QStringLiteral("rok"), QStringLiteral("2029"));
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(column(view, "rok"), (QStringList{"2024", "2026", "2028", "2029", "2030"}));
    EXPECT_EQ(rows->asString(QStringLiteral("rok")), QStringLiteral("2024"));
}

} // namespace
} // namespace kelvarn
