#include "core/formatting.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace kelvarn {
namespace {

class FormattingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = LocaleConventions::current();
        LocaleConventions::setCurrent(LocaleConventions::czech());
    }
    void TearDown() override { LocaleConventions::setCurrent(saved_); }

    static void useEnglish() {
        LocaleConventions english;
        english.decimalSeparator = QStringLiteral(".");
        english.shortDateFormat = QStringLiteral("M/d/yyyy");
        LocaleConventions::setCurrent(english);
    }

  private:
    LocaleConventions saved_;
};

TEST_F(FormattingTest, GeneralNumberFormat) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-1.5, "-1,5"},
        {0.1 + 0.2, "0,3"}, // 17 digits would be needed; 15 are enough for money
        {1234567.89, "1234567,89"},
        {0.05, "0,05"},
        {123456789012.34, "123456789012,34"},
        {1.0 / 3, "0,333333333333333"},
        {2.675, "2,675"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatGeneral(c.value), QString::fromUtf8(c.text)) << c.value;
        double back = 0;
        EXPECT_TRUE(parseNumber(formatGeneral(c.value), back)) << c.value;
    }

    useEnglish();
    EXPECT_EQ(formatGeneral(-1.5), "-1.5");
}

TEST_F(FormattingTest, ParseNumber) {
    const struct {
        const char* text;
        double value;
    } good[] = {
        {"12,5", 12.5}, {"12.5", 12.5}, {"  -3 ", -3}, {"1 234,5", 1234.5}, {"1\u00a0234", 1234},
        {",5", 0.5},    {"5,", 5},      {"+7", 7},     {"-0", 0},           {"1e3", 1000},
    };
    for (const auto& c : good) {
        double v = -999;
        EXPECT_TRUE(parseNumber(QString::fromUtf8(c.text), v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        if (c.value == 0) {
            EXPECT_FALSE(std::signbit(v)) << c.text;
        }
    }
    for (const char* bad : {"", "   ", "abc", "1,2,3", "1.234,5", "12a", "-", ",", "1e", "nan", "inf",
                            "1e999", "--1", "0x10"}) {
        double v = 42;
        EXPECT_FALSE(parseNumber(QString::fromUtf8(bad), v)) << bad;
        EXPECT_EQ(v, 42) << "value changed on failure: " << bad;
    }
}

// The same typed text under a decimal comma (Czech, and C where Czech conventions
// apply) and under a decimal point: the locale's own separator is always the decimal
// point, blanks part groups of three, and the other mark is read as a decimal point
// only where it cannot be a thousands mark.
TEST_F(FormattingTest, ParseNumberPerLocale) {
    LocaleConventions dotted = LocaleConventions::czech();
    dotted.decimalSeparator = QStringLiteral(".");
    const struct {
        const char* text;
        std::optional<double> czech;
        std::optional<double> dot;
    } cases[] = {
        {"1.500", std::nullopt, 1.5},
        {"1.234.567", std::nullopt, std::nullopt},
        {"-1.500", std::nullopt, -1.5},
        {"1 234.567", std::nullopt, 1234.567},
        {"1,500", 1.5, std::nullopt},
        {"1,234,567", std::nullopt, std::nullopt},
        {"1 234,567", 1234.567, std::nullopt},
        {"12.5", 12.5, 12.5},
        {"12,5", 12.5, 12.5},
        {"1.50", 1.5, 1.5},
        {"1.5000", 1.5, 1.5},
        {"0.500", 0.5, 0.5},
        {".500", 0.5, 0.5},
        {"1234.567", 1234.567, 1234.567},
        {"1 500", 1500, 1500},
        {"1 234 567,5", 1234567.5, 1234567.5},
        {"1\u00a0500,25", 1500.25, 1500.25},
        {"1\u202f500", 1500, 1500},
        {"- 3", -3, -3},
        {"12 34", std::nullopt, std::nullopt},
        {"1 2345", std::nullopt, std::nullopt},
        {"1234 567", std::nullopt, std::nullopt},
        {"1 234 ,5", std::nullopt, std::nullopt},
        {"1,5 e3", std::nullopt, std::nullopt},
        {"1,5e3", 1500, 1500},
        {"1.500e3", std::nullopt, 1500},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        for (const bool comma : {true, false}) {
            LocaleConventions::setCurrent(comma ? LocaleConventions::czech() : dotted);
            const std::optional<double>& expected = comma ? c.czech : c.dot;
            double v = 42;
            EXPECT_EQ(parseNumber(text, v), expected.has_value())
                << c.text << (comma ? " with ," : " with .");
            EXPECT_EQ(v, expected.value_or(42)) << c.text << (comma ? " with ," : " with .");
        }
    }
}

// Forms and grids show the Czech refusal (see the number entry test); under a decimal
// point the hint names the dot, and its example reads back.
TEST_F(FormattingTest, RefusalNamesTheLocalesDecimalMark) {
    useEnglish();
    const QString dotted = numberRefusal(QStringLiteral("1,500"));
    EXPECT_TRUE(dotted.startsWith(QStringLiteral("\"1,500\" není platné číslo."))) << dotted.toStdString();
    EXPECT_TRUE(dotted.contains(QStringLiteral("desetinnou tečku"))) << dotted.toStdString();
    EXPECT_TRUE(dotted.contains(QStringLiteral("1 234.56"))) << dotted.toStdString();
    double v = 0;
    EXPECT_TRUE(parseNumber(QStringLiteral("1 234.56"), v));
    EXPECT_EQ(v, 1234.56);
}

// Conventions taken from the system locale: Czech and C give the Czech d.M.yyyy
// (Qt's Czech short format would be dd.MM.yy), others keep theirs with the century.
TEST_F(FormattingTest, ConventionsFromLocale) {
    const struct {
        QLocale locale;
        const char* separator;
        const char* format;
        const char* date; // 5 March 2026
    } cases[] = {
        {QLocale::c(), ",", "d.M.yyyy", "5.3.2026"},
        {QLocale(QLocale::Czech, QLocale::CzechRepublic), ",", "d.M.yyyy", "5.3.2026"},
        {QLocale(QLocale::English, QLocale::UnitedStates), ".", "M/d/yyyy", "3/5/2026"},
        {QLocale(QLocale::German, QLocale::Germany), ",", "dd.MM.yyyy", "05.03.2026"},
    };
    for (const auto& c : cases) {
        const LocaleConventions conventions = LocaleConventions::fromLocale(c.locale);
        EXPECT_EQ(conventions.decimalSeparator, QString::fromUtf8(c.separator))
            << c.locale.name().toStdString();
        EXPECT_EQ(conventions.shortDateFormat, QString::fromUtf8(c.format)) << c.locale.name().toStdString();
        LocaleConventions::setCurrent(conventions);
        EXPECT_EQ(formatDate(QDate(2026, 3, 5)), QString::fromUtf8(c.date)) << c.locale.name().toStdString();
        QDate back;
        EXPECT_TRUE(parseDate(QString::fromUtf8(c.date), back)) << c.locale.name().toStdString();
        EXPECT_EQ(back, QDate(2026, 3, 5)) << c.locale.name().toStdString();
    }
}

TEST_F(FormattingTest, GroupedAmountsReadBack) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {0, 2, "0,00"},           {1234.5, 2, "1 234,50"}, {-123.5, 2, "-123,50"}, {1234567.25, 2, "1 234 567,25"},
        {-0.001, 2, "0,00"},      {12.34567, 4, "12,3457"}, {999999.999, 2, "1 000 000,00"}, {100, 0, "100"},
    };
    for (const auto& c : cases) {
        const QString text = formatGrouped(c.value, c.decimals);
        EXPECT_EQ(text, QString::fromUtf8(c.text)) << c.value;
        double back = 0;
        EXPECT_TRUE(parseNumber(text, back)) << c.text;
    }
}

