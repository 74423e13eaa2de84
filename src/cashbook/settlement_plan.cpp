#include "cashbook/settlement_plan.h"

#include "core/formatting.h"
#include "core/money.h"

namespace kelvarn {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString heading(SettlementMode mode) {
    QString verb;
    switch (mode) {
    case SettlementMode::Insert:
        verb = QStringLiteral("Vložením tohoto nového záznamu");
        break;
    case SettlementMode::Edit:
        verb = QStringLiteral("Změnou tohoto záznamu");
        break;
    case SettlementMode::Delete:
        verb = QStringLiteral("Smazáním tohoto záznamu");
        break;
    }
    return verb + QStringLiteral(" se mohou automaticky provést i tyto operace:   ") + kCrLf + kCrLf;
}

QString line(const QString& number, double from, double to) {
    return QStringLiteral("- změna [Zbývá uhradit] na dokladu č. ") + number + QStringLiteral(" z \"") +
           formatGeneral(from) + QStringLiteral("\" na \"") + formatGeneral(to) + QStringLiteral("\"   ") +
           kCrLf;
}

double cents(double value) {
    return roundPlaces(value, 2);
}

} // namespace

bool SettledDocument::eligible() const {
    return !number.isEmpty() && !number.contains(QLatin1String("ZL")) &&
           (type == QLatin1String("1") || type == QLatin1String("2"));
}

double paymentEffect(const QString& documentType, double income, double expense) {
    if (documentType == QLatin1String("1"))
        return income - expense;
    if (documentType == QLatin1String("2"))
        return expense - income;
    return 0;
}

SettlementPlan planSettlement(const SettlementContext& context, double newIncome, double newExpense,
                              const SettledDocument& oldDocument, const SettledDocument& newDocument) {
    SettlementPlan plan;
    const double oldEffect = paymentEffect(oldDocument.type, context.oldIncome, context.oldExpense);
    switch (context.mode) {
    case SettlementMode::Insert:
        if (newDocument.eligible()) {
            const double to =
                cents(newDocument.remaining - paymentEffect(newDocument.type, newIncome, newExpense));
            plan.writes.push_back({newDocument.id, to});
            plan.question = heading(context.mode) + line(newDocument.number, newDocument.remaining, to);
        }
        break;
    case SettlementMode::Delete:
        if (oldDocument.eligible()) {
            const double to = cents(oldDocument.remaining + oldEffect);
            plan.writes.push_back({oldDocument.id, to});
            plan.question = heading(context.mode) + line(oldDocument.number, oldDocument.remaining, to);
        }
        break;
    case SettlementMode::Edit: {
        // Undo the old payment first, then pay the new one; on the same document the
        // second line starts from what the first one left.
        bool sameDocument = false;
        double undone = 0;
        if (oldDocument.eligible()) {
            undone = cents(oldDocument.remaining + oldEffect);
            plan.writes.push_back({oldDocument.id, undone});
            plan.question = heading(context.mode) + line(oldDocument.number, oldDocument.remaining, undone);
            sameDocument = oldDocument.id == newDocument.id;
        }
        if (newDocument.eligible()) {
            const double from = sameDocument ? undone : newDocument.remaining;
            const double to = cents(from - paymentEffect(newDocument.type, newIncome, newExpense));
            plan.writes.push_back({newDocument.id, to});
            if (plan.question.isEmpty())
                plan.question = heading(context.mode);
            plan.question += line(newDocument.number, from, to);
        }
        break;
    }
    }
    if (plan.offersAnything())
        plan.question += kCrLf + QStringLiteral("Chcete tyto operace provést?");
    return plan;
}

} // namespace kelvarn
