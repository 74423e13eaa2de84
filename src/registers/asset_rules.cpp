#include "registers/asset_rules.h"

#include "db/dataset.h"
#include "db/db_context.h"

namespace kelvarn {

void installAssetRules(Dataset& assets, Dataset& depreciation, DbContext& db, const RegisterHooks& hooks) {
    assets.afterInsert = [hooks](Dataset& ds) {
        ds.setValue(QStringLiteral("vstupni_cena"), 0);
        if (hooks.showDetail)
            hooks.showDetail();
    };
    assets.beforePost = [&db](Dataset& ds) {
        return db.runPostProtocol(ds, {{QStringLiteral("typ"), QStringLiteral("Typ majetku")},
                                       {QStringLiteral("cislo"), QStringLiteral("Evidenční číslo")},
                                       {QStringLiteral("vstupni_cena"), QStringLiteral("Vstupní cena")}});
    };
    installAfterWriteHandlers(assets, db, hooks);

    // The year is text, so "2009" sorts before "2010" however the rows were typed.
    depreciation.setTable(QStringLiteral("tbl_odpisy"));
    depreciation.setMaster(&assets, QStringLiteral("id_tbl_majetek"),
                           {QStringLiteral("id_tbl_majetek"), QStringLiteral("rok")});
    // A row of an asset without id would be saved belonging to no asset.
    depreciation.beforeInsert = [&assets](Dataset&) {
        return assets.isActive() && !assets.isEmpty() && assets.state() != Dataset::State::Insert &&
               !assets.isNull(QStringLiteral("id"));
    };
    depreciation.beforePost = [&db](Dataset& ds) {
        return db.runPostProtocol(ds, {{QStringLiteral("rok"), QStringLiteral("Rok")},
                                       {QStringLiteral("odpis"), QStringLiteral("Odpis")},
                                       {QStringLiteral("zustatkova_cena"), QStringLiteral("Zůstatková cena")},
                                       {QStringLiteral("opravky"), QStringLiteral("Oprávky")}});
    };
    installAfterWriteHandlers(depreciation, db, hooks);
}

bool postAssetBeforeDepreciationFocus(Dataset& assets) {
    return postPendingChange(assets);
}

bool postDepreciationBeforeAssetFocus(Dataset& depreciation) {
    return postPendingChange(depreciation);
}

} // namespace kelvarn
