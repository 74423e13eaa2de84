#pragma once

#include "registers/register_hooks.h"

#include <QString>

namespace kelvarn {

class Dataset;
class DbContext;

// Goods (tbl_zbozi): a new good takes the standard VAT rate read when the database
// was opened, whether or not the business pays VAT; the unit price is stored to 4
// places and the two fees to 2, an empty fee as 0.
void installGoodsRules(Dataset& goods, DbContext& db, const RegisterHooks& hooks = {});

// The name a new partner starts with. The whole text is selected
// (RegisterHooks::selectWholeText on "nazev_firmy") so that typing replaces it.
QString partnerPlaceholderName();
// True while the current partner still carries the placeholder name; a name box
// focused in that state selects its whole text.
bool partnerNameIsPlaceholder(const Dataset& partners);
void installPartnerRules(Dataset& partners, DbContext& db, const RegisterHooks& hooks = {});

// Orders (tbl_zakazka): received today by default; a date changed in the row is
// stored without its time of day; an order saved without a label is numbered
// "ZAK-" year of receipt "-" serial from that year's series.
void installOrderRules(Dataset& orders, DbContext& db, const RegisterHooks& hooks = {});

} // namespace kelvarn
