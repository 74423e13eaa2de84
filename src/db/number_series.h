#pragma once

#include <QString>

#include <optional>

namespace kelvarn {

class DbContext;

// Zero-padded to at least five digits: 1 -> "00001", 123456 stays.
QString padSeriesNumber(qint64 number);

// Hands out the next number of the series `key` (prefix "-" year), creating the
// series on first use. Returns nothing when the caller's post must be aborted: the
// number already exists (message 17) or the user declined the gap warning
// (message 15). Two program instances on one database never receive the same
// number: the series is read and advanced under a lock.
std::optional<QString> nextNumber(DbContext& context, const QString& key);

} // namespace kelvarn
