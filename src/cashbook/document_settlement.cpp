#include "cashbook/document_settlement.h"

#include "cashbook/text_lookup.h"
#include "core/formatting.h"
#include "core/prompts.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"

#include <QSqlQuery>

namespace kelvarn {

namespace {

bool isInteger(const QString& text) {
    bool ok = false;
    text.toLongLong(&ok);
    return ok;
}

QVariant convertValue(const QString& text, ValueKind kind) {
    switch (kind) {
    case ValueKind::Text:
        return text;
    case ValueKind::Integer: {
        bool ok = false;
        const qint64 v = text.trimmed().toLongLong(&ok);
        if (!ok)
            throw DbError(QStringLiteral("\"%1\" není platné celé číslo.").arg(text));
        return v;
    }
    case ValueKind::Float: {
        double v = 0;
        if (!parseNumber(text, v))
            throw DbError(QStringLiteral("\"%1\" není platné číslo.").arg(text));
        return v;
    }
    case ValueKind::DateTime: {
        QDateTime v;
        if (!parseDateTime(text, v))
            throw DbError(QStringLiteral("\"%1\" není platné datum.").arg(text));
        return v;
    }
    }
    return text;
}

} // namespace

SettledDocument readSettledDocument(DbContext& db, const QString& id) {
    SettledDocument document;
    document.id = id;
    // Ids come from the database's own integer column; anything else finds nothing.
    if (!isInteger(id))
        return document;
    const QString statement =
        QStringLiteral("SELECT id, zbyva_uhradit, doklad_typ, cislo_dokladu FROM tbl_doklad WHERE id=") + id;
    if (db.state().debug)
        db.log().append(statement);
    QSqlQuery q = db.session().query(statement);
    if (!q.next())
        return document;
    const QVariant remaining = q.value(1);
    const QString type = textOfValue(q.value(2));
    const QString number = textOfValue(q.value(3));
    if (q.next())
        return document;
    document.remaining = remaining.isNull() ? 0.0 : remaining.toDouble();
    document.type = type;
    document.number = number;
    return document;
}

bool setColumnByKey(DbContext& db, const QString& table, const QString& keyColumn, const QString& keyValue,
                    const QString& column, const QString& valueText, ValueKind kind) {
    if (!isInteger(keyValue))
        return false;
    const QString statement = QStringLiteral("SELECT ") + keyColumn + QStringLiteral(", ") + column +
                              QStringLiteral(" FROM ") + table + QStringLiteral(" WHERE ") + keyColumn +
                              u'=' + keyValue;
    if (db.state().debug)
        db.log().append(statement);
    Dataset uni(db.session(), QStringLiteral("ADOQueryUni"));
    uni.setSql(statement);
    uni.open();
    if (uni.recordCount() != 1)
        return false;
    uni.edit();
    uni.setValue(column, convertValue(valueText, kind));
    db.preparePost(uni, false);
    uni.post();
    return true;
}

std::vector<SettlementWrite> askSettlement(Prompts& prompts, const SettlementPlan& plan) {
    if (!plan.offersAnything())
        return {};
    const Answer answer = prompts.messageWithDefault(QStringLiteral("Úhrada dokladu"), plan.question,
                                                     MessageStyle::Question, Answer::No);
    return answer == Answer::Yes ? plan.writes : std::vector<SettlementWrite>{};
}

void writeSettlement(DbContext& db, const std::vector<SettlementWrite>& writes) {
    for (const SettlementWrite& write : writes)
        setColumnByKey(db, QStringLiteral("tbl_doklad"), QStringLiteral("id"), write.documentId,
                       QStringLiteral("zbyva_uhradit"), formatGeneral(write.remaining), ValueKind::Float);
}

} // namespace kelvarn
