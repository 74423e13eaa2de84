#pragma once

#include <QString>

#include <vector>

namespace kelvarn {

enum class SettlementMode { Insert = 0, Edit = 1, Delete = 2 };

// What a cash-book row was before the change being settled: kept from the check
// before a write (or the deletion of a row) to the settlement that follows.
struct SettlementContext {
    SettlementMode mode = SettlementMode::Insert;
    QString oldDocumentId; // "" when the row was not paired (or is new)
    double oldIncome = 0;  // prijem_nedanovy + prijem_danovy
    double oldExpense = 0; // vydaj_nedanovy + vydaj_danovy
};

// A paired document as the settlement sees it, read fresh from the database.
struct SettledDocument {
    QString id;
    double remaining = 0; // zbyva_uhradit, 0 when empty
    QString type;         // doklad_typ as text; "" when the document does not exist
    QString number;       // cislo_dokladu

    // Issued ("1") and received ("2") documents with a number settle; deposits
    // (a number containing "ZL") and vouchers never do.
    bool eligible() const;
};

// How much a row pays on a document: a receivable (issued) is paid by income, a
// payable (received) by expense.
double paymentEffect(const QString& documentType, double income, double expense);

struct SettlementWrite {
    QString documentId;
    double remaining = 0; // the new zbyva_uhradit
};

// The changes a cash-book change would make to its documents' remaining amounts and
// the question that offers them; both empty when nothing is offered.
struct SettlementPlan {
    QString question;
    std::vector<SettlementWrite> writes; // in order; the later write to one document wins

    bool offersAnything() const { return !question.isEmpty(); }
};

// The plan for the context and the row's new pairing and amounts (ignored in mode
// Delete). Every new remaining amount is rounded to cents as soon as it is computed.
SettlementPlan planSettlement(const SettlementContext& context, double newIncome, double newExpense,
                              const SettledDocument& oldDocument, const SettledDocument& newDocument);

} // namespace kelvarn
