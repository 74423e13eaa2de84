#include "core/formatting.h"

#include <algorithm>

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace kelvarn {

namespace {

LocaleConventions& processConventions() {
    static LocaleConventions conventions = LocaleConventions::fromSystem();
    return conventions;
}

// Qt's short formats often carry a two-digit year ("dd.MM.yy"); a record of tax
// documents cannot afford to lose the century, so it is always written in full.
QString withFourDigitYear(const QString& format) {
    if (format.contains(QLatin1String("yyyy")))
        return format;
    QString out = format;
    out.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return out;
}

// The order in which day, month and year appear in a date format, e.g. "dMy".
QString fieldOrder(const QString& format) {
    QString order;
    for (const QChar c : format) {
        const char f = c.toLatin1();
        if ((f == 'd' || f == 'M' || f == 'y') && !order.contains(c))
            order += c;
    }
    if (order.size() != 3)
        return QStringLiteral("dMy");
    return order;
}

int expandYear(const QString& digits) {
    const int year = digits.toInt();
    if (digits.size() <= 2)
        return 2000 + year;
    return year;
}

} // namespace

LocaleConventions LocaleConventions::czech() {
    return LocaleConventions{};
}

LocaleConventions LocaleConventions::fromSystem() {
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return czech();
    LocaleConventions conventions;
    conventions.decimalSeparator = system.decimalPoint();
    if (conventions.decimalSeparator.isEmpty())
        conventions.decimalSeparator = QStringLiteral(",");
    const QString format = system.dateFormat(QLocale::ShortFormat);
    if (!format.isEmpty())
        conventions.shortDateFormat = withFourDigitYear(format);
    return conventions;
}

const LocaleConventions& LocaleConventions::current() {
    return processConventions();
}

void LocaleConventions::setCurrent(const LocaleConventions& conventions) {
    processConventions() = conventions;
}

QString formatGeneral(double value) {
    if (value == 0)
        return QStringLiteral("0"); // also turns -0 into 0
    // 15 significant digits with trailing zeros dropped is the shortest text that
    // reads back whenever any text of 15 digits or fewer does.
    QString text = QString::number(value, 'g', 15);
    if (text == QLatin1String("-0"))
        return QStringLiteral("0");
    const QString& separator = LocaleConventions::current().decimalSeparator;
    if (separator != QLatin1String("."))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

QString formatGrouped(double value, int decimals) {
    QString digits = QString::number(value, 'f', std::max(decimals, 0));
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative)
        digits.remove(0, 1);
    const qsizetype point = digits.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? digits : digits.left(point);
    QString grouped;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += QLatin1Char(' ');
        grouped += whole[i];
    }
    if (point >= 0)
        grouped += LocaleConventions::current().decimalSeparator + digits.mid(point + 1);
    // A value that rounds to zero shows no sign.
    const bool zero = std::all_of(digits.cbegin(), digits.cend(),
                                  [](QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('.'); });
    return negative && !zero ? QLatin1Char('-') + grouped : grouped;
}

bool parseNumber(const QString& text, double& value) {
    QString compact;
    for (const QChar c : text) {
        // Blanks include the no-break spaces Czech number grouping uses.
        if (!c.isSpace() && c != QChar(0x00A0) && c != QChar(0x202F))
            compact += c;
    }
    compact.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QRegularExpression pattern(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    if (!pattern.match(compact).hasMatch())
        return false;
    bool ok = false;
    const double parsed = QLocale::c().toDouble(compact, &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed == 0 ? 0.0 : parsed;
    return true;
}

QString formatDate(const QDate& date) {
    if (!date.isValid())
        return {};
    return date.toString(LocaleConventions::current().shortDateFormat);
}

QString formatDateTime(const QDateTime& value) {
    if (!value.isValid())
        return {};
    const QString date = formatDate(value.date());
    if (value.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + value.time().toString(LocaleConventions::current().timeFormat);
}

bool parseDate(const QString& text, QDate& date) {
    // Three groups of digits separated by date punctuation or blanks; blanks may also
    // surround the punctuation because "1. 2. 2024" is a common way of typing a date.
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(\d{1,4})(?:\s*[./-]\s*|\s+)(\d{1,4})(?:\s*[./-]\s*|\s+)(\d{1,4})\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    const QString order = fieldOrder(LocaleConventions::current().shortDateFormat);
    int day = 0;
    int month = 0;
    int year = 0;
    for (int i = 0; i < 3; ++i) {
        const QString digits = match.captured(i + 1);
        switch (order.at(i).toLatin1()) {
        case 'd':
            if (digits.size() > 2)
                return false;
            day = digits.toInt();
            break;
        case 'M':
            if (digits.size() > 2)
                return false;
            month = digits.toInt();
            break;
        default:
            if (digits.size() == 3)
                return false;
            year = expandYear(digits);
            break;
        }
    }
    if (!QDate::isValid(year, month, day))
        return false;
    date = QDate(year, month, day);
    return true;
}

bool parseDateTime(const QString& text, QDateTime& value) {
    static const QRegularExpression timePattern(QStringLiteral(R"(\s(\d{1,2}):(\d{2})(?::(\d{2}))?\s*$)"));
    QString datePart = text;
    QTime time(0, 0);
    const QRegularExpressionMatch match = timePattern.match(text);
    if (match.hasMatch()) {
        const int seconds = match.captured(3).isEmpty() ? 0 : match.captured(3).toInt();
        if (!QTime::isValid(match.captured(1).toInt(), match.captured(2).toInt(), seconds))
            return false;
        time = QTime(match.captured(1).toInt(), match.captured(2).toInt(), seconds);
        datePart = text.left(match.capturedStart(0));
    }
    QDate date;
    if (!parseDate(datePart, date))
        return false;
    value = QDateTime(date, time);
    return true;
}

} // namespace kelvarn
