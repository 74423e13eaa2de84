#pragma once

namespace kelvarn {
class DatabaseSession;
}

namespace kelvarn::bench {

// Fills tbl_hlavnikniha of an installed embedded database with `count` cash-book
// rows of the years 2016-2025, in date order as they are typed in: cash vouchers and
// bank statements paying issued and received invoices (paired by number and id),
// deposits, withdrawals and private use (unpaired, non-taxable). Every column gets a
// value except the pairing of unpaired rows, which stays null as it does in a real
// book. One prepared statement, one transaction; the same seed gives the same rows.
// Throws std::runtime_error, also when the table has a column this filler does not
// know.
void fillCashBook(DatabaseSession& session, int count, unsigned seed = 20260102);

} // namespace kelvarn::bench
