#pragma once

#include "cashbook/registration_draft.h"

#include <QString>

#include <functional>

namespace kelvarn {

class Dataset;
class DbContext;
class ModuleController;
class ModuleView;

// The commands "Zaevidovat jako příjem (+)" and "Zaevidovat jako výdaj  (-)": the
// document of the current panel becomes a new, prefilled cash-book row, left unsaved
// for the user to check (its save pairs and settles it like any other row).
class CashBookRegistration {
  public:
    static constexpr int kCashBookTab = 1;

    CashBookRegistration(ModuleController& modules, ModuleView& view, DbContext& db,
                         const Dataset& entrepreneur);

    // Shows a tab. The window passes its tab bar (whose change then runs the
    // controller's tabChanged); empty: the controller switches by itself.
    void setSwitchTab(std::function<void(int tab)> switchTab) { switchTab_ = std::move(switchTab); }

    void registerDocument(CashDirection direction);

  private:
    // ReturnTab := the current tab, then the cash book in front; false when the
    // switch was refused.
    bool showCashBook();
    bool isVatPayer();
    double lookedUpAmount(const QString& column, const QString& id, bool* found = nullptr);

    ModuleController& modules_;
    ModuleView& view_;
    DbContext& db_;
    const Dataset& entrepreneur_;
    std::function<void(int)> switchTab_;
};

} // namespace kelvarn
