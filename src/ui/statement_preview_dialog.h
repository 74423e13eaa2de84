#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

namespace kelvarn {

class Prompts;
class StatementImportPlan;
class StatementPreviewModel;

// "Náhled bankovního výpisu": every item with what the import will do; the user may
// pair an item by hand, drop its pairing or skip it before confirming the import.
class StatementPreviewDialog : public QDialog {
    Q_OBJECT
  public:
    StatementPreviewDialog(StatementImportPlan& plan, Prompts& prompts, QWidget* parent = nullptr);

    // The rows the buttons act on (the selected rows, else the current one).
    QList<int> chosenRows() const;
    void pairChosenByHand();
    void unpairChosen();
    void toggleSkipChosen();

  private:
    void refresh();

    StatementImportPlan& plan_;
    Prompts& prompts_;
    StatementPreviewModel* model_;
    QTableView* table_;
    QLabel* summary_;
    QPushButton* pair_;
    QPushButton* unpair_;
    QPushButton* skip_;
    QPushButton* import_;
    QPushButton* cancel_;
};

} // namespace kelvarn
