#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;

namespace kelvarn {

// The floating line at the top right of the main window while a record is being
// picked from a list: no frame, always on top, transparent but for its text, never
// holding the keyboard focus. It follows the main window on a 500 ms timer and
// hides itself once selection mode has ended.
class SelectionHint : public QWidget {
    Q_OBJECT
  public:
    // active: whether selection mode is on; themed: the larger offsets of a themed desktop.
    SelectionHint(QWidget* mainWindow, std::function<bool()> active, std::function<bool()> themed);

    // Shows, moves or hides the hint as selection mode and the main window stand.
    void place();
    QLabel* label() const { return label_; }
    bool following() const { return timer_.isActive(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QWidget* main_;
    std::function<bool()> active_;
    std::function<bool()> themed_;
    QLabel* label_ = nullptr;
    QTimer timer_;
};

} // namespace kelvarn
