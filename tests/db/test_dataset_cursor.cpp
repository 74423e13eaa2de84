#include "core/formatting.h"
#include "db/db_error.h"
#include "platform_fixture.h"

#include <QSqlQuery>

#include <functional>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

const QString kCode = QStringLiteral("kod_zbozi");
const QString kText = QStringLiteral("popis");
const QString kPrice = QStringLiteral("cena_jednotka");
const QString kQuantity = QStringLiteral("mnozstvi");

// Cursor, editing and event rules do not depend on the platform; the embedded
// database is enough to exercise them.
class DatasetCursor : public PlatformTest {
  protected:
    void SetUp() override {
        LocaleConventions::setCurrent(LocaleConventions::czech());
        PlatformTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        const struct {
            const char* code;
            const char* text;
            QVariant price;
            QVariant quantity;
        } goods[] = {
            {"A", "Šroub M6", 2.5, 100}, {"B", "šroubovák", 149.9, QVariant()}, {"C", "Matice", 0.75, 10}};
        for (const auto& g : goods)
            db->session->execute(
                QStringLiteral(
                    "INSERT INTO tbl_zbozi (kod_zbozi, popis, cena_jednotka, mnozstvi) VALUES (?, ?, ?, ?)"),
                {QString::fromUtf8(g.code), QString::fromUtf8(g.text), g.price, g.quantity});
        goodsSet = dataset(QStringLiteral("SELECT * FROM tbl_zbozi ORDER BY kod_zbozi"),
                           QStringLiteral("ADOFormZbozi"));
        goodsSet->open();
        ASSERT_EQ(goodsSet->recordCount(), 3);
    }

    QString code() const { return goodsSet->asString(kCode); }

    int countInDatabase(const QString& where = QStringLiteral("1=1")) {
        QSqlQuery q = db->session->query(QStringLiteral("SELECT count(*) FROM tbl_zbozi WHERE ") + where);
        return q.next() ? q.value(0).toInt() : -1;
    }

    QString storedText(const QString& kod) {
        QSqlQuery q =
            db->session->query(QStringLiteral("SELECT popis FROM tbl_zbozi WHERE kod_zbozi = ?"), {kod});
        return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }

    std::unique_ptr<Dataset> goodsSet;
};

INSTANTIATE_TEST_SUITE_P(Sqlite, DatasetCursor, ::testing::Values(DbPlatform::Jet), platformName);

TEST_P(DatasetCursor, MovesAndBofEof) {
    Dataset& ds = *goodsSet;
    EXPECT_EQ(ds.currentRow(), 0);
    EXPECT_TRUE(ds.bof());
    EXPECT_FALSE(ds.eof());

    // Each step: the operation, then row, bof, eof afterwards.
    const struct {
        const char* op;
        int row;
        bool bof;
        bool eof;
    } steps[] = {
        {"next", 1, false, false}, {"next", 2, false, false},  {"next", 2, false, true},
        {"next", 2, false, true},  {"prior", 1, false, false}, {"prior", 0, false, false},
        {"prior", 0, true, false}, {"last", 2, false, true},   {"first", 0, true, false},
        {"prior", 0, true, false},
    };
    for (const auto& s : steps) {
        const std::string op = s.op;
        if (op == "next")
            ds.next();
        else if (op == "prior")
            ds.prior();
        else if (op == "first")
            ds.first();
        else
            ds.last();
        EXPECT_EQ(ds.currentRow(), s.row) << op;
        EXPECT_EQ(ds.bof(), s.bof) << op << " at " << s.row;
        EXPECT_EQ(ds.eof(), s.eof) << op << " at " << s.row;
    }
}

TEST_P(DatasetCursor, WalkingLoopsVisitEveryRowOnce) {
    Dataset& ds = *goodsSet;
    QStringList forward;
    for (ds.first(); !ds.eof() && forward.size() < 10; ds.next())
        forward << code();
    EXPECT_EQ(forward, (QStringList{"A", "B", "C"}));
    QStringList backward;
    for (ds.last(); !ds.bof() && backward.size() < 10; ds.prior())
        backward << code();
    EXPECT_EQ(backward, (QStringList{"C", "B", "A"}));

    auto one = dataset(QStringLiteral("SELECT * FROM tbl_zbozi WHERE kod_zbozi = 'B'"));
    one->open();
    QStringList single;
    for (one->first(); !one->eof() && single.size() < 10; one->next())
        single << one->asString(kCode);
    EXPECT_EQ(single, QStringList{"B"});

    auto none = dataset(QStringLiteral("SELECT * FROM tbl_zbozi WHERE 1=0"));
    none->open();
    EXPECT_TRUE(none->isEmpty());
    EXPECT_EQ(none->currentRow(), -1);
    EXPECT_TRUE(none->bof());
    EXPECT_TRUE(none->eof());
    none->next();
    none->prior();
    none->last();
    none->first();
    EXPECT_TRUE(none->bof() && none->eof());
    EXPECT_EQ(none->asString(kCode), QString()) << "an empty dataset reads as empty fields";
}

