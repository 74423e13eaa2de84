#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace kelvarn {

// " Výběr tiskové sestavy": the reports a panel offers, by their base names. "Tisk"
// (the default button, Enter, or a double click on an entry) prints the selected
// entry; "Storno", Esc or closing the window prints nothing.
class ReportSelectionDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ReportSelectionDialog(QWidget* parent = nullptr);

    // Lists the names with the preselected one current (-1: none).
    void setReports(const QStringList& names, int preselected);
    // The entry "Tisk" took; -1 until then, after Storno and for an empty list.
    int chosen() const { return chosen_; }

    // Shows the dialog modally and returns chosen().
    static int choose(QWidget* parent, const QStringList& names, int preselected);

    QListWidget* list() const { return list_; }
    QPushButton* printButton() const { return print_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void printSelected();

    QListWidget* list_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* cancel_ = nullptr;
    int chosen_ = -1;
};

} // namespace kelvarn
