#pragma once

#include <QString>

namespace kelvarn {

enum class DriverKind { Sqlite, MySql, Firebird, MsSqlOdbc, OracleOdbc, Unknown };

// The ADO-style connection string "Provider=…;Data Source=…;User ID=…;Password=…;"
// split into what a Qt driver needs.
struct ConnectionParams {
    DriverKind driver = DriverKind::Unknown;
    QString provider;
    QString dataSource;   // SQLite file, Firebird "host[/port]:path", ODBC DSN or server
    QString host;
    int port = -1;
    QString database;     // MySQL schema / Firebird path / MS SQL database
    QString user;
    QString password;
};

// Items are "Name=value" pairs ended by ";"; names are compared case-insensitively.
// A missing Provider item means the JET default "Microsoft.Jet.OLEDB.4.0".
ConnectionParams parseConnectionString(const QString& connectionString);

// The provider names the program understands, for error texts and the README.
QString knownProviders();

} // namespace kelvarn
