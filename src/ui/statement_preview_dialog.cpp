#include "ui/statement_preview_dialog.h"

#include "core/prompts.h"
#include "exchange/statement_import_plan.h"
#include "exchange/statement_preview_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvarn {

namespace {

QPushButton* button(const QString& text, const QString& hint, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setAccessibleName(text);
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

} // namespace

StatementPreviewDialog::StatementPreviewDialog(StatementImportPlan& plan, Prompts& prompts, QWidget* parent)
    : QDialog(parent), plan_(plan), prompts_(prompts) {
    const BankStatement& st = plan.statement();
    setWindowTitle(QStringLiteral("Náhled bankovního výpisu"));
    setAccessibleName(windowTitle());
    resize(1000, 560);

    auto* heading = new QLabel(QStringLiteral("Výpis %1 (%2) ze dne %3, účet %4")
                                   .arg(st.number, st.format, st.date.toString(QStringLiteral("d.M.yyyy")),
                                        st.iban.isEmpty() ? st.accountDigits : st.iban),
                               this);
    model_ = new StatementPreviewModel(plan, this);
    table_ = new QTableView(this);
    table_->setModel(model_);
    table_->setAccessibleName(QStringLiteral("Položky výpisu"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->resizeColumnsToContents();
    summary_ = new QLabel(this);
    summary_->setAccessibleName(QStringLiteral("Souhrn"));

    pair_ = button(QStringLiteral("Spárovat ručně..."), QStringLiteral("Spárovat vybranou položku s dokladem podle čísla "
                                                                      "nebo variabilního symbolu"),
                   this);
    unpair_ = button(QStringLiteral("Zrušit párování"), QStringLiteral("Zapsat vybrané položky bez dokladu"), this);
    skip_ = button(QStringLiteral("Přeskočit / zahrnout"), QStringLiteral("Vybrané položky nezapisovat (nebo je vrátit)"),
                   this);
    import_ = button(QStringLiteral("Importovat"), QStringLiteral("Zapsat výpis do příjmů a výdajů"), this);
    cancel_ = button(QStringLiteral("Zrušit"), QStringLiteral("Nic nezapisovat"), this);
    import_->setDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pair_);
    buttons->addWidget(unpair_);
    buttons->addWidget(skip_);
    buttons->addStretch();
    buttons->addWidget(import_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(table_, 1);
    layout->addWidget(summary_);
    layout->addLayout(buttons);

    connect(pair_, &QPushButton::clicked, this, &StatementPreviewDialog::pairChosenByHand);
    connect(unpair_, &QPushButton::clicked, this, &StatementPreviewDialog::unpairChosen);
    connect(skip_, &QPushButton::clicked, this, &StatementPreviewDialog::toggleSkipChosen);
    connect(import_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    if (model_->rowCount() > 0)
        table_->selectRow(0);
    refresh();
}

QList<int> StatementPreviewDialog::chosenRows() const {
    QList<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows())
        rows << i.row();
    if (rows.isEmpty() && table_->currentIndex().isValid())
        rows << table_->currentIndex().row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void StatementPreviewDialog::pairChosenByHand() {
    const QList<int> rows = chosenRows();
    if (rows.size() != 1) {
        prompts_.message(windowTitle(), QStringLiteral("Vyberte jednu položku výpisu."), MessageStyle::Info);
        return;
    }
    QString typed = plan_.items()[static_cast<size_t>(rows.first())].documentNumber;
    if (!prompts_.inputText(windowTitle(), QStringLiteral("Číslo dokladu nebo variabilní symbol:"), typed))
        return;
    QString why;
    if (!plan_.pairByHand(rows.first(), typed, &why))
        prompts_.message(windowTitle(), why, MessageStyle::Warning);
    refresh();
}

void StatementPreviewDialog::unpairChosen() {
    for (int row : chosenRows())
        plan_.unpair(row);
    refresh();
}

void StatementPreviewDialog::toggleSkipChosen() {
    for (int row : chosenRows())
        plan_.setSkipped(row, plan_.items()[static_cast<size_t>(row)].action != ItemAction::Skip);
    refresh();
}

void StatementPreviewDialog::refresh() {
    model_->refresh();
    summary_->setText(model_->summary());
}

} // namespace kelvarn
