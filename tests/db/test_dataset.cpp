#include "core/formatting.h"
#include "db/dataset_table_model.h"
#include "db/db_error.h"
#include "platform_fixture.h"

#include <QAbstractItemModelTester>
#include <QSqlQuery>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, mi, s));
}

} // namespace

class DatasetRoundTrip : public PlatformTest {};
KELVARN_ON_ALL_PLATFORMS(DatasetRoundTrip);

TEST_P(DatasetRoundTrip, CzechTextMemoNullsAndGeneratedId) {
    auto ds = dataset(QStringLiteral("SELECT * FROM tbl_partner"));
    ds->open();
    ds->append();
    ds->setValue(QStringLiteral("nazev_firmy"), QStringLiteral("Žluťoučký kůň, s.r.o. – Příliš"));
    ds->setValue(QStringLiteral("splatnost_fa"), 14);
    const QString memo = QStringLiteral("Řádek jedna\r\nŘádek dvě: ěščřžýáíé ĚŠČŘŽÝÁÍÉ ůú");
    ds->setValue(QStringLiteral("poznamka_dlouha"), memo);
    ASSERT_TRUE(ds->post());
    const qint64 id = ds->asInteger(QStringLiteral("id"));
    EXPECT_GT(id, 0) << "an inserted row shows its generated id at once";
    EXPECT_FALSE(ds->isNull(QStringLiteral("dateTS0")));

    auto again = dataset(QStringLiteral("SELECT * FROM tbl_partner WHERE id=") + QString::number(id));
    again->open();
    ASSERT_EQ(again->recordCount(), 1);
    EXPECT_EQ(again->asString(QStringLiteral("nazev_firmy")), QStringLiteral("Žluťoučký kůň, s.r.o. – Příliš"));
    EXPECT_EQ(again->asString(QStringLiteral("poznamka_dlouha")), memo);
    EXPECT_EQ(again->asInteger(QStringLiteral("splatnost_fa")), 14);
    EXPECT_TRUE(again->isNull(QStringLiteral("ic")));
    EXPECT_EQ(again->asString(QStringLiteral("ic")), QString());
    EXPECT_EQ(again->asFloat(QStringLiteral("splatnost_fa")), 14.0);
}

TEST_P(DatasetRoundTrip, MoneyAndDatesCompareWithConvertedLiterals) {
    auto ds = dataset(QStringLiteral("SELECT * FROM tbl_doklad"));
    ds->open();
    const struct {
        const char* number;
        QDateTime issued;
        double total;
    } docs[] = {{"FAV-2008-00001", at(2008, 2, 1), 1234.56},
                {"FAV-2008-00002", at(2008, 12, 31), 0.1 + 0.2},
                {"FAV-2009-00001", at(2009, 1, 1, 10, 30, 15), -99999999.99}};
    for (const auto& d : docs) {
        ds->append();
        ds->setValue(QStringLiteral("cislo_dokladu"), QString::fromLatin1(d.number));
        ds->setValue(QStringLiteral("doklad_typ"), 1);
        ds->setValue(QStringLiteral("datum_vystaveni"), d.issued);
        ds->setValue(QStringLiteral("celkem_doklad_s_dph"), d.total);
        ds->setValue(QStringLiteral("kurz"), 25.123456);
        ASSERT_TRUE(ds->post());
    }

    auto count = [&](const QString& filter) {
        auto q = dataset(ctx->composeStatement(QStringLiteral("SELECT * FROM tbl_doklad"), filter,
                                               QStringLiteral("(doklad_typ=1)"), QStringLiteral("cislo_dokladu")));
        q->open();
        return q->recordCount();
    };
    EXPECT_EQ(count(QStringLiteral("datum_vystaveni = '1.2.2008'")), 1) << "a date-only value equals its day";
    EXPECT_EQ(count(QStringLiteral("datum_vystaveni <= '31.12.2008'")), 2) << "the last day of the year is included";
    EXPECT_EQ(count(QStringLiteral("datum_vystaveni >= '01.01.2009'")), 1);
    EXPECT_EQ(count(QStringLiteral("datum_vystaveni < '1.1.2009'")), 2);
    EXPECT_EQ(count(QStringLiteral("UPPER(cislo_dokladu) LIKE 'FAV-2008%'")), 2);

    auto all = dataset(QStringLiteral("SELECT * FROM tbl_doklad ORDER BY cislo_dokladu"));
    all->open();
    ASSERT_EQ(all->recordCount(), 3);
    for (int r = 0; r < 3; ++r) {
        all->moveTo(r);
        EXPECT_EQ(all->asDateTime(QStringLiteral("datum_vystaveni")), docs[r].issued);
        EXPECT_DOUBLE_EQ(all->asFloat(QStringLiteral("celkem_doklad_s_dph")), docs[r].total);
        EXPECT_EQ(all->asFloat(QStringLiteral("kurz")), 25.123456);
    }
}

