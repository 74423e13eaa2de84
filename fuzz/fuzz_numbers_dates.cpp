// Numbers and dates as users type them: whatever is accepted shows again as a text
// that reads back to the same value, and a number typed in its plain form shows
// exactly as typed.

#include "core/formatting.h"
#include "fuzz_support.h"

#include <QRegularExpression>

#include <cmath>
#include <cstring>

using namespace kelvarn;
using namespace kelvarn::fuzz;

namespace {

LocaleConventions conventions(uint8_t choice) {
    LocaleConventions c = LocaleConventions::czech();
    switch (choice % 3) {
    case 1:
        c.decimalSeparator = QStringLiteral(".");
        c.shortDateFormat = QStringLiteral("M/d/yyyy");
        break;
    case 2:
        c.decimalSeparator = QStringLiteral(",");
        c.shortDateFormat = QStringLiteral("yyyy-MM-dd");
        break;
    default:
        break;
    }
    return c;
}

int significantDigits(const QString& plain) {
    QString digits;
    for (const QChar c : plain)
        if (c.isDigit())
            digits += c;
    while (digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    return static_cast<int>(digits.size());
}

void checkNumber(const QString& typed, const QString& separator) {
    double value = 0;
    if (!parseNumber(typed, value))
        return;
    FUZZ_CHECK(std::isfinite(value), typed);
    const QString shown = formatGeneral(value);
    double again = 0;
    FUZZ_CHECK(parseNumber(shown, again), typed + QStringLiteral(" -> ") + shown);
    FUZZ_CHECK(formatGeneral(again) == shown, typed + QStringLiteral(" -> ") + shown);

    // The plain form: no leading zeros, no trailing decimal zeros, at most 15 digits.
    const QString sep = QRegularExpression::escape(separator);
    const QRegularExpression plain(QRegularExpression::anchoredPattern(QStringLiteral("-?(0|[1-9][0-9]*)(") + sep +
                                                                       QStringLiteral("[0-9]*[1-9])?")));
    if (plain.match(typed).hasMatch() && significantDigits(typed) <= 15 && typed != QLatin1String("-0") &&
        std::fabs(value) >= 1e-4 && std::fabs(value) < 1e15)
        FUZZ_CHECK(shown == typed, typed + QStringLiteral(" -> ") + shown);

    if (std::fabs(value) < 1e13) {
        const QString money = formatGrouped(value, 2);
        double back = 0;
        FUZZ_CHECK(parseNumber(money, back), money);
        FUZZ_CHECK(formatGrouped(back, 2) == money, money);
        FUZZ_CHECK(std::fabs(back - value) <= 0.005 + 1e-9 * std::fabs(value), typed + QStringLiteral(" -> ") + money);
    }
}

void checkDate(const QString& typed) {
    QDate date;
    if (parseDate(typed, date)) {
        FUZZ_CHECK(date.isValid(), typed);
        QDate again;
        FUZZ_CHECK(parseDate(formatDate(date), again) && again == date, typed + QStringLiteral(" -> ") + formatDate(date));
    }
    QDateTime stamp;
    if (parseDateTime(typed, stamp)) {
        FUZZ_CHECK(stamp.isValid(), typed);
        QDateTime again;
        const QString shown = formatDateTime(stamp);
        FUZZ_CHECK(parseDateTime(shown, again) && again == stamp, typed + QStringLiteral(" -> ") + shown);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const LocaleConventions c = conventions(in.byte());
    LocaleConventions::setCurrent(c);

    // Any double shows as a text that reads back to what is shown.
    double raw = 0;
    const QByteArray bits = in.chunk().leftJustified(sizeof raw, '\0', true);
    std::memcpy(&raw, bits.constData(), sizeof raw);
    if (std::isfinite(raw)) {
        const QString shown = formatGeneral(raw);
        checkNumber(shown, c.decimalSeparator);
    }
    // Any valid date shows as a text that reads back to it.
    const int year = 1 + (in.byte() << 8 | in.byte()) % 9999;
    const QDate date(year, 1 + in.byte() % 12, 1 + in.byte() % 31);
    if (date.isValid()) {
        QDate again;
        FUZZ_CHECK(parseDate(formatDate(date), again) && again == date, formatDate(date));
    }
    const QString typed = in.text();
    checkNumber(typed, c.decimalSeparator);
    checkDate(typed);
    return 0;
}
