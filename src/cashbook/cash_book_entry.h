#pragma once

#include <QString>
#include <QStringList>

namespace kelvarn {

class Dataset;

// The columns of a cash-book row (tbl_hlavnikniha) the rules work with.
namespace cash_book {

inline const QString kTable = QStringLiteral("tbl_hlavnikniha");
inline const QString kDate = QStringLiteral("datum");
inline const QString kVoucher = QStringLiteral("doklad");
inline const QString kDescription = QStringLiteral("popis");
inline const QString kIncomeTaxable = QStringLiteral("prijem_danovy");
inline const QString kIncomeNonTaxable = QStringLiteral("prijem_nedanovy");
inline const QString kExpenseTaxable = QStringLiteral("vydaj_danovy");
inline const QString kExpenseNonTaxable = QStringLiteral("vydaj_nedanovy");
inline const QString kDocumentNumber = QStringLiteral("cislo_dokladu");
inline const QString kDocumentId = QStringLiteral("id_tbl_doklad");

// The fourteen amount columns, in the order a write rounds them.
const QStringList& amountColumns();

// Income and expense of the row being edited (a null amount counts as 0), and the
// same of the values it had when it was read.
double income(const Dataset& row);
double expense(const Dataset& row);
double oldIncome(const Dataset& row);
double oldExpense(const Dataset& row);

} // namespace cash_book

} // namespace kelvarn
