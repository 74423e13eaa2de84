#include "module_window_fixture.h"

#include "db/dataset_table_model.h"
#include "lists/panel_queries.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPlainTextEdit>

namespace kelvarn {
namespace {

struct DetailPanel {
    int tab;
    const char* container;
    const char* dataset;
};

const DetailPanel kDetailPanels[] = {
    {3, "PanelFAV", "ADOFormFAV"},
    {4, "PanelFAP", "ADOFormFAP"},
    {5, "PanelPPD", "ADOFormPPD"},
    {6, "PanelVPD", "ADOFormVPD"},
    {7, "PanelMajetek", "ADOFormMajetek"},
    {9, "PanelZbozi", "ADOFormZbozi"},
    {10, "PanelPartneri", "ADOFormPartneri"},
    {11, "PanelZakazky", "ADOFormZakazky"},
};

class DetailFormsTest : public ModuleWindowFixture {
  protected:
    BoundForm* openDetail(const DetailPanel& panel) {
        showTab(panel.tab);
        if (!container(QLatin1String(panel.container))->isVisible())
            modules().toggleMasterDetail();
        QCoreApplication::processEvents();
        return window->modulePages().form(QLatin1String(panel.container));
    }
};

// Every column of the row is in sight exactly once, under a caption that is also the
// name assistive tools read; a field's label leads to it. Set KELVARN_SCREENSHOT_DIR to
// keep a picture of every panel for a look by eye.
TEST_F(DetailFormsTest, EveryColumnHasOneCaptionedField) {
    const QString shots = qEnvironmentVariable("KELVARN_SCREENSHOT_DIR");
    for (const DetailPanel& panel : kDetailPanels) {
        SCOPED_TRACE(panel.container);
        BoundForm* form = openDetail(panel);
        ASSERT_TRUE(form);
        Dataset* data = dataset(QLatin1String(panel.dataset));
        const QStringList hidden = detailLayout(QLatin1String(panel.container)).hidden;
        QSet<QWidget*> editors;
        for (int c = 0; c < data->columnCount(); ++c) {
            const QString column = data->column(c).name;
            QWidget* editor = form->editorFor(column);
            if (hidden.contains(column, Qt::CaseInsensitive)) {
                EXPECT_FALSE(editor) << column.toStdString();
                continue;
            }
            ASSERT_TRUE(editor) << column.toStdString();
            EXPECT_FALSE(editors.contains(editor));
            editors.insert(editor);
            EXPECT_FALSE(editor->accessibleName().isEmpty()) << column.toStdString();
            EXPECT_EQ(editor->accessibleName(), form->captionOf(column));
        }
        int buddies = 0;
        for (QLabel* label : form->findChildren<QLabel*>())
            if (label->buddy() && editors.contains(label->buddy())) {
                EXPECT_EQ(label->text(), label->buddy()->accessibleName());
                ++buddies;
            }
        EXPECT_EQ(buddies, editors.size());
        if (!shots.isEmpty()) {
            const QString base = shots + QLatin1Char('/') + QLatin1String(panel.container);
            shoot(base + QStringLiteral(".png"));
            form->grab().save(base + QStringLiteral("-form.png")); // beyond the scrolled view
        }
    }
}

TEST_F(DetailFormsTest, SelectorsOfferTheirValuesAndWriteThePickedOne) {
    BoundForm* form = openDetail(kDetailPanels[0]);
    Dataset* documents = dataset(QStringLiteral("ADOFormFAV"));
    documents->insert();

    auto* payment = qobject_cast<QComboBox*>(form->editorFor(QStringLiteral("zpusob_uhrady")));
    ASSERT_TRUE(payment);
    EXPECT_TRUE(payment->isEditable());
    QStringList offered;
    for (int i = 0; i < payment->count(); ++i)
        offered << payment->itemText(i);
    EXPECT_EQ(offered, paymentMethods());

    auto* basis = qobject_cast<QComboBox*>(form->editorFor(QStringLiteral("podklad_dph")));
    ASSERT_TRUE(basis);
    EXPECT_FALSE(basis->isEditable());
    const int no = basis->findText(QStringLiteral("Ne"));
    ASSERT_GE(no, 0);
    basis->setCurrentIndex(no);
    Q_EMIT basis->activated(no);
    EXPECT_EQ(documents->asString(QStringLiteral("podklad_dph")), QStringLiteral("Ne"));

    // A stored value outside the offered ones is shown as it is, not replaced.
    documents->setValue(QStringLiteral("podklad_dph"), QStringLiteral("ano"));
    EXPECT_EQ(basis->currentText(), QStringLiteral("ano"));
    documents->setValue(QStringLiteral("podklad_dph"), QStringLiteral("ANO"));
    EXPECT_EQ(basis->currentText(), QStringLiteral("ANO"));
    EXPECT_EQ(basis->count(), yesNoChoices().size() + 1); // the earlier odd value is gone
    documents->cancel();
}

TEST_F(DetailFormsTest, VouchersTakeOnlyTheirGrossTotal) {
    BoundForm* form = openDetail(kDetailPanels[2]);
    auto isLocked = [&](const char* column) {
        QWidget* editor = form->editorFor(QLatin1String(column));
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            return line->isReadOnly();
        return editor && !editor->isEnabled();
    };
    EXPECT_FALSE(isLocked("celkem_doklad_s_dph"));
    for (const char* column :
         {"celkem_bez_dph_5", "celkem_dph_19", "celkem_doklad", "zbyva_uhradit", "podklad_dph"})
        EXPECT_TRUE(isLocked(column)) << column;
    EXPECT_FALSE(form->editorFor(QStringLiteral("datum_uplatneni_plneni")));

    // Typing into a locked total starts no edit.
    auto* net = qobject_cast<QLineEdit*>(form->editorFor(QStringLiteral("celkem_doklad")));
    net->setFocus();
    QTest::keyClicks(net, QStringLiteral("5"));
    EXPECT_FALSE(dataset(QStringLiteral("ADOFormPPD"))->isEditing());
}

} // namespace
} // namespace kelvarn

