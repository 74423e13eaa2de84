// The Access -> SQLite adapter: string literals pass unchanged and in order, a
// statement with nothing Access-specific is left alone, and a statement that is no
// definition comes out with nothing left to adapt.

#include "db/sql_dialect.h"
#include "fuzz_support.h"

#include <QRegularExpression>
#include <QStringList>

using namespace kelvarn;
using namespace kelvarn::fuzz;

namespace {

// The '…' literals of a statement, read the way SQL reads them: "…", […] and `…`
// are names, a doubled quote stands for itself, an unclosed section runs to the end.
QStringList literals(const QString& s) {
    QStringList out;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('`')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            qsizetype j = i + 1;
            while (j < s.size()) {
                if (s[j] == close) {
                    if (close != QLatin1Char(']') && j + 1 < s.size() && s[j + 1] == close) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const qsizetype end = qMin(j + 1, s.size());
            if (c == QLatin1Char('\''))
                out << s.mid(i, end - i);
            i = end;
            continue;
        }
        ++i;
    }
    return out;
}

bool isSubsequence(const QStringList& part, const QStringList& whole) {
    qsizetype at = 0;
    for (const QString& p : part) {
        while (at < whole.size() && whole[at] != p)
            ++at;
        if (at == whole.size())
            return false;
        ++at;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString statement = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString once = accessToSqlite(statement);

    static const QRegularExpression definition(QStringLiteral(R"(^\s*(CREATE|ALTER)\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (!statement.contains(QLatin1Char('#')) && !definition.match(statement).hasMatch())
        FUZZ_CHECK(once == statement, once);
    FUZZ_CHECK(isSubsequence(literals(statement), literals(once)), statement + QStringLiteral("\n=> ") + once);
    // Outside definitions only dates change, and a changed date is no Access date any more.
    if (!definition.match(statement).hasMatch()) {
        const QString twice = accessToSqlite(once);
        FUZZ_CHECK(twice == once, statement + QStringLiteral("\n=> ") + once + QStringLiteral("\n=> ") + twice);
    }
    return 0;
}
