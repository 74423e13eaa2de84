#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace kelvarn {

// A payment request in the Czech "QR Platba" text format (Short Payment Descriptor,
// version 1.0), as banking apps read it from a QR code.
struct SpaydPayment {
    QString account; // IBAN in its electronic form
    std::optional<double> amount;
    QString currency; // ISO 4217 code, e.g. CZK
    QString variableSymbol;
    QString message;
    std::optional<QDate> dueDate;
    QString recipientName;
};

namespace spayd {
inline constexpr int kMaxAmountLength = 10;
inline constexpr int kMaxMessageLength = 60;
inline constexpr int kMaxRecipientLength = 35;
inline constexpr int kMaxVariableSymbolLength = 10;
} // namespace spayd

// The text in the characters the format allows (ISO-8859-1): accents dropped
// ("Dvořák" → "Dvorak"), dashes as "-", anything else left over as "?".
QString latin1Text(const QString& text);

// "*" separates the fields, so a value writes it as "%2A"; line breaks and other
// control characters become blanks; see latin1Text. At most maxLength characters of
// the written form are kept, never half of an escape.
QString escapeSpaydValue(const QString& value, int maxLength = -1);

// "SPD*1.0*ACC:…*AM:…*CC:…*X-VS:…*MSG:…*DT:…*RN:…" in this order, to be put into
// the QR code as ISO-8859-1 bytes (toLatin1); empty fields,
// an amount that is not positive or does not fit ten characters, and a variable
// symbol that is not one to ten digits are left out.
QString buildSpayd(const SpaydPayment& payment);

} // namespace kelvarn
