#pragma once

#include "documents/header_totals.h"

#include <QString>

#include <optional>

namespace kelvarn {

// One item line as typed (empty = nothing typed).
struct ItemLineInput {
    QString code;                    // kod_zbozi
    std::optional<double> quantity;  // mnozstvi
    std::optional<double> unitPrice; // cena_jednotka
    std::optional<double> net;       // cena_celkem_bez_dph
    std::optional<double> rate;      // dph
    std::optional<double> gross;     // cena_celkem_s_dph
    std::optional<double> discount;  // sleva
};

// What a line refuses to be saved with: the column and why, in words that follow
// "Hodnota v poli <caption> ".
struct FieldProblem {
    QString column;
    QString reason;
};

// The line as it is stored. Without any price the line is saved as typed and the
// amounts below are not written.
struct ItemLineResult {
    bool hasPrice = false;
    double quantity = 0;
    std::optional<double> rate; // the typed rate or the default one
    double unitPrice = 0;
    double net = 0;
    double vat = 0;
    double gross = 0;
    std::optional<FieldProblem> problem;
};

// A line whose code begins with "#ZAL" (exactly so) holds a deposit.
bool isDepositCode(const QString& code);

// The rate a priced line without one gets: the document's basic rate for a VAT
// payer, 0 for a non-payer and for deposit lines.
double defaultLineRate(const QString& code, bool vatPayer, DocumentRates documentRates);

// The line's amounts from unit price × quantity (less the discount); a missing
// unit price is derived from the typed net or gross amount first. The rate must
// be 0 or one of the document's rates, or the line would be missing from every
// header total.
ItemLineResult computeItemLine(const ItemLineInput& line, bool vatPayer, DocumentRates documentRates);

} // namespace kelvarn
