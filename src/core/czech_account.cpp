#include "core/czech_account.h"

#include <QRegularExpression>

namespace kelvarn {

namespace {

QString withoutLeadingZeros(const QString& digits) {
    qsizetype i = 0;
    while (i < digits.size() - 1 && digits[i] == u'0')
        ++i;
    return digits.mid(i);
}

bool allDigits(const QString& s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return !s.isEmpty();
}

// Weights from the right: 1, 2, 4, 8, 5, 10, 9, 7, 3, 6 (powers of 2 mod 11).
bool mod11(const QString& digits) {
    static const int weights[] = {1, 2, 4, 8, 5, 10, 9, 7, 3, 6};
    int sum = 0;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i)
        sum += (digits[n - 1 - i].unicode() - u'0') * weights[i];
    return sum % 11 == 0;
}

// The remainder of a long decimal/alphanumeric IBAN text by 97, taken piecewise.
int mod97(const QString& rearranged) {
    int rest = 0;
    for (QChar c : rearranged) {
        if (c.isDigit()) {
            rest = (rest * 10 + (c.unicode() - u'0')) % 97;
        } else {
            const int value = c.unicode() - u'A' + 10;
            rest = (rest * 100 + value) % 97;
        }
    }
    return rest;
}

} // namespace

QString CzechAccount::text() const {
    QString s;
    if (!prefix.isEmpty())
        s = prefix + u'-';
    s += number;
    if (!bankCode.isEmpty())
        s += u'/' + bankCode;
    return s;
}

QString CzechAccount::digits16() const {
    return prefix.rightJustified(6, u'0') + number.rightJustified(10, u'0');
}

std::optional<CzechAccount> parseCzechAccount(const QString& text) {
    static const QRegularExpression shape(QStringLiteral("^(?:(\\d{1,6})-)?(\\d{2,10})(?:/(\\d{4}))?$"));
    QString compact = text;
    compact.remove(u' ');
    const auto m = shape.match(compact);
    if (!m.hasMatch())
        return std::nullopt;
    CzechAccount account;
    const QString prefix = withoutLeadingZeros(m.captured(1));
    account.prefix = prefix == QLatin1String("0") ? QString() : prefix;
    account.number = withoutLeadingZeros(m.captured(2));
    account.bankCode = m.captured(3);
    return account;
}

bool hasValidChecksum(const CzechAccount& account) {
    if (!account.prefix.isEmpty() && !mod11(account.prefix))
        return false;
    // A number needs at least two digits that are not zero.
    int nonZero = 0;
    for (QChar c : account.number)
        nonZero += c != u'0';
    return nonZero >= 2 && mod11(account.number);
}

QString czechAccountToIban(const CzechAccount& account) {
    if (account.bankCode.size() != 4)
        return {};
    const QString bban = account.bankCode + account.digits16();
    // Check digits: 98 minus the remainder of BBAN + "CZ00" (C=12, Z=35).
    const int check = 98 - mod97(bban + QStringLiteral("123500"));
    return QStringLiteral("CZ") + QString::number(check).rightJustified(2, u'0') + bban;
}

std::optional<CzechAccount> czechAccountFromIban(const QString& iban) {
    const QString s = normalizeIban(iban);
    if (!s.startsWith(QLatin1String("CZ")) || !isValidIban(s))
        return std::nullopt;
    CzechAccount account;
    account.bankCode = s.mid(4, 4);
    const QString prefix = withoutLeadingZeros(s.mid(8, 6));
    account.prefix = prefix == QLatin1String("0") ? QString() : prefix;
    account.number = withoutLeadingZeros(s.mid(14, 10));
    return account;
}

bool isValidIco(const QString& ico) {
    QString s = ico.trimmed();
    s.remove(u' ');
    if (!allDigits(s) || s.size() > 8)
        return false;
    s = s.rightJustified(8, u'0');
    if (s == QLatin1String("00000000"))
        return false;
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += (s[i].unicode() - u'0') * (8 - i);
    const int rest = sum % 11;
    const int check = rest == 0 ? 1 : rest == 1 ? 0 : 11 - rest;
    return s[7].unicode() - u'0' == check;
}

QString accountProblem(const QString& text) {
    if (text.trimmed().isEmpty())
        return {};
    const auto account = parseCzechAccount(text);
    if (!account)
        return QStringLiteral("Číslo účtu nemá tvar [předčíslí-]číslo/kód banky.");
    if (!hasValidChecksum(*account))
        return QStringLiteral("Číslo účtu nevyhovuje kontrole modulo 11 (překlep?).");
    if (account->bankCode.isEmpty())
        return QStringLiteral("U čísla účtu chybí kód banky za lomítkem.");
    return {};
}

QString ibanProblem(const QString& text) {
    if (text.trimmed().isEmpty())
        return {};
    if (!isValidIban(text))
        return QStringLiteral("IBAN nevyhovuje kontrole (délka nebo kontrolní číslice).");
    return {};
}

QString icoProblem(const QString& text) {
    if (text.trimmed().isEmpty())
        return {};
    if (!isValidIco(text))
        return QStringLiteral("IČ nevyhovuje kontrole modulo 11 (osm číslic, poslední kontrolní).");
    return {};
}

QString paymentIban(const QString& accountText, const QString& ibanText) {
    const QString typed = normalizeIban(ibanText);
    if (!typed.isEmpty())
        return typed;
    if (const std::optional<CzechAccount> account = parseCzechAccount(accountText))
        return czechAccountToIban(*account);
    return {};
}

} // namespace kelvarn
