#include "cashbook/totals_figures.h"
#include "support/czech_conventions.h"
#include "core/formatting.h"

#include <gtest/gtest.h>

using namespace kelvarn;

namespace {

using TotalsFiguresTest = kelvarn::test::CzechConventionsTest;

} // namespace

// The display text of a figure and whether it shows red.
TEST_F(TotalsFiguresTest, FormatAmountGroupsDigitsKeepsTwoDecimalsAndMarksNegatives) {
    struct Case {
        double value;
        const char* separator;
        const char* text;
        bool red;
    };
    const Case cases[] = {
        {0, ",", "0,00", false},
        {-0.0, ",", "0,00", false},
        {1234.5, ",", "1 234,50", false},
        {1234567.25, ",", "1 234 567,25", false},
        {-123.5, ",", "-123,50", true},
        {-123456, ",", "-123 456,00", true},
        {-0.01, ",", "-0,01", true},
        {999, ",", "999,00", false},
        {0.07, ",", "0,07", false},
        {12.3456789, ",", "12,3456", false}, // at most four decimals, cut rather than rounded
        {123456789012345, ",", "123 456 789 012 345,00", false},
        {1e16, ",", "10 000 000 000 000 000,00", false}, // no exponent, whatever the size
        {-2.5e15, ",", "-2 500 000 000 000 000,00", true},
        {1234.5, ".", "1 234.50", false}, // the separator the run uses
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatAmount(c.value, QLatin1String(c.separator)), QLatin1String(c.text));
        EXPECT_EQ(isNegativeFigure(c.value), c.red);
    }
}
