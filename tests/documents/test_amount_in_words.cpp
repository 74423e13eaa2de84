#include "documents/amount_in_words.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kelvarn;

namespace {

QString wordsOf(qint64 amount) {
    return amountInWords(amount).value_or(QStringLiteral("<none>"));
}

} // namespace

TEST(AmountInWords, GroupsTheirNamesAndTheLeadingHundred) {
    // clang-format off
    const struct { qint64 amount; const char* words; } cases[] = {
        // The voucher table.
        {0, "Nula"}, {1, "Jedna"}, {2, "Dvě"}, {12, "Dvanáct"}, {100, "Jednosto"}, {101, "Jednostojedna"},
        {200, "Dvěstě"}, {850, "Osmsetpadesát"}, {1000, "Jedentisíc"}, {1100, "Jedentisícsto"},
        {4000, "Čtyřitisíce"}, {6000, "Šesttisíc"}, {11000, "Jedenácttisíc"}, {100000, "Jednostotisíc"},
        {1000000, "Jedenmilion"}, {3000000, "Třimiliony"}, {1000000000, "Jednamiliarda"},
        // Hundreds, tens and units run together; units and billions are feminine.
        {234, "Dvěstětřicetčtyři"}, {512, "Pětsetdvanáct"}, {305, "Třistapět"},
        {1234, "Jedentisícdvěstětřicetčtyři"}, {2000, "Dvatisíce"}, {21000, "Dvacetjedentisíc"},
        {5000000, "Pětmilionů"}, {2000000000, "Dvěmiliardy"}, {1000001, "Jedenmilionjedna"},
        // Thousands and millions decline by their last digits, billions by the whole group.
        {12000, "Dvanácttisíc"}, {22000, "Dvacetdvatisíce"}, {11000000, "Jedenáctmilionů"},
        {21000000, "Dvacetjedenmilion"}, {24000000, "Dvacetčtyřimiliony"}, {5000000000, "Pětmiliard"},
        {21000000000, "Dvacetjednamiliard"},
        // Only a hundred at the very start gets its number.
        {100100, "Jednostotisícsto"}, {100000000000, "Jednostomiliard"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(wordsOf(c.amount), QString::fromUtf8(c.words)) << c.amount;
}

TEST(AmountInWords, AmountsBeyondThirtyTwoBitsAreStillRight) {
    // clang-format off
    const struct { qint64 amount; const char* words; } cases[] = {
        {2147483648, "Dvěmiliardystočtyřicetsedmmilionůčtyřistaosmdesáttřitisícešestsetčtyřicetosm"},
        {4294967296, "Čtyřimiliardydvěstědevadesátčtyřimilionydevětsetšedesátsedmtisícdvěstědevadesátšest"},
        {999999999999, "Devětsetdevadesátdevětmiliarddevětsetdevadesátdevětmilionůdevětsetdevadesátdevěttisíc"
                       "devětsetdevadesátdevět"},
        {1000000000000, "Jedenbilion"}, {3000000000000, "Třibiliony"}, {7000000000005, "Sedmbilionůpět"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(wordsOf(c.amount), QString::fromUtf8(c.words)) << c.amount;
}

TEST(AmountInWords, NegativeAmountsAreEmptyAndHugeOnesHaveNoWords) {
    EXPECT_EQ(amountInWords(-20), QString());
    EXPECT_TRUE(amountInWords(kLargestAmountInWords).has_value());
    EXPECT_FALSE(amountInWords(kLargestAmountInWords + 1).has_value());
    EXPECT_FALSE(amountInWords(std::numeric_limits<qint64>::max()).has_value());
}
