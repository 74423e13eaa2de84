#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace kelvarn {

struct AppState;

// " Tip pro dnešní den": one tip at a time, "Další tip" walks through them in a
// circle. The tip index and the platform (which picks the variant of tip 0) are
// those of the AppState, read at every step.
class TipsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TipsDialog(AppState& state, QWidget* parent = nullptr);

    // Replaces the built-in tips (for tests and translations); same format as tipsText().
    void setTipsText(const QString& text);
    // The tip in the text box, exactly as taken from the tips text.
    const QString& shownTip() const { return shownTip_; }
    QPlainTextEdit* textBox() const { return text_; }

    QPushButton* nextButton() const { return next_; }
    QPushButton* okButton() const { return ok_; }

  public Q_SLOTS:
    // "Další tip": shows the tip at the state's index and moves the index on.
    void showNextTip();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    AppState& state_;
    QString tipsText_;
    QString shownTip_;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool painted_ = false;
};

} // namespace kelvarn
