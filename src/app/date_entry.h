#pragma once

#include <QDate>
#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>

namespace kelvarn {

class Dataset;

// Lets the user choose a day starting from the one given; nullopt when the user
// closed the chooser without choosing. The widget layer supplies the calendar window,
// tests supply a script.
using DateChooser = std::function<std::optional<QDate>(QDate initial)>;

// A text that should have been a date. The command boundary shows it in the standard
// error box.
class DateTextError : public std::runtime_error {
  public:
    explicit DateTextError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

  private:
    QString text_;
};

// The detail-panel date fields that open the chooser (dataset names as the module
// controller knows them, case-insensitive).
bool isChooserDateField(const QString& datasetName, const QString& column);

// The column whose non-empty value tells that the panel shows a record.
QString recordKeyColumn(const QString& datasetName);

// The chosen day as short date text, or "" when the user closed the chooser or chose
// the text already shown. An empty current text starts the chooser on today. Throws
// DateTextError when current is neither empty nor a date.
QString pickDate(const QString& current, const DateChooser& choose,
                 const QDate& today = QDate::currentDate());

enum class DateFieldOutcome {
    NotServed, // the column is not one of the chooser date fields of the dataset
    NoRecord,  // nothing to edit: no current record, closed or read-only dataset
    Unchanged, // closed without choosing, or the day already shown
    Written,   // the column holds the chosen day; the record is in edit or insert state
};

// The double click / F4 action on a date field: puts a browsed record into edit state,
// lets the user choose starting from fieldText (what the edit box shows) and writes the
// choice into the column. When nothing is written, an edit this action started is
// cancelled again so the record stays in browse state untouched. DateTextError (a field
// text that is no date) and DbError propagate after that cleanup.
DateFieldOutcome editDateField(Dataset& dataset, const QString& column, const QString& fieldText,
                               const DateChooser& choose, const QDate& today = QDate::currentDate());

// The three months of the reference calendar around today: the first of the previous
// month, today and the first of the next month.
struct ThreeMonths {
    QDate previous;
    QDate current;
    QDate next;
};

ThreeMonths threeMonthsAround(const QDate& today);

} // namespace kelvarn
