#pragma once

#include "exchange/vat_filing.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kelvarn {

class DbContext;
class StatementImportPlan;

// What the commands ask of the window: the statement preview (true when the user
// confirms the import, having paired or skipped items in the plan) and a refresh
// of the lists the commands changed.
struct ExchangeHooks {
    std::function<bool(StatementImportPlan&)> previewStatement;
    std::function<void()> cashBookChanged;
    std::function<void()> documentsChanged;
};

// The menu commands of the data exchange: each asks for its file through the
// prompts, refuses bad input with a message naming what is wrong and writes
// nothing then.
class ExchangeCommands {
  public:
    ExchangeCommands(DbContext& db, ExchangeHooks hooks);

    void importBankStatement();
    // One document to a file of the user's choice; several into the folder of the
    // file chosen for the first.
    void exportIsdoc(const QStringList& documentIds);
    void importIsdoc();
    void writeControlStatement();
    void writeVatReturn();

  private:
    void writeVatForm(bool controlStatement);
    QString folder() const;

    DbContext& db_;
    ExchangeHooks hooks_;
};

// Reads "1/2025" or "01/2025" as a month and "Q1/2025" or "1Q/2025" as a quarter;
// false on anything else.
bool parseVatPeriod(const QString& text, VatPeriod& period);

} // namespace kelvarn