TEST_P(DatasetCursor, MoveToOutOfRangeKeepsThePosition) {
    Dataset& ds = *goodsSet;
    ASSERT_TRUE(ds.moveTo(1));
    for (int row : {-1, 3, 1000}) {
        EXPECT_FALSE(ds.moveTo(row)) << row;
        EXPECT_EQ(ds.currentRow(), 1) << row;
    }
    EXPECT_TRUE(ds.moveTo(2));
    EXPECT_EQ(code(), QStringLiteral("C"));
}

TEST_P(DatasetCursor, Locate) {
    Dataset& ds = *goodsSet;
    const struct {
        const char* what;
        QString column;
        QVariant value;
        LocateOptions options;
        int row; // -1: not found, the position stays
    } cases[] = {
        {"exact text", kCode, QStringLiteral("B"), {}, 1},
        {"exact text is not a prefix match", kText, QStringLiteral("Šroub"), {}, -1},
        {"begins with", kText, QStringLiteral("Šroub"), {true, false}, 0},
        {"begins with, case-sensitive", kText, QStringLiteral("šroub"), {true, false}, 1},
        {"case-insensitive with Czech letters", kText, QStringLiteral("MATICE"), {false, true}, 2},
        {"case-insensitive and partial", kText, QStringLiteral("ŠROUBOV"), {true, true}, 1},
        {"exact, case differs", kText, QStringLiteral("matice"), {}, -1},
        {"float column by number", kPrice, 149.9, {}, 1},
        {"float column by integer", kQuantity, 10, {}, 2},
        {"float column by locale text", kPrice, QStringLiteral("0,75"), {}, 2},
        {"null value", kQuantity, QVariant(), {}, 1},
        {"number not present", kPrice, 3.0, {}, -1},
        {"text not present", kCode, QStringLiteral("Z"), {}, -1},
        {"unknown column", QStringLiteral("neni"), QStringLiteral("A"), {}, -1},
        {"the column name ignores case", QStringLiteral("KOD_ZBOZI"), QStringLiteral("C"), {}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(ds.moveTo(c.row == 0 ? 2 : 0));
        const int before = ds.currentRow();
        EXPECT_EQ(ds.locate(c.column, c.value, c.options), c.row >= 0);
        EXPECT_EQ(ds.currentRow(), c.row >= 0 ? c.row : before);
    }
}

TEST_P(DatasetCursor, BookmarksFollowTheirRows) {
    Dataset& ds = *goodsSet;
    ds.moveTo(1);
    const Dataset::Bookmark b = ds.bookmark();
    ds.moveTo(2);
    const Dataset::Bookmark c = ds.bookmark();
    EXPECT_NE(b, 0u);
    EXPECT_NE(b, c);
    EXPECT_FALSE(ds.bookmarkValid(0));

    ds.first();
    ds.deleteRecord(); // A
    EXPECT_TRUE(ds.bookmarkValid(b));
    EXPECT_EQ(ds.rowOfBookmark(b), 0);
    ASSERT_TRUE(ds.gotoBookmark(c));
    EXPECT_EQ(code(), QStringLiteral("C"));
    ASSERT_TRUE(ds.gotoBookmark(b));
    EXPECT_EQ(code(), QStringLiteral("B"));

    ds.deleteRecord(); // B
    EXPECT_FALSE(ds.bookmarkValid(b));
    EXPECT_EQ(ds.rowOfBookmark(b), -1);
    EXPECT_FALSE(ds.gotoBookmark(b));
    EXPECT_EQ(code(), QStringLiteral("C")) << "a failed jump stays where it was";
    EXPECT_EQ(countInDatabase(), 1);

    ds.append();
    ds.setValue(kCode, QStringLiteral("D"));
    const Dataset::Bookmark d = ds.bookmark();
    ASSERT_TRUE(ds.post());
    EXPECT_EQ(ds.bookmark(), d) << "posting keeps the row's bookmark";
    ds.first();
    ASSERT_TRUE(ds.gotoBookmark(d));
    EXPECT_EQ(code(), QStringLiteral("D"));
}

TEST_P(DatasetCursor, InsertInTheMiddleAndCancelRestoresTheCursor) {
    Dataset& ds = *goodsSet;
    ds.moveTo(1);
    ds.insert();
    EXPECT_EQ(ds.state(), Dataset::State::Insert);
    EXPECT_EQ(ds.recordCount(), 4);
    EXPECT_EQ(ds.currentRow(), 1) << "insert places the new row before the current one";
    EXPECT_EQ(ds.textAt(2, ds.columnIndex(kCode)), QStringLiteral("B"));
    EXPECT_TRUE(ds.isNull(kCode));
    ds.setValue(kCode, QStringLiteral("AB"));
    ds.cancel();
    EXPECT_EQ(ds.state(), Dataset::State::Browse);
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(code(), QStringLiteral("B"));

    ds.first();
    ds.append();
    EXPECT_EQ(ds.currentRow(), 3);
    ds.cancel();
    EXPECT_EQ(code(), QStringLiteral("A")) << "cancelling an append returns to the row it started from";
    EXPECT_EQ(countInDatabase(), 3);

    ds.moveTo(2);
    ds.insert();
    ds.setValue(kCode, QStringLiteral("BC"));
    ASSERT_TRUE(ds.post());
    EXPECT_EQ(ds.currentRow(), 2) << "a posted row stays where it was inserted";
    EXPECT_GT(ds.asInteger(QStringLiteral("id")), 0);
    EXPECT_EQ(ds.textAt(3, ds.columnIndex(kCode)), QStringLiteral("C"));
    EXPECT_EQ(countInDatabase(), 4);
}

TEST_P(DatasetCursor, BeforeHandlersAbortSilently) {
    Dataset& ds = *goodsSet;
    int afterInserts = 0;
    int afterPosts = 0;
    ds.beforeInsert = [](Dataset&) { return false; };
    ds.afterInsert = [&](Dataset&) { ++afterInserts; };
    ds.afterPost = [&](Dataset&) { ++afterPosts; };
    ds.moveTo(1);
    ds.insert();
    ds.append();
    EXPECT_EQ(ds.state(), Dataset::State::Browse);
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.currentRow(), 1);
    EXPECT_EQ(afterInserts, 0);

    ds.beforeInsert = nullptr;
    ds.beforePost = [](Dataset&) { return false; };
    ds.append();
    ds.setValue(kCode, QStringLiteral("D"));
    EXPECT_FALSE(ds.post());
    EXPECT_EQ(ds.state(), Dataset::State::Insert);
    EXPECT_EQ(ds.asString(kCode), QStringLiteral("D")) << "the refused row keeps what was typed";
    EXPECT_EQ(countInDatabase(), 3);
    ds.cancel();

    ds.moveTo(0);
    ds.edit();
    ds.setValue(kText, QStringLiteral("změna"));
    EXPECT_FALSE(ds.post());
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    EXPECT_EQ(storedText(QStringLiteral("A")), QStringLiteral("Šroub M6"));
    EXPECT_EQ(afterPosts, 0);
    EXPECT_EQ(afterInserts, 1);
    ds.cancel();
    EXPECT_EQ(ds.asString(kText), QStringLiteral("Šroub M6"));
}

