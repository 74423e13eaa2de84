#include "registers/register_hooks.h"

#include "db/dataset.h"

namespace kelvarn {

void installAfterWriteHandlers(Dataset& dataset, DbContext& db, const RegisterHooks& hooks) {
    dataset.afterPost = [&db, hooks](Dataset&) {
        if (db.state().refreshAfterSave) {
            if (hooks.refreshPanel)
                hooks.refreshPanel();
        } else if (hooks.updateStatusBar) {
            hooks.updateStatusBar();
        }
    };
    dataset.afterDelete = [hooks](Dataset&) {
        if (hooks.updateStatusBar)
            hooks.updateStatusBar();
    };
}

bool postPendingChange(Dataset& dataset) {
    if (!dataset.isEditing())
        return true;
    return dataset.post();
}

bool confirmThenRunPostProtocol(DbContext& db, Dataset& dataset, const std::function<void(Dataset&)>& derive,
                                const std::vector<RequiredField>& required) {
    if (!db.confirmSave())
        return false;
    if (derive)
        derive(dataset);
    db.skipNextConfirmation();
    return db.runPostProtocol(dataset, required);
}

} // namespace kelvarn
