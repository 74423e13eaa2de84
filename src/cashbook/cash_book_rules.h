#pragma once

#include "cashbook/settlement_plan.h"

#include <QString>

#include <functional>
#include <memory>

namespace kelvarn {

class Dataset;
class DbContext;

// What the cash book asks of the main window; either may stay empty.
struct CashBookHooks {
    // Rereads the cash-book list (the option "refresh after save" is on).
    std::function<void()> refreshPanel;
    std::function<void()> updateStatusBar;
};

// The rules of the cash book (ADOFormHlavniKniha): the new row's date, the checks,
// pairing with a document and normalisation before a write, and the settlement of
// the paired documents' remaining amounts after every insert, change or deletion.
//
// A row and the settlement it triggers are one unit of work: the question comes once
// the row has passed its checks, the accepted document writes run inside a unit that
// ends with the row's own write, and a failure of either leaves neither in the
// database (the row stays open for another try).
class CashBookRules {
  public:
    CashBookRules(DbContext& db, CashBookHooks hooks = {});
    ~CashBookRules();
    CashBookRules(const CashBookRules&) = delete;
    CashBookRules& operator=(const CashBookRules&) = delete;

    // Installs the handlers on the cash-book dataset; the object must outlive it.
    void install(Dataset& cashBook);

    // A row about to be deleted by its own statement: offers to give its payment back
    // to the paired document, then runs deleteRow (whatever the answer) in the same
    // unit of work. A document that no longer exists takes no part.
    void settleAndDelete(const QString& documentId, double income, double expense,
                         const std::function<void()>& deleteRow);

    // The context the last settlement used.
    const SettlementContext& settlementContext() const { return context_; }

  private:
    bool beforePost(Dataset& row);
    bool pair(Dataset& row);
    void offerSettlement(Dataset& row);

    DbContext& db_;
    CashBookHooks hooks_;
    SettlementContext context_;
};

} // namespace kelvarn
