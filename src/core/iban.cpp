#include "core/iban.h"

#include <QHash>

#include <algorithm>

namespace kelvarn {

namespace {

int knownIbanLength(const QString& country) {
    // The countries Czech businesses meet most; others are tested by checksum only.
    static const QHash<QString, int> lengths = {
        {QStringLiteral("CZ"), 24}, {QStringLiteral("SK"), 24}, {QStringLiteral("DE"), 22},
        {QStringLiteral("AT"), 20}, {QStringLiteral("PL"), 28}, {QStringLiteral("HU"), 28},
        {QStringLiteral("GB"), 22}, {QStringLiteral("FR"), 27}, {QStringLiteral("IT"), 27},
        {QStringLiteral("NL"), 18}, {QStringLiteral("BE"), 16}, {QStringLiteral("ES"), 24},
        {QStringLiteral("CH"), 21}, {QStringLiteral("IE"), 22}, {QStringLiteral("LU"), 20}};
    return lengths.value(country, 0);
}

} // namespace

QString normalizeIban(const QString& text) {
    QString iban;
    iban.reserve(text.size());
    for (const QChar ch : text)
        if (!ch.isSpace())
            iban += ch.toUpper();
    return iban;
}

bool isValidIban(const QString& text) {
    const QString iban = normalizeIban(text);
    if (iban.size() < 15 || iban.size() > 34)
        return false;
    auto isLetter = [](QChar c) { return c >= u'A' && c <= u'Z'; };
    auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (!isLetter(iban[0]) || !isLetter(iban[1]) || !isDigit(iban[2]) || !isDigit(iban[3]))
        return false;
    const QString country = iban.left(2);
    if (const int length = knownIbanLength(country); length != 0 && iban.size() != length)
        return false;
    // A Czech account is digits only: bank code, prefix and number.
    if (country == QLatin1String("CZ") && !std::all_of(iban.cbegin() + 4, iban.cend(), isDigit))
        return false;
    // The first four characters go to the end; letters count as 10 … 35.
    const QString rearranged = iban.mid(4) + iban.left(4);
    int remainder = 0;
    for (const QChar c : rearranged) {
        if (isDigit(c))
            remainder = (remainder * 10 + (c.unicode() - u'0')) % 97;
        else if (isLetter(c))
            remainder = (remainder * 100 + (c.unicode() - u'A' + 10)) % 97;
        else
            return false;
    }
    return remainder == 1;
}

} // namespace kelvarn