namespace kelvarn {
namespace {

// The cash book and the VAT lists carry their strips of read-only figures.
TEST_F(DetailFormsTest, ListsCarryTheirStripsAndColumns) {
    const QString shots = qEnvironmentVariable("KELVARN_SCREENSHOT_DIR");
    const char* figures[] = {"Edit_prijem_danovy", "Edit_zustatek", "Edit_zaklad51",
                             "Edit_dph191",        "Edit_zaklad02", "Edit_dph52"};
    for (const char* name : figures) {
        auto* figure = qobject_cast<QLineEdit*>(window->modulePages().control(QLatin1String(name)));
        ASSERT_TRUE(figure) << name;
        EXPECT_TRUE(figure->isReadOnly());
        EXPECT_FALSE(figure->accessibleName().isEmpty());
    }
    // Grids with columns of their own show them in their order, under their titles.
    auto titlesOf = [&](int tab, const char* name) {
        showTab(tab);
        DatasetGrid* g = grid(QLatin1String(name));
        QStringList shown;
        for (int visual = 0; visual < g->horizontalHeader()->count(); ++visual) {
            const int logical = g->horizontalHeader()->logicalIndex(visual);
            if (!g->isColumnHidden(logical))
                shown << g->model()->headerData(logical, Qt::Horizontal).toString();
        }
        return shown;
    };
    const QStringList trips = titlesOf(8, "DBGridKnihaJizd");
    EXPECT_EQ(trips.mid(0, 2), (QStringList{QStringLiteral("Datum"), QStringLiteral("SPZ vozidla")}));
    EXPECT_EQ(trips.size(), 12);
    EXPECT_TRUE(trips.contains(QStringLiteral("Ujeto [km]")));
    const QStringList goods = titlesOf(9, "DBGridZbozi");
    EXPECT_EQ(goods.size(), 11);
    EXPECT_EQ(goods.at(6), QStringLiteral("Poplatek za recyklaci"));
    EXPECT_EQ(goods.last(), QStringLiteral("ID"));

    for (int tab = 0; tab < window->tabBar()->count() && !shots.isEmpty(); ++tab) {
        showTab(tab);
        shoot(shots + QStringLiteral("/tab%1.png").arg(tab));
    }
}

} // namespace
} // namespace kelvarn

