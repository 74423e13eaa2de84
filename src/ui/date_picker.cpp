#include "ui/date_picker.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvarn {

DatePicker::DatePicker(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Datum"));
    setAccessibleName(windowTitle());
    setModal(true);

    calendar_ = new QCalendarWidget(this);
    calendar_->setAccessibleName(QStringLiteral("Kalendář"));
    calendar_->setGridVisible(true);
    // Enter and a double click in the day grid arrive as activated.
    connect(calendar_, &QCalendarWidget::activated, this, &DatePicker::accept);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setAccessibleName(ok_->text());
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &DatePicker::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(calendar_);
    layout->addLayout(buttons);
    calendar_->setFocus();
}

void DatePicker::setDate(const QDate& date) {
    calendar_->setSelectedDate(date);
}

void DatePicker::accept() {
    chosen_ = calendar_->selectedDate();
    QDialog::accept();
}

void DatePicker::done(int result) {
    // Every way out other than a choice (Esc, the close button, reject) means none.
    if (result != QDialog::Accepted)
        chosen_.reset();
    QDialog::done(result);
}

std::optional<QDate> DatePicker::pick(const QDate& initial, QWidget* parent) {
    // The parent may go away while the modal loop runs.
    QPointer<DatePicker> picker = new DatePicker(parent);
    picker->setDate(initial);
    picker->exec();
    if (!picker)
        return std::nullopt;
    const std::optional<QDate> chosen = picker->chosenDate();
    delete picker;
    return chosen;
}

DateChooser DatePicker::chooser(QWidget* parent) {
    QPointer<QWidget> owner = parent;
    return [owner](QDate initial) { return pick(initial, owner); };
}

} // namespace kelvarn
