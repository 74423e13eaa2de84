#pragma once

#include "core/prompts.h"

#include <cstdio>

namespace kelvarn {

// KELVARN_UNATTENDED lets scripts and tests run the program without anyone at the
// screen: "no" (any case) answers every question No; any other value except "" and
// "0" answers Yes ("1" is the usual one). Unset, "" or "0" means a person is there.
bool unattendedMode();
Answer unattendedAnswer();

// Prompts for unattended runs: every box becomes one line "caption: text" on
// standard error; questions get the unattended answer, text inputs keep their
// preset value, file dialogs are cancelled.
class StderrPrompts : public Prompts {
  public:
    explicit StderrPrompts(std::FILE* stream = stderr) : stream_(stream) {}

    Answer message(const QString& caption, const QString& text, MessageStyle style) override;
    bool inputText(const QString& title, const QString& prompt, QString& value) override;
    QString saveFileName(const QString& title, const QString& presetPath, const QStringList& filters,
                         const QString& defaultSuffix) override;
    QString openFileName(const QString& title, const QString& folder, const QStringList& filters) override;
    // Yes prints the preselected report, as pressing Enter in the selection would.
    int chooseReport(const QStringList& names, int preselected) override;

  private:
    std::FILE* stream_;
};

} // namespace kelvarn
