#include "ui/module_window_fixture.h"

#include "ui/entrepreneur_panel.h"

#include <QClipboard>
#include <QDateTime>
#include <QHeaderView>

namespace kelvarn {
namespace {

QString letters(int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'a' + i % 26);
    return text;
}

// Wrong input told once, by the name the user sees, and never stored cut.
class CellRefusalsTest : public ModuleWindowFixture {
  protected:
    void SetUp() override {
        ModuleWindowFixture::SetUp();
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_knihajizd (datum, odkud, kam, pocet_km, spz, ridic) "
                           "VALUES (?, 'Brno', 'Praha', 205, '1B2 3456', 'Jiří Dvořák')"),
            {QDateTime(QDate(2026, 1, 5), QTime(0, 0))});
        db->session->execute(QStringLiteral("INSERT INTO tbl_doklad (id, cislo_dokladu, doklad_typ, "
                                            "odb_nazev_firmy) VALUES (1, 'FAV-2026-00001', 1, 'Horák')"));
    }
    // Puts text into the focused line as the user would: typed, or pasted at once.
    static void enter(QLineEdit* line, const QString& text, bool pasted) {
        line->selectAll();
        if (pasted) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClicks(line, text);
        }
    }
    // While a box is up a real one takes the focus from the window; the editor losing
    // it must not hand in its text a second time.
    void boxesTakeTheFocus() {
        prompts.whileShown = [this] {
            QCoreApplication::processEvents();
            QWidget box;
            box.show();
            box.activateWindow();
            QCoreApplication::processEvents();
            box.hide();
            window->activateWindow();
            QCoreApplication::processEvents();
        };
    }
    QString stored(const QString& table, const QString& column, const QString& id) const {
        return storedText(QStringLiteral("SELECT %1 FROM %2 WHERE id=%3").arg(column, table, id));
    }
};

// A cell the row refuses is told once, naming the column by its caption; the text
// comes back in the open cell, selected, and Esc drops the row's edit. Nothing is
// stored, least of all a cut text.
TEST_F(CellRefusalsTest, ARefusedCellIsToldOnceByItsCaptionAndComesBack) {
    const struct {
        int tab;
        const char* grid;
        const char* table;
        const char* column;
        QString text;
        bool pasted;
        QString message;
        bool byClick = false; // handed in by clicking the next row instead of Return
    } cases[] = {
        {8, "DBGridKnihaJizd", "tbl_knihajizd", "start_stav", QStringLiteral("7x7"), false,
         QStringLiteral("Počáteční stav [km]: \"7x7\" není platné celé číslo. Tisíce oddělujte mezerou, např. 1 500.")},
        {8, "DBGridKnihaJizd", "tbl_knihajizd", "datum", QStringLiteral("31.2.2026"), false,
         QStringLiteral("Datum: \"31.2.2026\" není platné datum.")},
        {8, "DBGridKnihaJizd", "tbl_knihajizd", "odkud", letters(41), true,
         QStringLiteral("Text je příliš dlouhý: pole „Odkud“ pojme nejvýše 40 znaků, zadáno 41.")},
        {9, "DBGridZbozi", "tbl_zbozi", "mnozstvi", QStringLiteral("dvanact"), false,
         QStringLiteral("Množství: \"dvanact\" není platné číslo. Pište desetinnou čárku a tisíce oddělujte mezerou, např. 1 500 nebo 1 234,56.")},
        {10, "DBGridPartneri", "tbl_partner", "ulice", letters(60), true,
         QStringLiteral("Text je příliš dlouhý: pole „Ulice“ pojme nejvýše 45 znaků, zadáno 60.")},
        {10, "DBGridPartneri", "tbl_partner", "ulice", letters(46), false,
         QStringLiteral("Text je příliš dlouhý: pole „Ulice“ pojme nejvýše 45 znaků, zadáno 46."), true},
        {9, "DBGridZbozi", "tbl_zbozi", "cena_jednotka", QStringLiteral("12,3,4"), false,
         QStringLiteral("Cena za jednotku: \"12,3,4\" není platné číslo. Pište desetinnou čárku a tisíce oddělujte mezerou, např. 1 500 nebo 1 234,56."), true},
    };
    boxesTakeTheFocus();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        showTab(c.tab);
        DatasetGrid* view = grid(QLatin1String(c.grid));
        Dataset* data = view->dataset();
        const QString id = data->asString(QStringLiteral("id"));
        const QString column = QLatin1String(c.column);
        const QString before = stored(QLatin1String(c.table), column, id);
        prompts.shown.clear();
        view->setFocus();
        view->setCurrentIndex(view->model()->index(data->currentRow(), data->columnIndex(column)));
        QTest::keyClick(view, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_TRUE(editor);
        enter(editor, c.text, c.pasted);
        const int row = data->currentRow();
        if (c.byClick) {
            const QRect next = view->visualRect(view->model()->index(row + 1, data->columnIndex(column)));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, next.center());
        } else {
            QTest::keyClick(editor, Qt::Key_Return);
        }
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(data->currentRow(), row) << "the row with the refused text stays current";
        EXPECT_EQ(view->currentIndex().row(), row);

        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba"));
        EXPECT_EQ(prompts.shown[0].text, c.message);
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_TRUE(editor);
        EXPECT_EQ(editor->text(), c.text);
        EXPECT_EQ(editor->selectedText(), c.text);
        EXPECT_EQ(data->state(), Dataset::State::Edit);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::processEvents();
        EXPECT_EQ(data->state(), Dataset::State::Browse);
        EXPECT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(stored(QLatin1String(c.table), column, id), before);
    }
}

