#include "app/module_datasets.h"
#include "app/shell_controller.h"
#include "core/text_file.h"
#include "db/dataset.h"
#include "db/dataset_table_model.h"
#include "registers/catalogue_rules.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"
#include "support/test_application.h"
#include "ui/calendar_window.h"
#include "ui/date_picker.h"
#include "ui/main_window.h"
#include "ui/module_pages.h"
#include "ui/module_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace kelvarn {
namespace {

class ModulePagesTest : public ModuleWindowFixture {};

TEST_F(ModulePagesTest, EveryModuleShowsItsListWithItsRows) {
    const struct {
        int tab;
        const char* container;
        const char* grid;
        const char* table; // the list's whole table, or null when a condition narrows it
    } lists[] = {
        {1, "PanelHlavniKniha", "DBGridHlavniKniha", "tbl_hlavnikniha"},
        {2, "PanelDPH", "DBGridDPHvstup", nullptr},
        {3, "PanelFVseznam", "DBGridFAV", "tbl_doklad WHERE doklad_typ=1"},
        {4, "PanelFPseznam", "DBGridFAP", "tbl_doklad WHERE doklad_typ=2"},
        {5, "PanelPPDseznam", "DBGridPPD", "tbl_doklad WHERE doklad_typ=3"},
        {6, "PanelVPDseznam", "DBGridVPD", "tbl_doklad WHERE doklad_typ=4"},
        {7, "PanelMajetekseznam", "DBGridMajetek", "tbl_majetek"},
        {8, "PanelKnihaJizd", "DBGridKnihaJizd", "tbl_knihajizd"},
        {9, "PanelZboziSeznam", "DBGridZbozi", "tbl_zbozi"},
        {10, "PanelPartneriSeznam", "DBGridPartneri", "tbl_partner"},
        {11, "PanelZakazkySeznam", "DBGridZakazky", "tbl_zakazka"},
    };
    for (const auto& list : lists) {
        SCOPED_TRACE(list.grid);
        showTab(list.tab);
        DatasetGrid* view = grid(QLatin1String(list.grid));
        ASSERT_TRUE(view);
        EXPECT_TRUE(container(QLatin1String(list.container))->isVisible());
        EXPECT_TRUE(view->isVisible());
        EXPECT_TRUE(view->hasFocus());
        if (list.table) {
            EXPECT_EQ(view->model()->rowCount(), rowsIn(QLatin1String(list.table)));
            EXPECT_EQ(view->accessibleName(), MainWindow::moduleCaptions()[list.tab]);
        }
        EXPECT_EQ(window->recordCountLabel()->text(), QString::number(view->model()->rowCount()));
        EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection);
        EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
    }
    showTab(9);
    EXPECT_EQ(grid(QStringLiteral("DBGridZbozi"))->model()->rowCount(), 4);
    showTab(10);
    EXPECT_EQ(grid(QStringLiteral("DBGridPartneri"))->model()->rowCount(), 3);
    showTab(11);
    EXPECT_EQ(grid(QStringLiteral("DBGridZakazky"))->model()->rowCount(), 2);
    EXPECT_EQ(window->recordCountLabel()->text(), QStringLiteral("2"));

    // The VAT lists are for reading only, even after a refresh.
    showTab(2);
    EXPECT_TRUE(grid(QStringLiteral("DBGridDPHvystup"))->isVisible());
    window->toolbar().actions.value(QStringLiteral("Refresh"))->trigger();
    for (const char* name : {"DBGridDPHvstup", "DBGridDPHvystup"})
        EXPECT_EQ(grid(QLatin1String(name))->editTriggers(), QAbstractItemView::NoEditTriggers) << name;
    EXPECT_TRUE(prompts.shown.isEmpty());

    // Back on the first tab the entrepreneur is the panel again.
    showTab(0);
    EXPECT_EQ(window->controller().currentPanelId(), QStringLiteral("FormPodnikatel"));
    EXPECT_EQ(window->recordCountLabel()->text(), QStringLiteral("1"));
}

