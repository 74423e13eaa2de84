#pragma once

#include "exchange/isdoc_document.h"

#include <QByteArray>

namespace kelvarn {

struct IsdocReadResult {
    bool ok = false;
    QString error;
    IsdocDocument document;
};

// Reads an ISDOC 6.x invoice (root Invoice in http://isdoc.cz/namespace/2013): the
// parties, lines, the VAT recapitulation per rate (the part this document taxes,
// after deposits already claimed), totals and the first payment. Amounts must be
// exact to the haléř and the recapitulation must add up to the totals; anything
// else is refused with the line of the file.
IsdocReadResult readIsdoc(const QByteArray& bytes);

} // namespace kelvarn
