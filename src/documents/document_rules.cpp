#include "documents/document_rules.h"

#include "db/dataset.h"
#include "db/db_context.h"
#include "documents/document_defaults.h"
#include "documents/document_row.h"
#include "documents/document_save.h"
#include "documents/item_rules.h"

namespace kelvarn {

DocumentRules::DocumentRules(DbContext& db, Dataset& entrepreneur, DocumentDatasets datasets,
                             RegisterHooks hooks)
    : db_(db), entrepreneur_(entrepreneur), ds_(datasets), hooks_(std::move(hooks)) {
    install(ds_.issued, DocumentType::Issued);
    install(ds_.received, DocumentType::Received);
    install(ds_.receipts, DocumentType::Receipt);
    install(ds_.expenses, DocumentType::Expense);
    installItems();
}

KindSelector& DocumentRules::selector(DocumentType type) {
    return type == DocumentType::Received ? receivedSelector_ : issuedSelector_;
}

Dataset& DocumentRules::datasetOf(DocumentType type) {
    switch (type) {
    case DocumentType::Issued:
        return ds_.issued;
    case DocumentType::Received:
        return ds_.received;
    case DocumentType::Receipt:
        return ds_.receipts;
    case DocumentType::Expense:
        break;
    }
    return ds_.expenses;
}

void DocumentRules::install(Dataset& dataset, DocumentType type) {
    const bool withSelector = type == DocumentType::Issued || type == DocumentType::Received;
    KindSelector* kinds = withSelector ? &selector(type) : nullptr;

    dataset.afterInsert = [this, type, kinds](Dataset& ds) {
        const EntrepreneurNow entrepreneur(entrepreneur_);
        const DefaultsSource source{db_.state(), entrepreneur, today_(), db_.prompts()};
        fillNewDocument(ds, type, source);
        if (hooks_.showDetail)
            hooks_.showDetail();
        if (kinds)
            kinds->show(0);
        if (type == DocumentType::Receipt)
            offerReceiptVoucher(ds, ds_.issued, ds_.items, db_, today_());
    };
    dataset.beforePost = [this, type, kinds](Dataset& ds) {
        const EntrepreneurNow entrepreneur(entrepreneur_);
        return saveDocument(ds, type, SaveSource{db_, entrepreneur, kinds, today_()});
    };
    installAfterWriteHandlers(dataset, db_, hooks_);
    if (!kinds)
        return;
    // The number box comes back once the new row is saved or dropped.
    auto refresh = dataset.afterPost;
    dataset.afterPost = [refresh, kinds](Dataset& ds) {
        if (refresh)
            refresh(ds);
        kinds->hide();
    };
    dataset.afterCancel = [kinds](Dataset&) { kinds->hide(); };
}

void DocumentRules::installItems() {
    ds_.items.beforeInsert = [this](Dataset&) { return headerAcceptsLines(ds_.issued); };
    ds_.items.beforePost = [this](Dataset& ds) {
        return saveItemLine(ds, db_, EntrepreneurNow(entrepreneur_));
    };
    installAfterWriteHandlers(ds_.items, db_, hooks_);
}

bool DocumentRules::kindChosen(DocumentType type, int index) {
    if (type != DocumentType::Issued && type != DocumentType::Received)
        return false;
    Dataset& ds = datasetOf(type);
    if (ds.state() != Dataset::State::Insert)
        return false;
    selector(type).setIndex(index);
    const EntrepreneurNow entrepreneur(entrepreneur_);
    return applyKind(ds, type, index, DefaultsSource{db_.state(), entrepreneur, today_(), db_.prompts()});
}

bool DocumentRules::sumLines(Summing mode) {
    return sumDocumentLines(ds_.issued, ds_.items, db_, EntrepreneurNow(entrepreneur_), mode);
}

bool DocumentRules::amountInWords(DocumentType voucherType) {
    if (voucherType != DocumentType::Receipt && voucherType != DocumentType::Expense)
        return false;
    return writeAmountInWords(datasetOf(voucherType), db_);
}

GoodsTaken DocumentRules::takeGoods(const Dataset& goods) {
    return takeGoodsIntoLines(ds_.items, goods, db_, EntrepreneurNow(entrepreneur_).isVatPayer());
}

} // namespace kelvarn
