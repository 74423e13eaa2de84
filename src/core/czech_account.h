#pragma once

#include "core/iban.h"

#include <QString>

#include <optional>

namespace kelvarn {

// A Czech bank account: prefix (up to 6 digits), number (2 to 10 digits) and the
// four-digit bank code, kept without the leading zeros people leave out.
struct CzechAccount {
    QString prefix; // "" when the account has none
    QString number;
    QString bankCode; // "" when the text named no bank

    // "prefix-number/bank", the form people write; the prefix and bank only when set.
    QString text() const;
    // The 16 digits of prefix and number, zero-padded (the form statements use).
    QString digits16() const;
    bool operator==(const CzechAccount& other) const = default;
};

// Reads "19-2000145399/0800", "2000145399/0800", "2000145399" (blanks ignored).
// Nothing when the text is not of that shape; the checksum is not tested here.
std::optional<CzechAccount> parseCzechAccount(const QString& text);

// The weighted mod-11 test of the prefix and of the number, each on its own.
bool hasValidChecksum(const CzechAccount& account);

// The IBAN of a Czech account (needs the bank code): "CZ", two check digits, bank
// code, prefix and number zero-padded to 6 and 10 digits.
QString czechAccountToIban(const CzechAccount& account);

// The Czech account an IBAN stands for; nothing unless it is a valid Czech IBAN.
std::optional<CzechAccount> czechAccountFromIban(const QString& iban);

// The IBAN a payment goes to: the one typed in its own field, else the one the
// Czech account number converts to ("" when that has no bank code). Not checked
// here; the caller decides what a wrong one means.
QString paymentIban(const QString& accountText, const QString& ibanText);

// The IČO test: eight digits (shorter ones count with leading zeros), the last
// being the weighted mod-11 check digit of the first seven.
bool isValidIco(const QString& ico);

// What is wrong with a typed value, for the warning that names its field; "" when
// it looks right or is empty (an empty field is not a typo).
QString accountProblem(const QString& text);
QString ibanProblem(const QString& text);
QString icoProblem(const QString& text);

} // namespace kelvarn
