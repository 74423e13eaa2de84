#include "core/czech_account.h"

#include <gtest/gtest.h>

using namespace kelvarn;

TEST(CzechAccount, ChecksumOfPrefixAndNumberEachOnTheirOwn) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"19-2000145399/0800", true},
        {"2000145399/0800", true},
        {"000019-2000145399/0800", true}, // leading zeros are not significant
        {"19-2000145398/0800", false},    // one digit off in the number
        {"18-2000145399/0800", false},    // one digit off in the prefix
        {"2900145399/0800", false},       // two digits swapped
        {"0000000001/0100", false},       // fewer than two non-zero digits
        {"353497163/0800", true},
    };
    for (const auto& c : cases) {
        const auto account = parseCzechAccount(QString::fromUtf8(c.text));
        ASSERT_TRUE(account) << c.text;
        EXPECT_EQ(hasValidChecksum(*account), c.valid) << c.text;
    }
}

TEST(CzechAccount, ShapesThatAreNoAccount) {
    for (const char* text : {"", "abc", "1234567-123/0800", "12345678901/0800", "123/08000", "-123/0800"})
        EXPECT_FALSE(parseCzechAccount(QString::fromUtf8(text))) << text;
    const auto spaced = parseCzechAccount(QStringLiteral(" 19 - 2000145399 / 0800 "));
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->text(), QStringLiteral("19-2000145399/0800"));
    EXPECT_EQ(spaced->digits16(), QStringLiteral("0000192000145399"));
}

TEST(CzechAccount, IbanFromAndBackToTheAccount) {
    const struct {
        const char* account;
        const char* iban;
    } cases[] = {
        {"19-2000145399/0800", "CZ6508000000192000145399"},
        {"353497163/0800", "CZ0908000000000353497163"},
        {"7894/0800", "CZ3208000000000000007894"},
    };
    for (const auto& c : cases) {
        const auto account = parseCzechAccount(QString::fromUtf8(c.account));
        ASSERT_TRUE(account);
        EXPECT_EQ(czechAccountToIban(*account), QString::fromUtf8(c.iban));
        const auto back = czechAccountFromIban(QString::fromUtf8(c.iban));
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, *account);
    }
    EXPECT_TRUE(czechAccountToIban(*parseCzechAccount(QStringLiteral("2000145399"))).isEmpty());
}

TEST(CzechAccount, IcoChecks) {
    const struct {
        const char* ico;
        bool valid;
    } cases[] = {
        {"00006947", true}, {"6947", true}, {"27082440", true}, {"25596641", true},
        {"27082441", false}, {"00006948", false}, {"123456789", false}, {"2708244X", false},
        {"00000000", false}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isValidIco(QString::fromUtf8(c.ico)), c.valid) << c.ico;
}

TEST(CzechAccount, WarningsNameTheProblemAndLeaveEmptyFieldsAlone) {
    EXPECT_TRUE(accountProblem(QString()).isEmpty());
    EXPECT_TRUE(ibanProblem(QStringLiteral("  ")).isEmpty());
    EXPECT_TRUE(icoProblem(QString()).isEmpty());
    EXPECT_TRUE(accountProblem(QStringLiteral("19-2000145399/0800")).isEmpty());
    EXPECT_TRUE(accountProblem(QStringLiteral("19-2000145398/0800")).contains(QStringLiteral("modulo 11")));
    EXPECT_TRUE(accountProblem(QStringLiteral("2000145399")).contains(QStringLiteral("kód banky")));
    EXPECT_TRUE(accountProblem(QStringLiteral("účet")).contains(QStringLiteral("tvar")));
    EXPECT_FALSE(ibanProblem(QStringLiteral("CZ6608000000192000145399")).isEmpty());
    EXPECT_FALSE(icoProblem(QStringLiteral("27082441")).isEmpty());
}
