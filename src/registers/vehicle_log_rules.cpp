#include "registers/vehicle_log_rules.h"

#include "db/dataset.h"
#include "db/db_context.h"

#include <QDate>

namespace kelvarn {

namespace {

QString entrepreneurDefault(const Dataset& entrepreneur, DbContext& db, const QString& column) {
    if (entrepreneur.isActive() && !entrepreneur.isEmpty())
        return entrepreneur.asString(column);
    // The record's module may not have been visited yet; the table has one row.
    return db.lookupValue(QStringLiteral("tbl_podnikatel"), column, {});
}

} // namespace

void installVehicleLogRules(Dataset& trips, const Dataset& entrepreneur, DbContext& db,
                            const RegisterHooks& hooks) {
    trips.afterInsert = [&entrepreneur, &db](Dataset& ds) {
        ds.setValue(QStringLiteral("datum"), QDateTime(QDate::currentDate(), QTime(0, 0)));
        for (const QString& column : {QStringLiteral("spz"), QStringLiteral("ridic")}) {
            const QString value = entrepreneurDefault(entrepreneur, db, column);
            if (!value.isEmpty())
                ds.setValue(column, value);
        }
    };
    trips.beforePost = [&db](Dataset& ds) {
        const auto distance = [](Dataset& d) {
            if (d.isNull(QStringLiteral("start_stav")) || d.isNull(QStringLiteral("end_stav")))
                return;
            // A negative distance is kept: it shows the readings were swapped.
            d.setValue(QStringLiteral("pocet_km"),
                       d.asInteger(QStringLiteral("end_stav")) - d.asInteger(QStringLiteral("start_stav")));
        };
        return confirmThenRunPostProtocol(db, ds, distance,
                                          {{QStringLiteral("datum"), QStringLiteral("Datum")},
                                           {QStringLiteral("spz"), QStringLiteral("SPZ vozidla")},
                                           {QStringLiteral("pocet_km"), QStringLiteral("Ujeto [km]")},
                                           {QStringLiteral("ridic"), QStringLiteral("Řidič")}});
    };
    installAfterWriteHandlers(trips, db, hooks);
}

} // namespace kelvarn
