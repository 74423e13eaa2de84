#include "core/money.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace kelvarn {

double roundPlaces(double value, int places) {
    if (!std::isfinite(value))
        return value;
    const double factor = std::pow(10.0, places);
    const double scaled = value * factor;
    const double floor = std::floor(scaled);
    const double fraction = scaled - floor;
    // Amounts are typed in decimal, and 2.675 is 2.67499999… in binary; a fraction
    // that misses one half only by the error of the scaling is taken as the half the
    // user wrote, or 2.675 would round down and 2.665 up.
    const double tolerance = 8 * DBL_EPSILON * std::max(1.0, std::fabs(scaled));
    double rounded;
    if (std::fabs(fraction - 0.5) <= tolerance)
        rounded = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
    else
        rounded = fraction < 0.5 ? floor : floor + 1;
    const double result = rounded / factor;
    return result == 0 ? 0.0 : result; // no "-0" in the grids
}

} // namespace kelvarn
