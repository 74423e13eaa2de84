#pragma once

#include "exchange/bank_statement.h"

#include <QHash>
#include <QString>

#include <vector>

namespace kelvarn {

class DbContext;

// A document a statement item may pay: issued (receivable) or received (payable),
// with a number that is no deposit, as the settlement of the cash book takes it.
struct OpenDocument {
    QString id;
    QString number;
    QString symbol;
    int type = 0; // 1 issued, 2 received
    qint64 remainingCents = 0;
};

enum class ItemAction {
    Pair,   // a cash-book row paired with the document, which is settled
    Book,   // a cash-book row without a document
    Skip,   // nothing written
};

struct PlannedItem {
    StatementItem item;
    ItemAction action = ItemAction::Book;
    QString documentId;
    QString documentNumber;
    bool bySymbol = false; // paired by the variable symbol (else by amount or by hand)
    QString note;          // why it is as it is, for the preview
};

// What importing a statement would do, worked out before anything is written: the
// pairing of every item, and the reason the whole statement is refused when it is.
class StatementImportPlan {
  public:
    // Reads the entrepreneur's account and the open documents and pairs every item:
    // by variable symbol first (a symbol shared by several documents pairs nothing),
    // by the exact remaining amount where the item has no symbol (only when exactly
    // one document of the right side is open for that amount and no earlier item took
    // it). Money coming in pairs issued documents, money going out received ones.
    static StatementImportPlan prepare(DbContext& db, const BankStatement& statement);

    // Why the statement must not be imported ("" when it may): another account than
    // the entrepreneur's, another currency than crowns, or imported already.
    const QString& refusal() const { return refusal_; }
    // The statement's fingerprint: the same content always gives the same one.
    const QString& fingerprint() const { return fingerprint_; }
    const BankStatement& statement() const { return statement_; }

    std::vector<PlannedItem>& items() { return items_; }
    const std::vector<PlannedItem>& items() const { return items_; }

    // The user's choices in the preview. pairByHand takes a document number or a
    // variable symbol; false (with a reason) when it names no single open document.
    bool pairByHand(int index, const QString& typed, QString* why = nullptr);
    void setSkipped(int index, bool skipped);
    void unpair(int index);

    // The cash-book voucher text of an item: the fingerprint and the item's order.
    QString voucherOf(int index) const;

    int pairedCount() const;

  private:
    void pairAll();
    const OpenDocument* documentById(const QString& id) const;

    BankStatement statement_;
    QString refusal_;
    QString fingerprint_;
    std::vector<PlannedItem> items_;
    std::vector<OpenDocument> documents_;
    QHash<QString, std::vector<int>> bySymbol_;  // variable symbol -> documents
    QHash<QString, std::vector<int>> byNumber_;  // document number -> documents
    QHash<qint64, std::vector<int>> byAmount_;   // remaining haléř -> documents
    QHash<QString, int> byId_;
};

// The fingerprint of a statement's content (account, number, every item).
QString statementFingerprint(const BankStatement& statement);

// The text of the voucher (doklad) column for an item: "BV-" + fingerprint + "/" +
// the item's order in the statement; the prefix marks a statement's rows.
QString statementVoucherPrefix(const QString& fingerprint);

// Whether rows of the statement with this fingerprint are in the cash book already.
bool statementAlreadyImported(DbContext& db, const QString& fingerprint);

// Whether the statement is of the entrepreneur's own account. `problem` says why
// not (or that the entrepreneur record names no account to compare with).
bool isOwnAccount(const BankStatement& statement, const QString& ownAccount, const QString& ownIban,
                  QString* problem);

} // namespace kelvarn
