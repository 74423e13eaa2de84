#include "core/iban.h"

namespace kelvarn {

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
