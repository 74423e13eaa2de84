#include "db/sql_dialect.h"

#include "core/diagnostic_log.h"
#include "core/text_utils.h"
#include "db/db_error.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <vector>

namespace kelvarn {

namespace {

const QString kDatum = QStringLiteral("datum");
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

QString padToTwo(const QString& part) {
    return part.size() < 2 ? QLatin1Char('0') + part : part;
}

// Index of the apostrophe that closes the literal opened at open; a doubled
// apostrophe inside stands for one. -1 when the literal never closes.
qsizetype literalEnd(const QString& text, qsizetype open) {
    qsizetype i = open + 1;
    while ((i = text.indexOf(kApostrophe, i)) >= 0) {
        if (i + 1 < text.size() && text[i + 1] == kApostrophe) {
            i += 2;
            continue;
        }
        return i;
    }
    return -1;
}

bool looksLikeDate(const QString& literal) {
    return literal.size() >= 8 && literal.size() <= 10 && literal.contains(QLatin1Char('.')) &&
           !literal.contains(QLatin1Char('%')) && !literal.contains(QLatin1Char('_')) &&
           !literal.contains(kApostrophe);
}

// Converts the first quoted 'd.m.yyyy' literal after every "datum" of the text. Only
// the first literal is looked at, so the second bound of a BETWEEN stays as written.
// A "datum" inside a literal is somebody's text, not a column: it converts nothing,
// so a value can never turn the statement around it into something else.
QString convertDateLiterals(const QString& condition, DbPlatform platform) {
    QString text = condition;
    qsizetype pos = 0; // always outside literals
    for (;;) {
        const qsizetype mark = text.indexOf(kDatum, pos);
        if (mark < 0)
            break;
        const qsizetype open = text.indexOf(kApostrophe, pos);
        if (open >= 0 && open < mark) {
            const qsizetype close = literalEnd(text, open);
            if (close < 0)
                break;
            pos = close + 1;
            continue;
        }
        const qsizetype close = open < 0 ? -1 : literalEnd(text, open);
        if (close >= 0) {
            const QString literal = text.mid(open + 1, close - open - 1);
            if (looksLikeDate(literal)) {
                const QString parts = literal + QLatin1Char('.');
                const QString dot = QStringLiteral(".");
                const QString day = padToTwo(pickDelimitedItem(parts, dot, 0));
                const QString month = padToTwo(pickDelimitedItem(parts, dot, 1));
                const QString year = pickDelimitedItem(parts, dot, 2);
                text.replace(open, close - open + 1, SqlDialect::dateLiteral(day, month, year, platform));
            }
        }
        // Every "datum" before here has been dealt with, so searching on from here is
        // the same as marking this one done.
        pos = mark + kDatum.size();
    }
    return text;
}

} // namespace

namespace SqlDialect {

namespace {

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
        const qsizetype close = literalEnd(text, open);
        const qsizetype literalStop = close < 0 ? text.size() : close + 1;
        out += QStringView(text).mid(open, literalStop - open);
        pos = literalStop;
    }
    return out;
}

} // namespace

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
        filter = convertDateLiterals(filter, platform);
    } else {
        if (!filter.isEmpty())
            where = where.isEmpty()
                        ? QLatin1Char('(') + filter + QLatin1Char(')')
                        : QLatin1Char('(') + where + QStringLiteral(") AND (") + filter + QLatin1Char(')');
        where = convertDateLiterals(where, platform);
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

QString sqliteDateText(int year, int month, int day, int hour, int minute, int second) {
    const QLatin1Char zero('0');
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(year, 4, 10, zero)
        .arg(month, 2, 10, zero)
        .arg(day, 2, 10, zero)
        .arg(hour, 2, 10, zero)
        .arg(minute, 2, 10, zero)
        .arg(second, 2, 10, zero);
}

namespace {

// Access date literals: #yyyy/mm/dd#, #yyyy-mm-dd# and the US #m/d/yyyy#, each with
// an optional time. Anything else between hashes is left for SQLite to reject.
QString sqliteDateLiteralAt(const QString& text, qsizetype pos, qsizetype* length) {
    static const QRegularExpression isoForm(QStringLiteral(
        R"(#\s*(\d{4})([/-])(\d{1,2})\2(\d{1,2})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*#)"));
    static const QRegularExpression usForm(
        QStringLiteral(R"(#\s*(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*#)"));
    int year = 0;
    int month = 0;
    int day = 0;
    int timeGroup = 0;
    QRegularExpressionMatch match = isoForm.match(text, pos, QRegularExpression::NormalMatch,
                                                  QRegularExpression::AnchorAtOffsetMatchOption);
    if (match.hasMatch()) {
        year = match.captured(1).toInt();
        month = match.captured(3).toInt();
        day = match.captured(4).toInt();
        timeGroup = 5;
    } else {
        match = usForm.match(text, pos, QRegularExpression::NormalMatch,
                             QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch())
            return {};
        month = match.captured(1).toInt();
        day = match.captured(2).toInt();
        year = match.captured(3).toInt();
        timeGroup = 4;
    }
    const int hour = match.captured(timeGroup).toInt();
    const int minute = match.captured(timeGroup + 1).toInt();
    const int second = match.captured(timeGroup + 2).toInt();
    if (!QDate(year, month, day).isValid() || !QTime(hour, minute, second).isValid())
        return {};
    *length = match.capturedLength();
    return kApostrophe + sqliteDateText(year, month, day, hour, minute, second) + kApostrophe;
}

bool isWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Words after which the next word names something rather than typing a column, so
// a column called "memo" in "ADD COLUMN memo MEMO" keeps its name.
bool isNamingKeyword(const QString& upperWord) {
    static const QStringList keywords = {
        QStringLiteral("ADD"),        QStringLiteral("ALTER"),  QStringLiteral("COLUMN"),
        QStringLiteral("CONSTRAINT"), QStringLiteral("CREATE"), QStringLiteral("DROP"),
        QStringLiteral("INDEX"),      QStringLiteral("KEY"),    QStringLiteral("ON"),
        QStringLiteral("REFERENCES"), QStringLiteral("TABLE"),  QStringLiteral("UNIQUE"),
        QStringLiteral("VIEW"),       QStringLiteral("NOT"),    QStringLiteral("NULL"),
        QStringLiteral("DEFAULT"),    QStringLiteral("PRIMARY")};
    return keywords.contains(upperWord);
}

// Access column types SQLite would misread: MEMO would get numeric affinity, and
// only a column declared exactly INTEGER PRIMARY KEY becomes the generated rowid.

QString sqliteType(const QString& upperWord) {
    if (upperWord == QLatin1String("COUNTER") || upperWord == QLatin1String("YESNO"))
        return QStringLiteral("INTEGER");
    if (upperWord == QLatin1String("MEMO"))
        return QStringLiteral("TEXT");
    if (upperWord == QLatin1String("CURRENCY"))
        return QStringLiteral("REAL");
    return {};
}

bool isDefinitionStatement(const QString& statement) {
    static const QRegularExpression lead(QStringLiteral(R"(^\s*(CREATE|ALTER)\b)"),
                                         QRegularExpression::CaseInsensitiveOption);
    return lead.match(statement).hasMatch();
}

// Index just past a quoted section starting at pos; a doubled closing quote stands
// for itself. An unterminated section runs to the end.
qsizetype skipQuoted(const QString& text, qsizetype pos) {
    const QChar open = text[pos];
    const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
    qsizetype i = pos + 1;
    while (i < text.size()) {
        if (text[i] == close) {
            if (close != QLatin1Char(']') && i + 1 < text.size() && text[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

} // namespace

QString accessToSqlite(const QString& statement) {
    const bool definition = isDefinitionStatement(statement);
    static const QRegularExpression compression(QStringLiteral(R"(\s+COMPRESSION\b)"),
                                                QRegularExpression::CaseInsensitiveOption);
    QString out;
    out.reserve(statement.size() + 16);
    // Whether the last token was a name, i.e. the next word may be its column type.
    bool afterName = false;
    // Where in the output a COUNTER column's type ends.
    std::vector<qsizetype> counters;
    qsizetype i = 0;
    const qsizetype n = statement.size();
    while (i < n) {
        const QChar c = statement[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[') ||
            c == QLatin1Char('`')) {
            const qsizetype end = skipQuoted(statement, i);
            out += QStringView(statement).mid(i, end - i);
            afterName = c != QLatin1Char('\'');
            i = end;
            continue;
        }
        if (c == QLatin1Char('#')) {
            qsizetype length = 0;
            const QString literal = sqliteDateLiteralAt(statement, i, &length);
            if (!literal.isEmpty()) {
                // A quote right before or after would merge with the new literal's
                // own quotes into an escaped one.
                if (out.endsWith(kApostrophe))
                    out += QLatin1Char(' ');
                out += literal;
                i += length;
                if (i < n && statement[i] == kApostrophe)
                    out += QLatin1Char(' ');
            } else {
                out += c;
                ++i;
            }
            afterName = false;
            continue;
        }
        if (isWordStart(c)) {
            qsizetype end = i + 1;
            while (end < n && isWordChar(statement[end]))
                ++end;
            const QString word = statement.mid(i, end - i);
            const QString upper = word.toUpper();
            if (definition) {
                if (upper == QLatin1String("WITH")) {
                    const QRegularExpressionMatch m =
                        compression.match(statement, end, QRegularExpression::NormalMatch,
                                          QRegularExpression::AnchorAtOffsetMatchOption);
                    if (m.hasMatch()) {
                        while (!out.isEmpty() && out.back().isSpace())
                            out.chop(1);
                        i = end + m.capturedLength();
                        afterName = false;
                        continue;
                    }
                }
                const QString type = afterName ? sqliteType(upper) : QString();
                if (!type.isEmpty()) {
                    out += type;
                    if (upper == QLatin1String("COUNTER"))
                        counters.push_back(out.size());
                    i = end;
                    afterName = false;
                    continue;
                }
            }
            out += word;
            afterName = !isNamingKeyword(upper);
            i = end;
            continue;
        }
        out += c;
        if (!c.isSpace())
            afterName = false;
        ++i;
    }
    // A generated key must never hand out the id of a deleted row again: other
    // tables may still point at it. Only AUTOINCREMENT promises that in SQLite.
    static const QRegularExpression key(QStringLiteral("(?:\\s+NOT\\s+NULL)?\\s+PRIMARY\\s+KEY\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    for (auto at = counters.rbegin(); at != counters.rend(); ++at) {
        const QRegularExpressionMatch m =
            key.match(out, *at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (m.hasMatch())
            out.insert(m.capturedEnd(), QStringLiteral(" AUTOINCREMENT"));
    }
    return out;
}

} // namespace kelvarn
