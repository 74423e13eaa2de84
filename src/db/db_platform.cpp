#include "db/db_platform.h"

namespace kelvarn {

DbPlatform platformFromCode(const QString& code) {
    if (code == QLatin1String("2"))
        return DbPlatform::MsSql;
    if (code == QLatin1String("3"))
        return DbPlatform::Oracle;
    if (code == QLatin1String("4"))
        return DbPlatform::MySql;
    if (code == QLatin1String("5"))
        return DbPlatform::Firebird;
    return DbPlatform::Jet;
}

QString platformCode(DbPlatform p) {
    return QString::number(static_cast<int>(p));
}

} // namespace kelvarn
