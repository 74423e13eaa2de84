#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace kelvarn {

// One movement of a bank statement. Amounts are kept in haléř so that sums over
// thousands of items stay exact; the cash book gets crowns only when it is written.
struct StatementItem {
    int line = 0;               // where the item starts in the file (1-based)
    qint64 amountCents = 0;     // always positive; the direction says which way
    bool credit = true;         // money came in (before a reversal is applied)
    bool reversal = false;      // a cancelled earlier posting
    QString counterAccount;     // as the bank wrote it ("prefix-number/bank" or an IBAN)
    QString counterName;
    QString variableSymbol;     // digits without leading zeros; "" when none
    QString constantSymbol;
    QString specificSymbol;
    QString message;            // free text the payer or the bank added
    QString transactionId;
    QDate date;                 // value date (booking date where no value date)

    // Positive when money came in, negative when it went out: a reversed credit
    // takes money out, a reversed debit brings it back.
    qint64 signedCents() const {
        const bool in = credit != reversal;
        return in ? amountCents : -amountCents;
    }
};

// The statement of one account.
struct BankStatement {
    QString format;           // "GPC" or "camt.053"
    QString accountDigits;    // GPC: the 16 digits as written; camt: ""
    QString iban;             // camt: the account's IBAN; GPC: ""
    QString accountName;
    QString currency;         // "" when the file does not say (GPC often does not)
    QString number;           // the statement's own number or id
    QDate date;
    qint64 openingCents = 0;
    qint64 closingCents = 0;
    std::vector<StatementItem> items;
};

// What a reader hands back: the statement, or why it could not be read (naming the
// line or element), never half a statement.
struct StatementReadResult {
    bool ok = false;
    QString error;
    BankStatement statement;
};

// Haléř as crowns for the cash book (exact: at most 15 digits survive a double).
inline double centsToCrowns(qint64 cents) {
    return static_cast<double>(cents) / 100.0;
}

} // namespace kelvarn
