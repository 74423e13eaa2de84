#pragma once

#include "db/db_context.h"

#include <QString>

#include <functional>
#include <vector>

namespace kelvarn {

class Dataset;

// What the register rules ask of the main window. Any of them may be left empty
// (tests, or a window that does not need it).
struct RegisterHooks {
    // Switch the module from its list to the detail view, when the list is shown.
    std::function<void()> showDetail;
    // Reread the panel's list.
    std::function<void()> refreshPanel;
    std::function<void()> updateStatusBar;
    // Select the whole text of the box bound to `column`, so that typing replaces it.
    std::function<void(const QString& column)> selectWholeText;
};

// After a write the list is reread when the option "Provádět refresh po uložení"
// is on, otherwise only the status bar follows; after a delete the status bar.
void installAfterWriteHandlers(Dataset& dataset, DbContext& db, const RegisterHooks& hooks);

// Writes a pending change of the dataset (with all its checks) before the focus
// moves to another panel. True when nothing was pending or the write went through;
// false when a check or the user refused, and the row keeps its state. Database
// errors propagate as DbError.
bool postPendingChange(Dataset& dataset);

// Confirms the write first and only then derives values and runs the remaining
// post protocol, so that a declined save leaves the row exactly as typed. Each
// answer comes once: the protocol does not ask again.
bool confirmThenRunPostProtocol(DbContext& db, Dataset& dataset, const std::function<void(Dataset&)>& derive,
                                const std::vector<RequiredField>& required);

} // namespace kelvarn
