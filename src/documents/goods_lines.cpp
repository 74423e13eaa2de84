#include "documents/goods_lines.h"

#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"

namespace kelvarn {

namespace {

QVariant textOrNull(const Dataset& goods, const char* column) {
    const QString text = goods.asString(QLatin1String(column));
    return text.isEmpty() ? QVariant() : goods.value(QLatin1String(column));
}

// The save's own question was answered by picking the goods; a refused save keeps
// the line open for the user.
bool saveWithoutQuestion(Dataset& items, DbContext& db) {
    db.skipNextConfirmation();
    try {
        const bool saved = items.post();
        db.resetSkipConfirmation();
        return saved;
    } catch (...) {
        db.resetSkipConfirmation();
        throw;
    }
}

const char* const kOsaText = " - poplatek OSA dle zákona č. 488/2006 Sb.";
const char* const kRecyclingText = " - poplatek za recyklaci dle zákona č. 185/2001 Sb.";

} // namespace

void copyGoodsIntoLine(Dataset& items, const Dataset& goods, bool vatPayer) {
    items.setValue(QStringLiteral("id_tbl_zbozi"), goods.value(QStringLiteral("id")));
    for (const char* column : {"kod_zbozi", "popis", "mj", "sleva", "cena_jednotka", "zaruka"})
        items.setValue(QLatin1String(column), textOrNull(goods, column));
    const QVariant rate = textOrNull(goods, "dph");
    items.setValue(QStringLiteral("dph"), rate.isNull() || vatPayer ? rate : QVariant(0.0));
}

GoodsFees feesOf(const Dataset& goods) {
    return {goods.asFloat(QStringLiteral("cena_poplatek2")), goods.asFloat(QStringLiteral("cena_poplatek1"))};
}

GoodsTaken takeGoodsIntoLines(Dataset& items, const Dataset& goods, DbContext& db, bool vatPayer) {
    if (!items.isEditing())
        return GoodsTaken::Stopped;
    copyGoodsIntoLine(items, goods, vatPayer);
    const GoodsFees fees = feesOf(goods);
    if (!fees.any())
        return GoodsTaken::LineOpen;
    if (!saveWithoutQuestion(items, db))
        return GoodsTaken::Stopped;
    const QVariant goodsLine = items.value(QStringLiteral("id"));

    // The rate of a fee line is left to the line's save: a VAT payer's line without
    // a rate takes the document's basic rate, anyone else's 0, whatever the goods' own.
    const std::pair<double, const char*> lines[] = {{fees.osa, kOsaText}, {fees.recycling, kRecyclingText}};
    for (const auto& [fee, text] : lines) {
        if (fee <= 0)
            continue;
        items.append();
        if (!items.isEditing())
            return GoodsTaken::Stopped;
        items.setValue(QStringLiteral("popis"), QString::fromUtf8(text));
        items.setValue(QStringLiteral("mj"), QStringLiteral("ks"));
        items.setValue(QStringLiteral("cena_jednotka"), fee);
        if (!saveWithoutQuestion(items, db)) {
            items.cancel();
            return GoodsTaken::Stopped;
        }
    }
    items.locate(QStringLiteral("id"), goodsLine);
    return GoodsTaken::LinesSaved;
}

} // namespace kelvarn