TEST_F(FormattingTest, FormatDateAndDateTime) {
    EXPECT_EQ(formatDate(QDate(2024, 3, 5)), "5.3.2024");
    EXPECT_EQ(formatDate(QDate()), "");
    EXPECT_EQ(formatDateTime(QDateTime(QDate(2024, 12, 31), QTime(0, 0))), "31.12.2024");
    EXPECT_EQ(formatDateTime(QDateTime(QDate(2024, 12, 31), QTime(7, 5, 9))), "31.12.2024 7:05:09");
    useEnglish();
    EXPECT_EQ(formatDate(QDate(2024, 3, 5)), "3/5/2024");
}

TEST_F(FormattingTest, ParseDate) {
    const struct {
        const char* text;
        QDate date;
    } good[] = {
        {"5.3.2024", QDate(2024, 3, 5)},   {"05.03.2024", QDate(2024, 3, 5)},
        {"5.3.24", QDate(2024, 3, 5)},     {" 1. 2. 2024 ", QDate(2024, 2, 1)},
        {"29.2.2024", QDate(2024, 2, 29)}, {"31.12.99", QDate(1999, 12, 31)}, {"1.1.29", QDate(2029, 1, 1)}, {"1.1.30", QDate(1930, 1, 1)},
        {"1.1.0", QDate(2000, 1, 1)},
    };
    for (const auto& c : good) {
        QDate d;
        EXPECT_TRUE(parseDate(QString::fromUtf8(c.text), d)) << c.text;
        EXPECT_EQ(d, c.date) << c.text;
    }
    for (const char* bad : {"", "31.2.2024", "29.2.2023", "0.1.2024", "1.13.2024", "1.2", "1.2.3.4",
                            "x.2.2024", "12024", "1.2.2024 10:00", "1.2.024", "123.1.2024", "1..2024"}) {
        QDate d(2000, 1, 1);
        EXPECT_FALSE(parseDate(QString::fromUtf8(bad), d)) << bad;
        EXPECT_EQ(d, QDate(2000, 1, 1)) << bad;
    }
}

TEST_F(FormattingTest, ParseDateFollowsLocaleOrder) {
    useEnglish();
    QDate d;
    ASSERT_TRUE(parseDate("3/5/2024", d));
    EXPECT_EQ(d, QDate(2024, 3, 5));
    EXPECT_FALSE(parseDate("13/5/2024", d));
}

TEST_F(FormattingTest, ParseDateTime) {
    QDateTime v;
    ASSERT_TRUE(parseDateTime("5.3.2024 7:05", v));
    EXPECT_EQ(v, QDateTime(QDate(2024, 3, 5), QTime(7, 5)));
    ASSERT_TRUE(parseDateTime("5.3.2024 23:59:58", v));
    EXPECT_EQ(v, QDateTime(QDate(2024, 3, 5), QTime(23, 59, 58)));
    ASSERT_TRUE(parseDateTime("5.3.2024", v));
    EXPECT_EQ(v, QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    EXPECT_FALSE(parseDateTime("5.3.2024 24:00", v));
    EXPECT_FALSE(parseDateTime("31.4.2024 10:00", v));
    EXPECT_FALSE(parseDateTime("10:00", v));
    // what formatDateTime writes reads back
    const QDateTime t(QDate(2023, 11, 2), QTime(14, 30, 1));
    ASSERT_TRUE(parseDateTime(formatDateTime(t), v));
    EXPECT_EQ(v, t);
}

} // namespace
} // namespace kelvarn
