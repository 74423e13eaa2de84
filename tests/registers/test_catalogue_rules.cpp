#include "registers/catalogue_rules.h"

#include "register_fixture.h"

#include <QDate>

using namespace kelvarn;
using namespace kelvarn::test;

class GoodsRules : public RegisterTest {
  protected:
    void SetUp() override {
        RegisterTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        db->state.vatBasic = 21;
        db->state.defaultItemVat = 0; // not a VAT payer
        goods = table(QStringLiteral("tbl_zbozi"), QStringLiteral("ADOFormZbozi"));
        installGoodsRules(*goods, *ctx, hooks);
        goods->open();
    }
    std::unique_ptr<Dataset> goods;
};
KELVARN_ON_ALL_PLATFORMS(GoodsRules);

TEST_P(GoodsRules, NewGoodTakesTheStandardRateEvenForANonPayer) {
    goods->append();
    EXPECT_DOUBLE_EQ(goods->asFloat(QStringLiteral("dph")), 21);
    EXPECT_EQ(calls, QStringList{QStringLiteral("detail")});
}

TEST_P(GoodsRules, NameUnitAndPriceAreRequiredInThatOrder) {
    goods->append();
    EXPECT_FALSE(goods->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Název")));
    goods->setValue(QStringLiteral("popis"), QStringLiteral("Hoblík"));
    EXPECT_FALSE(goods->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("MJ")));
    goods->setValue(QStringLiteral("mj"), QStringLiteral("ks"));
    EXPECT_FALSE(goods->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Cena za jednotku")));
    EXPECT_EQ(prompts.shown.size(), 3);
    EXPECT_EQ(goods->state(), Dataset::State::Insert);
}

TEST_P(GoodsRules, PricesAreStoredRoundedAndEmptyFeesAsZero) {
    goods->append();
    goods->setValue(QStringLiteral("popis"), QStringLiteral("Hoblík"));
    goods->setValue(QStringLiteral("mj"), QStringLiteral("ks"));
    goods->setValue(QStringLiteral("cena_jednotka"), QStringLiteral("12,34567"));
    goods->setValue(QStringLiteral("cena_poplatek1"), 1.005);
    ASSERT_TRUE(goods->post());
    goods->refresh();
    EXPECT_DOUBLE_EQ(goods->asFloat(QStringLiteral("cena_jednotka")), 12.3457);
    EXPECT_DOUBLE_EQ(goods->asFloat(QStringLiteral("cena_poplatek1")), 1.0) << "a decimal half goes to even";
    EXPECT_FALSE(goods->isNull(QStringLiteral("cena_poplatek2")));
    EXPECT_DOUBLE_EQ(goods->asFloat(QStringLiteral("cena_poplatek2")), 0);

    goods->edit();
    goods->setValue(QStringLiteral("cena_poplatek2"), 7.456);
    ASSERT_TRUE(goods->post());
    goods->refresh();
    EXPECT_DOUBLE_EQ(goods->asFloat(QStringLiteral("cena_poplatek2")), 7.46);
}

class PartnerRules : public RegisterTest {
  protected:
    void SetUp() override {
        RegisterTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        partners = table(QStringLiteral("tbl_partner"), QStringLiteral("ADOFormPartneri"));
        installPartnerRules(*partners, *ctx, hooks);
        partners->open();
    }
    std::unique_ptr<Dataset> partners;
};
KELVARN_ON_ALL_PLATFORMS(PartnerRules);

TEST_P(PartnerRules, AnUnchangedPlaceholderIsSavedAsTheName) {
    partners->append();
    EXPECT_EQ(partners->asString(QStringLiteral("nazev_firmy")), QStringLiteral("Název obchodního partnera"));
    EXPECT_TRUE(partnerNameIsPlaceholder(*partners));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("detail"), QStringLiteral("select nazev_firmy")}));
    ASSERT_TRUE(partners->post());
    partners->refresh();
    EXPECT_EQ(partners->asString(QStringLiteral("nazev_firmy")), QStringLiteral("Název obchodního partnera"));
}

TEST_P(PartnerRules, AClearedNameIsRefused) {
    partners->append();
    partners->setValue(QStringLiteral("nazev_firmy"), QString());
    EXPECT_FALSE(partnerNameIsPlaceholder(*partners));
    EXPECT_FALSE(partners->post());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Povinné pole"));
    EXPECT_EQ(lastText(), required(QStringLiteral("Název obchodního partnera")));
    EXPECT_EQ(partners->state(), Dataset::State::Insert);
    partners->setValue(QStringLiteral("nazev_firmy"), QStringLiteral("Stavby Novák s.r.o."));
    EXPECT_TRUE(partners->post());
}

