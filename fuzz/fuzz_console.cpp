// The SQL console's splitter and converter: a script is cut at every ";" exactly as
// the rules say, each piece converted for the chosen platform (and its d.m.yyyy
// dates for the database), and the statements
// reach the database in that order until the first one fails. A model of the rules
// written here independently is compared with what really reaches the driver.
//
// The statements run on a scratch SQLite database that cannot reach the file
// system: ATTACH (and VACUUM INTO with it) and PRAGMA are refused, texts are kept
// short and every statement is stopped after a couple of million steps.

#include "core/app_state.h"
#include "core/text_file.h"
#include "db/database_session.h"
#include "db/date_literals.h"
#include "db/db_error.h"
#include "fuzz_support.h"
#include "output/console_runner.h"
#include "output/script_converter.h"

#include <QFile>
#include <QSqlDriver>

#include <sqlite3.h>

#include <memory>

using namespace kelvarn;
using namespace kelvarn::fuzz;

namespace {

int steps = 0;

int stopLongStatements(void*) {
    return ++steps > 200 ? 1 : 0;
}

int authorise(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
    case SQLITE_PRAGMA:
        return SQLITE_DENY;
    default:
        return SQLITE_OK;
    }
}

struct Console {
    AppState state;
    SilentPrompts prompts;
    DatabaseSession session{QStringLiteral("fuzz-console")};
    std::unique_ptr<ConsoleRunner> runner;
    QStringList reached;
    int runs = 0;

    void open() {
        runner.reset();
        session.close();
        const QString file = scratchPath(QStringLiteral("console.db"));
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(file + QLatin1String(suffix));
        state.platform = QStringLiteral("1");
        state.appDir = scratchPath(QString());
        session.open(QStringLiteral("Data Source=") + file + QLatin1Char(';'), DbPlatform::Jet, true);
        session.execute(QStringLiteral("CREATE TABLE tbl_system (id INT NOT NULL PRIMARY KEY, verze_databaze VARCHAR(20))"));
        session.execute(QStringLiteral("INSERT INTO tbl_system (id, verze_databaze) VALUES (1, '1.70')"));
        sqlite3* h = *static_cast<sqlite3* const*>(session.database().driver()->handle().data());
        sqlite3_limit(h, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_limit(h, SQLITE_LIMIT_LENGTH, 100000);
        sqlite3_set_authorizer(h, authorise, nullptr);
        sqlite3_progress_handler(h, 10000, stopLongStatements, nullptr);
        session.setStatementHook([this](const QString& statement) {
            steps = 0;
            reached << statement;
        });
        // The sandbox holds: nothing outside the scratch database can be written.
        for (const char* escape : {"VACUUM INTO '/tmp/kelvarn-fuzz-escape.db'", "ATTACH '/tmp/kelvarn-fuzz-escape.db' AS x",
                                   "PRAGMA journal_mode=DELETE"}) {
            bool refused = false;
            try {
                session.execute(QString::fromLatin1(escape));
            } catch (const DbError&) {
                refused = true;
            }
            if (!refused)
                broken("the console sandbox refuses", QString::fromLatin1(escape));
        }
        runner = std::make_unique<ConsoleRunner>(session, state, prompts);
    }
};

// Never destroyed: at exit Qt's own registry of connections may already be gone.
Console& console() {
    static Console* c = new Console;
    if (!c->runner || ++c->runs % 5000 == 0)
        c->open();
    return *c;
}

const ConversionMode kModes[] = {ConversionMode::None, ConversionMode::MsSql, ConversionMode::Oracle,
                                 ConversionMode::MySql, ConversionMode::Firebird};

// The rules of the splitter, written from their description.
QStringList expectedStatements(const QString& script, ConversionMode mode, const DatabaseSession& session) {
    QStringList out;
    QString remaining = withCrLf(script);
    for (qsizetype d = remaining.indexOf(QLatin1Char(';')); d > 0; d = remaining.indexOf(QLatin1Char(';'))) {
        QString statement = remaining.left(d);
        remaining.remove(0, d + 1);
        while (statement.startsWith(QLatin1String("\r\n")))
            statement.remove(0, 2);
        statement = convertStatement(statement, mode);
        if (statement.size() <= 5 || statement.contains(QLatin1String("//")))
            continue;
        if (statement.contains(QLatin1String("#ALLOW ONLY")))
            break; // what follows depends on the database version; not modelled
        out << session.nativeStatement(DateLiterals::convertStatement(statement, session.platform()));
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ensureApplication();
    console();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    Console& c = console();
    const ConversionMode mode = kModes[in.byte() % 5];
    const QString script = QString::fromUtf8(in.rest());
    c.runner->setMode(mode);
    c.reached.clear();
    c.state.installResult = 0;
    const QStringList expected = expectedStatements(script, mode, c.session);
    c.runner->run(script);
    QFile::remove(c.runner->logFilePath());
    FUZZ_CHECK(!c.runner->isRunning(), script);
    FUZZ_CHECK(!c.session.inTransaction(), script);

    const bool failed = c.state.installResult == 1;
    const qsizetype compared = qMin(expected.size(), c.reached.size());
    for (qsizetype i = 0; i < compared; ++i)
        FUZZ_CHECK(c.reached[i] == expected[i], QStringLiteral("statement %1\nran:      %2\nexpected: %3")
                                                    .arg(i)
                                                    .arg(c.reached[i], expected[i]));
    if (!failed)
        FUZZ_CHECK(c.reached.size() >= expected.size(),
                   QStringLiteral("%1 of %2 statements ran").arg(c.reached.size()).arg(expected.size()));
    return 0;
}
