#pragma once

#include <QDialog>

class QTextBrowser;

namespace kelvarn {

// " Rychlá nápověda k vytvoření SQL výrazu": how a filter definition is written.
// Not modal; it stays open beside the filter dialog until its close button.
class FilterHelp : public QDialog {
    Q_OBJECT
  public:
    explicit FilterHelp(QWidget* parent = nullptr);

    // The text as a page: the operator lists laid out as tables.
    static QString helpPage();
    QTextBrowser* textBox() const { return text_; }

  private:
    QTextBrowser* text_ = nullptr;
};

} // namespace kelvarn