TEST_P(DatasetCursor, EventsFireInOrder) {
    Dataset& ds = *goodsSet;
    QStringList events;
    ds.beforeInsert = [&](Dataset& d) {
        events << QStringLiteral("BeforeInsert:") + QString::number(d.recordCount());
        return true;
    };
    ds.afterInsert = [&](Dataset& d) {
        // Defaults are filled here: the new row is current and editable.
        events << QStringLiteral("AfterInsert:") + QString::number(d.recordCount());
        d.setValue(kText, QStringLiteral("výchozí"));
    };
    ds.beforePost = [&](Dataset& d) {
        events << QStringLiteral("BeforePost:") + d.asString(kText);
        return true;
    };
    ds.afterPost = [&](Dataset& d) {
        events << QStringLiteral("AfterPost:") + QString::number(static_cast<int>(d.state()));
    };
    ds.afterCancel = [&](Dataset&) { events << QStringLiteral("AfterCancel"); };
    ds.afterDelete = [&](Dataset& d) {
        events << QStringLiteral("AfterDelete:") + QString::number(d.recordCount());
    };

    ds.append();
    ds.setValue(kCode, QStringLiteral("D"));
    ASSERT_TRUE(ds.post());
    ds.edit();
    ds.setValue(kText, QStringLiteral("jiný"));
    ds.cancel();
    ds.deleteRecord();
    const int browse = static_cast<int>(Dataset::State::Browse);
    EXPECT_EQ(events, (QStringList{"BeforeInsert:3", "AfterInsert:4", "BeforePost:výchozí",
                                   "AfterPost:" + QString::number(browse), "AfterCancel", "AfterDelete:3"}));
    EXPECT_EQ(storedText(QStringLiteral("D")), QStringLiteral("<none>"));
}

