#include "ui/module_window_fixture.h"

#include "ui/empty_detail_notice.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>

namespace kelvarn {
namespace {

struct DetailModule {
    int tab;
    const char* container;
    const char* table;
    const char* firstField; // where a new record starts (a column, or the order's memo)
};

const DetailModule kDetails[] = {
    {3, "PanelFAV", "tbl_doklad", "odb_nazev_firmy"},
    {4, "PanelFAP", "tbl_doklad", "cislo_dokladu_puvodni"},
    {5, "PanelPPD", "tbl_doklad", "odb_nazev_firmy"},
    {6, "PanelVPD", "tbl_doklad", "odb_nazev_firmy"},
    {7, "PanelMajetek", "tbl_majetek", "typ"},
    {9, "PanelZbozi", "tbl_zbozi", "kod_zbozi"},
    {10, "PanelPartneri", "tbl_partner", "nazev_firmy"},
    {11, "PanelZakazky", "tbl_zakazka", "DBMemoZakazky"},
};

// The main window at the size it opens with.
class DetailFocusTest : public ModuleWindowFixture {
  protected:
    BoundForm* form(const DetailModule& d) const {
        return window->modulePages().form(QLatin1String(d.container));
    }
    QWidget* notice(const DetailModule& d) const {
        return window->modulePages().emptyNotice(QLatin1String(d.container));
    }
    // The control a new record's typing starts in.
    QWidget* firstField(const DetailModule& d) const {
        const QString name = QLatin1String(d.firstField);
        if (name.startsWith(QLatin1String("DBMemo")))
            return window->findChild<QWidget*>(name);
        return form(d)->editorFor(name);
    }
    void showDetail(const DetailModule& d) {
        showTab(d.tab);
        if (!container(QLatin1String(d.container))->isVisible())
            press(Qt::Key_F9);
        QCoreApplication::processEvents();
    }
    // One row in every document list and in the assets, which the demo lacks.
    void seedDocumentsAndAssets() {
        for (int type = 1; type <= 4; ++type)
            db->session->execute(
                QStringLiteral("INSERT INTO tbl_doklad (id, cislo_dokladu, doklad_typ, odb_nazev_firmy, "
                               "zpusob_uhrady) VALUES (?, ?, ?, 'Stolárna Vysočina', 'hotově')"),
                {type, QStringLiteral("DOC-%1").arg(type), type});
        db->session->execute(QStringLiteral(
            "INSERT INTO tbl_majetek (id, typ, cislo, nazev) VALUES (1, 'HM', 'M-1', 'pila')"));
    }
    // The part of a field the scrolled form shows.
    static bool inSight(QWidget* field) {
        QAbstractScrollArea* area = nullptr;
        for (QWidget* w = field->parentWidget(); w && !area; w = w->parentWidget())
            area = qobject_cast<QAbstractScrollArea*>(w);
        if (!area)
            return field->isVisible();
        const QRect shown(field->mapTo(area->viewport(), QPoint(0, 0)), field->size());
        return area->viewport()->rect().contains(shown);
    }
};

// The toolbar's New on a list whose new row switches to the detail: what the user
// types next lands in the detail's first field, as it does after the Insert key.
TEST_F(DetailFocusTest, ToolbarNewOnAListTypesIntoTheDetail) {
    QAction* insert = window->toolbar().actions.value(QStringLiteral("InsertRecord"));
    ASSERT_TRUE(insert);
    for (const DetailModule& d : {kDetails[4], kDetails[5], kDetails[6], kDetails[7]}) {
        SCOPED_TRACE(d.container);
        showTab(d.tab);
        ASSERT_FALSE(container(QLatin1String(d.container))->isVisible());
        insert->trigger();
        QCoreApplication::processEvents();
        Dataset* ds = form(d)->dataset();
        ASSERT_EQ(ds->state(), Dataset::State::Insert);
        EXPECT_TRUE(container(QLatin1String(d.container))->isVisible());
        QWidget* field = firstField(d);
        ASSERT_TRUE(field);
        EXPECT_EQ(QApplication::focusWidget(), field)
            << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                            : "none");

        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("HM"));
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            EXPECT_EQ(line->text(), QStringLiteral("HM"));
            EXPECT_EQ(ds->asString(QLatin1String(d.firstField)), QStringLiteral("HM"));
        } else {
            EXPECT_EQ(qobject_cast<QPlainTextEdit*>(field)->toPlainText(), QStringLiteral("HM"));
        }
        press(Qt::Key_Escape); // the new record goes, the list comes back
        EXPECT_EQ(ds->state(), Dataset::State::Browse);
    }
}

