#include "db/collated_order.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <utility>
#include <vector>

namespace kelvarn {

namespace {

enum class Kind { Word, Name, Text, Open, Close, Comma, Dot, End, Other };

struct Token {
    Kind kind;
    qsizetype start;
    qsizetype end;
    int scope;    // the parenthesis the token stands in; 0 for the statement itself
    QString word; // upper-cased word, or the name inside quotes
};

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

std::vector<Token> tokenize(const QString& sql) {
    std::vector<Token> tokens;
    std::vector<int> scopes{0};
    int nextScope = 1;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            while (i < n && sql[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            const qsizetype close = sql.indexOf(QLatin1String("*/"), i + 2);
            i = close < 0 ? n : close + 2;
            continue;
        }
        const int scope = scopes.back();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') ||
            c == QLatin1Char('[')) {
            const QChar closing = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            qsizetype j = i + 1;
            QString inside;
            while (j < n) {
                if (sql[j] == closing) {
                    if (closing != QLatin1Char(']') && j + 1 < n && sql[j + 1] == closing) {
                        inside += closing;
                        j += 2;
                        continue;
                    }
                    break;
                }
                inside += sql[j++];
            }
            const qsizetype end = std::min(j + 1, n);
            tokens.push_back({c == QLatin1Char('\'') ? Kind::Text : Kind::Name, i, end, scope, inside});
            i = end;
            continue;
        }
        if (isWordChar(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordChar(sql[j]))
                ++j;
            tokens.push_back({Kind::Word, i, j, scope, sql.mid(i, j - i).toUpper()});
            i = j;
            continue;
        }
        Kind kind = Kind::Other;
        if (c == QLatin1Char('(')) {
            kind = Kind::Open;
        } else if (c == QLatin1Char(')')) {
            kind = Kind::Close;
        } else if (c == QLatin1Char(',')) {
            kind = Kind::Comma;
        } else if (c == QLatin1Char('.')) {
            kind = Kind::Dot;
        } else if (c == QLatin1Char(';')) {
            kind = Kind::End;
        }
        // A closing parenthesis belongs to the scope it closes, so it ends that
        // scope's order list.
        tokens.push_back({kind, i, i + 1, scope, {}});
        if (kind == Kind::Close && scopes.size() > 1)
            scopes.pop_back();
        if (kind == Kind::Open)
            scopes.push_back(nextScope++);
        ++i;
    }
    return tokens;
}

// Words that end a table reference or the order list, so they are never taken for an
// alias or a part of a term.
bool isClauseWord(const QString& w) {
    static const QStringList words = {
        QStringLiteral("WHERE"),     QStringLiteral("GROUP"), QStringLiteral("HAVING"),
        QStringLiteral("ORDER"),     QStringLiteral("UNION"), QStringLiteral("EXCEPT"),
        QStringLiteral("INTERSECT"), QStringLiteral("LIMIT"), QStringLiteral("OFFSET"),
        QStringLiteral("ROWS"),      QStringLiteral("FETCH"), QStringLiteral("FOR"),
        QStringLiteral("PLAN"),      QStringLiteral("JOIN"),  QStringLiteral("INNER"),
        QStringLiteral("LEFT"),      QStringLiteral("RIGHT"), QStringLiteral("FULL"),
        QStringLiteral("OUTER"),     QStringLiteral("CROSS"), QStringLiteral("NATURAL"),
        QStringLiteral("ON"),        QStringLiteral("USING"), QStringLiteral("WINDOW"),
        QStringLiteral("SELECT"),    QStringLiteral("FROM"),  QStringLiteral("INTO"),
        QStringLiteral("SET"),       QStringLiteral("VALUES")};
    return words.contains(w);
}

bool isName(const Token& t) {
    return t.kind == Kind::Name || (t.kind == Kind::Word && !t.word.front().isDigit());
}

QString nameOf(const QString& sql, const Token& t) {
    return t.kind == Kind::Name ? t.word : sql.mid(t.start, t.end - t.start);
}

struct TableRef {
    QString table;
    QString alias; // upper case; the table's own name when it has none
};

// The tables each scope's FROM list and joins name, with their aliases.
QHash<int, std::vector<TableRef>> tablesByScope(const QString& sql, const std::vector<Token>& tokens) {
    QHash<int, std::vector<TableRef>> tables;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind != Kind::Word || (t.word != QLatin1String("FROM") && t.word != QLatin1String("JOIN")))
            continue;
        std::size_t j = i + 1;
        while (j < tokens.size() && isName(tokens[j]) && tokens[j].scope == t.scope) {
            TableRef ref;
            ref.table = nameOf(sql, tokens[j]);
            // A schema-qualified name: the last part is the table.
            while (j + 2 < tokens.size() && tokens[j + 1].kind == Kind::Dot && isName(tokens[j + 2])) {
                j += 2;
                ref.table = nameOf(sql, tokens[j]);
            }
            ref.alias = ref.table.toUpper();
            ++j;
            if (j < tokens.size() && tokens[j].kind == Kind::Word && tokens[j].word == QLatin1String("AS"))
                ++j;
            if (j < tokens.size() && isName(tokens[j]) &&
                !(tokens[j].kind == Kind::Word && isClauseWord(tokens[j].word))) {
                ref.alias = nameOf(sql, tokens[j]).toUpper();
                ++j;
            }
            tables[t.scope].push_back(ref);
            if (t.word != QLatin1String("FROM") || j >= tokens.size() || tokens[j].kind != Kind::Comma)
                break;
            ++j;
        }
    }
    return tables;
}

