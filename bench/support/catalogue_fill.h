#pragma once

namespace kelvarn {
class DatabaseSession;
}

namespace kelvarn::bench {

// Spreads `count` item lines over the issued documents (doklad_typ 1) already in
// tbl_doklad, a few to a few dozen each, in one transaction as fillDocuments does.
// Throws std::runtime_error, also when there are no issued documents.
void fillItemLines(DatabaseSession& session, int count, unsigned seed = 20260102);

// Fills tbl_partner with `count` partners whose names begin with a trade, so that a
// name search by the first letters narrows the list as a real one would.
void fillPartners(DatabaseSession& session, int count, unsigned seed = 20260103);

} // namespace kelvarn::bench
