// Quoting end to end on the embedded database: a value quoted by
// SqlDialect::quoteText, put into a composed statement and run through the
// Access -> SQLite adapter, comes back from SQLite exactly as typed, and a
// begins-with pattern finds the texts that begin with it.

#include "db/database_session.h"
#include "db/db_error.h"
#include "db/sql_dialect.h"
#include "fuzz_support.h"

#include <QFile>
#include <QSqlQuery>

using namespace kelvarn;
using namespace kelvarn::fuzz;

namespace {

// Never destroyed: at exit Qt's own registry of connections may already be gone.
DatabaseSession& session() {
    static DatabaseSession* s = [] {
        const QString file = scratchPath(QStringLiteral("quoting.db"));
        QFile::remove(file);
        auto* opened = new DatabaseSession(QStringLiteral("fuzz"));
        opened->open(QStringLiteral("Data Source=") + file + QLatin1Char(';'), DbPlatform::Jet, true);
        opened->execute(QStringLiteral("CREATE TABLE t (id COUNTER PRIMARY KEY, v MEMO)"));
        opened->execute(QStringLiteral("INSERT INTO t (v) VALUES ('x')"));
        return opened;
    }();
    return *s;
}

QString text(const QVariant& v) {
    return v.typeId() == QMetaType::QByteArray ? QString::fromUtf8(v.toByteArray()) : v.toString();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ensureApplication();
    session();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    // Lone surrogates cannot be stored as UTF-8; everything typed is valid UTF-16.
    // SQLite reads the noncharacters U+FFFE and U+FFFF back as U+FFFD whatever the
    // quoting, so they are not what is tested here.
    auto typed = [&in] {
        QString t = withoutNul(in.text());
        for (QChar& c : t)
            if (c.unicode() >= 0xFFFE)
                c = QChar(QChar::ReplacementCharacter);
        return t;
    };
    const QString value = typed();
    const QString prefix = typed();
    const QString literal = SqlDialect::quoteText(value, DbPlatform::Jet);

    const QString statement =
        composeStatement(QStringLiteral("SELECT ") + literal + QStringLiteral(" AS v, upper(") + literal +
                             QStringLiteral(") AS u FROM t"),
                         {}, QStringLiteral("(") + literal + QStringLiteral(" = ") + literal + QStringLiteral(")"), {},
                         DbPlatform::Jet);
    QSqlQuery q;
    try {
        q = session().query(statement);
    } catch (const DbError& e) {
        broken("a quoted value makes a valid statement", statement + QStringLiteral("\n") + e.text());
    }
    FUZZ_CHECK(q.next(), statement);
    FUZZ_CHECK(text(q.value(0)) == value, statement + QStringLiteral("\n=> ") + text(q.value(0)));

    // LIKE is case-insensitive for ASCII here: a text always matches its own beginning.
    const QString like = QStringLiteral("SELECT ") + literal + QStringLiteral(" LIKE ") +
                         SqlDialect::likePrefix(value.left(prefix.size()), DbPlatform::Jet);
    QSqlQuery l = session().query(like);
    FUZZ_CHECK(l.next() && l.value(0).toInt() == 1, like);
    return 0;
}
