#include "db/database_session.h"

#include "db/db_error.h"
#include "db/sql_dialect.h"

#include <QAtomicInt>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>

namespace kelvarn {

namespace {

QAtomicInt connectionCounter;

QString driverName(DriverKind kind) {
    switch (kind) {
    case DriverKind::Sqlite:
        return QStringLiteral("QSQLITE");
    case DriverKind::MySql:
        return QStringLiteral("QMYSQL");
    case DriverKind::Firebird:
        return QStringLiteral("QIBASE");
    case DriverKind::MsSqlOdbc:
    case DriverKind::OracleOdbc:
        return QStringLiteral("QODBC");
    case DriverKind::Unknown:
        break;
    }
    return {};
}

QString errorText(const QSqlError& error) {
    QString text = error.text().trimmed();
    if (text.isEmpty())
        text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("Neznámá chyba databáze.");
    return text;
}

QString sqliteToday() {
    const QDate d = QDate::currentDate();
    return sqliteDateText(d.year(), d.month(), d.day());
}

void sqliteCaseFunction(sqlite3_context* context, int argc, sqlite3_value** argv, bool upper) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const QString value = QString::fromUtf8(text, sqlite3_value_bytes(argv[0]));
    const QByteArray out = (upper ? value.toUpper() : value.toLower()).toUtf8();
    sqlite3_result_text(context, out.constData(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void sqliteUcase(sqlite3_context* c, int argc, sqlite3_value** argv) { sqliteCaseFunction(c, argc, argv, true); }
void sqliteLcase(sqlite3_context* c, int argc, sqlite3_value** argv) { sqliteCaseFunction(c, argc, argv, false); }

void sqliteDate(sqlite3_context* c, int, sqlite3_value**) {
    const QByteArray today = sqliteToday().toUtf8();
    sqlite3_result_text(c, today.constData(), static_cast<int>(today.size()), SQLITE_TRANSIENT);
}

void sqliteNow(sqlite3_context* c, int, sqlite3_value**) {
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray text = sqliteDateText(now.date().year(), now.date().month(), now.date().day(),
                                           now.time().hour(), now.time().minute(), now.time().second())
                                .toUtf8();
    sqlite3_result_text(c, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// A statement that may change a table's structure; the cached column sizes go.
bool changesStructure(const QString& statement) {
    static const QRegularExpression ddl(QStringLiteral("^\\s*(ALTER|CREATE|DROP|RECREATE)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    return ddl.match(statement).hasMatch();
}

// access() rather than the permission bits: it also knows a read-only mount, and
// that root may write anywhere else.
bool canWrite(const QString& path) {
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

bool isReadOnlyError(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok && (code & 0xff) == SQLITE_READONLY;
}

QString freeTdsDriver() {
    // unixODBC accepts a driver library path where no "FreeTDS" entry is registered.
    for (const char* path : {"/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so", "/usr/lib/aarch64-linux-gnu/odbc/libtdsodbc.so"})
        if (QFileInfo::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    return QStringLiteral("{FreeTDS}");
}

} // namespace

DatabaseSession::DatabaseSession(QString connectionName) : connectionName_(std::move(connectionName)) {
    if (connectionName_.isEmpty())
        connectionName_ = QStringLiteral("kelvarn_%1").arg(connectionCounter.fetchAndAddRelaxed(1));
}

DatabaseSession::~DatabaseSession() {
    close();
}

void DatabaseSession::open(const QString& connectionString, DbPlatform platform, bool createIfMissing) {
    close();
    const ConnectionParams params = parseConnectionString(connectionString);
    platform_ = platform;
    driver_ = params.driver;
    if (params.driver == DriverKind::Unknown)
        throw DbError(QStringLiteral("Neznámý poskytovatel databáze \"%1\". Program zná tyto: %2.")
                          .arg(params.provider, knownProviders()));
    const QString qtDriver = driverName(params.driver);
    if (!QSqlDatabase::isDriverAvailable(qtDriver))
        throw DbError(QStringLiteral("Databázový ovladač %1 pro poskytovatele \"%2\" není nainstalován.")
                          .arg(qtDriver, params.provider));

    db_ = QSqlDatabase::addDatabase(qtDriver, connectionName_);
    switch (params.driver) {
    case DriverKind::Sqlite: {
        if (params.dataSource.isEmpty())
            throw DbError(QStringLiteral("V připojovacím řetězci chybí položka \"Data Source=\" se souborem databáze."));
        const QFileInfo file(params.dataSource);
        if (!file.exists() && !createIfMissing)
            throw DbError(QStringLiteral("Soubor databáze \"%1\" neexistuje.").arg(params.dataSource));
        if (file.exists() && !file.isFile())
            throw DbError(QStringLiteral("\"%1\" není soubor databáze.").arg(params.dataSource));
        db_.setDatabaseName(params.dataSource);
        readOnly_ = file.exists() && (!canWrite(params.dataSource) || !canWrite(file.absolutePath()));
        db_.setConnectOptions(readOnly_ ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY")
                                        : QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        break;
    }
    case DriverKind::MySql:
        db_.setHostName(params.host.isEmpty() ? QStringLiteral("127.0.0.1") : params.host);
        if (params.port > 0)
            db_.setPort(params.port);
        db_.setDatabaseName(params.database);
        // CLIENT_FOUND_ROWS: an update that matches its row but changes nothing must
        // not look like an update that found no row.
        db_.setConnectOptions(QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=3;MYSQL_OPT_READ_TIMEOUT=60;CLIENT_FOUND_ROWS;"
                                             "MYSQL_OPT_WRITE_TIMEOUT=60"));
        break;
    case DriverKind::Firebird:
        db_.setDatabaseName(params.database);
        db_.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
        break;
    case DriverKind::MsSqlOdbc: {
        QString dsn = QStringLiteral("DRIVER=%1;SERVER=%2;PORT=%3;TDS_Version=7.3;ClientCharset=UTF-8;")
                          .arg(freeTdsDriver(), params.host)
                          .arg(params.port > 0 ? params.port : 1433);
        if (!params.database.isEmpty())
            dsn += QStringLiteral("DATABASE=%1;").arg(params.database);
        db_.setDatabaseName(dsn);
        db_.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=5;SQL_ATTR_CONNECTION_TIMEOUT=5"));
        break;
    }
    case DriverKind::OracleOdbc:
        db_.setDatabaseName(QStringLiteral("DSN=%1;").arg(params.dataSource));
        db_.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=5;SQL_ATTR_CONNECTION_TIMEOUT=5"));
        break;
    case DriverKind::Unknown:
        break;
    }
    db_.setUserName(params.user);
    db_.setPassword(params.password);

    if (!db_.open()) {
        const QString text = errorText(db_.lastError());
        close();
        throw DbError(text);
    }
    try {
        if (driver_ == DriverKind::Sqlite && readOnly_) {
            openSqliteReadOnly(db_.databaseName());
            registerSqliteFunctions();
        } else if (driver_ == DriverKind::Sqlite) {
            // A file that is not a database opens fine and only fails on first use.
            execute(QStringLiteral("SELECT count(*) FROM sqlite_master"));
            // Write-ahead logging keeps every commit durable with far fewer disk
            // flushes, and readers no longer wait for a writer. The file must then
            // live on a local disk, as the README says.
            execute(QStringLiteral("PRAGMA journal_mode=WAL"));
            registerSqliteFunctions();
        } else if (driver_ == DriverKind::MySql) {
            execute(QStringLiteral("SET NAMES utf8mb4"));
            // Values are quoted by doubling apostrophes (SqlDialect::quoteText); a
            // backslash must then stand for itself, not escape the next character.
            execute(QStringLiteral("SET SESSION sql_mode = "
                                   "CONCAT_WS(',', NULLIF(@@SESSION.sql_mode, ''), 'NO_BACKSLASH_ESCAPES')"));
        }
        czechOrder_.prepare(*this);
    } catch (...) {
        close();
        throw;
    }
}

QString DatabaseSession::readOnlyText() {
    return QStringLiteral("Databáze je otevřena jen pro čtení (do jejího souboru nebo složky nelze zapisovat), "
                          "změny nelze uložit.");
}

// A database in write-ahead mode is read with the help of its -shm file, which a
// read-only folder cannot get. Without one, and with no changes waiting in the -wal
// file, the database file alone holds everything and can be read as it is.
void DatabaseSession::openSqliteReadOnly(const QString& file) {
    try {
        execute(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        return;
    } catch (const DbError&) {
        const QFileInfo wal(file + QStringLiteral("-wal"));
        if (wal.exists() && wal.size() > 0)
            throw DbError(QStringLiteral("Databázi \"%1\" nelze otevřít: leží ve složce, do které nelze zapisovat, "
                                         "a její poslední změny jsou zatím jen v souboru \"%2\". Povolte ve složce "
                                         "zápis, aby se změny do databáze převzaly.")
                              .arg(file, wal.fileName()));
    }
    db_.close();
    db_.setDatabaseName(QStringLiteral("file:") + QString::fromUtf8(QUrl::toPercentEncoding(file, "/")) +
                        QStringLiteral("?mode=ro&immutable=1"));
    db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    if (!db_.open())
        throw DbError(errorText(db_.lastError()));
    execute(QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

void DatabaseSession::registerSqliteFunctions() {
    const QVariant handle = db_.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("Nelze získat spojení SQLite."));
    sqlite3* h = *static_cast<sqlite3* const*>(handle.data());
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(h, "UCASE", 1, flags, nullptr, sqliteUcase, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(h, "LCASE", 1, flags, nullptr, sqliteLcase, nullptr, nullptr, nullptr);
    // Not deterministic: the day changes while the program runs.
    sqlite3_create_function_v2(h, "DATE", 0, SQLITE_UTF8, nullptr, sqliteDate, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(h, "NOW", 0, SQLITE_UTF8, nullptr, sqliteNow, nullptr, nullptr, nullptr);
}

void DatabaseSession::close() {
    textLengths_.clear();
    czechOrder_.reset();
    readOnly_ = false;
    if (db_.isValid()) {
        if (inTransaction_ && db_.isOpen())
            db_.rollback();
        inTransaction_ = false;
        db_.close();
        db_ = QSqlDatabase();
    }
    if (QSqlDatabase::contains(connectionName_))
        QSqlDatabase::removeDatabase(connectionName_);
}

bool DatabaseSession::isOpen() const {
    return db_.isValid() && db_.isOpen();
}

QString DatabaseSession::nativeStatement(const QString& statement) {
    return czechOrder_.apply(*this, driver_ == DriverKind::Sqlite ? accessToSqlite(statement) : statement);
}

QVariant DatabaseSession::bindValue(const QVariant& value) const {
    if (value.isNull())
        return value;
    if (driver_ == DriverKind::Sqlite) {
        const int type = value.typeId();
        if (type == QMetaType::QDateTime) {
            const QDateTime dt = value.toDateTime();
            return sqliteDateText(dt.date().year(), dt.date().month(), dt.date().day(), dt.time().hour(),
                                  dt.time().minute(), dt.time().second());
        }
        if (type == QMetaType::QDate) {
            const QDate d = value.toDate();
            return sqliteDateText(d.year(), d.month(), d.day());
        }
    }
    return value;
}

void DatabaseSession::beforeStatement(const QString& nativeStatement) {
    if (hook_) {
        const auto hook = hook_; // it may replace itself
        hook(nativeStatement);
    }
}

QSqlQuery DatabaseSession::query(const QString& statement, const QVariantList& binds, bool forwardOnly) {
    if (!isOpen())
        throw DbError(QStringLiteral("Databáze není připojena."));
    if (changesStructure(statement)) {
        textLengths_.clear();
        czechOrder_.forgetColumns();
    }
    QSqlQuery q(db_);
    q.setForwardOnly(forwardOnly);
    const QString sql = nativeStatement(statement);
    beforeStatement(sql);
    bool ok;
    if (binds.isEmpty()) {
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        if (ok) {
            for (const QVariant& v : binds)
                q.addBindValue(bindValue(v));
            ok = q.exec();
        }
    }
    if (!ok) {
        if (readOnly_ && isReadOnlyError(q.lastError()))
            throw DbError(readOnlyText());
        throw DbError(errorText(q.lastError()));
    }
    return q;
}

sqlite3* DatabaseSession::sqliteConnection() const {
    if (!db_.isValid() || !db_.isOpen())
        return nullptr;
    const QVariant handle = db_.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

int DatabaseSession::execute(const QString& statement, const QVariantList& binds) {
    // SQLite reports the rows of the last INSERT, UPDATE or DELETE whatever ran since,
    // so a CREATE after an UPDATE would claim the UPDATE's rows; the running total
    // tells whether this statement changed anything at all.
    sqlite3* h = driver_ == DriverKind::Sqlite ? sqliteConnection() : nullptr;
    const int changesBefore = h ? sqlite3_total_changes(h) : 0;
    QSqlQuery q = query(statement, binds, true);
    if (h && sqlite3_total_changes(h) == changesBefore)
        return 0;
    // Firebird has no count for a definition statement and answers -1.
    return std::max(0, q.numRowsAffected());
}

QHash<QString, int> DatabaseSession::textColumnLengths(const QString& table) {
    if (table.isEmpty() || (driver_ != DriverKind::MySql && driver_ != DriverKind::Firebird))
        return {};
    const QString key = table.toLower();
    const auto cached = textLengths_.constFind(key);
    if (cached != textLengths_.cend())
        return *cached;
    QSqlQuery q;
    if (driver_ == DriverKind::MySql) {
        q = query(QStringLiteral("SELECT COLUMN_NAME, CHARACTER_MAXIMUM_LENGTH FROM information_schema.COLUMNS "
                                 "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ? "
                                 "AND DATA_TYPE IN ('char', 'varchar')"),
                  {table});
    } else {
        // Unquoted names are kept in upper case; the name columns are CHAR, padded.
        q = query(QStringLiteral("SELECT rf.RDB$FIELD_NAME, COALESCE(f.RDB$CHARACTER_LENGTH, f.RDB$FIELD_LENGTH) "
                                 "FROM RDB$RELATION_FIELDS rf "
                                 "JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                                 "WHERE rf.RDB$RELATION_NAME = ? AND f.RDB$FIELD_TYPE IN (14, 37)"),
                  {table.toUpper()});
    }
    QHash<QString, int> lengths;
    while (q.next())
        lengths.insert(q.value(0).toString().trimmed().toLower(), q.value(1).toInt());
    textLengths_.insert(key, lengths);
    return lengths;
}

void DatabaseSession::beginTransaction() {
    if (inTransaction_)
        throw DbError(QStringLiteral("Transakce už probíhá."));
    if (driver_ == DriverKind::Sqlite) {
        // IMMEDIATE takes the write lock at once, so two instances serialise here
        // rather than failing later when both try to write.
        execute(QStringLiteral("BEGIN IMMEDIATE"));
    } else if (!db_.transaction()) {
        throw DbError(errorText(db_.lastError()));
    }
    inTransaction_ = true;
}

void DatabaseSession::commit() {
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    if (driver_ == DriverKind::Sqlite) {
        try {
            execute(QStringLiteral("COMMIT"));
        } catch (const DbError&) {
            // A failed COMMIT may leave the transaction open (a busy database) or
            // have rolled it back already (a full disk); either way it ends here.
            QSqlQuery q(db_);
            q.exec(QStringLiteral("ROLLBACK"));
            throw;
        }
        return;
    }
    if (hook_) {
        try {
            const auto hook = hook_;
            hook(QStringLiteral("COMMIT"));
        } catch (...) {
            db_.rollback();
            throw;
        }
    }
    if (!db_.commit()) {
        const QString text = errorText(db_.lastError());
        db_.rollback();
        throw DbError(text);
    }
}

void DatabaseSession::rollback() {
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    if (driver_ == DriverKind::Sqlite) {
        QSqlQuery q(db_);
        q.exec(QStringLiteral("ROLLBACK"));
    } else {
        db_.rollback();
    }
}

Transaction::Transaction(DatabaseSession& session) : session_(session), joined_(session.inTransaction()) {
    if (!joined_)
        session_.beginTransaction();
}

Transaction::~Transaction() {
    if (!done_ && !joined_)
        session_.rollback();
}

void Transaction::commit() {
    if (!joined_)
        session_.commit();
    done_ = true;
}

} // namespace kelvarn
