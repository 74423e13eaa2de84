#include "documents/amount_limits.h"

#include <cmath>

namespace kelvarn {

bool amountFits(double value) {
    return std::isfinite(value) && std::fabs(value) < kAmountLimit;
}

QString amountTooLargeReason() {
    return QStringLiteral("je příliš velká: částky a množství musí být menší než 100 000 000 000.");
}

bool percentFits(double value) {
    return std::isfinite(value) && value >= 0 && value <= 100;
}

QString percentOutOfRangeReason() {
    return QStringLiteral("musí být procento od 0 do 100.");
}

} // namespace kelvarn
