#include "ui/figure_box.h"

#include <QApplication>
#include <QLineEdit>

namespace kelvarn {

void showFigure(QLineEdit* box, const Figure& figure) {
    if (!box)
        return;
    box->setText(figure.text);
    box->setCursorPosition(0);
    QPalette palette = box->palette();
    const QColor normal = QApplication::palette(box).color(QPalette::Text);
    palette.setColor(QPalette::Text, figure.negative ? QColor(Qt::red) : normal);
    box->setPalette(palette);
    box->setProperty("negative", figure.negative);
}

bool showsNegative(const QLineEdit* box) {
    return box && box->property("negative").toBool();
}

} // namespace kelvarn