bool isOrderModifier(const Token& t) {
    static const QStringList words = {QStringLiteral("ASC"), QStringLiteral("DESC"), QStringLiteral("NULLS"),
                                      QStringLiteral("FIRST"), QStringLiteral("LAST")};
    return t.kind == Kind::Word && words.contains(t.word);
}

} // namespace

QString collateTextOrder(const QString& statement, const QString& collation,
                         const TextColumnTest& isTextColumn) {
    if (collation.isEmpty() || !statement.contains(QLatin1String("ORDER"), Qt::CaseInsensitive))
        return statement;
    const std::vector<Token> tokens = tokenize(statement);
    QHash<int, std::vector<TableRef>> tables;
    bool tablesRead = false;
    std::vector<qsizetype> insertAt;

    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::Word || tokens[i].word != QLatin1String("ORDER") ||
            tokens[i + 1].kind != Kind::Word || tokens[i + 1].word != QLatin1String("BY"))
            continue;
        if (!tablesRead) {
            tables = tablesByScope(statement, tokens);
            tablesRead = true;
        }
        const int scope = tokens[i].scope;
        const std::vector<TableRef> inScope = tables.value(scope);
        std::size_t j = i + 2;
        while (j < tokens.size()) {
            // One term: the tokens up to a comma, the end of its parenthesis or a clause.
            std::vector<std::size_t> term;
            while (j < tokens.size()) {
                const Token& t = tokens[j];
                if (t.scope == scope &&
                    (t.kind == Kind::Comma || t.kind == Kind::Close || t.kind == Kind::End ||
                     (t.kind == Kind::Word && isClauseWord(t.word))))
                    break;
                term.push_back(j++);
            }
            // column, table.column or alias.column, then only ASC/DESC/NULLS FIRST/LAST
            std::size_t k = 0;
            QString qualifier;
            QString column;
            if (k < term.size() && isName(tokens[term[k]])) {
                column = nameOf(statement, tokens[term[k]]);
                ++k;
                if (k + 1 < term.size() && tokens[term[k]].kind == Kind::Dot && isName(tokens[term[k + 1]])) {
                    qualifier = column.toUpper();
                    column = nameOf(statement, tokens[term[k + 1]]);
                    k += 2;
                }
            }
            const bool plain = !column.isEmpty() && !isOrderModifier(tokens[term[0]]) &&
                               std::all_of(term.begin() + static_cast<std::ptrdiff_t>(k), term.end(),
                                           [&](std::size_t x) { return isOrderModifier(tokens[x]); });
            if (plain) {
                const bool text = std::any_of(inScope.begin(), inScope.end(), [&](const TableRef& ref) {
                    return (qualifier.isEmpty() || qualifier == ref.alias) && isTextColumn(ref.table, column);
                });
                if (text)
                    insertAt.push_back(tokens[term[k - 1]].end);
            }
            if (j >= tokens.size() || tokens[j].kind != Kind::Comma || tokens[j].scope != scope)
                break;
            ++j;
        }
    }

    QString out = statement;
    std::sort(insertAt.begin(), insertAt.end(), std::greater<>());
    for (const qsizetype at : insertAt)
        out.insert(at, QStringLiteral(" COLLATE ") + collation);
    return out;
}

} // namespace kelvarn
