#include "ui/detail_scroll_area.h"

#include <QApplication>

namespace kelvarn {

DetailScrollArea::DetailScrollArea(QWidget* form, QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setWidget(form);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

void DetailScrollArea::focusMoved(QWidget* now) {
    QWidget* form = widget();
    if (now && form && form->isAncestorOf(now))
        ensureWidgetVisible(now);
}

} // namespace kelvarn
