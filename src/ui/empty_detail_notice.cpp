#include "ui/empty_detail_notice.h"

namespace kelvarn {

EmptyDetailNotice::EmptyDetailNotice(QWidget* parent) : QLabel(text(), parent) {
    setObjectName(QStringLiteral("EmptyDetailNotice"));
    setAccessibleName(QLabel::text());
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setFocusPolicy(Qt::StrongFocus);
    setMargin(24);
    hide();
}

QString EmptyDetailNotice::text() {
    return QStringLiteral("Seznam je prázdný, detail nemá co zobrazit.\n\n"
                          "Nový záznam založíte klávesou Insert nebo tlačítkem Nový záznam, "
                          "klávesou F9 se vrátíte na seznam.");
}

void EmptyDetailNotice::recordShown(bool shown) {
    QWidget* panel = parentWidget();
    if (!panel)
        return;
    for (QWidget* part : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (part != this)
            part->setVisible(shown);
    setVisible(!shown);
}

} // namespace kelvarn
