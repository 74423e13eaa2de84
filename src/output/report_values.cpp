#include "output/report_values.h"

#include "core/formatting.h"
#include "core/iban.h"
#include "core/money.h"
#include "documents/amount_in_words.h"

#include <QDateTime>

#include <cmath>

namespace kelvarn::report_values {
namespace {

struct Suffix {
    const char* text;
    Variant variant;
};

constexpr Suffix kSuffixes[] = {{"__price", Variant::Price}, {"__0", Variant::Fixed0},
                                {"__2", Variant::Fixed2},    {"__4", Variant::Fixed4},
                                {"__date", Variant::Date},   {"__nonzero", Variant::NonZero},
                                {"__words", Variant::Words}, {"__iban", Variant::Iban}};

QString noBreak(QString text) {
    return text.replace(QLatin1Char(' '), QChar(0x00A0));
}

} // namespace

VariantKey parseKey(const QString& key) {
    for (const Suffix& s : kSuffixes) {
        const QLatin1String suffix(s.text);
        if (key.size() > suffix.size() && key.endsWith(suffix))
            return {key.left(key.size() - suffix.size()), s.variant};
    }
    return {key, Variant::Plain};
}

QString suffixOf(Variant variant) {
    for (const Suffix& s : kSuffixes)
        if (s.variant == variant)
            return QLatin1String(s.text);
    return {};
}

std::optional<double> numberOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toDouble();
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        double number = 0;
        if (parseNumber(value.toString(), number))
            return number;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

QString amountWords(double amount) {
    const double rounded = roundPlaces(std::fabs(amount), 2);
    if (rounded > static_cast<double>(kLargestAmountInWords))
        return {};
    const auto whole = static_cast<qint64>(std::floor(rounded));
    const int hundredths = static_cast<int>(std::llround((rounded - static_cast<double>(whole)) * 100));
    const std::optional<QString> words = amountInWords(whole);
    if (!words)
        return {};
    QString text = *words;
    if (hundredths > 0)
        text += QStringLiteral(" %1/100").arg(hundredths, 2, 10, QLatin1Char('0'));
    return amount < 0 && rounded > 0 ? QStringLiteral("minus ") + text : text;
}

QString variantText(const QVariant& value, Variant variant) {
    if (value.isNull())
        return {};
    switch (variant) {
    case Variant::Plain:
        break;
    case Variant::Iban: {
        const QString iban = normalizeIban(value.toString());
        QString grouped;
        for (qsizetype i = 0; i < iban.size(); i += 4)
            grouped += (i > 0 ? QStringLiteral(" ") : QString()) + iban.mid(i, 4);
        return grouped;
    }
    case Variant::Date:
        if (value.typeId() == QMetaType::QDateTime)
            return formatDate(value.toDateTime().date());
        if (value.typeId() == QMetaType::QDate)
            return formatDate(value.toDate());
        return {};
    case Variant::Fixed0:
    case Variant::Fixed2:
    case Variant::Fixed4:
    case Variant::Price:
    case Variant::NonZero:
    case Variant::Words: {
        const std::optional<double> number = numberOf(value);
        if (!number)
            return {};
        switch (variant) {
        case Variant::Fixed0:
            return noBreak(formatGrouped(roundPlaces(*number, 0), 0));
        case Variant::Fixed2:
            return noBreak(formatGrouped(roundPlaces(*number, 2), 2));
        case Variant::Fixed4:
            return noBreak(formatGrouped(roundPlaces(*number, 4), 4));
        case Variant::Price: {
            int decimals = 2;
            while (decimals < 4 && roundPlaces(*number, decimals) != roundPlaces(*number, 4))
                ++decimals;
            return noBreak(formatGrouped(roundPlaces(*number, decimals), decimals));
        }
        case Variant::NonZero:
            return roundPlaces(*number, 4) != 0 ? QStringLiteral("1") : QString();
        default:
            return amountWords(*number);
        }
    }
    }
    switch (value.typeId()) {
    case QMetaType::Double:
        return formatGeneral(value.toDouble());
    case QMetaType::QDateTime:
        return formatDateTime(value.toDateTime());
    default:
        return value.toString();
    }
}

} // namespace kelvarn::report_values
