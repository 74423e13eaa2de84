#pragma once

#include "db/dataset.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QGridLayout;

namespace kelvarn {

class BusinessOverviewBox;
class Prompts;

// "PanelPodnikatel": the entrepreneur row as labelled fields. The zero rate and the
// two VAT texts are left to the printed forms and have no field here.
// Typing starts an edit of the row; the typed texts reach the row when it is
// saved (applyEdits), so a half-typed number never raises an error.
class EntrepreneurPanel : public QWidget {
    Q_OBJECT
  public:
    explicit EntrepreneurPanel(QWidget* parent = nullptr);

    void bind(Dataset* dataset);
    Dataset* dataset() const { return dataset_; }

    // Writes the typed texts into the row. On a text the row cannot take the user
    // is told which field is wrong, that field gets the focus and false comes back.
    bool applyEdits(Prompts& prompts);

    // The editor of a column (a QLineEdit or QComboBox); null when there is none.
    QWidget* editorFor(const QString& column) const;
    // Shows the row's values again (after a save or a cancel).
    void reload();

    // "Informace o hospodaření", filled by its own button.
    BusinessOverviewBox* overview() const { return overview_; }

  private:
    struct Field {
        QString column;
        QString caption;
        QWidget* editor = nullptr;
        bool readOnly = false;
    };

    QWidget* addField(QGridLayout* grid, const QString& column, const QString& caption, bool readOnly = false,
                      const QStringList& choices = {}, bool choicesOnly = false);
    void userEdited();
    void datasetStateChanged();

    QPointer<Dataset> dataset_;
    std::vector<Field> fields_;
    bool loading_ = false;
    BusinessOverviewBox* overview_ = nullptr;
};

} // namespace kelvarn
