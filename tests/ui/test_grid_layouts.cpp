#include "ui/module_window_fixture.h"

#include "lists/grid_layout.h"

#include <QDateTime>
#include <QHeaderView>

namespace kelvarn {
namespace {

// What the user sees of a grid's columns: in display order, each shown column with
// its title and width, and which columns are hidden.
struct Arrangement {
    QStringList shown; // "column|title|width"
    QStringList hidden;

    bool operator==(const Arrangement&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Arrangement& a) {
    return out << "shown: " << a.shown.join(QStringLiteral(", ")).toStdString()
               << "; hidden: " << a.hidden.join(QStringLiteral(", ")).toStdString();
}

Arrangement arrangementOf(const DatasetGrid* view) {
    Arrangement a;
    const QHeaderView* header = view->horizontalHeader();
    Dataset* data = view->dataset();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        const QString name = data->column(logical).name;
        if (view->isColumnHidden(logical))
            a.hidden << name;
        else
            a.shown << QStringLiteral("%1|%2|%3")
                           .arg(name, view->model()->headerData(logical, Qt::Horizontal).toString())
                           .arg(view->columnWidth(logical));
    }
    return a;
}

// The width the rows in sight need in a column.
int contentWidth(const DatasetGrid* view, int column) {
    return static_cast<const QAbstractItemView*>(view)->sizeHintForColumn(column);
}

class GridLayoutsTest : public ModuleWindowFixture {
  protected:
    void seedTrips() {
        const QVariant day = QDateTime(QDate(2026, 1, 5), QTime(0, 0));
        for (const char* statement :
             {"INSERT INTO tbl_knihajizd (datum, odkud, kam, ucel, pocet_km, spz, ridic) "
              "VALUES (?, 'Havlíčkův Brod', 'České Budějovice', 'jednání s dodavatelem', 205, '1B2 3456', "
              "'Jiří Dvořák')",
              "INSERT INTO tbl_knihajizd (datum, odkud, kam, ucel, pocet_km, spz, ridic) "
              "VALUES (?, 'České Budějovice', 'Havlíčkův Brod', 'návrat', 205, '1B2 3456', 'Jiří Dvořák')"}) {
            db->session->execute(QString::fromUtf8(statement), {day});
        }
    }
    // Restarts the program on the same folder, as the user's next run; optionally with
    // the layouts of this run thrown away.
    void nextRun(bool forgetLayouts = false) {
        const QString appDir = db->state.appDir;
        prompts.answers = {Answer::Yes, Answer::Yes};
        window.reset(); // the end of the run saves the layouts
        for (const QString& file : QDir(appDir).entryList({QStringLiteral("*.sav")}))
            if (forgetLayouts)
                QFile::remove(appDir + file);
        window = std::make_unique<MainWindow>(prompts, appDir);
        window->setStartOnShow(false);
        window->show();
        ASSERT_TRUE(window->controller().startUp());
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QString layoutFile(const char* gridName) const {
        return gridLayoutPath(db->state.appDir, QStringLiteral("administrator"), QLatin1String(gridName));
    }
};

// Rereading or sorting a list replaces its rows, never the user's view of them:
// order, widths, titles and hidden columns stay exactly as they were, and the
// technical columns never come into sight. Set KELVARN_SCREENSHOT_DIR to keep a
// picture of each list after the keys, for a look by eye.
TEST_F(GridLayoutsTest, RefreshAndSortKeepTheArrangement) {
    seedTrips();
    const struct {
        int tab;
        const char* grid;
        const char* sortColumn;
        const char* technical; // a column the list never shows
    } lists[] = {
        {9, "DBGridZbozi", "popis", "popis_dlouhy"},
        {10, "DBGridPartneri", "mesto", "dateTS0"},
        {8, "DBGridKnihaJizd", "odkud", "dateTS1"},
    };
    for (const auto& list : lists) {
        SCOPED_TRACE(list.grid);
        showTab(list.tab);
        DatasetGrid* view = grid(QLatin1String(list.grid));
        ASSERT_TRUE(view);
        Dataset* data = view->dataset();
        const int sortBy = data->columnIndex(QLatin1String(list.sortColumn));
        ASSERT_GE(sortBy, 0);
        ASSERT_TRUE(view->isColumnHidden(data->columnIndex(QLatin1String(list.technical))));
        // The user's own touch: one column wider, one moved to the front.
        view->setColumnWidth(sortBy, 211);
        view->horizontalHeader()->moveSection(view->horizontalHeader()->visualIndex(sortBy), 0);
        const Arrangement before = arrangementOf(view);
        const QString id = data->asString(QStringLiteral("id"));

        for (const Qt::Key key : {Qt::Key_F5, Qt::Key_F11, Qt::Key_F5, Qt::Key_F12, Qt::Key_F5}) {
            SCOPED_TRACE(QTest::toString(key));
            view->setFocus();
            view->setCurrentIndex(view->model()->index(data->currentRow(), sortBy));
            press(key);
            EXPECT_EQ(arrangementOf(view), before);
            EXPECT_EQ(data->asString(QStringLiteral("id")), id);
        }
        EXPECT_TRUE(prompts.shown.isEmpty());
        if (const QString shots = qEnvironmentVariable("KELVARN_SCREENSHOT_DIR"); !shots.isEmpty())
            shoot(shots + QLatin1Char('/') + QLatin1String(list.grid) + QStringLiteral("-after-keys.png"));
    }
}

// A list that opened empty sizes its columns by the first rows that come, however
// they come, so a date or a name is not cut to its column's title.
TEST_F(GridLayoutsTest, AListThatOpenedEmptyFitsItsColumnsToTheFirstRows) {
    const char* ways[] = {"typed", "reread"};
    for (const char* way : ways) {
        SCOPED_TRACE(way);
        if (window->controller().modules().dataset(QStringLiteral("ADOFormKnihaJizd"))->isActive())
            nextRun(true); // a fresh run, where the list opens empty again
        db->session->execute(QStringLiteral("DELETE FROM tbl_knihajizd"));
        showTab(8);
        DatasetGrid* view = grid(QStringLiteral("DBGridKnihaJizd"));
        Dataset* trips = view->dataset();
        ASSERT_EQ(trips->recordCount(), 0);
        if (QLatin1String(way) == QLatin1String("reread")) {
            seedTrips();
            view->setFocus();
            press(Qt::Key_F5);
        } else {
            view->setFocus();
            press(Qt::Key_Insert);
            view->enterColumn(QStringLiteral("pocet_km"));
            view->edit(view->currentIndex());
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
            prompts.answers = {Answer::Yes};
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
            QTest::keyRelease(window.get(), Qt::Key_Control);
        }
        ASSERT_GE(trips->recordCount(), 1);
        ASSERT_EQ(trips->state(), Dataset::State::Browse);
        for (const char* column : {"datum", "ridic", "spz"}) {
            const int c = trips->columnIndex(QLatin1String(column));
            EXPECT_EQ(view->columnWidth(c),
                      std::max(contentWidth(view, c), view->horizontalHeader()->sectionSizeHint(c)))
                << column;
        }
        if (const QString shots = qEnvironmentVariable("KELVARN_SCREENSHOT_DIR"); !shots.isEmpty())
            shoot(shots + QStringLiteral("/DBGridKnihaJizd-first-rows-") + QLatin1String(way) +
                  QStringLiteral(".png"));
    }
}

// Only an arrangement the user made in the run is written at its end: an untouched
// grid leaves no file, nor changes one of an earlier run; a touched one keeps the
// user's widths and leaves the widths the grid chose itself to the next run.
TEST_F(GridLayoutsTest, OnlyTheUsersArrangementIsWritten) {
    const QString file = layoutFile("DBGridPartneri");
    showTab(10);
    nextRun();
    EXPECT_FALSE(QFile::exists(file)) << "the list was opened but not arranged";

    showTab(10);
    DatasetGrid* view = grid(QStringLiteral("DBGridPartneri"));
    Dataset* partners = view->dataset();
    const int city = partners->columnIndex(QStringLiteral("mesto"));
    view->setColumnWidth(city, 177);
    nextRun();
    std::optional<GridLayout> saved = loadGridLayout(file);
    ASSERT_TRUE(saved);
    for (const GridColumn& column : saved->columns) {
        SCOPED_TRACE(column.field.toStdString());
        EXPECT_EQ(column.width, column.field == QLatin1String("mesto") ? 177 : 0);
        EXPECT_TRUE(column.title.isEmpty());
    }
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray written = before.readAll();
    before.close();

    // The next run shows the user's width, fits the rest and, untouched, writes nothing.
    showTab(10);
    view = grid(QStringLiteral("DBGridPartneri"));
    EXPECT_EQ(view->columnWidth(city), 177);
    const int name = view->dataset()->columnIndex(QStringLiteral("nazev_firmy"));
    EXPECT_GE(view->columnWidth(name), contentWidth(view, name));
    view->setFocus();
    press(Qt::Key_F5);
    nextRun();
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), written);
}

// A layout that shows the technical columns no user can bring into sight was written
// by a damaged grid; it is passed over for the grid's own columns, and said so in
// the debug log.
TEST_F(GridLayoutsTest, ALayoutShowingTechnicalColumnsIsPassedOver) {
    showTab(9);
    DatasetGrid* view = grid(QStringLiteral("DBGridZbozi"));
    const Arrangement builtIn = arrangementOf(view);
    GridLayout damaged;
    for (int c = 0; c < view->dataset()->columnCount(); ++c)
        damaged.columns.append({view->dataset()->column(c).name, view->dataset()->column(c).name, 100, true});
    const QString file = layoutFile("DBGridZbozi");
    nextRun();
    ASSERT_TRUE(saveGridLayout(file, damaged));
    nextRun();
    showTab(9);
    view = grid(QStringLiteral("DBGridZbozi"));
    EXPECT_EQ(arrangementOf(view), builtIn);
    EXPECT_TRUE(window->controller().log().text().contains(file));
    EXPECT_TRUE(window->controller().log().text().contains(QStringLiteral("dateTS0")));
}

} // namespace
} // namespace kelvarn
