#include "support/scripted_prompts.h"

namespace kelvarn::test {

Answer ScriptedPrompts::message(const QString& caption, const QString& text, MessageStyle style) {
    shown.append({caption, text, style});
    if (whileShown)
        whileShown();
    if (style != MessageStyle::Question && style != MessageStyle::WarnQuestion)
        return Answer::None;
    return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
}

Answer ScriptedPrompts::messageWithDefault(const QString& caption, const QString& text, MessageStyle style,
                                           Answer defaultButton) {
    const Answer answer = message(caption, text, style);
    shown.last().defaultButton = defaultButton;
    return answer;
}

bool ScriptedPrompts::inputText(const QString& title, const QString&, QString& value) {
    inputTitles.append(title);
    if (inputs.isEmpty())
        return false;
    value = inputs.takeFirst();
    return true;
}

QString ScriptedPrompts::saveFileName(const QString&, const QString& presetPath, const QStringList&,
                                      const QString&) {
    savePresets.append(presetPath);
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString ScriptedPrompts::openFileName(const QString&, const QString&, const QStringList&) {
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QStringList ScriptedPrompts::captions() const {
    QStringList out;
    for (const auto& s : shown)
        out.append(s.caption);
    return out;
}

} // namespace kelvarn::test

namespace kelvarn::test {

int ScriptedPrompts::chooseReport(const QStringList& names, int preselected) {
    reportSelections.append({names, preselected});
    if (reportChoices.isEmpty())
        return preselected >= 0 && preselected < names.size() ? preselected : -1;
    const QString wanted = reportChoices.takeFirst();
    return wanted.isEmpty() ? -1 : static_cast<int>(names.indexOf(wanted));
}

} // namespace kelvarn::test
