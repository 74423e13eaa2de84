#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

namespace kelvarn {

// The text of a bound field's editor: a line, a memo or a selector.
QString editorText(const QWidget* editor);
// Shows a stored text in a bound field's editor. A selector without free text shows
// a value outside its choices as it is, never replacing it by one of them.
void showEditorText(QWidget* editor, const QString& text);
// Fills a selector with its choices; showEditorText tells them from odd values by this.
void offerChoices(QComboBox* combo, const QStringList& choices);

} // namespace kelvarn
