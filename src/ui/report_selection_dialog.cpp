#include "ui/report_selection_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvarn {

namespace {

// The name assistive tools read: the visible caption without its accelerator and
// the blanks around it.
QString spoken(const QString& caption) {
    QString text = caption;
    return text.remove(QLatin1Char('&')).trimmed();
}

} // namespace

ReportSelectionDialog::ReportSelectionDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PrintSelection"));
    setWindowTitle(QStringLiteral(" Výběr tiskové sestavy"));
    setAccessibleName(spoken(windowTitle()));

    // No accelerator of its own: Alt+T belongs to the Print button.
    auto* label = new QLabel(QStringLiteral("Tiskové sestavy:"), this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListBoxSestavy"));
    list_->setAccessibleName(QStringLiteral("Tiskové sestavy"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    label->setBuddy(list_);

    auto* buttons = new QDialogButtonBox(this);
    print_ = buttons->addButton(QStringLiteral("  &Tisk ..."), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(QStringLiteral(" &Storno"), QDialogButtonBox::RejectRole);
    print_->setObjectName(QStringLiteral("BitBtnTisk"));
    cancel_->setObjectName(QStringLiteral("BitBtnStorno"));
    print_->setAccessibleName(spoken(print_->text()));
    cancel_->setAccessibleName(spoken(cancel_->text()));
    print_->setDefault(true);
    print_->setAutoDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    resize(360, 320);

    connect(print_, &QPushButton::clicked, this, &ReportSelectionDialog::printSelected);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &ReportSelectionDialog::printSelected);
}

void ReportSelectionDialog::setReports(const QStringList& names, int preselected) {
    chosen_ = -1;
    list_->clear();
    list_->addItems(names);
    // Without a preselected entry nothing is selected, and "Tisk" alone prints nothing.
    list_->setCurrentRow(-1);
    if (preselected < 0 || preselected >= names.size())
        return;
    list_->setCurrentRow(preselected);
    list_->scrollToItem(list_->currentItem());
}

void ReportSelectionDialog::printSelected() {
    // An empty list chooses nothing: the command then ends quietly.
    chosen_ = list_->currentRow();
    if (chosen_ < 0) {
        reject();
        return;
    }
    accept();
}

int ReportSelectionDialog::choose(QWidget* parent, const QStringList& names, int preselected) {
    ReportSelectionDialog dialog(parent);
    dialog.setReports(names, preselected);
    dialog.list()->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return dialog.chosen();
}

} // namespace kelvarn
