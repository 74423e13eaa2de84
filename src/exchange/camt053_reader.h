#pragma once

#include "exchange/bank_statement.h"

#include <QByteArray>

namespace kelvarn {

// Reads an ISO 20022 bank-to-customer statement (camt.053.001.02 and the later
// versions that keep its element names) as Czech banks export it: the first
// statement of the file, its booked entries, the opening and closing balances
// (which must agree with the entries) and the Czech payment symbols, which banks
// write in the creditor reference or in the end-to-end id ("VS:123", "/VS123/SS/KS").
// Entries in another currency than the account's are refused.
StatementReadResult readCamt053Statement(const QByteArray& bytes);

// Haléř of a decimal amount text ("1234.5", "-0.01"); false when it is not one or
// has more than two decimal places.
bool parseDecimalCents(const QString& text, qint64& cents);

} // namespace kelvarn
