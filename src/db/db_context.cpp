#include "db/db_context.h"

#include "core/formatting.h"
#include "core/message_catalogue.h"
#include "db/dataset.h"
#include "db/db_error.h"
#include "db/sql_dialect.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>

namespace kelvarn {

DbContext::DbContext(DatabaseSession& session, AppState& state, Prompts& prompts, DiagnosticLog& log)
    : session_(session), state_(state), prompts_(prompts), log_(log), skipConfirmOnce_(state.saveWithoutPrompt) {}

DbPlatform DbContext::platform() const {
    return platformFromCode(state_.platform);
}

QString DbContext::composeStatement(const QString& select, const QString& filter, const QString& where,
                                    const QString& orderBy) {
    return kelvarn::composeStatement(select, filter, where, orderBy, platform(), state_.debug ? &log_ : nullptr);
}

QString textOfValue(const QVariant& value) {
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    if (value.typeId() == QMetaType::Double)
        return formatGeneral(value.toDouble());
    return value.toString();
}

QString DbContext::quoteText(const QString& value) const {
    return SqlDialect::quoteText(value, platform());
}

QString DbContext::likePrefix(const QString& prefix) const {
    return SqlDialect::likePrefix(prefix, platform());
}

QString DbContext::lookupValue(const QString& table, const QString& column, const QString& id) {
    const bool byId = !id.isEmpty();
    // The id stands unquoted in the statement; only a number may stand there.
    if (byId && !SqlDialect::isIntegerText(id.trimmed()))
        return {};
    const QString statement = byId ? QStringLiteral("SELECT id, ") + column + QStringLiteral(" FROM ") + table +
                                         QStringLiteral(" WHERE id=") + id.trimmed()
                                   : QStringLiteral("SELECT ") + column + QStringLiteral(" As AutoInc FROM ") + table;
    if (state_.debug)
        log_.append(statement);
    QSqlQuery q = session_.query(statement);
    if (!q.next())
        return {};
    const QVariant value = q.value(byId ? 1 : 0);
    if (q.next())
        return {};
    return textOfValue(value);
}

qint64 DbContext::nextId(const QString& table) {
    const QString sequence = SqlDialect::sequenceName(table);
    QString text;
    if (platform() == DbPlatform::Oracle)
        text = lookupValue(QStringLiteral("dual"), sequence + QStringLiteral(".nextval"), {});
    else
        text = lookupValue(QStringLiteral("rdb$database"), QStringLiteral("gen_id(") + sequence + QStringLiteral(",1)"),
                           {});
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (!ok)
        throw DbError(QStringLiteral("\"%1\" není platné celé číslo (sekvence %2).").arg(text, sequence));
    return id;
}

void DbContext::preparePost(Dataset& dataset, bool inserting) const {
    dataset.setUpdateCriteria(state_.updateCriteria);
    dataset.setResync(inserting ? state_.resyncOnInsert : state_.resyncOnEdit);
}

bool DbContext::confirmSave() {
    bool yes = true;
    if (!state_.saveWithoutPrompt && !skipConfirmOnce_)
        yes = showMessageCode(prompts_, state_, 8) == Answer::Yes;
    skipConfirmOnce_ = state_.saveWithoutPrompt;
    return yes;
}

bool DbContext::confirmDelete() {
    return showMessageCode(prompts_, state_, 9) == Answer::Yes;
}

void DbContext::stampRow(Dataset& dataset) {
    const bool inserting = dataset.state() == Dataset::State::Insert;
    if (inserting && state_.usesSequences() && dataset.hasColumn(QStringLiteral("id")) &&
        dataset.isNull(QStringLiteral("id")))
        dataset.setValue(QStringLiteral("id"), nextId(dataset.updateTable()));
    const QDateTime now = QDateTime::currentDateTime();
    if (inserting && dataset.hasColumn(QStringLiteral("dateTS0")))
        dataset.setValue(QStringLiteral("dateTS0"), now);
    if (dataset.hasColumn(QStringLiteral("dateTS1")))
        dataset.setValue(QStringLiteral("dateTS1"), now);
}

bool DbContext::runPostProtocol(Dataset& dataset, const std::vector<RequiredField>& required) {
    if (!confirmSave())
        return false;
    for (const RequiredField& field : required) {
        const QVariant v = dataset.value(field.column);
        if (v.isNull() || (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty())) {
            showMessageCode(prompts_, state_, 19, field.caption);
            return false;
        }
    }
    const bool inserting = dataset.state() == Dataset::State::Insert;
    preparePost(dataset, inserting);
    stampRow(dataset);
    return true;
}

QString yearOrMonthOf(const QString& dateText, bool wantMonth) {
    QDate date = QDate::currentDate();
    if (!dateText.trimmed().isEmpty() && !parseDate(dateText, date))
        throw DbError(QStringLiteral("\"%1\" není platné datum.").arg(dateText));
    return QString::number(wantMonth ? date.month() : date.year());
}

} // namespace kelvarn
