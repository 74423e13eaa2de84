#include "cashbook/totals_figures.h"
#include "core/formatting.h"

#include <gtest/gtest.h>

using namespace kelvarn;

namespace {

class TotalsFiguresTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = LocaleConventions::current();
        LocaleConventions::setCurrent(LocaleConventions::czech());
    }
    void TearDown() override { LocaleConventions::setCurrent(saved_); }

  private:
    LocaleConventions saved_;
};

} // namespace

TEST_F(TotalsFiguresTest, FormatAmountGroupsDigitsAndKeepsAtLeastTwoDecimals) {
    struct Case {
        double value;
        const char* separator;
        const char* text;
    };
    const Case cases[] = {
        {0, ",", "0,00"},
        {1234.5, ",", "1 234,50"},
        {1234567.25, ",", "1 234 567,25"},
        {-123.5, ",", "-123,50"},
        {-1500, ",", "-1 500,00"},
        {-123456, ",", "-123 456,00"},
        {999, ",", "999,00"},
        {1000, ",", "1 000,00"},
        {0.07, ",", "0,07"},
        {12.3456789, ",", "12,3456"}, // at most four decimals, cut rather than rounded
        {123456789012.5, ",", "123 456 789 012,50"},
        {123456789012345, ",", "123 456 789 012 345,00"},
        {1234567890123.25, ",", "1 234 567 890 123,25"},
        {1234.5, ".", "1 234.50"}, // the separator of the locale the program runs under
        {-0.0, ",", "0,00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatAmount(c.value, QLatin1String(c.separator)), QLatin1String(c.text));
    }
}

TEST_F(TotalsFiguresTest, OnlyFiguresBelowZeroAreRed) {
    EXPECT_TRUE(isNegativeFigure(-0.01));
    EXPECT_TRUE(isNegativeFigure(-1500));
    EXPECT_FALSE(isNegativeFigure(0));
    EXPECT_FALSE(isNegativeFigure(-0.0));
    EXPECT_FALSE(isNegativeFigure(0.01));
}

TEST_F(TotalsFiguresTest, StripsNameTheirControlsInOrder) {
    const QString sep = QStringLiteral(",");
    const auto book = cashBookFigures({1000, 210, 1500, 0, -290}, sep);
    const std::vector<Figure> expectedBook = {
        {QStringLiteral("Edit_prijem_danovy"), QStringLiteral("1 000,00"), false},
        {QStringLiteral("Edit_prijem_nedanovy"), QStringLiteral("210,00"), false},
        {QStringLiteral("Edit_vydaj_danovy"), QStringLiteral("1 500,00"), false},
        {QStringLiteral("Edit_vydaj_nedanovy"), QStringLiteral("0,00"), false},
        {QStringLiteral("Edit_zustatek"), QStringLiteral("-290,00"), true},
    };
    EXPECT_EQ(book, expectedBook);

    const VatTotals vat{100, 15, 200, 42, 7};
    QStringList input;
    QStringList output;
    for (const Figure& f : vatFigures(vat, false, sep))
        input << f.control + u'=' + f.text;
    for (const Figure& f : vatFigures(vat, true, sep))
        output << f.control;
    EXPECT_EQ(input, (QStringList{"Edit_zaklad51=100,00", "Edit_dph51=15,00", "Edit_zaklad191=200,00",
                                  "Edit_dph191=42,00", "Edit_zaklad01=7,00"}));
    EXPECT_EQ(output,
              (QStringList{"Edit_zaklad52", "Edit_dph52", "Edit_zaklad192", "Edit_dph192", "Edit_zaklad02"}));

    QStringList overview;
    for (const Figure& f : overviewFigures({1, 2, -3, 4}, sep))
        overview << f.control + u'=' + f.text + (f.negative ? QStringLiteral(" red") : QString());
    EXPECT_EQ(overview, (QStringList{"Memo6=1,00", "Memo7=2,00", "Memo8=-3,00 red", "Memo9=4,00"}));
}