// A form field takes a text longer than its column whole, typed or pasted; the save
// names the field and how many characters fit, stores nothing and keeps the record
// open with the text for correction. The same holds when entering the inner grid
// saves the record above it.
TEST_F(CellRefusalsTest, AnOverlongFieldTextIsKeptWholeAndRefusedByName) {
    const struct {
        int tab;
        const char* container;
        const char* table;
        const char* column;
        int length;
        bool pasted;
        const char* innerGrid; // saving by entering it instead of Ctrl+S
        int fits;
    } cases[] = {
        {10, "PanelPartneri", "tbl_partner", "ulice", 60, true, nullptr, 45},
        {10, "PanelPartneri", "tbl_partner", "ulice", 46, false, nullptr, 45},
        {3, "PanelFAV", "tbl_doklad", "odb_ulice", 50, true, "DBGridFAVpol", 45},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        showTab(c.tab);
        if (!container(QLatin1String(c.container))->isVisible())
            press(Qt::Key_F9);
        QLineEdit* field = detailField(QLatin1String(c.container), QLatin1String(c.column));
        ASSERT_TRUE(field);
        Dataset* data = window->modulePages().form(QLatin1String(c.container))->dataset();
        const QString id = data->asString(QStringLiteral("id"));
        const QString before = stored(QLatin1String(c.table), QLatin1String(c.column), id);
        const QString text = letters(c.length);
        field->setFocus();
        enter(field, text, c.pasted);
        EXPECT_EQ(field->text(), text);
        prompts.shown.clear();
        if (c.innerGrid)
            grid(QLatin1String(c.innerGrid))->setFocus(Qt::TabFocusReason);
        else
            QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
        QTest::keyRelease(window.get(), Qt::Key_Control);

        ASSERT_EQ(prompts.captions(), QStringList{QStringLiteral("Chyba")});
        EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Text je příliš dlouhý: pole „Ulice“ pojme nejvýše "
                                                        "%1 znaků, zadáno %2.")
                                             .arg(c.fits)
                                             .arg(c.length));
        EXPECT_EQ(data->state(), Dataset::State::Edit);
        EXPECT_EQ(field->text(), text);
        EXPECT_TRUE(field->hasFocus());
        EXPECT_EQ(stored(QLatin1String(c.table), QLatin1String(c.column), id), before);
        data->cancel();
    }
}

// The entrepreneur's fields keep a pasted text whole, and the save says which field
// it is and how much fits.
TEST_F(CellRefusalsTest, TheEntrepreneurPanelRefusesAnOverlongTextByName) {
    showTab(0);
    auto* panel = window->findChild<EntrepreneurPanel*>();
    ASSERT_TRUE(panel);
    auto* street = qobject_cast<QLineEdit*>(panel->editorFor(QStringLiteral("ulice")));
    ASSERT_TRUE(street);
    const QString before = storedText(QStringLiteral("SELECT ulice FROM tbl_podnikatel"));
    street->setFocus();
    enter(street, letters(120), true);
    EXPECT_EQ(street->text().size(), 120);
    prompts.shown.clear();
    QTest::keyClick(street, Qt::Key_S, Qt::ControlModifier);
    QTest::keyRelease(window.get(), Qt::Key_Control);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Text je příliš dlouhý: pole „Ulice“ pojme nejvýše 100 "
                                                    "znaků, zadáno 120. Opravte prosím hodnotu."));
    EXPECT_EQ(storedText(QStringLiteral("SELECT ulice FROM tbl_podnikatel")), before);
    panel->dataset()->cancel();
}

} // namespace
} // namespace kelvarn
