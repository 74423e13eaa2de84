#include "app/date_entry.h"
#include "core/formatting.h"
#include "db/dataset.h"
#include "db/db_error.h"
#include "support/db/test_databases.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace kelvarn {
namespace {

const QDate kToday(2026, 12, 9);

// Answers the chooser with a fixed result and records the days it was opened on.
struct ScriptedChooser {
    std::optional<QDate> answer;
    std::vector<QDate> openedOn;

    DateChooser fn() {
        return [this](QDate initial) {
            openedOn.push_back(initial);
            return answer;
        };
    }
};

class DateEntryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LocaleConventions::setCurrent(LocaleConventions::czech());
        db = test::createTestDatabase(DbPlatform::Jet, true);
        ASSERT_TRUE(db);
        db->session->execute(QStringLiteral("DELETE FROM tbl_zakazka"));
        db->session->execute(QStringLiteral(
            "INSERT INTO tbl_zakazka (zakazka, datum_zaevidovani) VALUES ('Z-1', #2026/03/15#)"));
        db->session->execute(QStringLiteral("INSERT INTO tbl_zakazka (zakazka) VALUES ('Z-2')"));
        orders = std::make_unique<Dataset>(*db->session, QStringLiteral("ADOFormZakazky"));
        orders->setSql(QStringLiteral("SELECT * FROM tbl_zakazka ORDER BY zakazka"));
        orders->open();
        ASSERT_EQ(orders->recordCount(), 2);
    }

    QString stored(int row) const {
        return orders->textAt(row, orders->columnIndex(QStringLiteral("datum_zaevidovani")));
    }

    DateFieldOutcome editRegistered(const QString& fieldText) {
        return editDateField(*orders, QStringLiteral("datum_zaevidovani"), fieldText, chooser.fn(), kToday);
    }

    std::unique_ptr<test::TestDatabase> db;
    std::unique_ptr<Dataset> orders;
    ScriptedChooser chooser;
};

TEST(PickDateTest, StartsOnTheFieldDateOrTodayAndReportsOnlyARealChange) {
    LocaleConventions::setCurrent(LocaleConventions::czech());
    ScriptedChooser chooser;

    chooser.answer = QDate(2026, 4, 2);
    EXPECT_EQ(pickDate(QStringLiteral("15.3.2026"), chooser.fn(), kToday), QStringLiteral("2.4.2026"));
    EXPECT_EQ(pickDate(QString(), chooser.fn(), kToday), QStringLiteral("2.4.2026"));
    // A date-time text starts on its day; the answer drops the time.
    EXPECT_EQ(pickDate(QStringLiteral("1.2.2025 10:30:00"), chooser.fn(), kToday),
              QStringLiteral("2.4.2026"));
    ASSERT_EQ(chooser.openedOn.size(), 3u);
    EXPECT_EQ(chooser.openedOn[0], QDate(2026, 3, 15));
    EXPECT_EQ(chooser.openedOn[1], kToday);
    EXPECT_EQ(chooser.openedOn[2], QDate(2025, 2, 1));

    // The day already shown is no change; the same day typed differently is.
    EXPECT_EQ(pickDate(QStringLiteral("2.4.2026"), chooser.fn(), kToday), QString());
    EXPECT_EQ(pickDate(QStringLiteral("02.04.2026"), chooser.fn(), kToday), QStringLiteral("2.4.2026"));

    chooser.answer.reset();
    EXPECT_EQ(pickDate(QStringLiteral("15.3.2026"), chooser.fn(), kToday), QString());
}

TEST(PickDateTest, AFieldTextThatIsNoDateFailsBeforeTheChooserOpens) {
    LocaleConventions::setCurrent(LocaleConventions::czech());
    ScriptedChooser chooser;
    chooser.answer = kToday;
    EXPECT_THROW(pickDate(QStringLiteral("31.2.2026"), chooser.fn(), kToday), DateTextError);
    EXPECT_THROW(pickDate(QStringLiteral("zítra"), chooser.fn(), kToday), DateTextError);
    EXPECT_TRUE(chooser.openedOn.empty());
}

TEST(DateFieldTableTest, OnlyTheDetailDateFieldsQualify) {
    EXPECT_TRUE(isChooserDateField(QStringLiteral("ADOFormFAV"), QStringLiteral("datum_zdanitelne_plneni")));
    EXPECT_TRUE(isChooserDateField(QStringLiteral("adoformfap"), QStringLiteral("DATUM_UPLATNENI_PLNENI")));
    EXPECT_TRUE(isChooserDateField(QStringLiteral("ADOFormVPD"), QStringLiteral("datum_vystaveni")));
    EXPECT_TRUE(isChooserDateField(QStringLiteral("ADOFormMajetek"), QStringLiteral("datum_vyrazeni")));
    EXPECT_FALSE(isChooserDateField(QStringLiteral("ADOFormFAV"), QStringLiteral("datum_uplatneni_plneni")));
    EXPECT_FALSE(isChooserDateField(QStringLiteral("ADOFormPPD"), QStringLiteral("datum_spatnosti")));
    EXPECT_FALSE(isChooserDateField(QStringLiteral("ADOFormFAVpol"), QStringLiteral("datum_vystaveni")));
    EXPECT_EQ(recordKeyColumn(QStringLiteral("ADOFormFAP")), QStringLiteral("cislo_dokladu"));
    EXPECT_EQ(recordKeyColumn(QStringLiteral("ADOFormZakazky")), QStringLiteral("id"));
}

