#pragma once

#include "db/dataset.h"

#include <QString>

#include <optional>

namespace kelvarn {

// Characters as the servers count them: a pair of surrogates is one.
qsizetype characterCount(const QString& text);

// The refusal of a text longer than its column holds; `field` is the name the reader
// knows the field by.
QString tooLongText(const QString& field, int size, qsizetype given);

// The refusal of `typed` for a text column it does not fit, naming the field by its
// caption; nothing when it fits or the column has no known size.
std::optional<QString> textTooLong(const DatasetColumn& column, const QString& caption, const QString& typed);

// What the user is told when a typed text was refused for a column: a text too long
// for it says how many characters fit, anything else (a text that is no number or
// date) is the refusal prefixed with the field's caption. Both name the field by the
// caption the user sees, never by the database column.
QString fieldRefusalText(const DatasetColumn& column, const QString& caption, const QString& typed,
                         const QString& refusal);

} // namespace kelvarn
