#include "documents/line_summary.h"

#include "core/money.h"

#include <cmath>
#include <cstdlib>

namespace kelvarn {

namespace {

double money(double value) {
    return roundPlaces(value, 2);
}

HeaderTotals finish(std::array<double, 3> net, std::array<double, 3> vat, std::array<double, 3> gross,
                    double deposits) {
    HeaderTotals t;
    for (int s = 0; s < 3; ++s) {
        t.net[s] = money(net[s]);
        t.vat[s] = money(vat[s]);
        t.gross[s] = money(gross[s]);
    }
    t.totalNet = money(net[ZeroSlot] + net[ReducedSlot] + net[BasicSlot]);
    t.totalVat = money(vat[ReducedSlot] + vat[BasicSlot]);
    t.totalGross = money(gross[ZeroSlot] + gross[ReducedSlot] + gross[BasicSlot]);
    t.remaining = money(t.totalGross + deposits);
    return t;
}

} // namespace

LineSummary summarizeLines(const std::vector<RateGroup>& groups, double depositSum, DocumentRates rates) {
    LineSummary s;
    s.deposits = money(depositSum);
    const double reduced = money(rates.reduced);
    const double basic = money(rates.basic);
    for (const RateGroup& g : groups) {
        const double net = money(g.net);
        Slot slot;
        if (!g.rate) {
            if (net != 0)
                s.strayRates.push_back(0);
            continue;
        }
        const double rate = money(*g.rate);
        if (rate == 0)
            slot = ZeroSlot;
        else if (rate == basic)
            slot = BasicSlot;
        else if (rate == reduced)
            slot = ReducedSlot;
        else {
            if (net != 0)
                s.strayRates.push_back(rate);
            continue;
        }
        s.net[slot] = money(s.net[slot] + net);
        s.vat[slot] = slot == ZeroSlot ? 0 : money(rate * 0.01 * s.net[slot]);
        s.gross[slot] = s.net[slot] + s.vat[slot];
    }
    return s;
}

CashStep cashStepOf(const QString& roundingCode) {
    return roundingCode.trimmed() == QLatin1String("1") ? CashStep::WholeUnits : CashStep::Halves;
}

double cashRoundingDifference(double total, CashStep step) {
    const double magnitude = std::fabs(total);
    const double fraction = money(magnitude - std::trunc(magnitude));
    double difference = 0;
    if (step == CashStep::WholeUnits) {
        if (fraction > 0)
            difference = fraction < 0.5 ? -fraction : 1 - fraction;
    } else if (fraction > 0) {
        if (fraction < 0.25)
            difference = -fraction;
        else if (fraction <= 0.5)
            difference = 0.5 - fraction;
        else if (fraction < 0.75)
            difference = -(fraction - 0.5);
        else
            difference = 1 - fraction;
    }
    difference = money(difference);
    return total < 0 ? -difference : difference;
}

Slot roundingSlot(const LineSummary& summary) {
    const bool reduced = summary.vat[ReducedSlot] != 0;
    const bool basic = summary.vat[BasicSlot] != 0;
    if (reduced && basic) {
        const qint64 cents = std::llabs(std::llround(summary.gross[ReducedSlot] * 100));
        return cents % 10 != 0 ? ReducedSlot : BasicSlot;
    }
    if (basic)
        return BasicSlot;
    if (reduced)
        return ReducedSlot;
    return ZeroSlot;
}

HeaderTotals sumWithoutRounding(const LineSummary& s, DocumentRates rates) {
    std::array<double, 3> vat{};
    std::array<double, 3> gross{};
    gross[ZeroSlot] = s.net[ZeroSlot];
    const double rateOf[3] = {0, rates.reduced, rates.basic};
    for (int slot : {ReducedSlot, BasicSlot}) {
        vat[slot] = money(rateOf[slot] * 0.01 * s.net[slot]);
        gross[slot] = s.net[slot] + vat[slot];
    }
    return finish(s.net, vat, gross, s.deposits);
}

HeaderTotals sumWithCashRounding(const LineSummary& s, DocumentRates rates, CashStep step) {
    std::array<double, 3> net = s.net;
    std::array<double, 3> gross = s.gross;
    gross[ZeroSlot] = net[ZeroSlot];
    const double difference =
        cashRoundingDifference(gross[ZeroSlot] + gross[ReducedSlot] + gross[BasicSlot], step);
    if (difference != 0) {
        const Slot slot = roundingSlot(s);
        if (slot == ZeroSlot) {
            net[ZeroSlot] += difference;
            gross[ZeroSlot] = net[ZeroSlot];
        } else {
            gross[slot] += difference;
        }
    }
    std::array<double, 3> vat{};
    const double rateOf[3] = {0, rates.reduced, rates.basic};
    for (int slot : {ReducedSlot, BasicSlot}) {
        gross[slot] = money(gross[slot]);
        vat[slot] = money(vatCoefficient(rateOf[slot]) * gross[slot]);
        net[slot] = gross[slot] - vat[slot];
    }
    vat[ZeroSlot] = difference;
    return finish(net, vat, gross, s.deposits);
}

} // namespace kelvarn