TEST_P(DatasetCursor, MovingWhileEditingPostsTheRow) {
    Dataset& ds = *goodsSet;
    bool allow = true;
    int posts = 0;
    ds.beforePost = [&](Dataset&) {
        ++posts;
        return allow;
    };
    // Every way of moving posts the edited row first, and stays when that is refused.
    const struct {
        const char* what;
        int from;
        std::function<void(Dataset&)> move;
        int to;
    } moves[] = {
        {"next", 0, [](Dataset& d) { d.next(); }, 1},
        {"prior", 2, [](Dataset& d) { d.prior(); }, 1},
        {"first", 2, [](Dataset& d) { d.first(); }, 0},
        {"last", 0, [](Dataset& d) { d.last(); }, 2},
        {"moveTo", 0, [](Dataset& d) { d.moveTo(2); }, 2},
        {"locate", 2, [](Dataset& d) { d.locate(kCode, QStringLiteral("A")); }, 0},
        {"gotoBookmark", 1, [](Dataset& d) { d.gotoBookmark(d.bookmarkAt(0)); }, 0},
    };
    int n = 0;
    for (const auto& m : moves) {
        SCOPED_TRACE(m.what);
        for (bool allowed : {false, true}) {
            ds.moveTo(m.from);
            const QString kod = code();
            const QString newText = QStringLiteral("upraveno %1").arg(++n);
            ds.edit();
            ds.setValue(kText, newText);
            allow = allowed;
            posts = 0;
            m.move(ds);
            EXPECT_EQ(posts, 1);
            if (allowed) {
                EXPECT_EQ(ds.currentRow(), m.to);
                EXPECT_EQ(ds.state(), Dataset::State::Browse);
                EXPECT_EQ(storedText(kod), newText);
                EXPECT_EQ(ds.textAt(m.from, ds.columnIndex(kText)), newText);
            } else {
                EXPECT_EQ(ds.currentRow(), m.from);
                EXPECT_EQ(ds.state(), Dataset::State::Edit);
                EXPECT_EQ(ds.asString(kText), newText);
                EXPECT_NE(storedText(kod), newText);
                allow = true;
                ASSERT_TRUE(ds.post());
            }
        }
    }
    // At the edge the move goes nowhere, but the edit is still finished.
    ds.last();
    ds.edit();
    ds.setValue(kText, QStringLiteral("konec"));
    ds.next();
    EXPECT_EQ(ds.state(), Dataset::State::Browse);
    EXPECT_EQ(storedText(QStringLiteral("C")), QStringLiteral("konec"));
}

