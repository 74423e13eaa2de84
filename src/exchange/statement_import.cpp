#include "exchange/statement_import.h"

#include "cashbook/document_settlement.h"
#include "cashbook/registration_draft.h"
#include "cashbook/settlement_plan.h"
#include "core/money.h"
#include "db/database_session.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "exchange/statement_import_plan.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>

namespace kelvarn {

namespace {

struct DocumentTotals {
    double gross = 0, net = 0, vat = 0;
};

DocumentTotals totalsOf(DbContext& db, const QString& id) {
    DocumentTotals t;
    QSqlQuery q = db.session().query(
        QStringLiteral("SELECT celkem_doklad_s_dph, celkem_doklad, celkem_doklad_dph FROM tbl_doklad WHERE id=?"),
        {id.toLongLong()});
    if (q.next()) {
        t.gross = roundPlaces(q.value(0).toDouble(), 2);
        t.net = roundPlaces(q.value(1).toDouble(), 2);
        t.vat = roundPlaces(q.value(2).toDouble(), 2);
    }
    return t;
}

bool isVatPayer(DbContext& db) {
    QSqlQuery q = db.session().query(QStringLiteral("SELECT platce_dph FROM tbl_podnikatel WHERE id=1"));
    return q.next() && q.value(0).toString().trimmed().toLower() == QLatin1String("ano");
}

// The description of the row: who paid and what for, as the column holds it.
QString descriptionOf(const StatementItem& item) {
    QString text = item.counterName;
    if (!item.message.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(", ")) + item.message;
    if (text.isEmpty())
        text = item.counterAccount;
    if (text.isEmpty())
        text = item.signedCents() >= 0 ? QStringLiteral("Příjem na účet") : QStringLiteral("Platba z účtu");
    return text.left(60);
}

} // namespace

StatementImportResult importStatement(DbContext& db, const StatementImportPlan& plan) {
    if (!plan.refusal().isEmpty())
        throw DbError(plan.refusal());
    StatementImportResult result;
    const bool vatPayer = isVatPayer(db);
    const bool sequences = db.state().usesSequences();
    const QString insert =
        QStringLiteral("INSERT INTO tbl_hlavnikniha (%1datum, doklad, popis, prijem_danovy, prijem_nedanovy, "
                       "vydaj_danovy, vydaj_nedanovy, prijem_6, prijem_7, prijem_8, prijem_9, prijem_10, vydaj_6, "
                       "vydaj_7, vydaj_8, vydaj_9, vydaj_10, cislo_dokladu, id_tbl_doklad, dateTS0, dateTS1) "
                       "VALUES (%2?, ?, ?, ?, ?, ?, ?, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, ?, ?, ?, ?)")
            .arg(sequences ? QStringLiteral("id, ") : QString(), sequences ? QStringLiteral("?, ") : QString());

    Transaction unit(db.session());
    // Checked again inside the unit: another import may have finished meanwhile.
    if (statementAlreadyImported(db, plan.fingerprint()))
        throw DbError(QStringLiteral("Tento výpis už byl do příjmů a výdajů importován."));
    // Remaining amounts as the settlement leaves them, so that several items paying
    // one document settle one after another within the unit.
    QHash<QString, SettledDocument> documents;
    const QDateTime now = QDateTime::currentDateTime();
    const auto& items = plan.items();
    for (size_t i = 0; i < items.size(); ++i) {
        const PlannedItem& p = items[i];
        if (p.action == ItemAction::Skip)
            continue;
        const qint64 cents = p.item.signedCents();
        const double amount = centsToCrowns(qAbs(cents));
        const bool paired = p.action == ItemAction::Pair && !p.documentId.isEmpty();
        RegisteredAmounts split{amount, 0, false};
        SettledDocument document;
        if (paired) {
            auto found = documents.find(p.documentId);
            if (found == documents.end())
                found = documents.insert(p.documentId, readSettledDocument(db, p.documentId));
            document = *found;
            if (document.type.isEmpty())
                throw DbError(QStringLiteral("Doklad %1, s nímž je spárována položka %2 výpisu, mezitím zmizel.")
                                  .arg(p.documentNumber)
                                  .arg(i + 1));
            // Only a VAT payer's payment can be split; nobody else's needs the totals.
            const DocumentTotals totals = vatPayer ? totalsOf(db, p.documentId) : DocumentTotals{};
            split = registeredAmounts(vatPayer, true, amount, totals.gross, totals.net, totals.vat);
        }
        const bool in = cents >= 0;
        QVariantList binds;
        if (sequences)
            binds << db.nextId(QStringLiteral("tbl_hlavnikniha"));
        binds << QDateTime(p.item.date.isValid() ? p.item.date : plan.statement().date, QTime(0, 0))
              << plan.voucherOf(static_cast<int>(i)) << descriptionOf(p.item)
              << (in ? roundPlaces(split.taxable, 2) : 0.0) << (in ? roundPlaces(split.nonTaxable, 2) : 0.0)
              << (in ? 0.0 : roundPlaces(split.taxable, 2)) << (in ? 0.0 : roundPlaces(split.nonTaxable, 2))
              << (paired ? QVariant(document.number) : QVariant(QMetaType(QMetaType::QString)))
              << (paired ? QVariant(p.documentId.toLongLong()) : QVariant(QMetaType(QMetaType::LongLong)))
              << now << now;
        db.session().execute(insert, binds);
        ++result.rowsWritten;
        if (!paired)
            continue;
        const double income = in ? amount : 0.0;
        const double expense = in ? 0.0 : amount;
        const SettlementPlan settlement =
            planSettlement(SettlementContext{SettlementMode::Insert, {}, 0, 0}, income, expense, SettledDocument{},
                           document);
        if (settlement.writes.empty())
            continue;
        writeSettlement(db, settlement.writes);
        documents[p.documentId].remaining = settlement.writes.back().remaining;
        ++result.documentsSettled;
    }
    unit.commit();
    return result;
}

} // namespace kelvarn