TEST_P(DatasetRoundTrip, UpdateCriteriaDecideWhichConcurrentChangesWin) {
    auto seed = dataset(QStringLiteral("SELECT * FROM tbl_zbozi"));
    seed->open();
    seed->append();
    seed->setValue(QStringLiteral("popis"), QStringLiteral("Šroub"));
    seed->setValue(QStringLiteral("mj"), QStringLiteral("ks"));
    seed->setValue(QStringLiteral("cena_jednotka"), 2.5);
    ASSERT_TRUE(seed->post());

    // Two snapshots of the same row; the first writer changes one column. Every
    // save also stamps dateTS1, so with criteria 2 the stamp is among the changed
    // columns and any save in between is caught.
    struct Case {
        int criteria;
        const char* secondColumn;
        bool secondSucceeds;
    } cases[] = {{0, "popis", true}, {1, "mj", false}, {2, "popis", false}, {2, "mj", false}, {3, "mj", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "criteria " << c.criteria << " " << c.secondColumn);
        auto a = dataset(QStringLiteral("SELECT * FROM tbl_zbozi"), QStringLiteral("a"));
        auto b = dataset(QStringLiteral("SELECT * FROM tbl_zbozi"), QStringLiteral("b"));
        db->state.updateCriteria = c.criteria;
        // Time stamps have whole seconds; start from an old one so the first writer's differs.
        db->session->execute(QStringLiteral("UPDATE tbl_zbozi SET dateTS1 = ?"), {QVariant(at(2000, 1, 1))});
        a->open();
        b->open();
        a->edit();
        a->setValue(QStringLiteral("popis"), QStringLiteral("Šroub A%1").arg(c.criteria));
        ASSERT_TRUE(a->post());
        b->edit();
        b->setValue(QString::fromLatin1(c.secondColumn), QStringLiteral("B%1").arg(c.criteria));
        if (c.secondSucceeds) {
            EXPECT_TRUE(b->post());
            EXPECT_EQ(b->state(), Dataset::State::Browse);
        } else {
            EXPECT_THROW(b->post(), DbError) << "an update that finds no row is an error";
            EXPECT_EQ(b->state(), Dataset::State::Edit) << "the refused row stays editable";
            b->cancel();
        }
    }
}

TEST_P(DatasetRoundTrip, DeleteAndUpdateOfVanishedRowsFail) {
    auto ds = dataset(QStringLiteral("SELECT * FROM tbl_zakazka"));
    ds->open();
    for (int i = 0; i < 2; ++i) {
        ds->append();
        ds->setValue(QStringLiteral("zakazka"), QStringLiteral("ZAK-2026-0000%1").arg(i + 1));
        ds->setValue(QStringLiteral("datum_zaevidovani"), at(2026, 3, i + 1));
        ASSERT_TRUE(ds->post());
    }
    auto other = dataset(QStringLiteral("SELECT * FROM tbl_zakazka ORDER BY zakazka"));
    other->open();
    ASSERT_EQ(other->recordCount(), 2);
    other->first();
    other->deleteRecord();
    EXPECT_EQ(other->recordCount(), 1);

    auto stale = dataset(QStringLiteral("SELECT * FROM tbl_zakazka ORDER BY zakazka"));
    stale->open();
    ASSERT_EQ(stale->recordCount(), 1);
    ds->refresh();
    ASSERT_EQ(ds->recordCount(), 1);
    other->first();
    other->deleteRecord();
    stale->edit();
    stale->setValue(QStringLiteral("poznamka"), QStringLiteral("x"));
    EXPECT_THROW(stale->post(), DbError);
    stale->cancel();
    EXPECT_THROW(ds->deleteRecord(), DbError);
    EXPECT_EQ(ds->recordCount(), 1) << "a refused delete keeps the row in the list";
}

