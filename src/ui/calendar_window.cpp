#include "ui/calendar_window.h"

#include "app/date_entry.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QMessageBox>
#include <QTextCharFormat>
#include <QVBoxLayout>

namespace kelvarn {

CalendarWindow::CalendarWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Kalendář"));
    setAccessibleName(windowTitle());

    previous_ = new QCalendarWidget(this);
    previous_->setAccessibleName(QStringLiteral("Předchozí měsíc"));
    current_ = new QCalendarWidget(this);
    current_->setAccessibleName(QStringLiteral("Tento měsíc"));
    next_ = new QCalendarWidget(this);
    next_->setAccessibleName(QStringLiteral("Příští měsíc"));

    auto* layout = new QVBoxLayout(this);
    for (QCalendarWidget* c : {previous_, current_, next_}) {
        c->setGridVisible(true);
        layout->addWidget(c);
    }
}

void CalendarWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (painted_)
        return;
    painted_ = true;
    showMonths();
}

void CalendarWindow::showMonths() {
    const QDate today = today_.isValid() ? today_ : QDate::currentDate();
    ThreeMonths months;
    try {
        months = threeMonthsAround(today);
    } catch (const DateTextError& e) {
        QMessageBox::critical(this, QApplication::applicationName(), e.text());
        return;
    }
    previous_->setSelectedDate(months.previous);
    current_->setSelectedDate(months.current);
    next_->setSelectedDate(months.next);
    // Only the middle calendar marks today.
    QTextCharFormat todayFormat = current_->dateTextFormat(today);
    todayFormat.setFontWeight(QFont::Bold);
    todayFormat.setFontUnderline(true);
    current_->setDateTextFormat(today, todayFormat);
}

} // namespace kelvarn
