#include "db/sql_dialect.h"

#include "core/diagnostic_log.h"
#include "core/text_utils.h"
#include "db/date_literals.h"
#include "db/db_error.h"
#include "db/sql_scan.h"

namespace kelvarn {

namespace {

const QLatin1Char kApostrophe('\'');

// Blanks as the filter text knows them: every control character counts, since
// filter definitions are typed over several lines.
QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= ' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= ' ')
        --end;
    return text.mid(begin, end - begin);
}

// Replaces every occurrence, case ignored, outside string literals: a value
// somebody typed reaches the database as typed even when it reads "upper(".
QString replaceOutsideLiterals(const QString& text, const QString& what, const QString& with) {
    if (!text.contains(kApostrophe))
        return replaceAllNoCase(text, what, with);
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(kApostrophe, pos);
        const qsizetype codeEnd = open < 0 ? text.size() : open;
        out += replaceAllNoCase(text.mid(pos, codeEnd - pos), what, with);
        if (open < 0)
            break;
        const qsizetype end = sql_scan::quotedEnd(text, open);
        const qsizetype literalStop = end < 0 ? text.size() : end;
        out += QStringView(text).mid(open, literalStop - open);
        pos = literalStop;
    }
    return out;
}

} // namespace

namespace SqlDialect {

QString translateFunctions(const QString& statement, DbPlatform platform) {
    const QString today = QStringLiteral("DATE()");
    switch (platform) {
    case DbPlatform::Jet: {
        QString out = replaceOutsideLiterals(statement, QStringLiteral("UPPER("), QStringLiteral("UCASE("));
        out = replaceOutsideLiterals(out, QStringLiteral("UPPER ("), QStringLiteral("UCASE ("));
        out = replaceOutsideLiterals(out, QStringLiteral("LOWER("), QStringLiteral("LCASE("));
        return replaceOutsideLiterals(out, QStringLiteral("LOWER ("), QStringLiteral("LCASE ("));
    }
    case DbPlatform::MsSql:
        return replaceOutsideLiterals(statement, today,
                                      QStringLiteral("CAST(FLOOR(CAST(GETDATE() AS FLOAT)) AS DATETIME)"));
    case DbPlatform::Oracle:
        return replaceOutsideLiterals(statement, today,
                                      QStringLiteral("to_date(to_char(sysdate,'DD.MM.YYYY'), 'DD.MM.YYYY')"));
    case DbPlatform::Firebird:
        return replaceOutsideLiterals(statement, today, QStringLiteral("current_date"));
    case DbPlatform::MySql:
        break;
    }
    return statement;
}

QString dateLiteral(const QString& day, const QString& month, const QString& year, DbPlatform platform) {
    const QLatin1Char slash('/');
    switch (platform) {
    case DbPlatform::Jet:
        return QLatin1Char('#') + year + slash + month + slash + day + QLatin1Char('#');
    case DbPlatform::MsSql:
        // A server session in Czech (dmy) date format reads a year-first literal as
        // year/day/month.
        return kApostrophe + year + slash + day + slash + month + kApostrophe;
    case DbPlatform::Oracle:
    case DbPlatform::MySql:
    case DbPlatform::Firebird:
        break;
    }
    return kApostrophe + year + slash + month + slash + day + kApostrophe;
}

QString sequenceName(const QString& table) {
    static const char* const kTables[] = {"tbl_doklad",    "tbl_polozky", "tbl_rady",   "tbl_hlavnikniha",
                                          "tbl_knihajizd", "tbl_majetek", "tbl_odpisy", "tbl_zbozi",
                                          "tbl_partner",   "tbl_filtry"};
    // The orders table got its generator under an older table name; databases out
    // there carry that name, so it must stay.
    if (table.compare(QLatin1String("tbl_zakazka"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("tbl_Zakazky_seq_id");
    for (const char* name : kTables)
        if (table.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QLatin1String(name) + QStringLiteral("_seq_id");
    return {};
}

QString nextIdStatement(const QString& table, DbPlatform platform) {
    const QString sequence = sequenceName(table);
    if (sequence.isEmpty())
        return {};
    if (platform == DbPlatform::Oracle)
        return QStringLiteral("SELECT ") + sequence + QStringLiteral(".nextval As AutoInc FROM dual");
    if (platform == DbPlatform::Firebird)
        return QStringLiteral("SELECT gen_id(") + sequence +
               QStringLiteral(",1) As AutoInc FROM rdb$database");
    return {};
}

QString quoteText(const QString& value, DbPlatform platform) {
    Q_UNUSED(platform) // one rule for all, given the session setup described in the header
    if (value.contains(QChar(0)))
        throw DbError(QStringLiteral("Text obsahuje nulový znak, který nemůže být součástí příkazu SQL."));
    QString out;
    out.reserve(value.size() + 2);
    out += kApostrophe;
    for (const QChar c : value) {
        out += c;
        if (c == kApostrophe)
            out += kApostrophe;
    }
    out += kApostrophe;
    return out;
}

QString likePrefix(const QString& prefix, DbPlatform platform) {
    QString pattern = prefix;
    if (platform == DbPlatform::MySql) {
        // LIKE keeps the backslash as its escape character even when string
        // literals do not.
        pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    } else if (platform == DbPlatform::MsSql) {
        // "[" opens a character class there.
        pattern.replace(QLatin1Char('['), QStringLiteral("[[]"));
    }
    return quoteText(pattern + QLatin1Char('%'), platform);
}

bool isIntegerText(const QString& text) {
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() <= start || text.size() - start > 18)
        return false;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace SqlDialect

QString composeStatement(const QString& select, const QString& filterIn, const QString& whereIn,
                         const QString& orderBy, DbPlatform platform, DiagnosticLog* log) {
    QString filter = filterIn;
    QString where = whereIn;
    QString itemsCond;
    QString join = QStringLiteral("AND");

    const QLatin1Char dollar('$');
    if (filter.contains(QLatin1String("tbl_polozky.")) && filter.contains(dollar)) {
        const qsizetype cut = filter.indexOf(dollar);
        itemsCond = trimBlanks(filter.mid(cut + 1));
        filter = trimBlanks(filter.left(cut));
        if (itemsCond.startsWith(QLatin1String("AND"))) {
            itemsCond.remove(0, 3);
        } else if (itemsCond.startsWith(QLatin1String("OR"))) {
            join = QStringLiteral("OR");
            itemsCond.remove(0, 2);
        }
        itemsCond = trimBlanks(itemsCond);
    }

    if (!itemsCond.isEmpty()) {
        filter = DateLiterals::convertCondition(filter, platform);
    } else {
        if (!filter.isEmpty())
            where = where.isEmpty()
                        ? QLatin1Char('(') + filter + QLatin1Char(')')
                        : QLatin1Char('(') + where + QStringLiteral(") AND (") + filter + QLatin1Char(')');
        where = DateLiterals::convertCondition(where, platform);
    }

    QString statement;
    if (!itemsCond.isEmpty()) {
        const QString exists =
            QStringLiteral(
                "EXISTS (SELECT * from tbl_polozky WHERE (tbl_polozky.id_tbl_doklad = tbl_doklad.id) AND (") +
            itemsCond + QStringLiteral("))");
        // Document panels always carry a fixed condition; without one the condition
        // must still be valid SQL rather than "WHERE  AND ...".
        const QString lead = where.isEmpty() ? QString() : where + QStringLiteral(" AND ");
        if (filter.isEmpty())
            statement = select + QStringLiteral(" WHERE ") + lead + exists;
        else
            statement = select + QStringLiteral(" WHERE ") + lead + QStringLiteral("((") + filter +
                        QStringLiteral(") ") + join + QLatin1Char(' ') + exists + QLatin1Char(')');
    } else if (!where.isEmpty()) {
        statement = select + QStringLiteral(" WHERE ") + where;
    } else {
        statement = select + QLatin1Char(' ');
    }

    if (!orderBy.isEmpty())
        statement += QStringLiteral(" ORDER BY ") + orderBy;

    statement = SqlDialect::translateFunctions(statement, platform);
    if (log != nullptr)
        log->append(statement);
    return statement;
}

} // namespace kelvarn
