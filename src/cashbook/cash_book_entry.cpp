#include "cashbook/cash_book_entry.h"

#include "db/dataset.h"

namespace kelvarn::cash_book {

namespace {

double amountOf(const QVariant& value) {
    return value.isNull() ? 0.0 : value.toDouble();
}

} // namespace

const QStringList& amountColumns() {
    static const QStringList columns = [] {
        QStringList c{kIncomeNonTaxable, kIncomeTaxable, kExpenseNonTaxable, kExpenseTaxable};
        for (int i = 6; i <= 10; ++i)
            c << QStringLiteral("prijem_%1").arg(i);
        for (int i = 6; i <= 10; ++i)
            c << QStringLiteral("vydaj_%1").arg(i);
        return c;
    }();
    return columns;
}

double income(const Dataset& row) {
    return amountOf(row.value(kIncomeNonTaxable)) + amountOf(row.value(kIncomeTaxable));
}

double expense(const Dataset& row) {
    return amountOf(row.value(kExpenseNonTaxable)) + amountOf(row.value(kExpenseTaxable));
}

double oldIncome(const Dataset& row) {
    return amountOf(row.oldValue(kIncomeNonTaxable)) + amountOf(row.oldValue(kIncomeTaxable));
}

double oldExpense(const Dataset& row) {
    return amountOf(row.oldValue(kExpenseNonTaxable)) + amountOf(row.oldValue(kExpenseTaxable));
}

} // namespace kelvarn::cash_book
