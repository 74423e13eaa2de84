#pragma once

#include "documents/document_kinds.h"

namespace kelvarn {

class Dataset;
class Prompts;

// The partner and the order a document refers to, taken from the current row of the
// partner or order list, or cleared. The document must be in edit or insert state.

// Copies the partner into the odb_ columns (received documents: also the bank
// account; issued: the delivery address and, when both are known, the due date from
// the partner's own term). Texts the document cannot hold whole are left empty and
// named in one warning, never cut. False when such a warning was shown.
bool copyPartnerIntoDocument(Dataset& document, DocumentType type, const Dataset& partner, Prompts& prompts);
void copyOrderIntoDocument(Dataset& document, const Dataset& order);

// Empties the partner columns of the type (the due date stays) or the order link.
void clearPartnerOfDocument(Dataset& document, DocumentType type);
void clearOrderOfDocument(Dataset& document);

// The contact a document shows for a partner: telephone, then ", " and e-mail.
QString partnerContact(const QString& telephone, const QString& email);

} // namespace kelvarn