TEST_F(DateEntryTest, ChoosingADayPutsTheBrowsedRecordIntoEditAndWritesIt) {
    chooser.answer = QDate(2026, 4, 2);
    EXPECT_EQ(editRegistered(QStringLiteral("15.3.2026")), DateFieldOutcome::Written);
    EXPECT_EQ(orders->state(), Dataset::State::Edit);
    EXPECT_EQ(chooser.openedOn, std::vector<QDate>{QDate(2026, 3, 15)});
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_zaevidovani")).date(), QDate(2026, 4, 2));

    // Saving goes through the usual post.
    ASSERT_TRUE(orders->post());
    orders->refresh();
    ASSERT_TRUE(orders->locate(QStringLiteral("zakazka"), QStringLiteral("Z-1")));
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_zaevidovani")).date(), QDate(2026, 4, 2));
}

TEST_F(DateEntryTest, CancellingOrChoosingTheShownDayLeavesTheRecordInBrowse) {
    const QString before = stored(0);
    for (const std::optional<QDate>& answer :
         {std::optional<QDate>(), std::optional<QDate>(QDate(2026, 3, 15))}) {
        chooser.answer = answer;
        EXPECT_EQ(editRegistered(QStringLiteral("15.3.2026")), DateFieldOutcome::Unchanged);
        EXPECT_EQ(orders->state(), Dataset::State::Browse);
        EXPECT_EQ(stored(0), before);
    }
    EXPECT_EQ(chooser.openedOn.size(), 2u);
}

TEST_F(DateEntryTest, AnEditInProgressIsKeptWhenNothingIsChosen) {
    orders->edit();
    orders->setValue(QStringLiteral("poznamka"), QStringLiteral("rozpracováno"));
    chooser.answer.reset();
    EXPECT_EQ(editRegistered(QStringLiteral("15.3.2026")), DateFieldOutcome::Unchanged);
    EXPECT_EQ(orders->state(), Dataset::State::Edit);
    EXPECT_EQ(orders->asString(QStringLiteral("poznamka")), QStringLiteral("rozpracováno"));
}

TEST_F(DateEntryTest, AnEmptyFieldOfANewRecordStartsOnToday) {
    orders->append();
    chooser.answer = kToday;
    EXPECT_EQ(editRegistered(QString()), DateFieldOutcome::Written);
    EXPECT_EQ(chooser.openedOn, std::vector<QDate>{kToday});
    EXPECT_EQ(orders->state(), Dataset::State::Insert);
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_zaevidovani")).date(), kToday);
}

TEST_F(DateEntryTest, NothingOpensWithoutARecordToEdit) {
    chooser.answer = kToday;

    orders->setReadOnly(true);
    EXPECT_EQ(editRegistered(QStringLiteral("15.3.2026")), DateFieldOutcome::NoRecord);
    orders->setReadOnly(false);

    orders->close();
    EXPECT_EQ(editRegistered(QString()), DateFieldOutcome::NoRecord);

    db->session->execute(QStringLiteral("DELETE FROM tbl_zakazka"));
    orders->open();
    ASSERT_TRUE(orders->isEmpty());
    EXPECT_EQ(editRegistered(QString()), DateFieldOutcome::NoRecord);
    EXPECT_EQ(orders->state(), Dataset::State::Browse);

    EXPECT_TRUE(chooser.openedOn.empty());
}

TEST_F(DateEntryTest, OtherColumnsAndDatasetsAreNotServed) {
    chooser.answer = kToday;
    EXPECT_EQ(editDateField(*orders, QStringLiteral("poznamka"), QString(), chooser.fn(), kToday),
              DateFieldOutcome::NotServed);
    Dataset other(*db->session, QStringLiteral("ADOFormOther"));
    other.setSql(QStringLiteral("SELECT * FROM tbl_zakazka"));
    other.open();
    EXPECT_EQ(editDateField(other, QStringLiteral("datum_zaevidovani"), QString(), chooser.fn(), kToday),
              DateFieldOutcome::NotServed);
    EXPECT_EQ(orders->state(), Dataset::State::Browse);
    EXPECT_TRUE(chooser.openedOn.empty());
}

TEST_F(DateEntryTest, AFieldTextThatIsNoDateUndoesTheEditItStarted) {
    chooser.answer = kToday;
    const QString before = stored(0);
    EXPECT_THROW(editRegistered(QStringLiteral("15.13.2026")), DateTextError);
    EXPECT_EQ(orders->state(), Dataset::State::Browse);
    EXPECT_EQ(stored(0), before);
    EXPECT_TRUE(chooser.openedOn.empty());
}

TEST(ThreeMonthsTest, TheOuterMonthsCrossTheYearBoundary) {
    LocaleConventions::setCurrent(LocaleConventions::czech());
    const ThreeMonths january = threeMonthsAround(QDate(2027, 1, 20));
    EXPECT_EQ(january.previous, QDate(2026, 12, 1));
    EXPECT_EQ(january.current, QDate(2027, 1, 20));
    EXPECT_EQ(january.next, QDate(2027, 2, 1));
    const ThreeMonths december = threeMonthsAround(QDate(2026, 12, 31));
    EXPECT_EQ(december.previous, QDate(2026, 11, 1));
    EXPECT_EQ(december.next, QDate(2027, 1, 1));
}

TEST(ThreeMonthsTest, EveryDateOrderGetsTheRightMonths) {
    for (const char* format : {"yyyy-MM-dd", "M/d/yyyy"}) {
        LocaleConventions other = LocaleConventions::czech();
        other.shortDateFormat = QLatin1String(format);
        LocaleConventions::setCurrent(other);
        const ThreeMonths june = threeMonthsAround(QDate(2026, 6, 10));
        EXPECT_EQ(june.previous, QDate(2026, 5, 1)) << format;
        EXPECT_EQ(june.next, QDate(2026, 7, 1)) << format;
    }
    LocaleConventions::setCurrent(LocaleConventions::czech());
}

} // namespace
} // namespace kelvarn
