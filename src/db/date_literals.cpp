#include "db/date_literals.h"

#include "core/formatting.h"
#include "core/text_utils.h"
#include "db/sql_dialect.h"
#include "db/sql_scan.h"

#include <QList>
#include <QRegularExpression>

#include <algorithm>

namespace kelvarn {

namespace {

using sql_scan::isQuote;
using sql_scan::quotedEnd;
using sql_scan::Range;
using sql_scan::splitList;

const QString kDatum = QStringLiteral("datum");
const QLatin1Char kApostrophe('\'');

QString padToTwo(const QString& part) {
    return part.size() < 2 ? QLatin1Char('0') + part : part;
}

// Only the digits of a day, month and year: the Access form of a date is not quoted,
// so anything else in it would stand in the statement as SQL.
bool looksLikeDate(const QString& literal) {
    static const QRegularExpression date(QStringLiteral(R"(^[0-9]{1,2}\.[0-9]{1,2}\.(?:[0-9]{2}|[0-9]{4})$)"));
    return literal.size() >= 8 && literal.size() <= 10 && date.match(literal).hasMatch();
}

bool isTwoDigits(const QString& text) {
    return text.size() == 2 && text[0].isDigit() && text[1].isDigit();
}

// The literal between the apostrophes at open and close is replaced when it is a
// date; returns the index just past the literal as it now stands.
qsizetype convertLiteralAt(QString& text, qsizetype open, qsizetype close, DbPlatform platform) {
    const QString literal = text.mid(open + 1, close - open - 1);
    if (!looksLikeDate(literal))
        return close + 1;
    const QString replacement = DateLiterals::platformLiteral(literal, platform);
    text.replace(open, close - open + 1, replacement);
    return open + replacement.size();
}

// The literal that starts where `lead` matches at pos (its last character being the
// opening apostrophe) is converted; -1 when there is no such literal.
qsizetype convertFollowingLiteral(QString& text, qsizetype pos, const QRegularExpression& lead,
                                  DbPlatform platform) {
    const QRegularExpressionMatch m =
        lead.match(text, pos, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch())
        return -1;
    const qsizetype open = m.capturedEnd() - 1;
    const qsizetype close = text.indexOf(kApostrophe, open + 1);
    if (close < 0)
        return -1;
    return convertLiteralAt(text, open, close, platform);
}

QString unquotedName(QString name) {
    name = name.trimmed();
    if (name.size() >= 2 && isQuote(name[0]))
        name = name.mid(1, name.size() - 2);
    return name;
}

struct Replacement {
    qsizetype begin;
    qsizetype length;
    QString text;
};

// INSERT INTO t (columns) VALUES (values)[, (values) ...]: the date values of the
// "datum" columns, found by position. False when the statement is not of that form.
bool convertInsertValues(QString& statement, DbPlatform platform) {
    static const QRegularExpression head(
        QStringLiteral(R"(^\s*INSERT\s+INTO\s+(?:[\w.$]+|\[[^\]]*\]|"[^"]*"|`[^`]*`)\s*\()"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression values(QStringLiteral(R"(\s*VALUES\s*\()"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression nextTuple(QStringLiteral(R"(\s*,\s*\()"));
    const QRegularExpressionMatch h = head.match(statement);
    if (!h.hasMatch())
        return false;
    QList<Range> columns;
    qsizetype close = -1;
    if (!splitList(statement, h.capturedEnd() - 1, columns, &close))
        return false;
    QList<bool> dateColumn;
    for (const auto& [begin, end] : columns)
        dateColumn.append(unquotedName(statement.mid(begin, end - begin)).contains(kDatum));

    QList<Replacement> replacements;
    QRegularExpressionMatch m = values.match(statement, close + 1, QRegularExpression::NormalMatch,
                                             QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch())
        return false;
    while (m.hasMatch()) {
        QList<Range> items;
        if (!splitList(statement, m.capturedEnd() - 1, items, &close))
            return false;
        for (qsizetype i = 0; i < items.size() && i < dateColumn.size(); ++i) {
            if (!dateColumn[i])
                continue;
            const QString item = statement.mid(items[i].first, items[i].second - items[i].first);
            const QString value = item.trimmed();
            if (value.size() < 2 || value.front() != kApostrophe || quotedEnd(value, 0) != value.size())
                continue;
            const QString literal = value.mid(1, value.size() - 2);
            if (!looksLikeDate(literal))
                continue;
            replacements.append({items[i].first + item.indexOf(kApostrophe), value.size(),
                                 DateLiterals::platformLiteral(literal, platform)});
        }
        m = nextTuple.match(statement, close + 1, QRegularExpression::NormalMatch,
                            QRegularExpression::AnchorAtOffsetMatchOption);
    }
    std::sort(replacements.begin(), replacements.end(),
              [](const Replacement& a, const Replacement& b) { return a.begin > b.begin; });
    for (const Replacement& r : replacements)
        statement.replace(r.begin, r.length, r.text);
    return true;
}

// The first literal after every "datum"; with comparedOnly only where the column is
// compared with it, so that a text value set after a date column keeps its text.
QString convertLiterals(const QString& condition, DbPlatform platform, bool comparedOnly) {
    // The rest of the column's name, then what compares it with the literal.
    static const QRegularExpression comparison(
        QStringLiteral(R"(^[\w\]"`]*\s*(?:=|<>|!=|<=|>=|<|>|(?:NOT\s+)?BETWEEN|(?:NOT\s+)?IN\s*\()\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression betweenBefore(QStringLiteral(R"(\bBETWEEN\s*$)"),
                                                  QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression inBefore(QStringLiteral(R"(\bIN\s*\(\s*$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression upperBound(QStringLiteral(R"(\s*AND\s*')"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression nextInItem(QStringLiteral(R"(\s*,\s*')"));

    QString text = condition;
    qsizetype pos = 0; // always outside literals
    for (;;) {
        const qsizetype mark = text.indexOf(kDatum, pos);
        if (mark < 0)
            break;
        // A "datum" inside a literal is somebody's text, not a column: it converts
        // nothing, so a quoted value can never turn the statement around it.
        const qsizetype quote = text.indexOf(kApostrophe, pos);
        if (quote >= 0 && quote < mark) {
            const qsizetype literalEnd = quotedEnd(text, quote);
            if (literalEnd < 0)
                break;
            pos = literalEnd;
            continue;
        }
        const qsizetype after = mark + kDatum.size();
        const qsizetype open = quote;
        const qsizetype literalEnd = open < 0 ? -1 : quotedEnd(text, open);
        const qsizetype close = literalEnd < 0 ? -1 : literalEnd - 1;
        const QString lead = close >= 0 ? text.mid(after, open - after) : QString();
        if (close >= 0 && (!comparedOnly || comparison.match(lead).hasMatch())) {
            const qsizetype end = convertLiteralAt(text, open, close, platform);
            // Leaving the other bound as text compares a date with a text, which
            // quietly matches nothing.
            if (betweenBefore.match(lead).hasMatch()) {
                convertFollowingLiteral(text, end, upperBound, platform);
            } else if (inBefore.match(lead).hasMatch()) {
                for (qsizetype next = end; next >= 0;)
                    next = convertFollowingLiteral(text, next, nextInItem, platform);
            }
        }
        // Every "datum" before the search position has been dealt with, so searching
        // on from here is the same as marking this one done.
        pos = after;
    }
    return text;
}

} // namespace

namespace DateLiterals {

QString platformLiteral(const QString& dateText, DbPlatform platform) {
    const QString parts = dateText + QLatin1Char('.');
    const QString dot = QStringLiteral(".");
    const QString day = padToTwo(pickDelimitedItem(parts, dot, 0));
    const QString month = padToTwo(pickDelimitedItem(parts, dot, 1));
    QString year = pickDelimitedItem(parts, dot, 2);
    // A two-digit year taken as written would be the first century on one platform,
    // the server's own guess on another and a syntax error on the embedded one.
    if (isTwoDigits(year))
        year = QString::number(expandTwoDigitYear(year.toInt()));
    return SqlDialect::dateLiteral(day, month, year, platform);
}

QString convertCondition(const QString& condition, DbPlatform platform) {
    return convertLiterals(condition, platform, false);
}

QString convertStatement(const QString& statement, DbPlatform platform) {
    QString out = statement;
    if (convertInsertValues(out, platform))
        return out;
    return convertLiterals(statement, platform, true);
}

} // namespace DateLiterals

} // namespace kelvarn
