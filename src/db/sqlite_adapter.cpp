#include "db/sqlite_adapter.h"

#include "db/sql_scan.h"

#include <QDate>
#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

#include <algorithm>

namespace kelvarn {

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

const QLatin1Char kApostrophe('\'');

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

qsizetype wordEnd(const QString& text, qsizetype pos) {
    while (pos < text.size() && isWordChar(text[pos]))
        ++pos;
    return pos;
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

// Index just past a quoted section starting at pos; an unterminated one runs to the end.
qsizetype skipQuoted(const QString& text, qsizetype pos) {
    const qsizetype end = sql_scan::quotedEnd(text, pos);
    return end < 0 ? text.size() : end;
}

enum class ColumnKind { Other, Date, Number, Counter };

ColumnKind columnKind(const QString& upperType) {
    static const QStringList dates = {QStringLiteral("DATETIME"), QStringLiteral("DATE"),
                                      QStringLiteral("TIMESTAMP")};
    static const QStringList numbers = {
        QStringLiteral("INT"),     QStringLiteral("INTEGER"), QStringLiteral("SMALLINT"),
        QStringLiteral("TINYINT"), QStringLiteral("BIGINT"),  QStringLiteral("LONG"),
        QStringLiteral("SHORT"),   QStringLiteral("BYTE"),    QStringLiteral("FLOAT"),
        QStringLiteral("DOUBLE"),  QStringLiteral("REAL"),    QStringLiteral("SINGLE"),
        QStringLiteral("NUMERIC"), QStringLiteral("DECIMAL"), QStringLiteral("CURRENCY"),
        QStringLiteral("YESNO"),   QStringLiteral("BIT")};
    if (upperType == QLatin1String("COUNTER"))
        return ColumnKind::Counter;
    if (dates.contains(upperType))
        return ColumnKind::Date;
    if (numbers.contains(upperType))
        return ColumnKind::Number;
    return ColumnKind::Other;
}

// Text typed into the console or written by another program would otherwise be kept
// as it is, and every later comparison, sort and sum would read it wrongly. A date
// must be the canonical text of a real day: datetime() reads it and writes it back,
// and only an exact round trip passes (the modifier makes it normalise, so 30
// February does not). A number column takes what its affinity could make a number.
// Both cost about a microsecond a value; an IN list of three would cost far more.
QString checkFor(ColumnKind kind, const QString& name) {
    if (kind == ColumnKind::Date)
        return QStringLiteral(" CHECK (%1 IS NULL OR datetime(%1, '+0 days') IS %1)").arg(name);
    return QStringLiteral(" CHECK (%1 IS NULL OR typeof(%1) IN ('integer', 'real'))").arg(name);
}

// The column definitions of a CREATE TABLE or an ALTER TABLE ... ADD statement.
QList<sql_scan::Range> columnDefinitions(const QString& statement) {
    static const QString name = QStringLiteral(R"((?:[\w.$]+|\[[^\]]*\]|"[^"]*"|`[^`]*`))");
    static const QRegularExpression createHead(
        QStringLiteral(R"(^\s*CREATE\s+(?:TEMP\s+|TEMPORARY\s+)?TABLE\s+(?:IF\s+NOT\s+EXISTS\s+)?%1\s*\()")
            .arg(name),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression alterHead(
        QStringLiteral(R"(^\s*ALTER\s+TABLE\s+%1\s+ADD\s+(?:COLUMN\s+)?)").arg(name),
        QRegularExpression::CaseInsensitiveOption);
    QList<sql_scan::Range> columns;
    if (const QRegularExpressionMatch m = createHead.match(statement); m.hasMatch()) {
        qsizetype close = -1;
        if (!sql_scan::splitList(statement, m.capturedEnd() - 1, columns, &close))
            columns.clear();
    } else if (const QRegularExpressionMatch a = alterHead.match(statement); a.hasMatch()) {
        columns.append({a.capturedEnd(), statement.size()});
    }
    return columns;
}

// Whether every quoted section starting in [begin, end) also closes there: text added
// after an unclosed one would land inside its literal.
bool quotesClosedWithin(const QString& text, qsizetype begin, qsizetype end) {
    for (qsizetype i = begin; i < end; ++i) {
        if (!sql_scan::isQuote(text[i]))
            continue;
        const qsizetype close = sql_scan::quotedEnd(text, i);
        if (close < 0 || close > end)
            return false;
        i = close - 1;
    }
    return true;
}

struct Insertion {
    qsizetype at; // index in the Access statement before which the text goes
    QString text;
};

// What the column definitions need besides their converted types: AUTOINCREMENT
// after the primary key of a COUNTER (only that keeps ids of deleted rows from being
// handed out again, and other tables may still point at them), and the CHECK of a
// date or number column. Found on the Access text, so literals never take part.
QList<Insertion> columnInsertions(const QString& statement) {
    static const QRegularExpression primaryKey(QStringLiteral(R"((?:\s+NOT\s+NULL)?\s+PRIMARY\s+KEY\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QStringList tableConstraints = {QStringLiteral("CONSTRAINT"), QStringLiteral("PRIMARY"),
                                                 QStringLiteral("UNIQUE"), QStringLiteral("CHECK"),
                                                 QStringLiteral("FOREIGN")};
    QList<Insertion> out;
    for (const auto& [begin, end] : columnDefinitions(statement)) {
        if (!quotesClosedWithin(statement, begin, end))
            continue;
        qsizetype i = begin;
        while (i < end && statement[i].isSpace())
            ++i;
        if (i >= end)
            continue;
        qsizetype nameEnd = -1;
        if (sql_scan::isQuote(statement[i]))
            nameEnd = sql_scan::quotedEnd(statement, i);
        else if (isWordStart(statement[i]))
            nameEnd = wordEnd(statement, i);
        if (nameEnd < 0 || nameEnd > end)
            continue;
        const QString name = statement.mid(i, nameEnd - i);
        if (tableConstraints.contains(name.toUpper()))
            continue;
        qsizetype typeStart = nameEnd;
        while (typeStart < end && statement[typeStart].isSpace())
            ++typeStart;
        if (typeStart >= end || !isWordStart(statement[typeStart]))
            continue;
        const qsizetype typeEnd = wordEnd(statement, typeStart);
        const ColumnKind kind = columnKind(statement.mid(typeStart, typeEnd - typeStart).toUpper());
        if (kind == ColumnKind::Counter) {
            const QRegularExpressionMatch key =
                primaryKey.match(statement, typeEnd, QRegularExpression::NormalMatch,
                                 QRegularExpression::AnchorAtOffsetMatchOption);
            if (key.hasMatch() && key.capturedEnd() <= end)
                out.append({key.capturedEnd(), QStringLiteral(" AUTOINCREMENT")});
        } else if (kind != ColumnKind::Other) {
            qsizetype last = end;
            while (last > typeEnd && statement[last - 1].isSpace())
                --last;
            out.append({last, checkFor(kind, name)});
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Insertion& a, const Insertion& b) { return a.at < b.at; });
    return out;
}

// Whether removed text would leave the token before it glued to the one after it.
bool gluesOn(const QString& text, qsizetype pos) {
    if (pos >= text.size())
        return false;
    const QChar c = text[pos];
    return !c.isSpace() && c != QLatin1Char(',') && c != QLatin1Char(')') && c != QLatin1Char(';');
}

} // namespace

QString accessToSqlite(const QString& statement) {
    const bool definition = isDefinitionStatement(statement);
    static const QRegularExpression compression(QStringLiteral(R"(\s+COMPRESSION\b)"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QList<Insertion> insertions = definition ? columnInsertions(statement) : QList<Insertion>();
    qsizetype nextInsertion = 0;
    QString out;
    out.reserve(statement.size() + 16);
    // Whether the last token was a name, i.e. the next word may be its column type.
    bool afterName = false;
    qsizetype i = 0;
    const qsizetype n = statement.size();
    const auto insertUpTo = [&](qsizetype pos) {
        while (nextInsertion < insertions.size() && insertions[nextInsertion].at <= pos)
            out += insertions[nextInsertion++].text;
    };
    while (i < n) {
        insertUpTo(i);
        const QChar c = statement[i];
        if (sql_scan::isQuote(c)) {
            const qsizetype end = skipQuoted(statement, i);
            out += QStringView(statement).mid(i, end - i);
            afterName = c != kApostrophe;
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
            const qsizetype end = wordEnd(statement, i + 1);
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
                        if (gluesOn(statement, i))
                            out += QLatin1Char(' ');
                        afterName = false;
                        continue;
                    }
                }
                const QString type = afterName ? sqliteType(upper) : QString();
                if (!type.isEmpty()) {
                    out += type;
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
    insertUpTo(n);
    return out;
}

} // namespace kelvarn
