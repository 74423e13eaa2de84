#pragma once

namespace kelvarn {
class DatabaseSession;
}

namespace kelvarn::bench {

// Fills tbl_doklad of an installed embedded database with `count` documents of the
// years 2016-2025 (document series of those years are taken). Every column of the
// table gets a value: Czech texts of the lengths a real ledger has, dates in the
// canonical text form, money as doubles. The rows go in through one prepared
// statement straight on SQLite in a single transaction, because filling is set-up,
// not what is measured. The same seed gives the same rows. Throws
// std::runtime_error, also when the table has a column this filler does not know.
void fillDocuments(DatabaseSession& session, int count, unsigned seed = 20260101);

} // namespace kelvarn::bench
