#pragma once

#include "exchange/bank_statement.h"

#include <QByteArray>

namespace kelvarn {

// Reads a bank statement in the fixed-width GPC (ABO) format: code page 1250 lines
// of 128 characters, a "074" header with the balances and turnovers, "075" items
// with amounts in haléř, and the "076", "078" and "079" lines some banks add after
// an item. The turnovers and the new balance must agree with the items, or the
// file is refused. Several "074" blocks of the same account are read as one.
StatementReadResult readGpcStatement(const QByteArray& bytes);

} // namespace kelvarn