TEST_F(ModulePagesTest, F9SwitchesBetweenListAndDetail) {
    showTab(10);
    DatasetGrid* partners = grid(QStringLiteral("DBGridPartneri"));
    partners->setCurrentIndex(partners->model()->index(1, 0));
    const QString name = dataset(QStringLiteral("ADOFormPartneri"))->asString(QStringLiteral("nazev_firmy"));

    press(Qt::Key_F9);
    EXPECT_FALSE(container(QStringLiteral("PanelPartneriSeznam"))->isVisible());
    EXPECT_TRUE(container(QStringLiteral("PanelPartneri"))->isVisible());
    EXPECT_EQ(window->controller().currentPanelId(), QStringLiteral("FormPartneri-detail"));
    QLineEdit* nameField = detailField(QStringLiteral("PanelPartneri"), QStringLiteral("nazev_firmy"));
    ASSERT_TRUE(nameField);
    EXPECT_EQ(nameField->text(), name);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("DBMemoPartneri"));
    EXPECT_EQ(window->recordCountLabel()->text(), QStringLiteral("0"));

    // The module keeps its detail while another one is shown.
    showTab(9);
    showTab(10);
    EXPECT_TRUE(container(QStringLiteral("PanelPartneri"))->isVisible());

    press(Qt::Key_F9);
    EXPECT_TRUE(partners->isVisible());
    EXPECT_TRUE(partners->hasFocus());
    EXPECT_EQ(partners->currentIndex().row(), 1);

    // A double click on the list opens the detail too; F9 on a list-only module does nothing.
    const QRect cell = partners->visualRect(partners->model()->index(0, 1));
    QTest::mouseClick(partners->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(partners->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(container(QStringLiteral("PanelPartneri"))->isVisible());
    showTab(8);
    press(Qt::Key_F9);
    EXPECT_TRUE(grid(QStringLiteral("DBGridKnihaJizd"))->isVisible());
}

TEST_F(ModulePagesTest, InsertButtonStartsAPartnerAndEscCancelsIt) {
    showTab(10);
    Dataset* partners = dataset(QStringLiteral("ADOFormPartneri"));
    window->toolbar().actions.value(QStringLiteral("InsertRecord"))->trigger();
    EXPECT_EQ(partners->state(), Dataset::State::Insert);
    EXPECT_TRUE(container(QStringLiteral("PanelPartneri"))->isVisible());
    QLineEdit* nameField = detailField(QStringLiteral("PanelPartneri"), QStringLiteral("nazev_firmy"));
    ASSERT_TRUE(nameField);
    EXPECT_EQ(nameField->text(), partnerPlaceholderName());
    EXPECT_EQ(nameField->selectedText(), partnerPlaceholderName());
    EXPECT_TRUE(nameField->hasFocus());

    // Commands that would leave the new row are refused while it is unsaved.
    window->toolbar().actions.value(QStringLiteral("NextRecord"))->trigger();
    EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Chyba")});

    press(Qt::Key_Escape);
    EXPECT_EQ(partners->state(), Dataset::State::Browse);
    EXPECT_EQ(partners->recordCount(), 3);
    EXPECT_TRUE(grid(QStringLiteral("DBGridPartneri"))->isVisible());
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_partner")), 3);
}

TEST_F(ModulePagesTest, TypedDetailIsSavedWithCtrlS) {
    showTab(9);
    press(Qt::Key_F9);
    QLineEdit* unit = detailField(QStringLiteral("PanelZbozi"), QStringLiteral("mj"));
    ASSERT_TRUE(unit);
    unit->setFocus();
    unit->selectAll();
    QTest::keyClicks(unit, QStringLiteral("bal"));
    Dataset* goods = dataset(QStringLiteral("ADOFormZbozi"));
    EXPECT_EQ(goods->state(), Dataset::State::Edit);
    const QString id = goods->asString(QStringLiteral("id"));

    QTest::keyClick(unit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(goods->state(), Dataset::State::Browse);
    EXPECT_EQ(storedText(QStringLiteral("SELECT mj FROM tbl_zbozi WHERE id=") + id), QStringLiteral("bal"));
}

TEST_F(ModulePagesTest, TypingIntoACellAndLeavingTheRowPostsIt) {
    showTab(10);
    DatasetGrid* partners = grid(QStringLiteral("DBGridPartneri"));
    Dataset* ds = dataset(QStringLiteral("ADOFormPartneri"));
    const int column = ds->columnIndex(QStringLiteral("mesto"));
    ASSERT_GE(column, 0);
    const QModelIndex cell = partners->model()->index(0, column);
    partners->setCurrentIndex(cell);
    const QString id = ds->asString(QStringLiteral("id"));
    partners->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Znojmo"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits the editor's text queued
    EXPECT_EQ(partners->tableModel()->lastError(), QString());
    EXPECT_EQ(ds->asString(QStringLiteral("mesto")), QStringLiteral("Znojmo"));
    EXPECT_EQ(ds->state(), Dataset::State::Edit);
    EXPECT_NE(storedText(QStringLiteral("SELECT mesto FROM tbl_partner WHERE id=") + id),
              QStringLiteral("Znojmo"));

    QTest::keyClick(partners, Qt::Key_Down);
    EXPECT_EQ(ds->state(), Dataset::State::Browse);
    EXPECT_EQ(ds->currentRow(), 1);
    EXPECT_EQ(storedText(QStringLiteral("SELECT mesto FROM tbl_partner WHERE id=") + id),
              QStringLiteral("Znojmo"));
}

TEST_F(ModulePagesTest, CtrlDelDeletesTheSelectedRowsAfterAYes) {
    showTab(9);
    DatasetGrid* goods = grid(QStringLiteral("DBGridZbozi"));
    Dataset* ds = dataset(QStringLiteral("ADOFormZbozi"));
    goods->setFocus();
    goods->selectRow(1);
    goods->selectionModel()->select(goods->model()->index(3, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString second =
        goods->model()->index(1, ds->columnIndex(QStringLiteral("kod_zbozi"))).data().toString();
    const QString fourth =
        goods->model()->index(3, ds->columnIndex(QStringLiteral("kod_zbozi"))).data().toString();

    prompts.answers = {Answer::No};
    QTest::keyClick(goods, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Dotaz")});
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_zbozi")), 4);

    prompts.answers = {Answer::Yes};
    QTest::keyClick(goods, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_zbozi")), 2);
    EXPECT_EQ(storedText(QStringLiteral("SELECT COUNT(*) FROM tbl_zbozi WHERE kod_zbozi='") + second +
                         QStringLiteral("' OR kod_zbozi='") + fourth + u'\''),
              QStringLiteral("0"));
    EXPECT_EQ(goods->model()->rowCount(), 2);
    EXPECT_EQ(window->recordCountLabel()->text(), QStringLiteral("2"));
    EXPECT_NE(goods->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(ModulePagesTest, InsertKeyInAListGridStartsARowAndEscDropsIt) {
    showTab(8);
    DatasetGrid* trips = grid(QStringLiteral("DBGridKnihaJizd"));
    Dataset* ds = dataset(QStringLiteral("ADOFormKnihaJizd"));
    const int before = ds->recordCount();
    ASSERT_TRUE(trips->hasFocus());
    press(Qt::Key_Insert);
    EXPECT_EQ(ds->state(), Dataset::State::Insert);
    EXPECT_EQ(trips->model()->rowCount(), before + 1);
    EXPECT_EQ(trips->currentIndex().row(), ds->currentRow());
    EXPECT_EQ(window->controller().unsavedPanels(), QStringLiteral("- Kniha jízd\r\n"));

    press(Qt::Key_Escape);
    EXPECT_EQ(ds->state(), Dataset::State::Browse);
    EXPECT_EQ(trips->model()->rowCount(), before);
    EXPECT_EQ(rowsIn(QStringLiteral("tbl_knihajizd")), before);
}

TEST_F(ModulePagesTest, DetailPanelsCarryTheirGridsAndNamedFields) {
    // A detail without a record shows a notice instead; these two have one each.
    db->session->execute(
        QStringLiteral("INSERT INTO tbl_majetek (id, typ, cislo, nazev) VALUES (1, 'HM', 'M-1', 'pila')"));
    db->session->execute(QStringLiteral(
        "INSERT INTO tbl_doklad (id, cislo_dokladu, doklad_typ) VALUES (1, 'FAV-2026-00001', 1)"));
    showTab(7);
    press(Qt::Key_F9);
    EXPECT_TRUE(container(QStringLiteral("PanelMajetek"))->isVisible());
    EXPECT_TRUE(grid(QStringLiteral("DBGridOdpisy"))->isVisible());
    auto* memo = window->findChild<QPlainTextEdit*>(QStringLiteral("DBMemoOdpis"));
    ASSERT_TRUE(memo);
    EXPECT_TRUE(memo->isVisible());
    shoot(QStringLiteral("/tmp/kelvarn-modules-assets-detail.png"));

    showTab(3);
    press(Qt::Key_F9);
    EXPECT_TRUE(grid(QStringLiteral("DBGridFAVpol"))->isVisible());
    shoot(QStringLiteral("/tmp/kelvarn-modules-issued-detail.png"));
    press(Qt::Key_F9);
    shoot(QStringLiteral("/tmp/kelvarn-modules-issued-list.png"));

    showTab(10);
    press(Qt::Key_F9);
    shoot(QStringLiteral("/tmp/kelvarn-modules-partner-detail.png"));
    showTab(2);
    shoot(QStringLiteral("/tmp/kelvarn-modules-vat.png"));
}

TEST_F(ModulePagesTest, SelectionModeKeepsTheTab) {
    showTab(10);
    modules().setSelectionActive(true);
    showTab(3);
    EXPECT_EQ(window->tabBar()->currentIndex(), 10);
    EXPECT_EQ(window->modules()->currentIndex(), 10);
    EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Výběrový režim")});
    modules().setSelectionActive(false);
    showTab(3);
    EXPECT_EQ(window->modules()->currentIndex(), 3);
    EXPECT_EQ(modules().currentTab(), 3);
}

TEST_F(ModulePagesTest, SortButtonsOrderByTheGridsColumn) {
    showTab(9);
    DatasetGrid* goods = grid(QStringLiteral("DBGridZbozi"));
    Dataset* ds = dataset(QStringLiteral("ADOFormZbozi"));
    const int code = ds->columnIndex(QStringLiteral("kod_zbozi"));
    goods->setCurrentIndex(goods->model()->index(1, code));
    const QString id = ds->asString(QStringLiteral("id"));

    window->toolbar().actions.value(QStringLiteral("SortDESC"))->trigger();
    EXPECT_EQ(goods->model()->index(0, code).data().toString(), QStringLiteral("ZIDLE-BUK"));
    EXPECT_EQ(ds->asString(QStringLiteral("id")), id);
    EXPECT_EQ(goods->currentIndex().row(), ds->currentRow());
    window->toolbar().actions.value(QStringLiteral("SortASC"))->trigger();
    EXPECT_EQ(goods->model()->index(0, code).data().toString(), QStringLiteral("DOPRAVA"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

} // namespace
} // namespace kelvarn

namespace kelvarn {
namespace {

// Chooses a day in the date picker as soon as it opens.
void chooseInPicker(const QDate& day) {
    QTimer::singleShot(0, [day] {
        auto* picker = qobject_cast<DatePicker*>(QApplication::activeModalWidget());
        if (!picker)
            return;
        picker->setDate(day);
        picker->accept();
    });
}

TEST_F(ModulePagesTest, F4AndDoubleClickOnADateFieldWriteThePickedDay) {
    showTab(11);
    press(Qt::Key_F9);
    ASSERT_TRUE(container(QStringLiteral("PanelZakazky"))->isVisible());
    QLineEdit* field = detailField(QStringLiteral("PanelZakazky"), QStringLiteral("datum_ukonceni"));
    ASSERT_TRUE(field);
    field->setFocus();
    chooseInPicker(QDate(2026, 5, 7));
    press(Qt::Key_F4);
    Dataset* orders = dataset(QStringLiteral("ADOFormZakazky"));
    EXPECT_EQ(orders->state(), Dataset::State::Edit);
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_ukonceni")).date(), QDate(2026, 5, 7));
    EXPECT_EQ(field->text(), QStringLiteral("7.5.2026"));

    QLineEdit* requested = detailField(QStringLiteral("PanelZakazky"), QStringLiteral("datum_pozadovane"));
    ASSERT_TRUE(requested);
    chooseInPicker(QDate(2026, 6, 30));
    QTest::mouseDClick(requested, Qt::LeftButton);
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_pozadovane")).date(), QDate(2026, 6, 30));
    orders->cancel();
}

TEST_F(ModulePagesTest, CtrlKShowsTheThreeMonthCalendar) {
    QTest::keyClick(window.get(), Qt::Key_K, Qt::ControlModifier);
    auto calendars = window->findChildren<CalendarWindow*>();
    ASSERT_EQ(calendars.size(), 1);
    EXPECT_TRUE(calendars.front()->isVisible());
}

} // namespace
} // namespace kelvarn

namespace kelvarn {
namespace {

TEST_F(ModulePagesTest, ColumnArrangementComesBackInTheNextRun) {
    showTab(10);
    DatasetGrid* partners = grid(QStringLiteral("DBGridPartneri"));
    ASSERT_TRUE(partners);
    Dataset* data = partners->dataset();
    const int city = data->columnIndex(QStringLiteral("mesto"));
    const int code = data->columnIndex(QStringLiteral("kod_partnera"));
    ASSERT_GE(city, 0);
    partners->setColumnWidth(city, 177);
    partners->horizontalHeader()->moveSection(partners->horizontalHeader()->visualIndex(city), 0);
    partners->setColumnHidden(code, true);
    const QString appDir = db->state.appDir;
    prompts.answers = {Answer::Yes, Answer::Yes};
    window.reset(); // the end of the run saves the layouts
    ASSERT_TRUE(QFile::exists(
        gridLayoutPath(appDir, QStringLiteral("administrator"), QStringLiteral("DBGridPartneri"))));

    window = std::make_unique<MainWindow>(prompts, appDir);
    window->setStartOnShow(false);
    window->show();
    ASSERT_TRUE(window->controller().startUp());
    showTab(10);
    partners = grid(QStringLiteral("DBGridPartneri"));
    EXPECT_EQ(partners->columnWidth(city), 177);
    EXPECT_EQ(partners->horizontalHeader()->visualIndex(city), 0);
    EXPECT_TRUE(partners->isColumnHidden(code));
}

} // namespace
} // namespace kelvarn