TEST_P(DatasetRoundTrip, DetailFollowsMasterAndTakesItsId) {
    auto assets = dataset(QStringLiteral("SELECT * FROM tbl_majetek ORDER BY cislo"), QStringLiteral("ADOFormMajetek"));
    Dataset rows(*db->session, QStringLiteral("ADOFormOdpisy"));
    rows.setTable(QStringLiteral("tbl_odpisy"));
    rows.setMaster(assets.get(), QStringLiteral("id_tbl_majetek"), {QStringLiteral("id_tbl_majetek"), QStringLiteral("rok")});
    DbContext* c = ctx.get();
    rows.beforePost = [c](Dataset& d) {
        c->stampRow(d);
        return true;
    };
    assets->open();
    rows.open();
    EXPECT_EQ(rows.recordCount(), 0);
    for (const char* number : {"A1", "A2"}) {
        assets->append();
        assets->setValue(QStringLiteral("typ"), QStringLiteral("hmotný"));
        assets->setValue(QStringLiteral("cislo"), QString::fromLatin1(number));
        assets->setValue(QStringLiteral("vstupni_cena"), 100000.0);
        ASSERT_TRUE(assets->post());
        for (const char* year : {"2027", "2026"}) {
            rows.append();
            rows.setValue(QStringLiteral("rok"), QString::fromLatin1(year));
            rows.setValue(QStringLiteral("odpis"), 1000.0);
            rows.setValue(QStringLiteral("zustatkova_cena"), 99000.0);
            rows.setValue(QStringLiteral("opravky"), 1000.0);
            ASSERT_TRUE(rows.post());
            EXPECT_EQ(rows.asInteger(QStringLiteral("id_tbl_majetek")), assets->asInteger(QStringLiteral("id")));
        }
    }
    assets->first();
    rows.refresh();
    ASSERT_EQ(rows.recordCount(), 2);
    EXPECT_EQ(rows.asString(QStringLiteral("rok")), QStringLiteral("2026")) << "ordered by year";
    assets->last();
    ASSERT_EQ(rows.recordCount(), 2);
    EXPECT_EQ(rows.asInteger(QStringLiteral("id_tbl_majetek")), assets->asInteger(QStringLiteral("id")));
}

// A saved detail row goes at once where a reread would put it, typed in any order and
// also when its key changes; a move by the cursor still reaches the row it was meant for.
TEST_P(DatasetRoundTrip, SavedDetailRowsStandInTheirSortOrder) {
    auto assets = dataset(QStringLiteral("SELECT * FROM tbl_majetek"), QStringLiteral("ADOFormMajetek"));
    Dataset rows(*db->session, QStringLiteral("ADOFormOdpisy"));
    rows.setTable(QStringLiteral("tbl_odpisy"));
    rows.setMaster(assets.get(), QStringLiteral("id_tbl_majetek"), {QStringLiteral("id_tbl_majetek"), QStringLiteral("rok")});
    DbContext* c = ctx.get();
    rows.beforePost = [c](Dataset& d) {
        c->stampRow(d);
        return true;
    };
    assets->open();
    assets->append();
    assets->setValue(QStringLiteral("typ"), QStringLiteral("hmotný"));
    assets->setValue(QStringLiteral("cislo"), QStringLiteral("A1"));
    assets->setValue(QStringLiteral("vstupni_cena"), 100000.0);
    ASSERT_TRUE(assets->post());
    rows.open();
    auto years = [&rows] {
        QStringList out;
        for (int r = 0; r < rows.recordCount(); ++r)
            out << rows.textAt(r, rows.columnIndex(QStringLiteral("rok")));
        return out;
    };
    auto reread = [&] {
        Dataset fresh(*db->session, QStringLiteral("ADOFormOdpisy"));
        fresh.setTable(QStringLiteral("tbl_odpisy"));
        fresh.setMaster(assets.get(), QStringLiteral("id_tbl_majetek"),
                        {QStringLiteral("id_tbl_majetek"), QStringLiteral("rok")});
        fresh.open();
        QStringList out;
        for (int r = 0; r < fresh.recordCount(); ++r)
            out << fresh.textAt(r, fresh.columnIndex(QStringLiteral("rok")));
        return out;
    };
    const struct {
        const char* year; // null: no year
        bool atTheEnd;    // appended rather than inserted before the current row
    } typed[] = {{"2010", false}, {"2008", false}, {"2009", false}, {"2012", true}, {nullptr, true}, {"2011", false}};
    for (const auto& t : typed) {
        SCOPED_TRACE(t.year ? t.year : "null");
        t.atTheEnd ? rows.append() : rows.insert();
        rows.setValue(QStringLiteral("rok"), t.year ? QVariant(QString::fromLatin1(t.year)) : QVariant());
        ASSERT_TRUE(rows.post());
        EXPECT_EQ(years(), reread());
        EXPECT_EQ(rows.asString(QStringLiteral("rok")), QString::fromLatin1(t.year ? t.year : ""));
    }
    EXPECT_EQ(years(), (QStringList{"", "2008", "2009", "2010", "2011", "2012"}));

    // 2008 becomes 2013; moving to the next row lands on 2009, now the first with a year.
    ASSERT_TRUE(rows.moveTo(1));
    rows.edit();
    rows.setValue(QStringLiteral("rok"), QStringLiteral("2013"));
    EXPECT_TRUE(rows.moveTo(2));
    EXPECT_EQ(rows.asString(QStringLiteral("rok")), QStringLiteral("2009"));
    EXPECT_EQ(years(), reread());
}

