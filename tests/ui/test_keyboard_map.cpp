#include "ui/module_window_fixture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDateTime>
#include <QItemSelection>
#include <QPlainTextEdit>

namespace kelvarn {
namespace {

const QString kEditRefused = QStringLiteral("Operaci nelze provést. Prosím zrušte editační režim. ");

// Keys go to whatever has the focus, as they do when the user types.
class KeyboardMapTest : public ModuleWindowFixture {
  protected:
    // The demo has no documents, assets, trips or cash-book rows; the modules that
    // show them are visited only after this.
    void seedRecords() {
        const QVariant day = QDateTime(QDate(2026, 3, 2), QTime(0, 0));
        const char* statements[] = {
            "INSERT INTO tbl_knihajizd (datum, odkud, kam, poznamka, pocet_km, spz, ridic) "
            "VALUES (?, 'Brno', 'Praha', 'porada', 205, '1B2 3456', 'Dvořák')",
            "INSERT INTO tbl_knihajizd (datum, odkud, kam, poznamka, pocet_km, spz, ridic) "
            "VALUES (?, 'Praha', 'Jihlava', 'montáž', 125, '1B2 3456', 'Dvořák')",
            "INSERT INTO tbl_knihajizd (datum, odkud, kam, poznamka, pocet_km, spz, ridic) "
            "VALUES (?, 'Jihlava', 'Brno', 'nákup', 90, '1B2 3456', 'Dvořák')",
            "INSERT INTO tbl_hlavnikniha (datum, doklad, popis, prijem_danovy) VALUES (?, 'PPD-1', 'tržba', "
            "1200)",
            "INSERT INTO tbl_hlavnikniha (datum, doklad, popis, vydaj_danovy) VALUES (?, 'VPD-1', 'nájem', "
            "5000)",
            "INSERT INTO tbl_hlavnikniha (datum, doklad, popis, vydaj_danovy) VALUES (?, 'VPD-2', 'benzín', "
            "800)",
            "INSERT INTO tbl_majetek (id, typ, cislo, nazev, vstupni_cena, datum_zarazeni) "
            "VALUES (1, 'HM', 'M-1', 'formátovací pila', 90000, ?)",
            "INSERT INTO tbl_majetek (id, typ, cislo, nazev, vstupni_cena, datum_zarazeni) "
            "VALUES (2, 'HM', 'M-2', 'hoblovka', 60000, ?)",
            "INSERT INTO tbl_odpisy (id_tbl_majetek, rok, odpis, zustatkova_cena, opravky) "
            "VALUES (1, '2024', 10000, 80000, 10000)",
            "INSERT INTO tbl_odpisy (id_tbl_majetek, rok, odpis, zustatkova_cena, opravky) "
            "VALUES (1, '2025', 20000, 60000, 30000)",
            "INSERT INTO tbl_odpisy (id_tbl_majetek, rok, odpis, zustatkova_cena, opravky) "
            "VALUES (1, '2026', 20000, 40000, 50000)",
            "INSERT INTO tbl_doklad (id, cislo_dokladu, doklad_typ, datum_vystaveni, odb_nazev_firmy, "
            "poznamka) "
            "VALUES (1, 'FAV-2026-00001', 1, ?, 'Stolárna Vysočina', 'stoly')",
            "INSERT INTO tbl_doklad (id, cislo_dokladu, doklad_typ, datum_vystaveni, odb_nazev_firmy, "
            "poznamka) "
            "VALUES (2, 'FAV-2026-00002', 1, ?, 'Dřevo Horák', 'židle')",
            "INSERT INTO tbl_polozky (id_tbl_doklad, cislo_radku, popis, mnozstvi, mj, cena_jednotka) "
            "VALUES (1, 1, 'stůl', 1, 'ks', 9000)",
            "INSERT INTO tbl_polozky (id_tbl_doklad, cislo_radku, popis, mnozstvi, mj, cena_jednotka) "
            "VALUES (1, 2, 'lavice', 2, 'ks', 3000)",
            "INSERT INTO tbl_polozky (id_tbl_doklad, cislo_radku, popis, mnozstvi, mj, cena_jednotka) "
            "VALUES (1, 3, 'police', 3, 'ks', 1500)",
        };
        for (const char* statement : statements) {
            const QString sql = QString::fromUtf8(statement);
            db->session->execute(sql, sql.contains(u'?') ? QVariantList{day} : QVariantList{});
        }
    }
    // Every box shown so far, for the failure messages.
    std::string shownBoxes() const {
        QStringList boxes;
        for (const auto& shown : prompts.shown)
            boxes << shown.caption + QStringLiteral(": ") + shown.text;
        return boxes.join(QStringLiteral(" | ")).toStdString();
    }
    QString scalar(const QString& sql) const { return test::scalar(*db->session, sql); }
    QString valueIn(const char* table, const char* column, const QString& id) const {
        return scalar(QStringLiteral("SELECT %1 FROM %2 WHERE id=%3")
                          .arg(QLatin1String(column), QLatin1String(table), id));
    }
    int refusals() const {
        int count = 0;
        for (const auto& shown : prompts.shown)
            count += shown.caption == QLatin1String("Chyba") && shown.text == kEditRefused;
        return count;
    }
    // Puts the grid's current cell on a row and column, moving the dataset there.
    void enterCell(DatasetGrid* view, int row, const QString& column) {
        view->setFocus();
        view->setCurrentIndex(view->model()->index(row, view->dataset()->columnIndex(column)));
    }
    // Types into the grid's current cell; Return hands the text to the row.
    QLineEdit* typeIntoCell(DatasetGrid* view, const QString& text) {
        view->edit(view->currentIndex());
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor)
            return nullptr;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        return editor;
    }
    void typeIntoField(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }
};

TEST_F(KeyboardMapTest, RecordKeysOnListPanels) {
    seedRecords();
    const struct {
        int tab;
        const char* grid;
        const char* table;
        const char* column; // a text column every row fills
    } lists[] = {
        {10, "DBGridPartneri", "tbl_partner", "mesto"},
        {9, "DBGridZbozi", "tbl_zbozi", "popis"},
        {11, "DBGridZakazky", "tbl_zakazka", "zakazka"},
        {8, "DBGridKnihaJizd", "tbl_knihajizd", "poznamka"},
        {1, "DBGridHlavniKniha", "tbl_hlavnikniha", "popis"},
    };
    for (const auto& list : lists) {
        SCOPED_TRACE(list.grid);
        prompts.shown.clear();
        showTab(list.tab);
        DatasetGrid* view = grid(QLatin1String(list.grid));
        ASSERT_TRUE(view);
        Dataset* ds = view->dataset();
        const QString column = QLatin1String(list.column);
        const int c = ds->columnIndex(column);
        const int rows = ds->recordCount();
        ASSERT_GE(rows, 2);
        enterCell(view, 1, column);
        const QString id = ds->asString(QStringLiteral("id"));

        press(Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(ds->currentRow(), rows > 2 ? 2 : 1);
        EXPECT_EQ(view->currentIndex().row(), ds->currentRow());
        press(Qt::Key_U, Qt::ControlModifier);
        press(Qt::Key_U, Qt::ControlModifier);
        EXPECT_EQ(ds->currentRow(), 0);
        press(Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(ds->asString(QStringLiteral("id")), id);

        press(Qt::Key_F5);
        EXPECT_EQ(ds->asString(QStringLiteral("id")), id);
        EXPECT_EQ(view->currentIndex().row(), ds->currentRow());

        // The sort keys order by the column the cursor stands in and keep the record.
        const QString table = QLatin1String(list.table);
        press(Qt::Key_F12);
        EXPECT_EQ(view->model()->index(0, c).data().toString(),
                  scalar(QStringLiteral("SELECT MAX(%1) FROM %2").arg(column, table)));
        EXPECT_EQ(ds->asString(QStringLiteral("id")), id);
        press(Qt::Key_F11);
        EXPECT_EQ(view->model()->index(0, c).data().toString(),
                  scalar(QStringLiteral("SELECT MIN(%1) FROM %2").arg(column, table)));
        EXPECT_EQ(ds->asString(QStringLiteral("id")), id);
        EXPECT_EQ(view->currentIndex().row(), ds->currentRow());
        EXPECT_EQ(refusals(), 0) << shownBoxes();

        // Insert: the grid starts one row; while it is open the commands are refused.
        press(Qt::Key_Insert);
        EXPECT_EQ(ds->state(), Dataset::State::Insert);
        EXPECT_EQ(ds->recordCount(), rows + 1);
        const int newRow = ds->currentRow();
        for (Qt::Key key : {Qt::Key_O, Qt::Key_U})
            press(key, Qt::ControlModifier);
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_F11, Qt::Key_F12, Qt::Key_Insert})
            press(key);
        EXPECT_EQ(refusals(), 6) << shownBoxes();
        EXPECT_EQ(ds->state(), Dataset::State::Insert);
        EXPECT_EQ(ds->currentRow(), newRow);
        EXPECT_EQ(ds->recordCount(), rows + 1);

        press(Qt::Key_Escape);
        EXPECT_EQ(ds->state(), Dataset::State::Browse);
        EXPECT_EQ(ds->recordCount(), rows);
        EXPECT_EQ(rowsIn(table), rows);
        EXPECT_EQ(ds->asString(QStringLiteral("id")), id);

        // Esc in the cell being typed drops the text.
        const QString before = valueIn(list.table, list.column, id);
        enterCell(view, view->currentIndex().row(), column);
        QLineEdit* editor = typeIntoCell(view, QStringLiteral("Zahozeno"));
        ASSERT_TRUE(editor);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::processEvents();
        EXPECT_EQ(ds->state(), Dataset::State::Browse);
        EXPECT_EQ(ds->asString(column), before);
        EXPECT_EQ(view->currentIndex().data().toString(), before);

        // A typed cell is saved by Ctrl+S only when the question is answered yes.
        editor = typeIntoCell(view, QStringLiteral("Ulozeno"));
        ASSERT_TRUE(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits the text queued
        EXPECT_EQ(ds->state(), Dataset::State::Edit);
        prompts.shown.clear();
        prompts.answers = {Answer::No};
        press(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Dotaz")});
        EXPECT_EQ(ds->state(), Dataset::State::Edit);
        EXPECT_EQ(valueIn(list.table, list.column, id), before);
        prompts.answers = {Answer::Yes};
        press(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(ds->state(), Dataset::State::Browse) << shownBoxes();
        EXPECT_EQ(valueIn(list.table, list.column, id), QStringLiteral("Ulozeno"));

        // Leaving the typed row posts it.
        editor = typeIntoCell(view, QStringLiteral("Poslano"));
        ASSERT_TRUE(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        const int row = view->currentIndex().row();
        QTest::keyClick(view, row == 0 ? Qt::Key_Down : Qt::Key_Up);
        EXPECT_EQ(ds->state(), Dataset::State::Browse);
        EXPECT_NE(ds->currentRow(), row);
        EXPECT_EQ(valueIn(list.table, list.column, id), QStringLiteral("Poslano"));
        EXPECT_EQ(refusals(), 0) << shownBoxes();
    }
}

TEST_F(KeyboardMapTest, CtrlDelDeletesOnlyTheSelectedRowsAndComesBackToTheCurrentOne) {
    seedRecords();
    const struct {
        int tab;
        bool detail; // the grid of a detail panel (F9 first)
        const char* grid;
        const char* table;
    } grids[] = {
        {10, false, "DBGridPartneri", "tbl_partner"},       {8, false, "DBGridKnihaJizd", "tbl_knihajizd"},
        {1, false, "DBGridHlavniKniha", "tbl_hlavnikniha"}, {7, true, "DBGridOdpisy", "tbl_odpisy"},
        {3, true, "DBGridFAVpol", "tbl_polozky"},
    };
    for (const auto& g : grids) {
        SCOPED_TRACE(g.grid);
        showTab(g.tab);
        if (g.detail) {
            // The first asset and the first document own the seeded rows.
            Dataset* master = grid(QLatin1String(g.tab == 7 ? "DBGridMajetek" : "DBGridFAV"))->dataset();
            ASSERT_TRUE(master->locate(QStringLiteral("id"), QStringLiteral("1")));
            press(Qt::Key_F9);
        }
        DatasetGrid* view = grid(QLatin1String(g.grid));
        ASSERT_TRUE(view->isVisible());
        Dataset* ds = view->dataset();
        const int rows = ds->recordCount();
        ASSERT_GE(rows, 3);
        view->setFocus();
        view->setCurrentIndex(view->model()->index(1, view->currentIndex().column()));
        const QString current = ds->asString(QStringLiteral("id"));
        // Rows 0 and 2 are marked while the cursor stays on row 1.
        const int idColumn = ds->columnIndex(QStringLiteral("id"));
        QItemSelection marked;
        QStringList doomed;
        for (int row : {0, 2}) {
            marked.select(view->model()->index(row, 0), view->model()->index(row, 0));
            doomed << view->model()->index(row, idColumn).data().toString();
        }
        view->selectionModel()->select(marked,
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        ASSERT_EQ(view->selectionModel()->selectedRows().size(), 2);
        ASSERT_EQ(ds->currentRow(), 1);
        const QString table = QLatin1String(g.table);
        const int saved = rowsIn(table);

        prompts.shown.clear();
        for (Answer answer : {Answer::No, Answer::Cancel}) {
            prompts.answers = {answer};
            press(Qt::Key_Delete, Qt::ControlModifier);
        }
        EXPECT_EQ(prompts.captions(), (QStringList{QStringLiteral("Dotaz"), QStringLiteral("Dotaz")}));
        EXPECT_EQ(rowsIn(table), saved);
        EXPECT_EQ(ds->recordCount(), rows);

        prompts.answers = {Answer::Yes};
        press(Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(rowsIn(table), saved - 2);
        EXPECT_EQ(
            scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE id IN (%2)").arg(table, doomed.join(u','))),
            QStringLiteral("0"));
        EXPECT_EQ(ds->recordCount(), rows - 2);
        EXPECT_EQ(ds->state(), Dataset::State::Browse);
        EXPECT_EQ(ds->asString(QStringLiteral("id")), current);
        EXPECT_EQ(view->currentIndex().row(), ds->currentRow());
        EXPECT_FALSE(view->isLocked());
        EXPECT_EQ(refusals(), 0) << shownBoxes();
    }
}

TEST_F(KeyboardMapTest, RecordKeysOnDetailPanels) {
    seedRecords();
    const struct {
        int tab;
        const char* container;
        const char* listContainer;
        const char* table;
        const char* column;     // a text field of the form
        const char* firstField; // where a new record starts ("" for the order's memo)
    } details[] = {
        {10, "PanelPartneri", "PanelPartneriSeznam", "tbl_partner", "nazev_firmy", "nazev_firmy"},
        {11, "PanelZakazky", "PanelZakazkySeznam", "tbl_zakazka", "poznamka", ""},
        {9, "PanelZbozi", "PanelZboziSeznam", "tbl_zbozi", "popis", "kod_zbozi"},
        {7, "PanelMajetek", "PanelMajetekseznam", "tbl_majetek", "nazev", "typ"},
        {3, "PanelFAV", "PanelFVseznam", "tbl_doklad", "poznamka", "odb_nazev_firmy"},
    };
    for (const auto& d : details) {
        SCOPED_TRACE(d.container);
        prompts.shown.clear();
        showTab(d.tab);
        press(Qt::Key_F9);
        ASSERT_TRUE(container(QLatin1String(d.container))->isVisible());
        BoundForm* form = window->modulePages().form(QLatin1String(d.container));
        ASSERT_TRUE(form);
        Dataset* ds = form->dataset();
        ASSERT_GE(ds->recordCount(), 2);
        ds->first();
        QLineEdit* field = detailField(QLatin1String(d.container), QLatin1String(d.column));
        ASSERT_TRUE(field);
        field->setFocus();
        const QString table = QLatin1String(d.table);
        const QString id = ds->asString(QStringLiteral("id"));
        const QString before = field->text();
        const int saved = rowsIn(table);

        press(Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(ds->currentRow(), 1);
        EXPECT_EQ(field->text(), ds->asString(QLatin1String(d.column)));
        press(Qt::Key_U, Qt::ControlModifier);
        EXPECT_EQ(ds->asString(QStringLiteral("id")), id);
        EXPECT_EQ(field->text(), before);

        // Detail panels delete nothing and do not ask.
        press(Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_TRUE(prompts.shown.isEmpty());
        EXPECT_EQ(rowsIn(table), saved);

        // A plain O is text; with the record edited every command is refused.
        field->end(false);
        QTest::keyClick(field, 'O');
        EXPECT_EQ(field->text(), before + u'O');
        EXPECT_EQ(ds->state(), Dataset::State::Edit);
        press(Qt::Key_O, Qt::ControlModifier);
        press(Qt::Key_U, Qt::ControlModifier);
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_F11, Qt::Key_F12, Qt::Key_Insert})
            press(key);
        EXPECT_EQ(refusals(), 6) << shownBoxes();
        EXPECT_EQ(prompts.shown.size(), 6);
        EXPECT_EQ(ds->state(), Dataset::State::Edit);
        EXPECT_EQ(ds->asString(QStringLiteral("id")), id);
        EXPECT_EQ(ds->recordCount(), saved);

        // Esc drops the changes and stays on the detail.
        press(Qt::Key_Escape);
        EXPECT_EQ(ds->state(), Dataset::State::Browse);
        EXPECT_EQ(field->text(), before);
        EXPECT_TRUE(container(QLatin1String(d.container))->isVisible());

        // Ctrl+S asks first; no keeps the record being edited.
        typeIntoField(field, QStringLiteral("Klavesnice"));
        prompts.shown.clear();
        prompts.answers = {Answer::No};
        press(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Dotaz")});
        EXPECT_EQ(ds->state(), Dataset::State::Edit);
        EXPECT_EQ(valueIn(d.table, d.column, id), before);
        prompts.answers = {Answer::Yes};
        press(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(ds->state(), Dataset::State::Browse) << shownBoxes();
        EXPECT_EQ(valueIn(d.table, d.column, id), QStringLiteral("Klavesnice"));
        EXPECT_EQ(ds->asString(QStringLiteral("id")), id);

        // Insert on a detail panel starts the record itself; Esc drops it and shows the list.
        field->setFocus();
        prompts.shown.clear();
        press(Qt::Key_Insert);
        EXPECT_EQ(ds->state(), Dataset::State::Insert);
        EXPECT_EQ(ds->recordCount(), saved + 1);
        const QString first = QLatin1String(d.firstField);
        if (first.isEmpty())
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("DBMemoZakazky"));
        else
            EXPECT_EQ(QApplication::focusWidget(), form->editorFor(first));
        press(Qt::Key_Escape);
        EXPECT_EQ(ds->state(), Dataset::State::Browse);
        EXPECT_EQ(ds->recordCount(), saved);
        EXPECT_EQ(rowsIn(table), saved);
        EXPECT_EQ(ds->asString(QStringLiteral("id")), id);
        EXPECT_TRUE(container(QLatin1String(d.listContainer))->isVisible());
        EXPECT_FALSE(container(QLatin1String(d.container))->isVisible());
        EXPECT_EQ(refusals(), 0) << shownBoxes();
    }
}

TEST_F(KeyboardMapTest, EnteringTheInnerGridPostsTheRecordAbove) {
    seedRecords();
    const struct {
        int tab;
        const char* container;
        const char* masterColumn;
        const char* masterTable;
        const char* grid;
        const char* panel;
        const char* cellColumn;
        const char* cellTable;
        const char* firstColumn; // where a row the button starts is typed first
    } details[] = {
        {7, "PanelMajetek", "nazev", "tbl_majetek", "DBGridOdpisy", "FormMajetek-odpisy", "rok", "tbl_odpisy",
         "rok"},
        {3, "PanelFAV", "poznamka", "tbl_doklad", "DBGridFAVpol", "FormFAV-polozky", "popis", "tbl_polozky",
         "kod_zbozi"},
    };
    for (const auto& d : details) {
        SCOPED_TRACE(d.grid);
        showTab(d.tab);
        press(Qt::Key_F9);
        BoundForm* form = window->modulePages().form(QLatin1String(d.container));
        ASSERT_TRUE(form);
        Dataset* master = form->dataset();
        ASSERT_TRUE(master->locate(QStringLiteral("id"), QStringLiteral("1")));
        const QString id = master->asString(QStringLiteral("id"));
        QLineEdit* field = detailField(QLatin1String(d.container), QLatin1String(d.masterColumn));
        ASSERT_TRUE(field);
        typeIntoField(field, QStringLiteral("Nejdriv hlavicka"));
        ASSERT_EQ(master->state(), Dataset::State::Edit);
        prompts.shown.clear();

        DatasetGrid* view = grid(QLatin1String(d.grid));
        view->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(master->state(), Dataset::State::Browse);
        EXPECT_EQ(valueIn(d.masterTable, d.masterColumn, id), QStringLiteral("Nejdriv hlavicka"));
        EXPECT_EQ(modules().currentPanelId(), QLatin1String(d.panel));
        EXPECT_EQ(refusals(), 0) << shownBoxes();

        // The grid starts exactly one row on Insert, and Esc drops it.
        Dataset* rows = view->dataset();
        const int count = rows->recordCount();
        ASSERT_GE(count, 2);
        const QString cellTable = QLatin1String(d.cellTable);
        const int saved = rowsIn(cellTable);
        press(Qt::Key_Insert);
        EXPECT_EQ(rows->state(), Dataset::State::Insert);
        EXPECT_EQ(rows->recordCount(), count + 1);
        press(Qt::Key_Escape);
        EXPECT_EQ(rows->state(), Dataset::State::Browse);
        EXPECT_EQ(rows->recordCount(), count);
        EXPECT_EQ(master->state(), Dataset::State::Browse);
        // The button starts the row itself, in the column to fill first.
        window->toolbar().actions.value(QStringLiteral("InsertRecord"))->trigger();
        EXPECT_EQ(rows->state(), Dataset::State::Insert);
        EXPECT_EQ(rows->recordCount(), count + 1);
        EXPECT_TRUE(view->hasFocus());
        EXPECT_EQ(view->currentColumnName(), QLatin1String(d.firstColumn));
        press(Qt::Key_Escape);
        EXPECT_EQ(rows->recordCount(), count);
        EXPECT_EQ(rowsIn(QLatin1String(d.cellTable)), saved);

        // A typed cell goes to the database when the cursor leaves its row.
        enterCell(view, 0, QLatin1String(d.cellColumn));
        const QString rowId = rows->asString(QStringLiteral("id"));
        QLineEdit* editor = typeIntoCell(view, QStringLiteral("1999"));
        ASSERT_TRUE(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(rows->state(), Dataset::State::Edit);
        QTest::keyClick(view, Qt::Key_Down);
        EXPECT_EQ(rows->state(), Dataset::State::Browse);
        EXPECT_EQ(valueIn(d.cellTable, d.cellColumn, rowId), QStringLiteral("1999"));
        EXPECT_EQ(rowsIn(cellTable), saved);
        EXPECT_EQ(refusals(), 0) << shownBoxes();
    }

    // From the depreciation note the Insert key starts the row in the grid.
    showTab(7);
    auto* memo = window->findChild<QPlainTextEdit*>(QStringLiteral("DBMemoOdpis"));
    ASSERT_TRUE(memo && memo->isVisible());
    memo->setFocus(Qt::TabFocusReason);
    Dataset* depreciation = grid(QStringLiteral("DBGridOdpisy"))->dataset();
    const int count = depreciation->recordCount();
    press(Qt::Key_Insert);
    EXPECT_EQ(depreciation->state(), Dataset::State::Insert);
    EXPECT_EQ(depreciation->recordCount(), count + 1);
    EXPECT_TRUE(grid(QStringLiteral("DBGridOdpisy"))->hasFocus());
    press(Qt::Key_Escape);
    EXPECT_EQ(depreciation->recordCount(), count);
}

} // namespace
} // namespace kelvarn

namespace kelvarn {
namespace {

// Typing in a cell opens the record's edit at once: commands are refused while the
// cell is open, and Ctrl+S writes the open cell with the row.
TEST_F(KeyboardMapTest, AnOpenCellIsAnEditedRecord) {
    showTab(10);
    DatasetGrid* view = grid(QStringLiteral("DBGridPartneri"));
    Dataset* ds = view->dataset();
    const QString id = ds->asString(QStringLiteral("id"));
    enterCell(view, ds->currentRow(), QStringLiteral("mesto"));
    QLineEdit* editor = typeIntoCell(view, QStringLiteral("Znojmo"));
    ASSERT_TRUE(editor);
    EXPECT_EQ(ds->state(), Dataset::State::Edit);
    prompts.shown.clear();
    QTest::keyClick(editor, Qt::Key_F5);
    EXPECT_EQ(refusals(), 1) << shownBoxes();
    prompts.answers = {Answer::Yes};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    // The save closed the editor before the key was released; let go of Ctrl for the tests after.
    QTest::keyRelease(window.get(), Qt::Key_Control);
    EXPECT_EQ(ds->state(), Dataset::State::Browse) << shownBoxes();
    EXPECT_EQ(valueIn("tbl_partner", "mesto", id), QStringLiteral("Znojmo"));
}

// Rows the user marked stay marked when a command moves the record, so a deletion
// takes them and not the row the cursor ended on.
TEST_F(KeyboardMapTest, MarkedRowsSurviveAMoveByCommand) {
    showTab(10);
    DatasetGrid* view = grid(QStringLiteral("DBGridPartneri"));
    Dataset* ds = view->dataset();
    ASSERT_GE(ds->recordCount(), 3);
    enterCell(view, 0, QStringLiteral("mesto"));
    const QItemSelection firstTwo(view->model()->index(0, 0),
                                  view->model()->index(1, view->model()->columnCount() - 1));
    view->selectionModel()->select(firstTwo, QItemSelectionModel::ClearAndSelect);
    ASSERT_EQ(view->selectedBookmarks().size(), 2);
    press(Qt::Key_O, Qt::ControlModifier);
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(ds->currentRow(), 2);
    EXPECT_EQ(view->selectedBookmarks().size(), 2);
    EXPECT_FALSE(view->selectionModel()->isRowSelected(2, {}));
}

} // namespace
} // namespace kelvarn
