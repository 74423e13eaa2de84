#include "exchange/money_detail_checks.h"

#include "core/prompts.h"
#include "db/dataset.h"
#include "core/czech_account.h"

#include <QStringList>

namespace kelvarn {

namespace {

QString textOf(const QVariant& v) {
    return v.isNull() ? QString() : v.toString().trimmed();
}

} // namespace

QStringList moneyDetailProblems(const Dataset& row, const std::vector<MoneyDetailField>& fields) {
    QStringList problems;
    const bool inserting = row.state() == Dataset::State::Insert;
    for (const MoneyDetailField& f : fields) {
        if (!row.hasColumn(f.column))
            continue;
        const QString value = textOf(row.value(f.column));
        if (!inserting && value == textOf(row.oldValue(f.column)))
            continue;
        QString problem;
        switch (f.kind) {
        case MoneyDetail::Account: problem = accountProblem(value); break;
        case MoneyDetail::Iban: problem = ibanProblem(value); break;
        case MoneyDetail::Ico: problem = icoProblem(value); break;
        }
        if (!problem.isEmpty())
            problems << QStringLiteral("%1 „%2“: %3").arg(f.caption, value, problem);
    }
    return problems;
}

void installMoneyDetailChecks(Dataset& dataset, Prompts& prompts, std::vector<MoneyDetailField> fields) {
    auto previous = dataset.beforePost;
    dataset.beforePost = [previous, &prompts, fields = std::move(fields)](Dataset& row) {
        const QStringList problems = moneyDetailProblems(row, fields);
        if (!problems.isEmpty()) {
            const QString text = QStringLiteral("Zkontrolujte prosím tyto údaje:\r\n\r\n") +
                                 problems.join(QStringLiteral("\r\n")) +
                                 QStringLiteral("\r\n\r\nChcete záznam přesto uložit?");
            if (prompts.messageWithDefault(QStringLiteral("Kontrola údajů"), text, MessageStyle::WarnQuestion,
                                           Answer::No) != Answer::Yes)
                return false;
        }
        return previous ? previous(row) : true;
    };
}

std::vector<MoneyDetailField> entrepreneurMoneyFields() {
    return {{QStringLiteral("cislo_uctu"), QStringLiteral("Číslo účtu"), MoneyDetail::Account},
            {QStringLiteral("cislo_uctu_IBAN"), QStringLiteral("IBAN"), MoneyDetail::Iban},
            {QStringLiteral("ico"), QStringLiteral("IČ"), MoneyDetail::Ico}};
}

std::vector<MoneyDetailField> partnerMoneyFields() {
    return {{QStringLiteral("cislo_uctu"), QStringLiteral("Číslo účtu"), MoneyDetail::Account},
            {QStringLiteral("cislo_uctu_IBAN"), QStringLiteral("IBAN"), MoneyDetail::Iban},
            {QStringLiteral("ic"), QStringLiteral("IČ"), MoneyDetail::Ico}};
}

std::vector<MoneyDetailField> documentMoneyFields() {
    return {{QStringLiteral("odb_cislo_uctu"), QStringLiteral("Číslo účtu partnera"), MoneyDetail::Account},
            {QStringLiteral("odb_cislo_uctu_IBAN"), QStringLiteral("IBAN partnera"), MoneyDetail::Iban},
            {QStringLiteral("odb_ic"), QStringLiteral("IČ partnera"), MoneyDetail::Ico},
            {QStringLiteral("dod_cislo_uctu"), QStringLiteral("Vlastní číslo účtu"), MoneyDetail::Account},
            {QStringLiteral("dod_cislo_uctu_IBAN"), QStringLiteral("Vlastní IBAN"), MoneyDetail::Iban},
            {QStringLiteral("dod_ic"), QStringLiteral("Vlastní IČ"), MoneyDetail::Ico}};
}

} // namespace kelvarn
