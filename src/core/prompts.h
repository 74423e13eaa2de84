#pragma once

#include <QString>
#include <QStringList>

namespace kelvarn {

enum class MessageStyle { Error, Warning, Info, Question, WarnQuestion };
enum class Answer { None, Yes, No, Cancel };

// Everything the program asks or tells the user goes through this interface, so
// the rules below the widget layer can run (and be tested) without a screen.
class Prompts {
  public:
    virtual ~Prompts() = default;

    // A box with a caption, a text, the buttons and icon of the style. Question
    // styles return the pressed button; the others return Answer::None.
    virtual Answer message(const QString& caption, const QString& text, MessageStyle style) = 0;
    // The same box with another button than Yes as the default (questions whose
    // hasty Enter must not write anything). A window that cannot choose the default
    // shows the plain box.
    virtual Answer messageWithDefault(const QString& caption, const QString& text, MessageStyle style,
                                      Answer defaultButton) {
        (void)defaultButton;
        return message(caption, text, style);
    }

    // A text input box. Returns false when the user cancels.
    virtual bool inputText(const QString& title, const QString& prompt, QString& value) = 0;

    // File dialogs. An empty result means the user cancelled.
    virtual QString saveFileName(const QString& title, const QString& presetPath, const QStringList& filters,
                                 const QString& defaultSuffix) = 0;
    virtual QString openFileName(const QString& title, const QString& folder, const QStringList& filters) = 0;

    // The report selection " Výběr tiskové sestavy": the index of the entry the user
    // printed, or -1 when none (Storno, the window closed, an empty list). Without a
    // window to ask in, nothing is chosen.
    virtual int chooseReport(const QStringList& names, int preselected) {
        (void)names;
        (void)preselected;
        return -1;
    }

    // Lets the user interface breathe during long runs (pending input, repaint).
    virtual void processEvents() {}
};

} // namespace kelvarn
