#pragma once

#include "cashbook/totals_figures.h"

#include <QGroupBox>
#include <QMap>

#include <vector>

class QLineEdit;
class QPushButton;

namespace kelvarn {

// "Informace o hospodaření" on the entrepreneur tab: open payables and receivables,
// the VAT and the income-tax base of the current year. The boxes stay empty until
// the first press of "  Aktualizovat", and are recomputed only by that button.
class BusinessOverviewBox : public QGroupBox {
    Q_OBJECT
  public:
    explicit BusinessOverviewBox(QWidget* parent = nullptr);

    QPushButton* refreshButton() const { return refresh_; }
    // Memo6 … Memo9; null for another name.
    QLineEdit* field(const QString& name) const { return fields_.value(name); }
    void showFigures(const std::vector<Figure>& figures);

  Q_SIGNALS:
    void refreshRequested();

  private:
    QMap<QString, QLineEdit*> fields_;
    QPushButton* refresh_ = nullptr;
};

} // namespace kelvarn
