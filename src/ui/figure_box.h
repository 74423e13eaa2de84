#pragma once

#include "cashbook/totals_figures.h"

class QLineEdit;

namespace kelvarn {

// Puts a figure into its read-only box: the text, and the colour red when the
// figure is negative (the window's normal text colour otherwise).
void showFigure(QLineEdit* box, const Figure& figure);

// Whether a box shows its figure in red.
bool showsNegative(const QLineEdit* box);

} // namespace kelvarn
