#pragma once

#include "documents/document_commands.h"
#include "documents/document_kinds.h"
#include "documents/goods_lines.h"
#include "documents/kind_selector.h"
#include "registers/register_hooks.h"

#include <QDate>

#include <functional>

namespace kelvarn {

class Dataset;
class DbContext;

// The document datasets of the main window.
struct DocumentDatasets {
    Dataset& issued;   // ADOFormFAV
    Dataset& items;    // ADOFormFAVpol, the detail of ADOFormFAV
    Dataset& received; // ADOFormFAP
    Dataset& receipts; // ADOFormPPD
    Dataset& expenses; // ADOFormVPD
};

// The rules of the four document types and their item lines, installed on the
// datasets' events (defaults after insert, the save, the selector swap after post
// and cancel, refresh after write), with the document commands the window's
// buttons and selectors call. No widget is touched: the kind selectors are plain
// objects the window shows.
class DocumentRules {
  public:
    DocumentRules(DbContext& db, Dataset& entrepreneur, DocumentDatasets datasets, RegisterHooks hooks);
    DocumentRules(const DocumentRules&) = delete;
    DocumentRules& operator=(const DocumentRules&) = delete;

    // The selector of ADOFormFAV (Issued) or ADOFormFAP (Received).
    KindSelector& selector(DocumentType type);

    // The user picked another kind while a new document is entered: the kind's
    // values go into the row. An existing document's kind cannot change: false,
    // nothing happens.
    bool kindChosen(DocumentType type, int index);

    // "Sečíst" / "Zaokrouhlit" under the item grid.
    bool sumLines(Summing mode);
    // "Částka slovy" of the receipt (Receipt) or expense (Expense) voucher panel.
    bool amountInWords(DocumentType voucherType);

    // The goods row picked into the current item line, with its fee lines.
    GoodsTaken takeGoods(const Dataset& goods);

    // Today's date for defaults and numbers; tests set a fixed day.
    void setToday(std::function<QDate()> today) { today_ = std::move(today); }

  private:
    void install(Dataset& ds, DocumentType type);
    void installItems();
    Dataset& datasetOf(DocumentType type);

    DbContext& db_;
    Dataset& entrepreneur_;
    DocumentDatasets ds_;
    RegisterHooks hooks_;
    KindSelector issuedSelector_{DocumentType::Issued};
    KindSelector receivedSelector_{DocumentType::Received};
    std::function<QDate()> today_ = [] { return QDate::currentDate(); };
};

} // namespace kelvarn
