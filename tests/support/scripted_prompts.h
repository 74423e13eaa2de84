#pragma once

#include "core/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace kelvarn::test {

// A Prompts fake: records every box and answers questions from a queue (Yes when
// the queue is empty), inputs and file names from their own queues.
class ScriptedPrompts : public Prompts {
  public:
    struct Shown {
        QString caption;
        QString text;
        MessageStyle style;
        Answer defaultButton = Answer::Yes; // of question boxes
    };

    Answer message(const QString& caption, const QString& text, MessageStyle style) override;
    Answer messageWithDefault(const QString& caption, const QString& text, MessageStyle style,
                              Answer defaultButton) override;
    bool inputText(const QString& title, const QString& prompt, QString& value) override;
    QString saveFileName(const QString& title, const QString& presetPath, const QStringList& filters,
                         const QString& defaultSuffix) override;
    QString openFileName(const QString& title, const QString& folder, const QStringList& filters) override;
    // Answers from reportChoices: a name picks that entry ("" or a name not offered
    // picks nothing); an empty queue takes the preselected entry, as Enter would.
    int chooseReport(const QStringList& names, int preselected) override;

    QList<Shown> shown;
    QList<Answer> answers;   // for question boxes
    QStringList inputs;      // for inputText; an empty queue cancels
    QStringList fileNames;   // for save/open; an empty queue cancels
    QStringList savePresets; // the preset paths the save dialog was given
    QStringList inputTitles;
    QStringList reportChoices; // for chooseReport
    struct ReportSelection {
        QStringList names;
        int preselected = -1;
    };
    QList<ReportSelection> reportSelections; // every selection shown
    // Runs while a box is up, as a real box's own event loop and its taking of the
    // focus would.
    std::function<void()> whileShown;

    QStringList captions() const;
    bool sawCaption(const QString& caption) const { return captions().contains(caption); }
};

} // namespace kelvarn::test