TEST_P(DatasetCursor, ValuesNeedEditingAndTheColumnsType) {
    Dataset& ds = *goodsSet;
    EXPECT_THROW(ds.setValue(kText, QStringLiteral("x")), DbError) << "browse state";
    EXPECT_THROW(ds.setNull(kText), DbError);

    auto trips = dataset(QStringLiteral("SELECT * FROM tbl_knihajizd"), QStringLiteral("ADOFormKnihaJizd"));
    trips->open();
    trips->append();
    const struct {
        const char* column;
        const char* text;
    } bad[] = {
        {"pocet_km", "abc"},    {"pocet_km", "12,5"},   {"pocet_km", "1e30"}, {"datum", "zítra"},
        {"datum", "31.2.2024"}, {"datum", "1.13.2024"}, {"datum", "12,5"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(std::string(b.column) + " <- " + b.text);
        EXPECT_THROW(trips->setValue(QString::fromUtf8(b.column), QString::fromUtf8(b.text)), DbError);
        EXPECT_EQ(trips->state(), Dataset::State::Insert);
        EXPECT_TRUE(trips->isNull(QString::fromUtf8(b.column))) << "a refused value changes nothing";
    }
    EXPECT_THROW(trips->setValue(QStringLiteral("neni"), 1), DbError);

    trips->setValue(QStringLiteral("pocet_km"), QStringLiteral(" 125 "));
    trips->setValue(QStringLiteral("datum"), QStringLiteral("1.3.2024"));
    trips->setValue(QStringLiteral("odkud"), QStringLiteral("Brno"));
    ASSERT_TRUE(trips->post());
    EXPECT_EQ(trips->asInteger(QStringLiteral("pocet_km")), 125);
    EXPECT_EQ(trips->asDateTime(QStringLiteral("datum")), QDateTime(QDate(2024, 3, 1), QTime(0, 0)));

    ds.edit();
    EXPECT_THROW(ds.setValue(kPrice, QStringLiteral("dvě koruny")), DbError);
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    EXPECT_DOUBLE_EQ(ds.asFloat(kPrice), 2.5);
    ds.setValue(kPrice, QStringLiteral("3,25"));
    EXPECT_DOUBLE_EQ(ds.asFloat(kPrice), 3.25);
    ds.setValue(kQuantity, QStringLiteral(""));
    EXPECT_TRUE(ds.isNull(kQuantity)) << "an empty text empties a number";
    ASSERT_TRUE(ds.post());
    QSqlQuery q = db->session->query(
        QStringLiteral("SELECT cena_jednotka, mnozstvi FROM tbl_zbozi WHERE kod_zbozi='A'"));
    ASSERT_TRUE(q.next());
    EXPECT_DOUBLE_EQ(q.value(0).toDouble(), 3.25);
    EXPECT_TRUE(q.value(1).isNull());
}

TEST_P(DatasetCursor, RefreshSeesOtherStatementsAndKeepsTheRowById) {
    Dataset& ds = *goodsSet;
    ds.moveTo(1);
    const qint64 id = ds.asInteger(QStringLiteral("id"));
    db->session->execute(QStringLiteral("INSERT INTO tbl_zbozi (kod_zbozi, popis) VALUES ('0', 'první')"));
    db->session->execute(QStringLiteral("UPDATE tbl_zbozi SET popis = 'jinak' WHERE kod_zbozi = 'B'"));
    EXPECT_EQ(ds.recordCount(), 3) << "a snapshot until refreshed";
    EXPECT_EQ(ds.asString(kText), QStringLiteral("šroubovák"));
    ds.refresh();
    EXPECT_EQ(ds.recordCount(), 4);
    EXPECT_EQ(ds.currentRow(), 2);
    EXPECT_EQ(ds.asInteger(QStringLiteral("id")), id);
    EXPECT_EQ(ds.asString(kText), QStringLiteral("jinak"));

    // The current row vanished: the position stays near where it was.
    db->session->execute(QStringLiteral("DELETE FROM tbl_zbozi WHERE kod_zbozi IN ('B', 'C')"));
    ds.last();
    ds.refresh();
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(ds.currentRow(), 1);

    ds.edit();
    EXPECT_THROW(ds.refresh(), DbError) << "refresh would drop the edit";
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    ds.cancel();

    db->session->execute(QStringLiteral("DELETE FROM tbl_zbozi"));
    ds.refresh();
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(ds.currentRow(), -1);
    EXPECT_TRUE(ds.bof() && ds.eof());
}

TEST_P(DatasetCursor, ReadOnlyRefusesChanges) {
    Dataset& ds = *goodsSet;
    ds.setReadOnly(true);
    ds.moveTo(1);
    EXPECT_THROW(ds.edit(), DbError);
    EXPECT_THROW(ds.insert(), DbError);
    EXPECT_THROW(ds.append(), DbError);
    EXPECT_THROW(ds.deleteRecord(), DbError);
    EXPECT_EQ(ds.state(), Dataset::State::Browse);
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.currentRow(), 1);
    EXPECT_EQ(countInDatabase(), 3);
    ds.next();
    EXPECT_EQ(ds.currentRow(), 2) << "moving is still allowed";
}

