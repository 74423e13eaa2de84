#include "documents/item_rules.h"

#include "core/prompts.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "documents/document_row.h"
#include "documents/item_line.h"

#include <QSqlQuery>

namespace kelvarn {

namespace {

std::optional<double> numberOrNothing(const QVariant& v) {
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

// The document's rates as stored: the line belongs to what was saved.
std::optional<DocumentRates> storedRates(DbContext& db, const QVariant& documentId) {
    QSqlQuery q = db.session().query(
        QStringLiteral("SELECT doklad_dsazba5, doklad_dsazba19 FROM tbl_doklad WHERE id = ?"), {documentId});
    if (!q.next())
        return std::nullopt;
    return resolveRates(numberOrNothing(q.value(0)), numberOrNothing(q.value(1)), db.state().vatReduced,
                        db.state().vatBasic);
}

void refuse(Prompts& prompts, const QString& text) {
    prompts.message(QStringLiteral("Položka dokladu"), text, MessageStyle::Warning);
}

} // namespace

bool headerAcceptsLines(const Dataset& header) {
    return header.isActive() && !header.isEmpty() && header.state() != Dataset::State::Insert &&
           !header.isNull(QStringLiteral("id"));
}

bool saveItemLine(Dataset& items, DbContext& db, const EntrepreneurNow& entrepreneur) {
    const QVariant documentId = items.value(QStringLiteral("id_tbl_doklad"));
    if (documentId.isNull()) {
        refuse(db.prompts(),
               QStringLiteral("Položku nelze uložit: doklad, ke kterému patří, ještě nebyl uložen."));
        return false;
    }
    const std::optional<DocumentRates> rates = storedRates(db, documentId);
    if (!rates) {
        refuse(db.prompts(), QStringLiteral("Položku nelze uložit: doklad, ke kterému patří, již neexistuje. "
                                            "Obnovte seznam (F5)."));
        return false;
    }

    ItemLineInput in;
    in.code = items.asString(QStringLiteral("kod_zbozi"));
    in.quantity = optionalNumber(items, QStringLiteral("mnozstvi"));
    in.unitPrice = optionalNumber(items, QStringLiteral("cena_jednotka"));
    in.net = optionalNumber(items, QStringLiteral("cena_celkem_bez_dph"));
    in.rate = optionalNumber(items, QStringLiteral("dph"));
    in.gross = optionalNumber(items, QStringLiteral("cena_celkem_s_dph"));
    in.discount = optionalNumber(items, QStringLiteral("sleva"));
    const ItemLineResult line = computeItemLine(in, entrepreneur.isVatPayer(), *rates);
    if (line.problem) {
        showFieldProblem(db.prompts(), *line.problem);
        return false;
    }

    if (!db.confirmSave())
        return false;
    db.preparePost(items, items.state() == Dataset::State::Insert);
    db.stampRow(items);
    if (!line.hasPrice)
        return true;
    items.setValue(QStringLiteral("mnozstvi"), line.quantity);
    items.setValue(QStringLiteral("dph"), *line.rate);
    items.setValue(QStringLiteral("cena_jednotka"), line.unitPrice);
    items.setValue(QStringLiteral("cena_celkem_bez_dph"), line.net);
    items.setValue(QStringLiteral("dph_celkem"), line.vat);
    items.setValue(QStringLiteral("cena_celkem_s_dph"), line.gross);
    return true;
}

} // namespace kelvarn
