#pragma once

#include <QString>

#include <optional>

namespace kelvarn {

enum class CashDirection { Income, Expense };

// Where the document to register comes from, by the current panel.
struct RegistrationSource {
    QString dataset;       // ADOFormFAV, ADOFormFAP, ADOFormPPD, ADOFormVPD
    QString amountColumn;  // looked up by the document's id: zbyva_uhradit or celkem_doklad_s_dph
    QString invoicePrefix; // vouchers: the invoice named in poznamka2 ("FAV-" / "FAP-"); "" otherwise
};

// The source of a panel; nothing for panels that show no document.
std::optional<RegistrationSource> registrationSource(const QString& panelId);

// The invoice number a voucher's purpose of payment names: the 14 characters from
// the first occurrence of the prefix; "" when it does not occur.
QString invoiceNumberIn(const QString& purpose, const QString& prefix);

// Cash sales and purchases, deposits and cash vouchers are registered; invoices and
// the other kinds are typed into the cash book by hand.
bool isRegistrable(const QString& documentNumber);

// The description a registered row starts with, by the number's prefix.
QString registrationDescription(const QString& documentNumber);

// How the amount goes into the row: taxable and non-taxable part, and whether a VAT
// payer must be told to split it by hand (message 23).
struct RegisteredAmounts {
    double taxable = 0;
    double nonTaxable = 0;
    bool splitByHand = false;
};

// A VAT payer registering a paired document for exactly its gross total books the net
// total as taxable and the VAT as non-taxable; otherwise the whole amount is taxable.
RegisteredAmounts registeredAmounts(bool vatPayer, bool paired, double amount, double gross, double net,
                                    double vat);

} // namespace kelvarn