TEST(DatasetSequences, FirebirdIdsComeFromSequences) {
    KELVARN_REQUIRE_PLATFORM(DbPlatform::Firebird);
    auto db = createTestDatabase(DbPlatform::Firebird);
    ASSERT_TRUE(db);
    ScriptedPrompts prompts;
    DiagnosticLog log;
    auto ctx = std::make_unique<DbContext>(*db->session, db->state, prompts, log);
    const qint64 first = ctx->nextId(QStringLiteral("tbl_doklad"));
    EXPECT_EQ(ctx->nextId(QStringLiteral("tbl_doklad")), first + 1);
    EXPECT_NO_THROW(ctx->nextId(QStringLiteral("tbl_zakazka"))) << "tbl_Zakazky_seq_id exists";
}

TEST_P(DatasetRoundTrip, LookupValueNeedsExactlyOneRow) {
    EXPECT_EQ(ctx->lookupValue(QStringLiteral("tbl_system"), QStringLiteral("verze_databaze"), QStringLiteral("1")),
              QStringLiteral("1.70"));
    EXPECT_EQ(ctx->lookupValue(QStringLiteral("tbl_system"), QStringLiteral("verze_databaze"), QStringLiteral("2")),
              QString());
    EXPECT_EQ(ctx->lookupValue(QStringLiteral("tbl_podnikatel"), QStringLiteral("test"), QStringLiteral("1")),
              QStringLiteral("0"));
    db->session->execute(QStringLiteral("INSERT INTO tbl_filtry (%1nazev, id_panel) VALUES (%2'a', 1)")
                             .arg(GetParam() == DbPlatform::Firebird ? QStringLiteral("id, ") : QString(),
                                  GetParam() == DbPlatform::Firebird ? QStringLiteral("1, ") : QString()));
    EXPECT_EQ(ctx->lookupValue(QStringLiteral("tbl_filtry"), QStringLiteral("nazev"), {}), QStringLiteral("a"));
    db->session->execute(QStringLiteral("INSERT INTO tbl_filtry (%1nazev, id_panel) VALUES (%2'b', 1)")
                             .arg(GetParam() == DbPlatform::Firebird ? QStringLiteral("id, ") : QString(),
                                  GetParam() == DbPlatform::Firebird ? QStringLiteral("2, ") : QString()));
    EXPECT_EQ(ctx->lookupValue(QStringLiteral("tbl_filtry"), QStringLiteral("nazev"), {}), QString())
        << "more than one row answers empty";
}

