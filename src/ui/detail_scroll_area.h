#pragma once

#include <QScrollArea>

namespace kelvarn {

// The frame a detail form scrolls in: forms are taller than the window opens, so
// whatever field gets the focus — by Tab, by a command, or by an assistive tool —
// is scrolled into sight.
class DetailScrollArea : public QScrollArea {
    Q_OBJECT
  public:
    explicit DetailScrollArea(QWidget* form, QWidget* parent = nullptr);

  private:
    void focusMoved(QWidget* now);
};

} // namespace kelvarn