class OrderRules : public RegisterTest {
  protected:
    void SetUp() override {
        RegisterTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        orders = table(QStringLiteral("tbl_zakazka"), QStringLiteral("ADOFormZakazky"));
        installOrderRules(*orders, *ctx, hooks);
        orders->open();
    }

    QString saveOrderReceived(const QDate& date) {
        orders->append();
        orders->setValue(QStringLiteral("datum_zaevidovani"), QDateTime(date, QTime(0, 0)));
        EXPECT_TRUE(orders->post());
        return orders->asString(QStringLiteral("zakazka"));
    }

    std::unique_ptr<Dataset> orders;
};
KELVARN_ON_ALL_PLATFORMS(OrderRules);

TEST_P(OrderRules, NewOrderIsReceivedToday) {
    orders->append();
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_zaevidovani")),
              QDateTime(QDate::currentDate(), QTime(0, 0)));
    EXPECT_EQ(calls, QStringList{QStringLiteral("detail")});
    orders->setNull(QStringLiteral("datum_zaevidovani"));
    EXPECT_FALSE(orders->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Datum přijetí")));
    EXPECT_TRUE(orders->asString(QStringLiteral("zakazka")).isEmpty()) << "no number for a refused order";
}

TEST_P(OrderRules, UnlabelledOrdersAreNumberedPerYearOfReceipt) {
    EXPECT_EQ(saveOrderReceived(QDate(2010, 5, 1)), QStringLiteral("ZAK-2010-00001"));
    EXPECT_EQ(saveOrderReceived(QDate(2010, 12, 31)), QStringLiteral("ZAK-2010-00002"));
    EXPECT_EQ(saveOrderReceived(QDate(2011, 1, 3)), QStringLiteral("ZAK-2011-00001"));

    orders->append();
    orders->setValue(QStringLiteral("datum_zaevidovani"), QDateTime(QDate(2010, 6, 1), QTime(0, 0)));
    orders->setValue(QStringLiteral("zakazka"), QStringLiteral("Střecha Novák"));
    ASSERT_TRUE(orders->post());
    EXPECT_EQ(orders->asString(QStringLiteral("zakazka")), QStringLiteral("Střecha Novák"));
    EXPECT_EQ(saveOrderReceived(QDate(2010, 7, 1)), QStringLiteral("ZAK-2010-00003"))
        << "a typed label takes no number; orders never ask about gaps";
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_P(OrderRules, OnlyChangedDatesLoseTheirTimeOfDay) {
    const QDateTime withTime(QDate(2010, 3, 4), QTime(14, 30));
    orders->append();
    orders->setValue(QStringLiteral("datum_zaevidovani"), withTime);
    orders->setValue(QStringLiteral("datum_pozadovane"), withTime);
    ASSERT_TRUE(orders->post());
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_zaevidovani")),
              QDateTime(QDate(2010, 3, 4), QTime(0, 0)));

    // A time written by another program (or a script) must survive an edit that
    // does not touch the date.
    Dataset raw(*db->session, QStringLiteral("raw"));
    raw.setTable(QStringLiteral("tbl_zakazka"));
    raw.open();
    raw.edit();
    raw.setValue(QStringLiteral("datum_zaevidovani"), withTime);
    raw.setValue(QStringLiteral("datum_ukonceni"), withTime);
    ASSERT_TRUE(raw.post());

    orders->refresh();
    orders->edit();
    orders->setValue(QStringLiteral("poznamka"), QStringLiteral("jen poznámka"));
    orders->setValue(QStringLiteral("datum_fakturace"), withTime.addDays(1));
    ASSERT_TRUE(orders->post());
    orders->refresh();
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_zaevidovani")), withTime);
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_ukonceni")), withTime);
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_fakturace")),
              QDateTime(QDate(2010, 3, 5), QTime(0, 0)));
    EXPECT_EQ(orders->asDateTime(QStringLiteral("datum_pozadovane")),
              QDateTime(QDate(2010, 3, 4), QTime(0, 0)));
    EXPECT_EQ(orders->asString(QStringLiteral("zakazka")), QStringLiteral("ZAK-2010-00001"));
}
