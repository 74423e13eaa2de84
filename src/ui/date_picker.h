#pragma once

#include "app/date_entry.h"

#include <QDate>
#include <QDialog>

#include <optional>

class QCalendarWidget;
class QPushButton;

namespace kelvarn {

// "Datum": a month calendar to choose one day. OK, Enter or a double click on a day
// chooses it; Esc or the window's close button leaves without a choice.
class DatePicker : public QDialog {
    Q_OBJECT
  public:
    explicit DatePicker(QWidget* parent = nullptr);

    void setDate(const QDate& date);
    // The day chosen by the last run; nullopt when it was closed without choosing.
    std::optional<QDate> chosenDate() const { return chosen_; }

    // Shows the picker modally on initial and returns the choice.
    static std::optional<QDate> pick(const QDate& initial, QWidget* parent = nullptr);
    // A chooser for editDateField/pickDate that opens the picker over parent.
    static DateChooser chooser(QWidget* parent);

    QCalendarWidget* calendar() const { return calendar_; }
    QPushButton* okButton() const { return ok_; }

  public Q_SLOTS:
    void accept() override;
    void done(int result) override;

  private:
    QCalendarWidget* calendar_ = nullptr;
    QPushButton* ok_ = nullptr;
    std::optional<QDate> chosen_;
};

} // namespace kelvarn