// F9 on an empty list shows a detail that says it is empty and holds the focus, so
// the panel's keys still work; once a record exists the focus goes where it belongs.
TEST_F(DetailFocusTest, EmptyDetailSaysSoAndKeepsTheFocus) {
    db->session->execute(QStringLiteral("DELETE FROM tbl_zbozi"));
    db->session->execute(QStringLiteral("DELETE FROM tbl_partner"));
    db->session->execute(QStringLiteral("DELETE FROM tbl_zakazka"));
    for (const DetailModule& d : kDetails) {
        SCOPED_TRACE(d.container);
        showTab(d.tab);
        press(Qt::Key_F9);
        ASSERT_TRUE(container(QLatin1String(d.container))->isVisible());
        QWidget* shown = notice(d);
        ASSERT_TRUE(shown);
        EXPECT_TRUE(shown->isVisible());
        EXPECT_EQ(qobject_cast<QLabel*>(shown)->text(), EmptyDetailNotice::text());
        EXPECT_EQ(shown->accessibleName(), EmptyDetailNotice::text());
        EXPECT_FALSE(form(d)->isVisible()) << "no form of disabled fields";
        EXPECT_EQ(QApplication::focusWidget(), shown);
        EXPECT_NE(QApplication::focusWidget(), window->tabBar());
        if (const QString shots = qEnvironmentVariable("KELVARN_SCREENSHOT_DIR"); !shots.isEmpty())
            shoot(shots + QStringLiteral("/empty-%1.png").arg(QLatin1String(d.container)));

        press(Qt::Key_Insert); // a record to show: the form and its first field
        Dataset* ds = form(d)->dataset();
        ASSERT_EQ(ds->state(), Dataset::State::Insert);
        EXPECT_FALSE(shown->isVisible());
        EXPECT_TRUE(form(d)->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), firstField(d));
        press(Qt::Key_Escape);
        EXPECT_EQ(ds->state(), Dataset::State::Browse);
        EXPECT_EQ(rowsIn(QLatin1String(d.table)), 0);
    }
}

TEST_F(DetailFocusTest, DetailWithARecordTakesTheFocusItsTableNames) {
    seedDocumentsAndAssets();
    const struct {
        DetailModule module;
        const char* control; // a grid or memo; "" for the first field
    } cases[] = {
        {kDetails[1], ""},
        {kDetails[2], ""},
        {kDetails[4], "DBGridOdpisy"},
        {kDetails[6], "DBMemoPartneri"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module.container);
        showTab(c.module.tab);
        press(Qt::Key_F9);
        EXPECT_FALSE(notice(c.module)->isVisible());
        QWidget* expected =
            *c.control ? window->findChild<QWidget*>(QLatin1String(c.control)) : firstField(c.module);
        ASSERT_TRUE(expected);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == expected || expected->isAncestorOf(focus))
            << (focus ? focus->objectName().toStdString() : "none");
        press(Qt::Key_F9);
    }
}

// Forms are taller than the window opens: every field, down to the record block at
// the bottom, comes into sight when it gets the focus, however it gets it.
TEST_F(DetailFocusTest, EveryFieldComesIntoSightAtTheOpeningSize) {
    seedDocumentsAndAssets();
    window->resize(window->sizeHint());
    const QString shots = qEnvironmentVariable("KELVARN_SCREENSHOT_DIR");
    for (const DetailModule& d : kDetails) {
        SCOPED_TRACE(d.container);
        showDetail(d);
        BoundForm* f = form(d);
        ASSERT_TRUE(f->showsRecord());
        int fields = 0;
        Dataset* ds = f->dataset();
        for (int c = 0; c < ds->columnCount(); ++c) {
            QWidget* w = f->editorFor(ds->column(c).name);
            if (!w || !w->isEnabled())
                continue;
            w->setFocus(Qt::OtherFocusReason);
            QCoreApplication::processEvents();
            EXPECT_TRUE(inSight(w)) << ds->column(c).name.toStdString();
            ++fields;
        }
        EXPECT_GT(fields, 3);
        QWidget* id = f->editorFor(QStringLiteral("id"));
        ASSERT_TRUE(id);
        id->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
        EXPECT_TRUE(inSight(id)) << "the record block at the bottom";
        if (!shots.isEmpty())
            shoot(shots + QStringLiteral("/focus-%1.png").arg(QLatin1String(d.container)));
        press(Qt::Key_F9);
    }
}

// The bookkeeping block closes every form, after any block of further columns.
TEST_F(DetailFocusTest, RecordBlockComesLast) {
    seedDocumentsAndAssets();
    for (const DetailModule& d : kDetails) {
        SCOPED_TRACE(d.container);
        showDetail(d);
        const QGroupBox* lowest = nullptr;
        for (const QGroupBox* box : form(d)->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
            if (!lowest || box->y() > lowest->y())
                lowest = box;
        ASSERT_TRUE(lowest);
        EXPECT_EQ(lowest->title(), QStringLiteral("Záznam"));
        press(Qt::Key_F9);
    }
}

// The wheel scrolls a form; a selector it passes over keeps its value and starts
// no edit.
TEST_F(DetailFocusTest, WheelOverASelectorScrollsInsteadOfChoosing) {
    seedDocumentsAndAssets();
    const DetailModule& received = kDetails[1];
    showDetail(received);
    auto* payment = qobject_cast<QComboBox*>(form(received)->editorFor(QStringLiteral("zpusob_uhrady")));
    ASSERT_TRUE(payment);
    ASSERT_TRUE(payment->isEnabled());
    const QString before = payment->currentText();
    QAbstractScrollArea* area = nullptr;
    for (QWidget* w = payment->parentWidget(); w && !area; w = w->parentWidget())
        area = qobject_cast<QAbstractScrollArea*>(w);
    ASSERT_TRUE(area);
    area->verticalScrollBar()->setValue(0);
    detailField(QLatin1String(received.container), QStringLiteral("cislo_dokladu_puvodni"))->setFocus();

    const QPointF at(5, 5);
    QWheelEvent wheel(at, payment->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(payment, &wheel);

    EXPECT_EQ(payment->currentText(), before);
    EXPECT_FALSE(form(received)->dataset()->isEditing());
    EXPECT_GT(area->verticalScrollBar()->value(), 0) << "the form scrolled";
}

} // namespace
} // namespace kelvarn
