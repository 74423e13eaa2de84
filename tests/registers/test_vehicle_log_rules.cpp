#include "registers/vehicle_log_rules.h"

#include "db/db_error.h"
#include "register_fixture.h"

#include <QDate>

using namespace kelvarn;
using namespace kelvarn::test;

class VehicleLogRules : public RegisterTest {
  protected:
    void SetUp() override {
        RegisterTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        entrepreneur = table(QStringLiteral("tbl_podnikatel"), QStringLiteral("ADOFormPodnikatel"));
        trips = table(QStringLiteral("tbl_knihajizd"), QStringLiteral("ADOFormKnihaJizd"));
        installVehicleLogRules(*trips, *entrepreneur, *ctx, hooks);
        trips->open();
    }

    void setDefaults(const QString& spz, const QString& driver) {
        entrepreneur->open();
        entrepreneur->edit();
        entrepreneur->setValue(QStringLiteral("spz"), spz);
        entrepreneur->setValue(QStringLiteral("ridic"), driver);
        ASSERT_TRUE(entrepreneur->post());
    }

    void newTrip(const QVariant& start, const QVariant& end, const QVariant& typed) {
        trips->append();
        trips->setValue(QStringLiteral("spz"), QStringLiteral("1A2 3456"));
        trips->setValue(QStringLiteral("ridic"), QStringLiteral("Jan"));
        trips->setValue(QStringLiteral("start_stav"), start);
        trips->setValue(QStringLiteral("end_stav"), end);
        trips->setValue(QStringLiteral("pocet_km"), typed);
    }

    std::unique_ptr<Dataset> entrepreneur;
    std::unique_ptr<Dataset> trips;
};
KELVARN_ON_ALL_PLATFORMS(VehicleLogRules);

TEST_P(VehicleLogRules, NewTripTakesTodayAndTheEntrepreneursVehicleAndDriver) {
    setDefaults(QStringLiteral("4B5 6789"), QStringLiteral("Petr Dvořák"));
    trips->append();
    EXPECT_EQ(trips->asDateTime(QStringLiteral("datum")), QDateTime(QDate::currentDate(), QTime(0, 0)));
    EXPECT_EQ(trips->asString(QStringLiteral("spz")), QStringLiteral("4B5 6789"));
    EXPECT_EQ(trips->asString(QStringLiteral("ridic")), QStringLiteral("Petr Dvořák"));
    trips->setValue(QStringLiteral("pocet_km"), 12);
    ASSERT_TRUE(trips->post());
    EXPECT_EQ(calls, QStringList{QStringLiteral("status")});
}

TEST_P(VehicleLogRules, DefaultsComeFromTheStoredRecordWhenItsModuleIsClosed) {
    setDefaults(QStringLiteral("4B5 6789"), QStringLiteral("Petr"));
    entrepreneur->close();
    trips->append();
    EXPECT_EQ(trips->asString(QStringLiteral("spz")), QStringLiteral("4B5 6789"));
    EXPECT_EQ(trips->asString(QStringLiteral("ridic")), QStringLiteral("Petr"));
}

TEST_P(VehicleLogRules, EmptyDefaultsLeaveTheFieldsEmptyAndTheSaveAsks) {
    setDefaults(QString(), QString());
    trips->append();
    EXPECT_TRUE(trips->asString(QStringLiteral("spz")).isEmpty());
    EXPECT_TRUE(trips->asString(QStringLiteral("ridic")).isEmpty());
    trips->setValue(QStringLiteral("pocet_km"), 5);
    EXPECT_FALSE(trips->post());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Povinné pole"));
    EXPECT_EQ(lastText(), required(QStringLiteral("SPZ vozidla")));
    trips->setValue(QStringLiteral("spz"), QStringLiteral("1A2 3456"));
    EXPECT_FALSE(trips->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Řidič")));
    trips->setNull(QStringLiteral("datum"));
    EXPECT_FALSE(trips->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Datum")));
    EXPECT_EQ(trips->state(), Dataset::State::Insert);
}

TEST_P(VehicleLogRules, DistanceComesFromTheReadingsWhenBothAreGiven) {
    newTrip(12000, 12150, 3);
    ASSERT_TRUE(trips->post());
    trips->refresh();
    EXPECT_EQ(trips->asInteger(QStringLiteral("pocet_km")), 150) << "the typed distance is replaced";

    newTrip(12150, 12000, QVariant());
    ASSERT_TRUE(trips->post());
    EXPECT_EQ(trips->asInteger(QStringLiteral("pocet_km")), -150) << "swapped readings are kept negative";

    newTrip(12000, QVariant(), 40);
    ASSERT_TRUE(trips->post());
    EXPECT_EQ(trips->asInteger(QStringLiteral("pocet_km")), 40) << "one reading: the typed distance stays";

    newTrip(12000, QVariant(), QVariant());
    EXPECT_FALSE(trips->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Ujeto [km]")));
}

TEST_P(VehicleLogRules, DerivedDistanceStaysWhenACheckRefusesButNotWhenTheUserDeclines) {
    askBeforeSaving();
    newTrip(100, 180, QVariant());
    prompts.answers = {Answer::No};
    EXPECT_FALSE(trips->post());
    EXPECT_TRUE(trips->isNull(QStringLiteral("pocet_km"))) << "a declined save changes nothing";
    EXPECT_EQ(prompts.shown.size(), 1);

    trips->setNull(QStringLiteral("ridic"));
    EXPECT_FALSE(trips->post());
    EXPECT_EQ(trips->asInteger(QStringLiteral("pocet_km")), 80);
    ASSERT_EQ(prompts.shown.size(), 3) << "message 8 once, then message 19";
    EXPECT_EQ(lastText(), required(QStringLiteral("Řidič")));

    trips->setValue(QStringLiteral("ridic"), QStringLiteral("Jan"));
    ASSERT_TRUE(trips->post());
    EXPECT_EQ(prompts.shown.size(), 4) << "one question per save";
}

TEST_P(VehicleLogRules, LettersInANumberFieldAreRefusedAndTheRowStaysEditable) {
    newTrip(100, QVariant(), QVariant());
    EXPECT_THROW(trips->setValue(QStringLiteral("end_stav"), QStringLiteral("dvě stě")), DbError);
    EXPECT_EQ(trips->state(), Dataset::State::Insert);
    EXPECT_TRUE(trips->isNull(QStringLiteral("end_stav")));
    trips->setValue(QStringLiteral("end_stav"), QStringLiteral("200"));
    ASSERT_TRUE(trips->post());
    EXPECT_EQ(trips->asInteger(QStringLiteral("pocet_km")), 100);
}
