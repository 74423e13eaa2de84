#pragma once

#include "db/connection_string.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace kelvarn {

class DatabaseSession;

// Czech order of text (case ignored, "ch" after "h", accented letters in their own
// place) on one connection. The embedded database gets a collation of its own on
// every connection; Firebird gets one created from its ICU collations; MariaDB's
// tables are created with utf8mb4_czech_ci. Statements then have that collation put
// on the ORDER BY terms that name text columns (collateTextOrder).
class CzechOrder {
  public:
    // The collation the embedded database sorts text with.
    static const QString kSqliteCollation;
    // The Czech collation for UTF-8 text on Firebird (created when missing).
    static const QString kFirebirdCollation;

    // Sets the freshly opened connection up. Failing to create the Firebird
    // collation (no right to) falls back to the case-insensitive Unicode one.
    void prepare(DatabaseSession& session);
    // The statement with the collation applied, ready for the driver.
    QString apply(DatabaseSession& session, const QString& nativeStatement);
    // The structure may have changed: column types are asked again.
    void forgetColumns() { textColumns_.clear(); }
    void reset();

    // The collation in use on this connection, "" where the platform's own order
    // is already Czech or unknown.
    const QString& collation() const { return collation_; }

  private:
    bool isTextColumn(DatabaseSession& session, const QString& table, const QString& column);

    QString collation_;
    DriverKind driver_ = DriverKind::Unknown;
    QHash<QString, QSet<QString>> textColumns_; // by table in lower case, columns in lower case
};

} // namespace kelvarn
