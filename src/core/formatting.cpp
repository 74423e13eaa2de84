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
    return digits.size() <= 2 ? expandTwoDigitYear(year) : year;
}

} // namespace

int expandTwoDigitYear(int year) {
    return year < 30 ? 2000 + year : 1900 + year;
}

LocaleConventions LocaleConventions::czech() {
    return LocaleConventions{};
}

LocaleConventions LocaleConventions::fromSystem() {
    return fromLocale(QLocale::system());
}

LocaleConventions LocaleConventions::fromLocale(const QLocale& locale) {
    // Qt's Czech short date is "dd.MM.yy"; Czech systems write d.M.yyyy.
    if (locale.language() == QLocale::C || locale.language() == QLocale::Czech)
        return czech();
    LocaleConventions conventions;
    conventions.decimalSeparator = locale.decimalPoint();
    if (conventions.decimalSeparator.isEmpty())
        conventions.decimalSeparator = QStringLiteral(",");
    const QString format = locale.dateFormat(QLocale::ShortFormat);
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

namespace {

bool isBlank(QChar c) {
    // Blanks include the no-break spaces Czech number grouping uses.
    return c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F);
}

bool allDigits(QStringView text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// The whole part of a number: digits, or groups of three parted by blanks ("1 234 567").
// Returns the digits alone, or a null string when the blanks are not group marks.
QString wholeDigits(QStringView text) {
    if (text.isEmpty())
        return QStringLiteral("");
    static const QRegularExpression blanks(QStringLiteral(R"([\s\x{00A0}\x{202F}]+)"));
    const QStringList groups = text.toString().split(blanks);
    QString digits;
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const QString& g = groups[i];
        if (g.isEmpty() || !allDigits(g))
            return {};
        if (groups.size() > 1 && (i == 0 ? g.size() > 3 : g.size() != 3))
            return {};
        digits += g;
    }
    return digits;
}

// Reads a number the way people write it under the given decimal separator: that
// separator (or the other of "," and "." where it cannot be taken for a thousands
// mark), blanks between groups of three digits, a sign and an exponent.
bool readNumber(const QString& text, const QString& decimalSeparator, double& value) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    QStringView rest = QStringView(text).mid(begin, end - begin);
    QString plain; // in C form for the conversion
    if (!rest.isEmpty() && (rest.front() == QLatin1Char('-') || rest.front() == QLatin1Char('+'))) {
        plain += rest.front();
        rest = rest.mid(1);
        while (!rest.isEmpty() && isBlank(rest.front()))
            rest = rest.mid(1);
    }
    QStringView exponent;
    static const QRegularExpression exponentPattern(QStringLiteral(R"([eE][+-]?\d+$)"));
    const QRegularExpressionMatch e = exponentPattern.match(rest);
    if (e.hasMatch()) {
        exponent = rest.mid(e.capturedStart());
        rest = rest.left(e.capturedStart());
    }

    const QChar point = decimalSeparator.size() == 1 ? decimalSeparator.front() : QLatin1Char(',');
    const QChar other = point == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
    const qsizetype points = rest.count(point);
    const qsizetype others = rest.count(other);
    if (points + others > 1)
        return false; // "1,2,3", "1.234,5", "1.234.567": thousands marked by dots or commas
    const QChar used = points == 1 ? point : other;
    const qsizetype at = points + others == 1 ? rest.indexOf(used) : rest.size();
    const QString whole = wholeDigits(rest.left(at));
    const QStringView fraction = at < rest.size() ? rest.mid(at + 1) : QStringView();
    if (whole.isNull() || !allDigits(fraction) || (whole.isEmpty() && fraction.isEmpty()))
        return false;
    if (used == other && at < rest.size()) {
        // "1.500" could be fifteen hundred as well as one and a half: refused rather
        // than guessed. Three digits after the mark behind a group of one to three
        // digits (not a lone zero) is exactly how a thousands mark is written.
        const qsizetype lastBlank = [&] {
            for (qsizetype i = at - 1; i >= 0; --i)
                if (isBlank(rest[i]))
                    return i;
            return qsizetype(-1);
        }();
        const QStringView lastGroup = rest.mid(lastBlank + 1, at - lastBlank - 1);
        const bool zero =
            std::all_of(whole.cbegin(), whole.cend(), [](QChar c) { return c == QLatin1Char('0'); });
        if (fraction.size() == 3 && !lastGroup.isEmpty() && lastGroup.size() <= 3 && !zero)
            return false;
    }
    plain += whole.isEmpty() ? QStringLiteral("0") : whole;
    if (!fraction.isEmpty())
        plain += QLatin1Char('.') + fraction.toString();
    plain += exponent.toString();
    bool ok = false;
    const double parsed = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed == 0 ? 0.0 : parsed;
    return true;
}

} // namespace

bool parseNumber(const QString& text, double& value) {
    return readNumber(text, LocaleConventions::current().decimalSeparator, value);
}

QString numberRefusal(const QString& text, bool wholeNumber) {
    if (wholeNumber)
        return QStringLiteral("\"%1\" není platné celé číslo. Tisíce oddělujte mezerou, např. 1 500.")
            .arg(text);
    const QString& separator = LocaleConventions::current().decimalSeparator;
    const QString mark = separator == QLatin1String(".") ? QStringLiteral("tečku") : QStringLiteral("čárku");
    return QStringLiteral("\"%1\" není platné číslo. Pište desetinnou %2 a tisíce oddělujte mezerou, ")
               .arg(text, mark) +
           QStringLiteral("např. 1 500 nebo 1 234") + separator + QStringLiteral("56.");
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
