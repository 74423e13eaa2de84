#include "ui/module_window_fixture.h"

#include "app/selection_mode.h"
#include "ui/document_pages.h"
#include "ui/document_wiring.h"
#include "ui/selection_hint.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QPainter>
#include <QPlainTextEdit>

namespace kelvarn {
namespace {

class DocumentPanelsTest : public ModuleWindowFixture {
  protected:
    void newDocument(int tab) {
        showTab(tab);
        window->toolbar().actions.value(QStringLiteral("InsertRecord"))->trigger();
    }
    QWidget* control(const QString& name) const { return window->modulePages().control(name); }
    void click(const QString& name) {
        auto* button = qobject_cast<QAbstractButton*>(control(name));
        ASSERT_TRUE(button) << name.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void type(const QString& container, const QString& column, const QString& text) {
        QLineEdit* field = detailField(container, column);
        ASSERT_TRUE(field) << column.toStdString();
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    // A saved issued document with one line at the given unit price and rate 21.
    void issuedWithLine(double unitPrice) {
        newDocument(3);
        type(QStringLiteral("PanelFAV"), QStringLiteral("odb_nazev_firmy"),
             QStringLiteral("Odberatel Novak"));
        press(Qt::Key_S, Qt::ControlModifier);
        ASSERT_EQ(dataset(QStringLiteral("ADOFormFAV"))->state(), Dataset::State::Browse);
        Dataset* items = dataset(QStringLiteral("ADOFormFAVpol"));
        items->append();
        items->setValue(QStringLiteral("cena_jednotka"), unitPrice);
        items->setValue(QStringLiteral("dph"), 21);
        ASSERT_TRUE(items->post());
    }
    void doubleClickCurrentRow(DatasetGrid* list) {
        const int row = std::max(list->dataset()->currentRow(), 0);
        int column = 0;
        while (column < list->model()->columnCount() && list->isColumnHidden(column))
            ++column;
        const QRect cell = list->visualRect(list->model()->index(row, column));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }
    SelectionMode& selection() const { return window->controller().modules().selection(); }
    // The window with the floating hint where it stands over it.
    void shootWithHint(const QString& path) {
        QCoreApplication::processEvents();
        QPixmap picture = window->grab();
        SelectionHint* hint = window->findChild<DocumentWiring*>()->hint();
        if (hint->isVisible()) {
            QPainter painter(&picture);
            painter.drawPixmap(hint->frameGeometry().topLeft() - window->frameGeometry().topLeft(),
                               hint->grab());
        }
        picture.save(path);
    }
};

// The selector stands in for the number box only while a new document is entered;
// the kind chosen sets its values and the prefix of the number drawn at the save.
TEST_F(DocumentPanelsTest, KindSelectorWhileEntering) {
    for (int tab : {3, 4}) {
        SCOPED_TRACE(tab);
        newDocument(tab);
        DocumentPages& pages = window->modulePages().documentPages();
        QComboBox* kinds = pages.kindSelector(tab);
        ASSERT_TRUE(kinds);
        EXPECT_TRUE(kinds->isVisible());
        EXPECT_FALSE(pages.numberBox(tab)->isVisible());
        EXPECT_EQ(kinds->accessibleName(), QStringLiteral("Druh dokladu"));
        EXPECT_EQ(pages.numberLabel(tab)->buddy(), kinds);
        kinds->setCurrentIndex(1);
        Q_EMIT kinds->activated(1);
        Dataset* doc = dataset(tab == 3 ? QStringLiteral("ADOFormFAV") : QStringLiteral("ADOFormFAP"));
        EXPECT_EQ(doc->asString(QStringLiteral("zpusob_uhrady")), QStringLiteral("hotově"));
        EXPECT_TRUE(doc->asString(QStringLiteral("pohledavka_zavazek")).isEmpty());
        press(Qt::Key_S, Qt::ControlModifier);
        ASSERT_EQ(doc->state(), Dataset::State::Browse);
        EXPECT_TRUE(doc->asString(QStringLiteral("cislo_dokladu"))
                        .startsWith(tab == 3 ? QStringLiteral("PH-") : QStringLiteral("NH-")));
        EXPECT_FALSE(kinds->isVisible());
        EXPECT_TRUE(pages.numberBox(tab)->isVisible());
        // An existing document's kind stays.
        doc->edit();
        EXPECT_FALSE(kinds->isVisible());
        doc->cancel();
    }
}

// "Sečíst" and "Zaokrouhlit" sum the lines into the header after their question;
// a line still being edited is saved first, one that cannot be is reported.
TEST_F(DocumentPanelsTest, SummingButtons) {
    issuedWithLine(100.30);
    Dataset* doc = dataset(QStringLiteral("ADOFormFAV"));
    const struct {
        const char* button;
        const char* caption;
        double gross;
    } cases[] = {{"BitBtnSumOnly", "Výpočet DPH", 121.36},
                 // The demo entrepreneur rounds cash to whole crowns.
                 {"BitBtnSum", "Zaokrouhlení dokladu a výpočet DPH", 121.00}};
    for (const auto& c : cases) {
        prompts.shown.clear();
        click(QLatin1String(c.button));
        ASSERT_FALSE(prompts.shown.isEmpty());
        EXPECT_EQ(prompts.shown.first().caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(doc->asFloat(QStringLiteral("celkem_doklad_s_dph")), c.gross);
        EXPECT_EQ(doc->state(), Dataset::State::Browse);
    }
    // A line the save refuses stays open: the buttons change nothing then.
    Dataset* items = dataset(QStringLiteral("ADOFormFAVpol"));
    items->edit();
    items->setValue(QStringLiteral("dph"), 15);
    prompts.shown.clear();
    click(QStringLiteral("BitBtnSumOnly"));
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.last().text,
              QStringLiteral("Operaci nelze provést. Prosím zrušte editační režim. "));
    EXPECT_EQ(doc->asFloat(QStringLiteral("celkem_doklad_s_dph")), 121.00);
    items->cancel();
}

TEST_F(DocumentPanelsTest, AmountInWordsOnBothVouchers) {
    for (int tab : {5, 6}) {
        SCOPED_TRACE(tab);
        const QString panel = tab == 5 ? QStringLiteral("PanelPPD") : QStringLiteral("PanelVPD");
        newDocument(tab);
        type(panel, QStringLiteral("celkem_doklad_s_dph"), QStringLiteral("850,50"));
        click(DocumentPages::amountInWordsButton(tab));
        Dataset* voucher = dataset(tab == 5 ? QStringLiteral("ADOFormPPD") : QStringLiteral("ADOFormVPD"));
        EXPECT_EQ(voucher->asString(QStringLiteral("poznamka")), QStringLiteral("Osmsetpadesát==="));
        EXPECT_EQ(voucher->state(), Dataset::State::Insert) << "a voucher being entered stays unsaved";
        BoundForm* form = window->modulePages().form(panel);
        EXPECT_TRUE(form->editorFor(QStringLiteral("poznamka"))->hasFocus());
        press(Qt::Key_Escape);
    }
}

// F4 in the item grid opens the goods list narrowed by the line's code or
// description; an apostrophe or a wildcard in the text is a search text like any.
TEST_F(DocumentPanelsTest, GoodsSearchFromTheItemGrid) {
    const struct {
        const char* column;
        const char* typed;
        int rows;
        const char* status;
    } cases[] = {
        {"kod_zbozi", "STUL", 1, "Aktivní filtr: [Kód zboží] LIKE 'STUL%'"},
        {"popis", "Židle", 1, "Aktivní filtr: [Název] LIKE 'Židle%'"},
        {"popis", "%buk", 1, "Aktivní filtr: [Název] LIKE '%buk%'"},
        {"kod_zbozi", "O'B", 0, "Aktivní filtr: [Kód zboží] LIKE 'O''B%'"},
    };
    issuedWithLine(10);
    Dataset* items = dataset(QStringLiteral("ADOFormFAVpol"));
    Dataset* goods = dataset(QStringLiteral("ADOFormZbozi"));
    DatasetGrid* itemGrid = grid(QStringLiteral("DBGridFAVpol"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        if (items->isEditing())
            items->cancel();
        items->edit();
        items->setValue(QLatin1String(c.column), QString::fromUtf8(c.typed));
        itemGrid->setFocus(Qt::OtherFocusReason);
        itemGrid->enterColumn(QLatin1String(c.column));
        press(Qt::Key_F4);
        EXPECT_EQ(window->tabBar()->currentIndex(), 9);
        EXPECT_EQ(goods->recordCount(), c.rows);
        EXPECT_EQ(window->statusLabel()->text(), QString::fromUtf8(c.status));
        EXPECT_TRUE(window->findChild<DocumentWiring*>()->hint()->isVisible());
        EXPECT_EQ(items->state(), Dataset::State::Edit) << "the line waits for the goods";
        press(Qt::Key_Escape);
        EXPECT_EQ(window->tabBar()->currentIndex(), 3);
        EXPECT_FALSE(window->findChild<DocumentWiring*>()->hint()->isVisible());
    }
    // Picking copies the goods into the line and returns to the document.
    items->setValue(QStringLiteral("kod_zbozi"), QStringLiteral("ZIDLE"));
    itemGrid->setFocus(Qt::OtherFocusReason);
    itemGrid->enterColumn(QStringLiteral("kod_zbozi"));
    press(Qt::Key_F4);
    ASSERT_EQ(goods->recordCount(), 1);
    doubleClickCurrentRow(grid(QStringLiteral("DBGridZbozi")));
    EXPECT_EQ(window->tabBar()->currentIndex(), 3);
    EXPECT_EQ(items->asString(QStringLiteral("popis")), QStringLiteral("Židle buková čalouněná"));
    EXPECT_EQ(items->state(), Dataset::State::Edit);
    EXPECT_EQ(window->statusLabel()->text().startsWith(QStringLiteral("Aktivní filtr")), false);
    EXPECT_FALSE(selection().isActive());
}

// The partner picker narrows by the typed name, fills the document on a double
// click and returns with the focus in the name; Esc returns with nothing changed.
TEST_F(DocumentPanelsTest, PartnerPickerAndEscape) {
    const QString panel = QStringLiteral("PanelFAV");
    newDocument(3);
    Dataset* doc = dataset(QStringLiteral("ADOFormFAV"));
    Dataset* partners = dataset(QStringLiteral("ADOFormPartneri"));
    type(panel, QStringLiteral("odb_nazev_firmy"), QStringLiteral("Penz"));
    press(Qt::Key_F4);
    EXPECT_EQ(window->tabBar()->currentIndex(), 10);
    EXPECT_EQ(partners->recordCount(), 1);
    EXPECT_EQ(window->statusLabel()->text(), QStringLiteral("Aktivní filtr: [Název] LIKE 'Penz%'"));
    // Another tab is refused while picking.
    window->tabBar()->setCurrentIndex(5);
    EXPECT_EQ(window->tabBar()->currentIndex(), 10);
    EXPECT_TRUE(prompts.sawCaption(QStringLiteral("Výběrový režim")));
    press(Qt::Key_Escape);
    EXPECT_EQ(window->tabBar()->currentIndex(), 3);
    EXPECT_EQ(doc->asString(QStringLiteral("odb_nazev_firmy")), QStringLiteral("Penz"));
    EXPECT_EQ(doc->state(), Dataset::State::Insert);
    EXPECT_TRUE(detailField(panel, QStringLiteral("odb_nazev_firmy"))->hasFocus());

    click(DocumentPages::linkButtons(3).pickPartner);
    ASSERT_EQ(partners->recordCount(), 1);
    doubleClickCurrentRow(grid(QStringLiteral("DBGridPartneri")));
    EXPECT_EQ(window->tabBar()->currentIndex(), 3);
    EXPECT_EQ(doc->asString(QStringLiteral("odb_nazev_firmy")),
              QStringLiteral("Penzion U Šumavského jezera"));
    EXPECT_FALSE(doc->asString(QStringLiteral("id_tbl_partner")).isEmpty());
    EXPECT_TRUE(detailField(panel, QStringLiteral("odb_nazev_firmy"))->hasFocus());
    EXPECT_EQ(partners->recordCount(), 3) << "the search is gone";

    // The "x" button clears the partner again; the order picker works alike.
    click(DocumentPages::linkButtons(3).clearPartner);
    EXPECT_TRUE(doc->asString(QStringLiteral("odb_nazev_firmy")).isEmpty());
    click(DocumentPages::linkButtons(3).pickOrder);
    EXPECT_EQ(window->tabBar()->currentIndex(), 11);
    doubleClickCurrentRow(grid(QStringLiteral("DBGridZakazky")));
    EXPECT_FALSE(doc->asString(QStringLiteral("zakazka")).isEmpty());
    EXPECT_TRUE(detailField(panel, QStringLiteral("zakazka"))->hasFocus());
}

// Pictures of the document panels for a person to look at; only when
// KELVARN_SCREENSHOTS names a folder.
TEST_F(DocumentPanelsTest, Screenshots) {
    const QString folder = qEnvironmentVariable("KELVARN_SCREENSHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "KELVARN_SCREENSHOTS not set";
    window->resize(1280, 900);
    issuedWithLine(1234.5);
    Dataset* items = dataset(QStringLiteral("ADOFormFAVpol"));
    items->append();
    items->setValue(QStringLiteral("kod_zbozi"), QStringLiteral("MONTAZ"));
    items->setValue(QStringLiteral("popis"), QStringLiteral("Montáž nábytku"));
    items->setValue(QStringLiteral("mnozstvi"), 3);
    items->setValue(QStringLiteral("cena_jednotka"), 450);
    ASSERT_TRUE(items->post());
    click(QStringLiteral("BitBtnSum"));
    shoot(folder + QStringLiteral("/issued_with_items.png"));
    modules().toggleMasterDetail();
    shoot(folder + QStringLiteral("/issued_list.png"));
    newDocument(3);
    shoot(folder + QStringLiteral("/issued_new_kind_selector.png"));
    type(QStringLiteral("PanelFAV"), QStringLiteral("odb_nazev_firmy"), QStringLiteral("Penz"));
    press(Qt::Key_F4);
    shootWithHint(folder + QStringLiteral("/partner_picker.png"));
    press(Qt::Key_Escape);
    click(DocumentPages::linkButtons(3).pickOrder);
    shootWithHint(folder + QStringLiteral("/order_picker.png"));
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    newDocument(4);
    shoot(folder + QStringLiteral("/received_new.png"));
    press(Qt::Key_Escape);
    newDocument(5);
    type(QStringLiteral("PanelPPD"), QStringLiteral("celkem_doklad_s_dph"), QStringLiteral("1 250,50"));
    click(DocumentPages::amountInWordsButton(5));
    shoot(folder + QStringLiteral("/receipt_voucher.png"));
    press(Qt::Key_Escape);
    newDocument(6);
    type(QStringLiteral("PanelVPD"), QStringLiteral("celkem_doklad_s_dph"), QStringLiteral("380"));
    click(DocumentPages::amountInWordsButton(6));
    shoot(folder + QStringLiteral("/expense_voucher.png"));
    press(Qt::Key_Escape);
    showTab(3);
    Dataset* lines = dataset(QStringLiteral("ADOFormFAVpol"));
    lines->last();
    lines->edit();
    lines->setValue(QStringLiteral("kod_zbozi"), QStringLiteral("Z"));
    DatasetGrid* itemGrid = grid(QStringLiteral("DBGridFAVpol"));
    itemGrid->setFocus(Qt::OtherFocusReason);
    itemGrid->enterColumn(QStringLiteral("kod_zbozi"));
    press(Qt::Key_F4);
    shootWithHint(folder + QStringLiteral("/goods_picker.png"));
    press(Qt::Key_Escape);
}

} // namespace
} // namespace kelvarn
