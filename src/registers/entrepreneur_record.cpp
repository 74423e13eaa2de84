#include "registers/entrepreneur_record.h"

#include "core/message_catalogue.h"
#include "core/prompts.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "db/field_refusal.h"

#include <QDateTime>

namespace kelvarn {

void installEntrepreneurHandlers(Dataset& dataset, DbContext& db) {
    dataset.beforePost = [&db](Dataset& ds) {
        if (!db.confirmSave())
            return false;
        db.preparePost(ds, ds.state() == Dataset::State::Insert);
        const QDateTime now = QDateTime::currentDateTime();
        // The row is created by the install script without stamps; only the first
        // save may claim to have created it.
        if (ds.asString(QStringLiteral("dateTS0")).isEmpty())
            ds.setValue(QStringLiteral("dateTS0"), now);
        ds.setValue(QStringLiteral("dateTS1"), now);
        return true;
    };
    // The name, IČ and rates are read once per run, so a change shows only after a restart.
    dataset.afterPost = [&db](Dataset&) { showMessageCode(db.prompts(), db.state(), 25); };
}

EntrepreneurValues readEntrepreneur(const Dataset& dataset) {
    EntrepreneurValues v;
    v.ico = dataset.asString(QStringLiteral("ico"));
    v.name = dataset.asString(QStringLiteral("nazev"));
    v.vatReduced = dataset.asFloat(QStringLiteral("dph5"));
    v.vatBasic = dataset.asFloat(QStringLiteral("dph19"));
    const bool payer = dataset.asString(QStringLiteral("platce_dph")).toLower() == QLatin1String("ano");
    v.defaultItemVat = payer ? v.vatBasic : 0;
    return v;
}

bool vatRatesUnusable(double reduced, double basic) {
    return reduced == 0 || basic == 0 || reduced == basic;
}

int applyFieldEdits(Dataset& dataset, const std::vector<FieldEdit>& edits, Prompts& prompts) {
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const FieldEdit& e = edits[i];
        if (dataset.asString(e.column) == e.text)
            continue;
        try {
            if (!dataset.isEditing())
                dataset.edit();
            dataset.setValue(e.column, e.text);
        } catch (const DbError& error) {
            // A text too long says itself which field it is and how many characters fit.
            const int c = dataset.columnIndex(e.column);
            const std::optional<QString> tooLong =
                c >= 0 ? textTooLong(dataset.column(c), e.caption, e.text) : std::nullopt;
            prompts.message(QStringLiteral("Chyba"),
                            tooLong ? *tooLong + QStringLiteral(" Opravte prosím hodnotu.")
                                    : QStringLiteral("Pole \"%1\": %2 Opravte prosím hodnotu.")
                                          .arg(e.caption, error.text()),
                            MessageStyle::Error);
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace kelvarn
