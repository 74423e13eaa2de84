#pragma once

#include "output/spayd.h"

#include <QDate>
#include <QString>

#include <optional>

namespace kelvarn {

// The values of an issued document the payment code on its printed form is made of.
struct InvoicePaymentFields {
    QString number;                    // cislo_dokladu
    QString paymentMethod;             // zpusob_uhrady
    QString account;                   // dod_cislo_uctu
    QString iban;                      // dod_cislo_uctu_IBAN
    std::optional<double> amountToPay; // zbyva_uhradit
    QString currency;                  // mena
    QString variableSymbol;
    std::optional<QDate> dueDate; // datum_spatnosti
    QString supplierName;         // dod_nazev_firmy
};

// "Kč", "Kc", "CZK" and an empty currency are CZK, "€" is EUR, any other three
// letters are taken as the ISO code they are; anything else has none ("").
QString isoCurrencyCode(const QString& currency);

// The payment request an issued invoice (number beginning "FAV") paid other than in
// cash carries: to the entrepreneur's IBAN, the amount still to be paid, with the
// variable symbol and due date. The IBAN is the typed one, else the one the Czech
// account number converts to. Nothing for every other document, cash payment, a
// missing or mistyped IBAN, nothing left to pay, or a currency without an ISO code:
// a code that sends money wrongly is worse than none.
std::optional<SpaydPayment> invoicePayment(const InvoicePaymentFields& fields);

} // namespace kelvarn
