#include "db/czech_order.h"

#include "db/collated_order.h"
#include "db/database_session.h"
#include "db/db_error.h"

#include <QCollator>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlQuery>

#include <sqlite3.h>

namespace kelvarn {

namespace {

int compareCzech(void* collator, int leftBytes, const void* left, int rightBytes, const void* right) {
    const QString a = QString::fromUtf8(static_cast<const char*>(left), leftBytes);
    const QString b = QString::fromUtf8(static_cast<const char*>(right), rightBytes);
    return static_cast<const QCollator*>(collator)->compare(a, b);
}

void destroyCollator(void* collator) {
    delete static_cast<QCollator*>(collator);
}

void registerSqliteCollation(DatabaseSession& session) {
    const QVariant handle = session.database().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("Nelze získat spojení SQLite."));
    sqlite3* h = *static_cast<sqlite3* const*>(handle.data());
    // One collator per connection: a QCollator must not be shared between threads.
    auto* collator = new QCollator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    collator->setCaseSensitivity(Qt::CaseInsensitive);
    const QByteArray name = CzechOrder::kSqliteCollation.toLatin1();
    if (sqlite3_create_collation_v2(h, name.constData(), SQLITE_UTF8, collator, compareCzech,
                                    destroyCollator) != SQLITE_OK) {
        delete collator;
        throw DbError(QString::fromUtf8(sqlite3_errmsg(h)));
    }
}

bool hasTextAffinity(const QString& declaredType) {
    // SQLite's own rule for a column's affinity.
    const QString t = declaredType.toUpper();
    return t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) ||
           t.contains(QLatin1String("TEXT"));
}

} // namespace

const QString CzechOrder::kSqliteCollation = QStringLiteral("CZECH");
const QString CzechOrder::kFirebirdCollation = QStringLiteral("CS_CZ_CI");

void CzechOrder::reset() {
    collation_.clear();
    driver_ = DriverKind::Unknown;
    textColumns_.clear();
}

void CzechOrder::prepare(DatabaseSession& session) {
    reset();
    driver_ = session.driverKind();
    switch (driver_) {
    case DriverKind::Sqlite:
        registerSqliteCollation(session);
        collation_ = kSqliteCollation;
        break;
    case DriverKind::Firebird: {
        const QString exists =
            QStringLiteral("SELECT COUNT(*) FROM RDB$COLLATIONS WHERE RDB$COLLATION_NAME = '%1'")
                .arg(kFirebirdCollation);
        auto found = [&] {
            QSqlQuery q = session.query(exists);
            return q.next() && q.value(0).toInt() > 0;
        };
        try {
            if (!found())
                session.query(QStringLiteral("CREATE COLLATION %1 FOR UTF8 FROM UNICODE CASE INSENSITIVE "
                                             "'LOCALE=cs_CZ'")
                                  .arg(kFirebirdCollation));
            collation_ = kFirebirdCollation;
        } catch (const DbError&) {
            // Another connection may have created it at the same moment; without it
            // (a user who may not create it) case is still ignored.
            try {
                collation_ = found() ? kFirebirdCollation : QStringLiteral("UNICODE_CI");
            } catch (const DbError&) {
                collation_ = QStringLiteral("UNICODE_CI");
            }
        }
        break;
    }
    case DriverKind::MySql:
    case DriverKind::MsSqlOdbc:
    case DriverKind::OracleOdbc:
    case DriverKind::Unknown:
        break;
    }
}

QString CzechOrder::apply(DatabaseSession& session, const QString& nativeStatement) {
    if (collation_.isEmpty())
        return nativeStatement;
    return collateTextOrder(nativeStatement, collation_, [&](const QString& table, const QString& column) {
        return isTextColumn(session, table, column);
    });
}

bool CzechOrder::isTextColumn(DatabaseSession& session, const QString& table, const QString& column) {
    const QString key = table.toLower();
    auto it = textColumns_.find(key);
    if (it == textColumns_.end()) {
        QSet<QString> columns;
        if (driver_ == DriverKind::Sqlite) {
            QString quoted = table;
            quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
            QSqlQuery q = session.query(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted));
            while (q.next())
                if (hasTextAffinity(q.value(2).toString()))
                    columns.insert(q.value(1).toString().toLower());
        } else if (driver_ == DriverKind::Firebird) {
            const QHash<QString, int> lengths = session.textColumnLengths(table);
            for (auto c = lengths.cbegin(); c != lengths.cend(); ++c)
                columns.insert(c.key());
        }
        it = textColumns_.insert(key, columns);
    }
    return it->contains(column.toLower());
}

} // namespace kelvarn
