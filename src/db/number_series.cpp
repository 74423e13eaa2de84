#include "db/number_series.h"

#include "core/message_catalogue.h"
#include "db/db_context.h"
#include "db/db_error.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QThread>

namespace kelvarn {

namespace {

constexpr int kAttempts = 50;

struct SeriesRow {
    qint64 id = 0;
    qint64 next = 0;
};

bool isLockConflict(const DbError& e) {
    const QString t = e.text().toLower();
    return t.contains(QLatin1String("lock")) || t.contains(QLatin1String("conflict")) ||
           t.contains(QLatin1String("busy"));
}

// Series are created and advanced one at a time across all program instances: the
// single tbl_system row serves as the lock (the embedded database locks the whole
// file when the transaction begins). Writing the row rather than selecting it for
// update matters on snapshot databases such as Firebird: a writer that waited for
// another one gets an update conflict and starts over with a fresh snapshot,
// instead of going on with a stale view of tbl_rady.
void lockSeries(DatabaseSession& session) {
    if (session.driverKind() != DriverKind::Sqlite)
        session.execute(QStringLiteral("UPDATE tbl_system SET verze_databaze = verze_databaze WHERE id=1"));
}

QString seriesStatement(DbContext& ctx, const QString& key) {
    return ctx.composeStatement(QStringLiteral("SELECT * FROM tbl_rady"), {},
                                QStringLiteral("(zkratka=") + ctx.quoteText(key) + QLatin1Char(')'), {});
}

bool documentExists(DbContext& ctx, const QString& number) {
    const QString statement =
        ctx.composeStatement(QStringLiteral("SELECT id FROM tbl_doklad"), {},
                             QStringLiteral("(cislo_dokladu=") + ctx.quoteText(number) + QLatin1Char(')'), {});
    QSqlQuery q = ctx.session().query(statement);
    return q.next();
}

// Runs body inside a locked transaction, retrying when another instance holds the lock.
// Inside the caller's transaction (a document saved together with its number) the
// lock stays until that transaction ends, and a conflict ends the caller's unit.
template <typename Body> auto underLock(DatabaseSession& session, Body body) {
    for (int attempt = 1;; ++attempt) {
        bool joined = false;
        try {
            Transaction tx(session);
            joined = tx.joined();
            lockSeries(session);
            auto result = body();
            tx.commit();
            return result;
        } catch (const DbError& e) {
            if (joined || attempt >= kAttempts || !isLockConflict(e))
                throw;
            QThread::msleep(20 + 10 * (attempt % 5));
        }
    }
}

SeriesRow readOrCreate(DbContext& ctx, const QString& key) {
    DatabaseSession& session = ctx.session();
    std::vector<SeriesRow> found;
    {
        QSqlQuery q = session.query(seriesStatement(ctx, key));
        while (q.next())
            found.push_back({q.value(QStringLiteral("id")).toLongLong(), q.value(QStringLiteral("cislo")).toLongLong()});
    }
    if (found.size() == 1)
        return found.front();

    const QDateTime now = QDateTime::currentDateTime();
    SeriesRow row{0, 1};
    if (ctx.state().usesSequences()) {
        row.id = ctx.nextId(QStringLiteral("tbl_rady"));
        session.execute(QStringLiteral("INSERT INTO tbl_rady (id, zkratka, cislo, dateTS0) VALUES (?, ?, ?, ?)"),
                        {row.id, key, 1, now});
    } else {
        QSqlQuery q = session.query(QStringLiteral("INSERT INTO tbl_rady (zkratka, cislo, dateTS0) VALUES (?, ?, ?)"),
                                    {key, 1, now});
        row.id = q.lastInsertId().toLongLong();
    }
    return row;
}

} // namespace

QString padSeriesNumber(qint64 number) {
    return QString::number(number).rightJustified(5, QLatin1Char('0'));
}

std::optional<QString> nextNumber(DbContext& ctx, const QString& key) {
    DatabaseSession& session = ctx.session();
    SeriesRow series = underLock(session, [&] { return readOrCreate(ctx, key); });

    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QString number = padSeriesNumber(series.next);
        if (documentExists(ctx, key + QLatin1Char('-') + number)) {
            showMessageCode(ctx.prompts(), ctx.state(), 17, key + QLatin1Char('-') + number);
            return std::nullopt;
        }
        if (series.next > 1) {
            const QString previous = key + QLatin1Char('-') + padSeriesNumber(series.next - 1);
            if (!documentExists(ctx, previous) && !previous.startsWith(QLatin1String("ZAK")) &&
                showMessageCode(ctx.prompts(), ctx.state(), 15, previous) != Answer::Yes)
                return std::nullopt;
        }
        // Advance only if nobody else took this number while we checked; otherwise
        // check the number that is now next.
        const qint64 current = underLock(session, [&]() -> qint64 {
            QSqlQuery q = session.query(QStringLiteral("SELECT cislo FROM tbl_rady WHERE id = ?"), {series.id});
            if (!q.next())
                throw DbError(QStringLiteral("Číselná řada %1 byla mezitím smazána.").arg(key));
            const qint64 stored = q.value(0).toLongLong();
            if (stored == series.next)
                session.execute(QStringLiteral("UPDATE tbl_rady SET cislo = ?, dateTS1 = ? WHERE id = ?"),
                                {series.next + 1, QDateTime::currentDateTime(), series.id});
            return stored;
        });
        if (current == series.next)
            return number;
        series.next = current;
    }
    throw DbError(QStringLiteral("Číselnou řadu %1 se nepodařilo posunout: příliš mnoho souběžných přístupů.").arg(key));
}

} // namespace kelvarn
