#pragma once

#include "cashbook/settlement_plan.h"

#include <QString>

#include <vector>

namespace kelvarn {

class DbContext;
class Prompts;

// How SetColumnByKey converts the value text.
enum class ValueKind { Text = 0, Integer = 1, Float = 2, DateTime = 3 };

// The remaining amount, type and number of the document with this id, read fresh;
// a document that does not exist (or an empty id) gives an ineligible one.
SettledDocument readSettledDocument(DbContext& db, const QString& id);

// Writes one column of the row whose key column equals keyValue, with the post
// properties of the run. True when exactly one row was found and written; false
// (nothing written) otherwise. The key value is an id and must be an integer.
// Throws DbError when the database refuses the write.
bool setColumnByKey(DbContext& db, const QString& table, const QString& keyColumn, const QString& keyValue,
                    const QString& column, const QString& valueText, ValueKind kind);

// Shows the plan's question ("Úhrada dokladu", Yes/No/Cancel, No the default) when
// it offers anything; the writes the user accepted (none unless Yes).
std::vector<SettlementWrite> askSettlement(Prompts& prompts, const SettlementPlan& plan);

// The new remaining amounts, in order; a document that vanished meanwhile is skipped.
void writeSettlement(DbContext& db, const std::vector<SettlementWrite>& writes);

} // namespace kelvarn
