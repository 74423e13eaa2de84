#include "registers/catalogue_rules.h"

#include "core/money.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/number_series.h"

#include <QDate>

namespace kelvarn {

namespace {

void showDetail(const RegisterHooks& hooks) {
    if (hooks.showDetail)
        hooks.showDetail();
}

void storeRounded(Dataset& ds, const QString& column, int places) {
    ds.setValue(column, roundPlaces(ds.asFloat(column), places));
}

} // namespace

void installGoodsRules(Dataset& goods, DbContext& db, const RegisterHooks& hooks) {
    goods.afterInsert = [&db, hooks](Dataset& ds) {
        ds.setValue(QStringLiteral("dph"), db.state().vatBasic);
        showDetail(hooks);
    };
    goods.beforePost = [&db](Dataset& ds) {
        if (!db.runPostProtocol(ds, {{QStringLiteral("popis"), QStringLiteral("Název")},
                                     {QStringLiteral("mj"), QStringLiteral("MJ")},
                                     {QStringLiteral("cena_jednotka"), QStringLiteral("Cena za jednotku")}}))
            return false;
        storeRounded(ds, QStringLiteral("cena_jednotka"), 4);
        storeRounded(ds, QStringLiteral("cena_poplatek1"), 2);
        storeRounded(ds, QStringLiteral("cena_poplatek2"), 2);
        return true;
    };
    installAfterWriteHandlers(goods, db, hooks);
}

QString partnerPlaceholderName() {
    return QStringLiteral("Název obchodního partnera");
}

bool partnerNameIsPlaceholder(const Dataset& partners) {
    return partners.isActive() && !partners.isEmpty() &&
           partners.asString(QStringLiteral("nazev_firmy")) == partnerPlaceholderName();
}

void installPartnerRules(Dataset& partners, DbContext& db, const RegisterHooks& hooks) {
    partners.afterInsert = [hooks](Dataset& ds) {
        ds.setValue(QStringLiteral("nazev_firmy"), partnerPlaceholderName());
        // The name box must be on screen before its text can be selected.
        showDetail(hooks);
        if (hooks.selectWholeText)
            hooks.selectWholeText(QStringLiteral("nazev_firmy"));
    };
    partners.beforePost = [&db](Dataset& ds) {
        return db.runPostProtocol(ds, {{QStringLiteral("nazev_firmy"), partnerPlaceholderName()}});
    };
    installAfterWriteHandlers(partners, db, hooks);
}

void installOrderRules(Dataset& orders, DbContext& db, const RegisterHooks& hooks) {
    orders.afterInsert = [hooks](Dataset& ds) {
        ds.setValue(QStringLiteral("datum_zaevidovani"), QDateTime(QDate::currentDate(), QTime(0, 0)));
        showDetail(hooks);
    };
    orders.beforePost = [&db](Dataset& ds) {
        if (!db.runPostProtocol(ds, {{QStringLiteral("datum_zaevidovani"), QStringLiteral("Datum přijetí")}}))
            return false;
        const bool inserting = ds.state() == Dataset::State::Insert;
        // Only a date the user changed loses its time of day; times stored by other
        // programs survive an edit that does not touch them.
        for (const QString& column : {QStringLiteral("datum_zaevidovani"), QStringLiteral("datum_pozadovane"),
                                      QStringLiteral("datum_ukonceni"), QStringLiteral("datum_fakturace")}) {
            if (ds.isNull(column))
                continue;
            const QDateTime value = ds.asDateTime(column);
            const QVariant old = ds.oldValue(column);
            if (inserting || old.isNull() || old.toDateTime() != value)
                ds.setValue(column, QDateTime(value.date(), QTime(0, 0)));
        }
        if (!ds.asString(QStringLiteral("zakazka")).isEmpty())
            return true;
        const QString key = QStringLiteral("ZAK-") +
                            QString::number(ds.asDateTime(QStringLiteral("datum_zaevidovani")).date().year());
        const std::optional<QString> serial = nextNumber(db, key);
        if (!serial)
            return false;
        ds.setValue(QStringLiteral("zakazka"), key + QStringLiteral("-") + *serial);
        return true;
    };
    installAfterWriteHandlers(orders, db, hooks);
}

} // namespace kelvarn
