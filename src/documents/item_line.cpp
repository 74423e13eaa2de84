#include "documents/item_line.h"

#include "core/formatting.h"
#include "core/money.h"
#include "documents/amount_limits.h"

#include <cmath>

namespace kelvarn {

namespace {

std::optional<FieldProblem> tooLarge(const QString& column, std::optional<double> value) {
    if (value && !amountFits(*value))
        return FieldProblem{column, amountTooLargeReason()};
    return std::nullopt;
}

QString rateReason(DocumentRates rates) {
    return QStringLiteral("musí být 0 nebo sazba DPH dokladu (%1 % nebo %2 %).")
        .arg(formatGeneral(rates.reduced), formatGeneral(rates.basic));
}

bool rateOfDocument(double rate, DocumentRates rates) {
    const double r = roundPlaces(rate, 2);
    return r == 0 || r == roundPlaces(rates.reduced, 2) || r == roundPlaces(rates.basic, 2);
}

} // namespace

bool isDepositCode(const QString& code) {
    return code.startsWith(QLatin1String("#ZAL"));
}

double defaultLineRate(const QString& code, bool vatPayer, DocumentRates documentRates) {
    if (isDepositCode(code) || !vatPayer)
        return 0;
    return roundPlaces(documentRates.basic, 2);
}

ItemLineResult computeItemLine(const ItemLineInput& in, bool vatPayer, DocumentRates rates) {
    ItemLineResult out;
    out.hasPrice = in.gross || in.unitPrice || in.net;
    out.rate = in.rate;
    for (const auto& check : {tooLarge(QStringLiteral("mnozstvi"), in.quantity),
                              tooLarge(QStringLiteral("cena_jednotka"), in.unitPrice),
                              tooLarge(QStringLiteral("cena_celkem_bez_dph"), in.net),
                              tooLarge(QStringLiteral("cena_celkem_s_dph"), in.gross)}) {
        if (check) {
            out.problem = check;
            return out;
        }
    }
    if (in.discount && (!std::isfinite(*in.discount) || *in.discount > 100)) {
        out.problem = FieldProblem{QStringLiteral("sleva"), percentOutOfRangeReason()};
        return out;
    }
    if (!out.hasPrice)
        return out;

    if (!out.rate)
        out.rate = defaultLineRate(in.code, vatPayer, rates);
    const double rate = *out.rate;
    if (!std::isfinite(rate) || !rateOfDocument(rate, rates)) {
        out.problem = FieldProblem{QStringLiteral("dph"), rateReason(rates)};
        return out;
    }

    const double quantity = roundPlaces(in.quantity.value_or(1), 4);
    double unitPrice = in.unitPrice.value_or(0);
    if (!in.unitPrice) {
        double net = 0;
        if (in.net) {
            net = roundPlaces(*in.net, 2);
        } else {
            const double gross = roundPlaces(*in.gross, 2);
            net = gross - roundPlaces(gross * rate / (rate + 100), 2);
        }
        // The unit price is the net amount per unit: nothing to divide by.
        if (quantity == 0) {
            out.problem =
                FieldProblem{QStringLiteral("mnozstvi"),
                             QStringLiteral("nesmí být 0, když se z celkové ceny počítá cena za jednotku.")};
            return out;
        }
        unitPrice = roundPlaces(net / quantity, 4);
    }

    out.quantity = quantity;
    out.unitPrice = roundPlaces(unitPrice, 4);
    out.net = roundPlaces(out.unitPrice * quantity, 2);
    // The discounted net and the gross keep their decimals, but not the binary
    // noise of the arithmetic: a net in cents less a discount in hundredths of a per
    // cent is exact at six places.
    if (in.discount && *in.discount > 0)
        out.net = roundPlaces(out.net - *in.discount * out.net * 0.01, 6);
    out.vat = roundPlaces(out.net * rate * 0.01, 2);
    out.gross = roundPlaces(out.net + out.vat, 6);
    if (!amountFits(out.unitPrice))
        out.problem = FieldProblem{QStringLiteral("cena_jednotka"), amountTooLargeReason()};
    else if (!amountFits(out.net) || !amountFits(out.gross))
        out.problem = FieldProblem{QStringLiteral("cena_celkem_bez_dph"), amountTooLargeReason()};
    return out;
}

} // namespace kelvarn
