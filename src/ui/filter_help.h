#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace kelvarn {

// " Rychlá nápověda k vytvoření SQL výrazu": how a filter definition is written.
// Not modal; it stays open beside the filter dialog until its close button.
class FilterHelp : public QDialog {
    Q_OBJECT
  public:
    explicit FilterHelp(QWidget* parent = nullptr);

    static QString helpText();
    QPlainTextEdit* textBox() const { return text_; }

  private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace kelvarn
