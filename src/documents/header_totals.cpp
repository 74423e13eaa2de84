#include "documents/header_totals.h"

#include "core/money.h"

namespace kelvarn {

namespace {

double money(std::optional<double> value) {
    return roundPlaces(value.value_or(0), 2);
}

} // namespace

DocumentRates resolveRates(std::optional<double> reduced, std::optional<double> basic, double fallbackReduced,
                           double fallbackBasic) {
    DocumentRates rates{money(reduced), money(basic)};
    if (rates.reduced == 0)
        rates.reduced = fallbackReduced;
    if (rates.basic == 0)
        rates.basic = fallbackBasic;
    return rates;
}

double vatCoefficient(double rate) {
    return roundPlaces(rate / (100 + rate), 4);
}

HeaderDerivation deriveHeader(const HeaderFields& f, DocumentRates rates) {
    HeaderDerivation out;
    HeaderTotals& t = out.totals;
    std::array<double, 3> net{}, vat{}, gross{};
    for (int s = 0; s < 3; ++s) {
        net[s] = money(f.net[s]);
        vat[s] = money(f.vat[s]);
        gross[s] = money(f.gross[s]);
    }

    // The zero slot has no VAT: net and gross are the same amount.
    if (!f.net[ZeroSlot]) {
        net[ZeroSlot] = gross[ZeroSlot];
        out.derived = true;
    }
    if (!f.gross[ZeroSlot]) {
        gross[ZeroSlot] = net[ZeroSlot];
        out.derived = true;
    }

    const double rateOf[3] = {0, rates.reduced, rates.basic};
    for (int s : {ReducedSlot, BasicSlot}) {
        const double rate = rateOf[s];
        if (!f.net[s]) {
            vat[s] = roundPlaces(vatCoefficient(rate) * gross[s], 2);
            net[s] = gross[s] - vat[s];
            out.derived = true;
        }
        if (!f.gross[s]) {
            net[s] = roundPlaces(net[s], 2);
            vat[s] = roundPlaces(net[s] * rate * 0.01, 2);
            gross[s] = net[s] + vat[s];
            out.derived = true;
        }
        if (f.net[s] && f.gross[s] && !f.vat[s])
            vat[s] = roundPlaces(gross[s] - net[s], 2);
    }

    const double sumNet = net[ZeroSlot] + net[ReducedSlot] + net[BasicSlot];
    const double sumGross = gross[ZeroSlot] + gross[ReducedSlot] + gross[BasicSlot];
    const double sumVat = vat[ReducedSlot] + vat[BasicSlot]; // the zero slot's VAT is the cash rounding
    t.totalNet = out.derived || !f.totalNet ? sumNet : *f.totalNet;
    t.totalGross = out.derived || !f.totalGross ? sumGross : *f.totalGross;
    t.totalVat = out.derived || !f.totalVat ? sumVat : *f.totalVat;

    for (int s = 0; s < 3; ++s) {
        t.net[s] = roundPlaces(net[s], 2);
        t.vat[s] = roundPlaces(vat[s], 2);
        t.gross[s] = roundPlaces(gross[s], 2);
    }
    t.totalNet = roundPlaces(t.totalNet, 2);
    t.totalVat = roundPlaces(t.totalVat, 2);
    t.totalGross = roundPlaces(t.totalGross, 2);

    if (out.derived || !f.remaining)
        t.remaining = t.totalGross;
    else if (f.remainingChanged)
        t.remaining = roundPlaces(*f.remaining, 2);
    else
        t.remaining = *f.remaining;
    return out;
}

HeaderTotals roundVoucher(const HeaderFields& f) {
    HeaderTotals t;
    for (int s = 0; s < 3; ++s) {
        t.net[s] = money(f.net[s]);
        t.vat[s] = money(f.vat[s]);
        t.gross[s] = money(f.gross[s]);
    }
    t.totalNet = money(f.totalNet);
    t.totalVat = money(f.totalVat);
    t.totalGross = money(f.totalGross);
    t.remaining = 0;
    return t;
}

} // namespace kelvarn
