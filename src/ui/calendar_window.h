#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;

namespace kelvarn {

// "Kalendář": the previous, the current and the next month for reference, not modal.
// The months are set on the first paint, so the window can be created up front.
class CalendarWindow : public QWidget {
    Q_OBJECT
  public:
    explicit CalendarWindow(QWidget* parent = nullptr);

    // The day the window treats as today (tests pin it); the clock's when not set.
    void setToday(const QDate& today) { today_ = today; }

    QCalendarWidget* previousMonth() const { return previous_; }
    QCalendarWidget* currentMonth() const { return current_; }
    QCalendarWidget* nextMonth() const { return next_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void showMonths();

    QCalendarWidget* previous_ = nullptr;
    QCalendarWidget* current_ = nullptr;
    QCalendarWidget* next_ = nullptr;
    QDate today_;
    bool painted_ = false;
};

} // namespace kelvarn
