#pragma once

namespace kelvarn {

// The one rounding rule for stored amounts: to `places` decimal places, an exact
// half going to the even neighbour. Money uses 2 places, VAT coefficients,
// quantities and unit prices 4, exchange rates 6.
double roundPlaces(double value, int places);

} // namespace kelvarn
