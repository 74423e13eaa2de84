#pragma once

namespace kelvarn {

class Dataset;
class DbContext;
class EntrepreneurNow;

// A line can only be started under a document that has been saved: a line of a
// document without id would be stored belonging to none.
bool headerAcceptsLines(const Dataset& header);

// The BeforePost of an item line: the line's amounts from unit price × quantity
// (a missing unit price derived from the typed net or gross), the default quantity
// and rate, then the confirmation and the post protocol. A value the line cannot
// take is named to the user and nothing is written. Returns false when the post
// must be aborted.
bool saveItemLine(Dataset& items, DbContext& db, const EntrepreneurNow& entrepreneur);

} // namespace kelvarn