TEST_P(DatasetCursor, OldValueDuringEdit) {
    Dataset& ds = *goodsSet;
    ds.edit();
    EXPECT_FALSE(ds.isModified(kPrice));
    ds.setValue(kPrice, 4.0);
    ds.setValue(kText, QStringLiteral("Šroub M8"));
    EXPECT_DOUBLE_EQ(ds.asFloat(kPrice), 4.0);
    EXPECT_DOUBLE_EQ(ds.oldValue(kPrice).toDouble(), 2.5);
    EXPECT_EQ(ds.oldValue(kText).toString(), QStringLiteral("Šroub M6"));
    EXPECT_TRUE(ds.isModified(kPrice));
    EXPECT_FALSE(ds.isModified(kCode));
    ds.setValue(kPrice, 2.5);
    EXPECT_FALSE(ds.isModified(kPrice)) << "back to the old value";
    ASSERT_TRUE(ds.post());
    EXPECT_EQ(ds.oldValue(kText).toString(), QStringLiteral("Šroub M8"))
        << "after the post old equals current";
    EXPECT_THROW(ds.oldValue(QStringLiteral("neni")), DbError);

    ds.append();
    EXPECT_TRUE(ds.oldValue(kText).isNull()) << "a new row has no old values";
    ds.cancel();
}

TEST_P(DatasetCursor, EditOnAnEmptyDatasetStartsAnInsert) {
    auto empty = dataset(QStringLiteral("SELECT * FROM tbl_zbozi WHERE 1=0"));
    int inserts = 0;
    empty->afterInsert = [&](Dataset&) { ++inserts; };
    empty->open();
    empty->edit();
    EXPECT_EQ(empty->state(), Dataset::State::Insert);
    EXPECT_EQ(empty->recordCount(), 1);
    EXPECT_EQ(inserts, 1);
    empty->setValue(kCode, QStringLiteral("E"));
    ASSERT_TRUE(empty->post());
    EXPECT_EQ(countInDatabase(QStringLiteral("kod_zbozi='E'")), 1);

    Dataset closed(*db->session, QStringLiteral("zavreny"));
    closed.setSql(QStringLiteral("SELECT * FROM tbl_zbozi"));
    EXPECT_THROW(closed.edit(), DbError);
    EXPECT_THROW(closed.append(), DbError);
}

TEST_P(DatasetCursor, DetailOfAnUnsavedMasterShowsNoRows) {
    auto assets =
        dataset(QStringLiteral("SELECT * FROM tbl_majetek ORDER BY cislo"), QStringLiteral("ADOFormMajetek"));
    Dataset rows(*db->session, QStringLiteral("ADOFormOdpisy"));
    rows.setTable(QStringLiteral("tbl_odpisy"));
    rows.setMaster(assets.get(), QStringLiteral("id_tbl_majetek"),
                   {QStringLiteral("id_tbl_majetek"), QStringLiteral("rok")});
    assets->open();
    rows.open();
    assets->append();
    assets->setValue(QStringLiteral("cislo"), QStringLiteral("M1"));
    ASSERT_TRUE(assets->post());
    for (const char* year : {"2025", "2024"}) {
        rows.append();
        rows.setValue(QStringLiteral("rok"), QString::fromLatin1(year));
        ASSERT_TRUE(rows.post());
    }
    assets->refresh();
    ASSERT_EQ(rows.recordCount(), 2);
    EXPECT_EQ(rows.asString(QStringLiteral("rok")), QStringLiteral("2024"));

    assets->append();
    EXPECT_EQ(assets->state(), Dataset::State::Insert);
    EXPECT_EQ(rows.recordCount(), 0) << "a master without an id has no detail rows";

    assets->cancel();
    EXPECT_EQ(assets->asString(QStringLiteral("cislo")), QStringLiteral("M1"));
    EXPECT_EQ(rows.recordCount(), 2) << "back on the saved master its rows return";

    // A detail row being edited is saved before the master starts a new row.
    rows.edit();
    rows.setValue(QStringLiteral("odpis"), 1500.0);
    assets->append();
    EXPECT_EQ(rows.recordCount(), 0);
    QSqlQuery q = db->session->query(QStringLiteral("SELECT count(*) FROM tbl_odpisy WHERE odpis = 1500"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
    assets->setValue(QStringLiteral("cislo"), QStringLiteral("M2"));
    ASSERT_TRUE(assets->post());
    EXPECT_EQ(rows.recordCount(), 0) << "the new master has no rows yet";
}

} // namespace