namespace kelvarn {
namespace {

// Letters in a number cell and a text too long for its column are explained, and
// nothing of them reaches the database.
TEST_F(DetailFormsTest, RefusedCellTextsAreExplainedAndNotWritten) {
    showTab(9);
    DatasetGrid* goods = grid(QStringLiteral("DBGridZbozi"));
    Dataset* data = dataset(QStringLiteral("ADOFormZbozi"));
    const QString id = data->asString(QStringLiteral("id"));
    // The key shows last and takes no typing.
    const int key = data->columnIndex(QStringLiteral("id"));
    EXPECT_FALSE(goods->isColumnHidden(key));
    EXPECT_EQ(goods->horizontalHeader()->visualIndex(key), goods->horizontalHeader()->count() - 1);
    EXPECT_FALSE(goods->model()->index(0, key).flags() & Qt::ItemIsEditable);
    const struct {
        const char* column;
        QString typed;
    } cases[] = {{"mnozstvi", QStringLiteral("dvanact")}, {"mj", QStringLiteral("kilometru a vice")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        const QString before = storedText(
            QStringLiteral("SELECT %1 FROM tbl_zbozi WHERE id=%2").arg(QLatin1String(c.column), id));
        prompts.shown.clear();
        goods->setFocus();
        goods->setCurrentIndex(
            goods->model()->index(data->currentRow(), data->columnIndex(QLatin1String(c.column))));
        QTest::keyClick(goods, Qt::Key_F2); // opens the cell editor
        QTest::keyClicks(QApplication::focusWidget(), c.typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        // The cell is committed and the refusal reported once the editor has closed.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        ASSERT_EQ(prompts.captions(), QStringList{QStringLiteral("Chyba")});
        // The typed text comes back in the cell for correction.
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_TRUE(editor);
        EXPECT_EQ(editor->text(), c.typed);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::processEvents();
        data->cancel();
        EXPECT_EQ(
            storedText(
                QStringLiteral("SELECT %1 FROM tbl_zbozi WHERE id=%2").arg(QLatin1String(c.column), id)),
            before);
    }
}

} // namespace
} // namespace kelvarn

namespace kelvarn {
namespace {

// A list whose statement the database rejects stays closed under "Refresh..." and
// comes back with the next good refresh.
TEST_F(DetailFormsTest, RejectedRefreshLeavesItsTextAndRecovers) {
    showTab(10);
    PanelQuery& partners = window->controller().panelQueries().query(QStringLiteral("FormPartneriSeznam"));
    partners.filterCondition = QStringLiteral("neexistujici_sloupec = 1");
    grid(QStringLiteral("DBGridPartneri"))->setFocus();
    press(Qt::Key_F5);
    EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Chyba")});
    EXPECT_FALSE(dataset(QStringLiteral("ADOFormPartneri"))->isActive());
    auto statusText = [&] { return window->findChild<QLabel*>(QStringLiteral("StatusBar1"))->text(); };
    EXPECT_EQ(statusText(), QStringLiteral("Refresh..."));

    partners.filterCondition.clear();
    grid(QStringLiteral("DBGridPartneri"))->setFocus();
    press(Qt::Key_F5);
    EXPECT_TRUE(dataset(QStringLiteral("ADOFormPartneri"))->isActive());
    EXPECT_TRUE(statusText().startsWith(QStringLiteral("Není aplikován")));
}

} // namespace
} // namespace kelvarn
