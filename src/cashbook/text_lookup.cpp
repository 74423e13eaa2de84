#include "cashbook/text_lookup.h"

#include "db/db_context.h"

#include <QSqlQuery>

namespace kelvarn {

std::vector<QSqlRecord> rowsWithText(DbContext& db, const QString& table, const QString& columns,
                                     const QString& column, const QString& value) {
    const QHash<QString, int> lengths = db.session().textColumnLengths(table);
    if (const auto size = lengths.constFind(column.toLower()); size != lengths.cend() && value.size() > *size)
        return {};
    const QString statement =
        db.composeStatement(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + table, {},
                            u'(' + column + QStringLiteral("=?)"), {});
    QSqlQuery q = db.session().query(statement, {value});
    std::vector<QSqlRecord> rows;
    while (q.next()) {
        QSqlRecord record = q.record();
        // A server collation may call "fav-1" and "FAV-1 " equal; the program does not.
        if (textOfValue(record.value(column)) == value)
            rows.push_back(std::move(record));
    }
    return rows;
}

} // namespace kelvarn
