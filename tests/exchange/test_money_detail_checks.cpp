#include "../db/platform_fixture.h"
#include "exchange/money_detail_checks.h"

using namespace kelvarn;
using namespace kelvarn::test;

class MoneyDetailChecksTest : public PlatformTest {};

TEST_P(MoneyDetailChecksTest, TypoWarnsNamingTheFieldAndSavingStaysPossible) {
    auto partners = dataset(QStringLiteral("SELECT * FROM tbl_partner"));
    partners->setTable(QStringLiteral("tbl_partner"));
    installMoneyDetailChecks(*partners, prompts, partnerMoneyFields());
    partners->open();

    partners->append();
    partners->setValue(QStringLiteral("nazev_firmy"), QStringLiteral("Překlep s.r.o."));
    partners->setValue(QStringLiteral("ic"), QStringLiteral("27082441"));
    partners->setValue(QStringLiteral("cislo_uctu"), QStringLiteral("19-2000145399/0800"));
    partners->setValue(QStringLiteral("cislo_uctu_IBAN"), QStringLiteral("CZ6608000000192000145399"));
    prompts.answers = {Answer::No};
    EXPECT_FALSE(partners->post());
    ASSERT_EQ(prompts.shown.size(), 1);
    const QString text = prompts.shown[0].text;
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Kontrola údajů"));
    EXPECT_TRUE(text.contains(QStringLiteral("IČ „27082441“"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("IBAN „CZ6608000000192000145399“")));
    EXPECT_FALSE(text.contains(QStringLiteral("Číslo účtu"))) << "the account is right";
    EXPECT_EQ(partners->state(), Dataset::State::Insert);

    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(partners->post());
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT ic FROM tbl_partner")), QStringLiteral("27082441"));

    // An old odd value is left alone when something else of the row changes.
    prompts.shown.clear();
    partners->edit();
    partners->setValue(QStringLiteral("mesto"), QStringLiteral("Brno"));
    EXPECT_TRUE(partners->post());
    EXPECT_TRUE(prompts.shown.isEmpty());
    // Correct values pass without a word.
    partners->edit();
    partners->setValue(QStringLiteral("ic"), QStringLiteral("27082440"));
    partners->setValue(QStringLiteral("cislo_uctu_IBAN"), QStringLiteral("CZ65 0800 0000 1920 0014 5399"));
    EXPECT_TRUE(partners->post());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

KELVARN_ON_ALL_PLATFORMS(MoneyDetailChecksTest);
