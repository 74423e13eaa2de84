#include "cashbook/cash_book_rules.h"

#include "cashbook/cash_book_entry.h"
#include "cashbook/document_pairing.h"
#include "cashbook/document_settlement.h"
#include "core/message_catalogue.h"
#include "core/money.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/database_session.h"

#include <QDate>

namespace kelvarn {

using namespace cash_book;

CashBookRules::CashBookRules(DbContext& db, CashBookHooks hooks) : db_(db), hooks_(std::move(hooks)) {}

CashBookRules::~CashBookRules() = default;

void CashBookRules::install(Dataset& cashBook) {
    cashBook.afterInsert = [](Dataset& row) {
        row.setValue(kDate, QDateTime(QDate::currentDate(), QTime(0, 0)));
    };
    cashBook.beforePost = [this](Dataset& row) { return beforePost(row); };
    cashBook.afterPost = [this](Dataset&) {
        if (db_.state().refreshAfterSave) {
            if (hooks_.refreshPanel)
                hooks_.refreshPanel();
        } else if (hooks_.updateStatusBar) {
            hooks_.updateStatusBar();
        }
    };
    cashBook.afterDelete = [this](Dataset&) {
        if (hooks_.updateStatusBar)
            hooks_.updateStatusBar();
    };
}

bool CashBookRules::beforePost(Dataset& row) {
    if (!db_.confirmSave())
        return false;
    if (row.isNull(kDate)) {
        showMessageCode(db_.prompts(), db_.state(), 19, QStringLiteral("Datum"));
        return false;
    }
    if (row.asString(kVoucher).trimmed().isEmpty()) {
        showMessageCode(db_.prompts(), db_.state(), 19, QStringLiteral("Doklad"));
        return false;
    }
    if (!pair(row))
        return false;

    const bool inserting = row.state() == Dataset::State::Insert;
    context_.mode = inserting ? SettlementMode::Insert : SettlementMode::Edit;
    context_.oldDocumentId = inserting ? QString() : row.oldValue(kDocumentId).toString();
    context_.oldIncome = inserting ? 0.0 : oldIncome(row);
    context_.oldExpense = inserting ? 0.0 : oldExpense(row);

    db_.preparePost(row, inserting);
    db_.stampRow(row);
    for (const QString& column : amountColumns())
        row.setValue(column, row.isNull(column) ? 0.0 : roundPlaces(row.asFloat(column), 2));

    offerSettlement(row);
    return true;
}

bool CashBookRules::pair(Dataset& row) {
    const QString typed = row.asString(kDocumentNumber);
    if (typed.trimmed().isEmpty()) {
        row.setNull(kDocumentId);
        if (!typed.isEmpty())
            row.setNull(kDocumentNumber);
        return true;
    }
    if (const auto found = findDocumentToPair(db_, typed)) {
        row.setValue(kDocumentId, found->id);
        if (found->bySymbol)
            row.setValue(kDocumentNumber, found->number);
        return true;
    }
    // The document this row was paired with has been deleted since: the number is
    // the row's own, not a typing error, so the pairing goes and the amounts stay.
    const QString oldId =
        row.state() == Dataset::State::Edit ? row.oldValue(kDocumentId).toString() : QString();
    if (!oldId.isEmpty() && typed == row.oldValue(kDocumentNumber).toString() &&
        readSettledDocument(db_, oldId).type.isEmpty()) {
        row.setNull(kDocumentId);
        row.setNull(kDocumentNumber);
        db_.prompts().message(QStringLiteral("Spárovaný doklad"),
                              QStringLiteral("Doklad s číslem \"") + typed +
                                  QStringLiteral("\", se kterým byl záznam spárován, už neexistuje. Párování "
                                                 "bylo zrušeno, částky záznamu zůstávají.   "),
                              MessageStyle::Info);
        return true;
    }
    showMessageCode(db_.prompts(), db_.state(), 16, typed);
    return false;
}

void CashBookRules::offerSettlement(Dataset& row) {
    const SettlementPlan plan =
        planSettlement(context_, income(row), expense(row), readSettledDocument(db_, context_.oldDocumentId),
                       readSettledDocument(db_, row.value(kDocumentId).toString()));
    const std::vector<SettlementWrite> accepted = askSettlement(db_.prompts(), plan);
    if (accepted.empty())
        return;
    // The document writes ride on the row's own transaction: committed with the row,
    // rolled back when its write fails.
    row.beginPostTransaction();
    writeSettlement(db_, accepted);
}

void CashBookRules::settleAndDelete(const QString& documentId, double income, double expense,
                                    const std::function<void()>& deleteRow) {
    context_ = SettlementContext{SettlementMode::Delete, documentId, income, expense};
    const SettlementPlan plan = planSettlement(context_, 0, 0, readSettledDocument(db_, documentId), {});
    const std::vector<SettlementWrite> accepted = askSettlement(db_.prompts(), plan);
    Transaction unit(db_.session());
    writeSettlement(db_, accepted);
    deleteRow();
    unit.commit();
}

} // namespace kelvarn
