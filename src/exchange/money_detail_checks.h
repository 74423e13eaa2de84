#pragma once

#include <QString>

#include <vector>

namespace kelvarn {

class Dataset;
class Prompts;

enum class MoneyDetail { Account, Iban, Ico };

// A column holding a bank account, an IBAN or an IČO, with the caption the
// warning names.
struct MoneyDetailField {
    QString column;
    QString caption;
    MoneyDetail kind;
};

// The problems of the row's money details that were typed or changed since the row
// was read, one line per field ("IČ: ..."); unchanged old values are left alone.
QStringList moneyDetailProblems(const Dataset& row, const std::vector<MoneyDetailField>& fields);

// Puts the check in front of the dataset's BeforePost: a typo gets a warning that
// names the field and asks whether to save anyway (the default answer No keeps
// the row open for correction; Yes saves it as typed).
void installMoneyDetailChecks(Dataset& dataset, Prompts& prompts, std::vector<MoneyDetailField> fields);

// The fields of the entrepreneur, the partners and the documents.
std::vector<MoneyDetailField> entrepreneurMoneyFields();
std::vector<MoneyDetailField> partnerMoneyFields();
std::vector<MoneyDetailField> documentMoneyFields();

} // namespace kelvarn