TEST_P(DatasetRoundTrip, TextSizesAreCharactersOfTheTableWritten) {
    Dataset owner(*db->session, QStringLiteral("ADOFormPodnikatel"));
    owner.setTable(QStringLiteral("tbl_podnikatel"));
    owner.open();
    auto docs = dataset(QStringLiteral("SELECT * FROM tbl_doklad WHERE doklad_typ=1 ORDER BY cislo_dokladu"));
    docs->open();
    auto partners = dataset(QStringLiteral("SELECT * FROM tbl_partner"));
    partners->open();
    auto sizeOf = [](const Dataset& ds, const char* column) {
        return ds.column(ds.columnIndex(QString::fromLatin1(column))).size;
    };
    const struct {
        const Dataset* ds;
        const char* column;
        int size;
    } cases[] = {{&owner, "psc", 6},           {&owner, "platce_dph", 3},          {&owner, "spisova_znacka", 150},
                 {docs.get(), "poznamka", 80}, {docs.get(), "doklad_typ", -1},     {partners.get(), "nazev_firmy", 100},
                 {partners.get(), "poznamka_dlouha", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(sizeOf(*c.ds, c.column), c.size) << c.column;

    // The server sizes are remembered per table; a changed structure is read again.
    const DbPlatform p = GetParam();
    if (p == DbPlatform::MySql || p == DbPlatform::Firebird) {
        db->session->execute(QStringLiteral("ALTER TABLE tbl_podnikatel ") +
                             (p == DbPlatform::MySql ? QStringLiteral("MODIFY psc VARCHAR(8)")
                                                     : QStringLiteral("ALTER psc TYPE VARCHAR(8)")));
        owner.close();
        owner.open();
        EXPECT_EQ(sizeOf(owner, "psc"), 8);
    }
}

TEST_P(DatasetRoundTrip, OverLongTextIsRefusedAndTheRowKeepsWhatWasTyped) {
    auto ds = dataset(QStringLiteral("SELECT * FROM tbl_doklad WHERE doklad_typ=1"));
    ds->open();
    ds->append();
    ds->setValue(QStringLiteral("cislo_dokladu"), QStringLiteral("FAV-2024-00001"));
    ds->setValue(QStringLiteral("doklad_typ"), 1);
    ds->setValue(QStringLiteral("poznamka"), QStringLiteral("Žluťoučký kůň"));
    const QString full = QStringLiteral("ěščřžýáíéů"); // fills VARCHAR(10), twice as many bytes
    try {
        ds->setValue(QStringLiteral("variabilni_symbol"), full + QStringLiteral("ú"));
        ADD_FAILURE() << "an 11th letter was accepted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("nejvýše 10 znaků, zadáno 11"))) << e.text().toStdString();
    }
    EXPECT_EQ(ds->state(), Dataset::State::Insert);
    EXPECT_TRUE(ds->isNull(QStringLiteral("variabilni_symbol"))) << "nothing of the refused text is kept";
    EXPECT_EQ(ds->asString(QStringLiteral("poznamka")), QStringLiteral("Žluťoučký kůň"));
    ds->setValue(QStringLiteral("variabilni_symbol"), full);
    ASSERT_TRUE(ds->post());
    const qint64 id = ds->asInteger(QStringLiteral("id"));

    ds->edit();
    ds->setValue(QStringLiteral("poznamka"), QStringLiteral("Oprava"));
    EXPECT_THROW(ds->setValue(QStringLiteral("odb_psc"), QStringLiteral("110 000")), DbError);
    EXPECT_THROW(ds->setValue(QStringLiteral("odb_psc"), 1234567.0), DbError) << "numbers become text first";
    EXPECT_EQ(ds->state(), Dataset::State::Edit);
    EXPECT_EQ(ds->asString(QStringLiteral("poznamka")), QStringLiteral("Oprava"));
    ASSERT_TRUE(ds->post());

    auto again = dataset(QStringLiteral("SELECT * FROM tbl_doklad WHERE id=") + QString::number(id));
    again->open();
    ASSERT_EQ(again->recordCount(), 1);
    EXPECT_EQ(again->asString(QStringLiteral("variabilni_symbol")), full);
    EXPECT_EQ(again->asString(QStringLiteral("poznamka")), QStringLiteral("Oprava"));
    EXPECT_TRUE(again->isNull(QStringLiteral("odb_psc")));
}
