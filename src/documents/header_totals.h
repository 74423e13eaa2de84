#pragma once

#include <array>
#include <optional>

namespace kelvarn {

// The three rate slots of a document header. Their column suffixes stay 0, 5 and 19
// whatever the rates are.
enum Slot { ZeroSlot = 0, ReducedSlot = 1, BasicSlot = 2 };

// The reduced and basic rate a document computes with.
struct DocumentRates {
    double reduced = 0;
    double basic = 0;
};

// The document's own rates (doklad_dsazba5/19, empty read as 0) rounded to two
// places; a rate of 0 falls back to the rate read when the database was opened.
DocumentRates resolveRates(std::optional<double> reduced, std::optional<double> basic, double fallbackReduced,
                           double fallbackBasic);

// The coefficient that takes the VAT out of a gross amount: rate / (100 + rate) to
// four places.
double vatCoefficient(double rate);

// The twelve amount fields of a header and the amount still to be paid, as the
// user left them (empty = nothing typed).
struct HeaderFields {
    std::array<std::optional<double>, 3> net;   // celkem_bez_dph_0/5/19
    std::array<std::optional<double>, 3> vat;   // celkem_dph_0/5/19; the zero slot's is the cash rounding
    std::array<std::optional<double>, 3> gross; // celkem_s_dph_0/5/19
    std::optional<double> totalNet;             // celkem_doklad
    std::optional<double> totalVat;             // celkem_doklad_dph
    std::optional<double> totalGross;           // celkem_doklad_s_dph
    std::optional<double> remaining;            // zbyva_uhradit
    bool remainingChanged = false;              // differs from the stored value (always on a new row)
};

// What a header stores: every field filled and rounded to two places.
struct HeaderTotals {
    std::array<double, 3> net{};
    std::array<double, 3> vat{};
    std::array<double, 3> gross{};
    double totalNet = 0;
    double totalVat = 0;
    double totalGross = 0;
    double remaining = 0;
};

struct HeaderDerivation {
    HeaderTotals totals;
    bool derived = false; // a net or gross slot field was empty and had to be made
};

// The save of an issued or received document: a slot typed only gross is split by
// the coefficient method, a slot typed only net gets VAT = net × rate, empty totals
// are summed, and when anything was derived the totals and the amount still to be
// paid follow the slots. A slot typed net and gross but no VAT gets their
// difference as VAT. An empty amount still to be paid becomes the gross total (an
// open document is not paid by leaving the box empty).
HeaderDerivation deriveHeader(const HeaderFields& fields, DocumentRates rates);

// The save of a cash voucher: nothing is derived, every amount is rounded (empty
// fields become 0) and nothing remains to be paid.
HeaderTotals roundVoucher(const HeaderFields& fields);

} // namespace kelvarn
