#pragma once

#include <QVariant>

namespace kelvarn {

class Dataset;
class DbContext;

// The goods row copied into the current item line (edit or insert state): code,
// description, unit, discount, unit price and warranty as the goods have them (an
// empty goods value empties the line's), the goods link, and the rate: the goods
// rate for a VAT payer, 0 for anyone else, empty when the goods have none (the save
// supplies the default then). Quantity, order, serial number and note stay.
void copyGoodsIntoLine(Dataset& items, const Dataset& goods, bool vatPayer);

// The statutory fees of goods, each added as a line of its own after the goods line.
struct GoodsFees {
    double osa = 0;       // cena_poplatek2
    double recycling = 0; // cena_poplatek1
    bool any() const { return osa > 0 || recycling > 0; }
};
GoodsFees feesOf(const Dataset& goods);

enum class GoodsTaken {
    LineOpen,   // no fees: the line waits, unsaved, for its quantity
    LinesSaved, // the goods line and its fee lines were saved; the goods line is current
    Stopped,    // a save was refused or failed; what was saved before stays
};

// Copies the goods into the current line and, for goods with fees, saves that line
// and adds the OSA line, then the recycling line (no question asked for any of
// them), ending on the goods line again.
GoodsTaken takeGoodsIntoLines(Dataset& items, const Dataset& goods, DbContext& db, bool vatPayer);

} // namespace kelvarn
