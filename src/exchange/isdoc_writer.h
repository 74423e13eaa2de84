#pragma once

#include "exchange/isdoc_document.h"

#include <QByteArray>

namespace kelvarn {

// The document as an ISDOC 6.0.2 file (UTF-8, namespace http://isdoc.cz/namespace/2013),
// elements in the order the standard's schema fixes. A document without lines gets
// one line per rate total, since the standard requires at least one.
QByteArray writeIsdoc(const IsdocDocument& document);

} // namespace kelvarn
