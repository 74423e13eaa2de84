#include "output/payment_qr.h"

#include "core/czech_account.h"

#include <algorithm>

namespace kelvarn {

QString isoCurrencyCode(const QString& currency) {
    const QString text = currency.trimmed();
    const QString upper = text.toUpper();
    if (text.isEmpty() || upper == QStringLiteral("KČ") || upper == QLatin1String("KC") ||
        upper == QLatin1String("CZK"))
        return QStringLiteral("CZK");
    if (text == QStringLiteral("€"))
        return QStringLiteral("EUR");
    if (upper.size() == 3 &&
        std::all_of(upper.begin(), upper.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; }))
        return upper;
    return {};
}

std::optional<SpaydPayment> invoicePayment(const InvoicePaymentFields& fields) {
    if (!fields.number.startsWith(QLatin1String("FAV")))
        return std::nullopt;
    if (fields.paymentMethod.toUpper().contains(QLatin1String("HOTOV")))
        return std::nullopt;
    const QString iban = paymentIban(fields.account, fields.iban);
    if (!isValidIban(iban))
        return std::nullopt;
    if (!fields.amountToPay || !(*fields.amountToPay >= 0.005))
        return std::nullopt;
    const QString currency = isoCurrencyCode(fields.currency);
    if (currency.isEmpty())
        return std::nullopt;

    SpaydPayment payment;
    payment.account = iban;
    payment.amount = fields.amountToPay;
    payment.currency = currency;
    payment.variableSymbol = fields.variableSymbol.trimmed();
    payment.message = QStringLiteral("Faktura ") + fields.number;
    payment.dueDate = fields.dueDate;
    payment.recipientName = fields.supplierName;
    if (buildSpayd(payment).contains(QLatin1String("*AM:")))
        return payment;
    return std::nullopt; // an amount the format cannot carry
}

} // namespace kelvarn
