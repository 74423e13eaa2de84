#pragma once

#include "db/connection_string.h"
#include "db/czech_order.h"
#include "db/db_platform.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

struct sqlite3;

namespace kelvarn {

class DiagnosticLog;

// The one connection of the program. Statements handed to it are already composed
// for the platform; on the embedded platform they still pass through the Access ->
// SQLite adapter right before they run.
class DatabaseSession {
public:
    explicit DatabaseSession(QString connectionName = {});
    ~DatabaseSession();
    DatabaseSession(const DatabaseSession&) = delete;
    DatabaseSession& operator=(const DatabaseSession&) = delete;

    // Opens the connection. Throws DbError with the driver's text on failure. With
    // createIfMissing an embedded database file is created (install runs); otherwise
    // a missing file is an error, never a silently created empty database.
    void open(const QString& connectionString, DbPlatform platform, bool createIfMissing = false);
    void close();
    bool isOpen() const;
    // An embedded database whose file or folder cannot be written is opened for
    // reading only: its records can be seen, nothing can be saved.
    bool isReadOnly() const { return readOnly_; }
    // What the user is told when something is to be saved there.
    static QString readOnlyText();

    DbPlatform platform() const { return platform_; }
    DriverKind driverKind() const { return driver_; }
    QSqlDatabase& database() { return db_; }

    // Runs a statement that returns no rows; returns the number of rows it inserted,
    // changed or deleted (0 for any other statement).
    int execute(const QString& statement, const QVariantList& binds = {});
    // Prepares and runs a statement, returning the positioned-before-first query.
    QSqlQuery query(const QString& statement, const QVariantList& binds = {}, bool forwardOnly = true);

    // Statement text as it will reach the driver: the embedded adapter applied, text
    // columns ordered in Czech.
    QString nativeStatement(const QString& statement);
    // The collation text columns are ordered by ("" where the tables' own is Czech).
    const QString& textCollation() const { return czechOrder_.collation(); }
    // Converts a value for binding: dates become the canonical text on SQLite.
    QVariant bindValue(const QVariant& value) const;

    // The declared size in characters of each CHAR/VARCHAR column of a server
    // table (column name in lower case -> characters), from the catalogue: the
    // drivers report byte lengths there. Asked once per table and kept until a
    // statement may have changed the structure. Empty on other platforms.
    QHash<QString, int> textColumnLengths(const QString& table);

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return inTransaction_; }

    // Called with every statement right before it goes to the driver (the native
    // text; "COMMIT" for a commit). Tests use it to break the connection at a
    // chosen point; a hook that throws DbError makes the statement fail.
    void setStatementHook(std::function<void(const QString&)> hook) { hook_ = std::move(hook); }
    // Calls the hook; for code that hands a statement to the driver itself.
    void beforeStatement(const QString& nativeStatement);

private:
    void registerSqliteFunctions();
    void openSqliteReadOnly(const QString& file);
    sqlite3* sqliteConnection() const; // null unless an embedded database is open

    QString connectionName_;
    QSqlDatabase db_;
    DbPlatform platform_ = DbPlatform::Jet;
    DriverKind driver_ = DriverKind::Unknown;
    bool inTransaction_ = false;
    bool readOnly_ = false;
    std::function<void(const QString&)> hook_;
    QHash<QString, QHash<QString, int>> textLengths_; // by table in lower case
    CzechOrder czechOrder_;
};

// RAII unit of work: commit() explicitly; an exception that unwinds rolls it back.
// Opened while another transaction runs it joins that one: its commit and its
// rollback are then the outer unit's business.
class Transaction {
public:
    explicit Transaction(DatabaseSession& session);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    bool joined() const { return joined_; }

private:
    DatabaseSession& session_;
    bool joined_ = false;
    bool done_ = false;
};

} // namespace kelvarn
