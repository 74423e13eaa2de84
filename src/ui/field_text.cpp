#include "ui/field_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace kelvarn {

namespace {
const char* const kOffered = "offered";
}

QString editorText(const QWidget* editor) {
    if (auto* box = qobject_cast<const QPlainTextEdit*>(editor))
        return box->toPlainText();
    if (auto* combo = qobject_cast<const QComboBox*>(editor))
        return combo->currentText();
    return static_cast<const QLineEdit*>(editor)->text();
}

void offerChoices(QComboBox* combo, const QStringList& choices) {
    combo->addItems(choices);
    combo->setProperty(kOffered, static_cast<int>(choices.size()));
}

void showEditorText(QWidget* editor, const QString& text) {
    if (auto* box = qobject_cast<QPlainTextEdit*>(editor)) {
        if (box->toPlainText() != text)
            box->setPlainText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
            return;
        }
        // The odd value shown for an earlier row goes, so such values do not pile up.
        const int offered = combo->property(kOffered).toInt();
        while (combo->count() > offered)
            combo->removeItem(combo->count() - 1);
        int index = combo->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (index < 0) {
            combo->addItem(text);
            index = combo->count() - 1;
        }
        combo->setCurrentIndex(index);
    } else if (auto* line = static_cast<QLineEdit*>(editor); line->text() != text) {
        line->setText(text);
        line->setCursorPosition(0);
    }
}

} // namespace kelvarn
