#include "db/connection_string.h"

#include <QStringList>

namespace kelvarn {

namespace {

DriverKind driverForProvider(const QString& provider) {
    const QString p = provider.trimmed().toLower();
    if (p.isEmpty() || p.startsWith(QLatin1String("microsoft.jet.oledb")) ||
        p.startsWith(QLatin1String("microsoft.ace.oledb")) || p == QLatin1String("sqlite"))
        return DriverKind::Sqlite;
    if (p == QLatin1String("mysqlprov") || p == QLatin1String("mysql") || p == QLatin1String("mariadb"))
        return DriverKind::MySql;
    if (p == QLatin1String("lcpi.ibprovider") || p.startsWith(QLatin1String("lcpi.ibprovider.")) ||
        p == QLatin1String("ibprovider") || p == QLatin1String("firebird"))
        return DriverKind::Firebird;
    if (p == QLatin1String("sqloledb") || p.startsWith(QLatin1String("sqlncli")) ||
        p.startsWith(QLatin1String("msoledbsql")))
        return DriverKind::MsSqlOdbc;
    if (p == QLatin1String("oraoledb.oracle") || p == QLatin1String("msdaora"))
        return DriverKind::OracleOdbc;
    return DriverKind::Unknown;
}

// "host:port" or "host,port" (the MS SQL habit) into its parts.
void splitHostPort(const QString& text, QChar separator, QString& host, int& port) {
    const qsizetype pos = text.lastIndexOf(separator);
    if (pos > 0) {
        bool ok = false;
        const int p = text.mid(pos + 1).trimmed().toInt(&ok);
        if (ok) {
            host = text.left(pos).trimmed();
            port = p;
            return;
        }
    }
    host = text.trimmed();
}

} // namespace

QString knownProviders() {
    return QStringLiteral("Microsoft.Jet.OLEDB.4.0, MySQLProv, LCPI.IBProvider (Firebird), SQLOLEDB, "
                          "OraOLEDB.Oracle");
}

ConnectionParams parseConnectionString(const QString& connectionString) {
    ConnectionParams params;
    const QStringList items = connectionString.split(QLatin1Char(';'));
    for (const QString& raw : items) {
        const qsizetype eq = raw.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = raw.left(eq).trimmed().toLower();
        const QString value = raw.mid(eq + 1).trimmed();
        if (key == QLatin1String("provider"))
            params.provider = value;
        else if (key == QLatin1String("data source") || key == QLatin1String("server") ||
                 key == QLatin1String("host"))
            params.dataSource = value;
        else if (key == QLatin1String("user id") || key == QLatin1String("uid") || key == QLatin1String("user"))
            params.user = value;
        else if (key == QLatin1String("password") || key == QLatin1String("pwd"))
            params.password = value;
        else if (key == QLatin1String("initial catalog") || key == QLatin1String("database"))
            params.database = value;
        else if (key == QLatin1String("port"))
            params.port = value.toInt();
    }
    params.driver = driverForProvider(params.provider);
    if (params.provider.isEmpty())
        params.provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");

    switch (params.driver) {
    case DriverKind::MySql: {
        int port = params.port;
        splitHostPort(params.dataSource, QLatin1Char(':'), params.host, port);
        params.port = port;
        break;
    }
    case DriverKind::MsSqlOdbc: {
        int port = params.port;
        splitHostPort(params.dataSource, QLatin1Char(','), params.host, port);
        params.port = port;
        break;
    }
    case DriverKind::Firebird:
        // Firebird names the server inside the path ("host[/port]:path"); Qt's driver
        // takes that whole text as the database name.
        if (params.database.isEmpty())
            params.database = params.dataSource;
        break;
    default:
        break;
    }
    return params;
}

} // namespace kelvarn
