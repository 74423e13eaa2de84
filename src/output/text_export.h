#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace kelvarn {

class Prompts;

// Pieces shared by every delimited text export: the separator prompt, the row line
// clean-up and the save dialog that writes the finished lines.
namespace text_export {

// A file that could not be written; the text is shown to the user as it stands.
class WriteError : public std::runtime_error {
  public:
    explicit WriteError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

  private:
    QString text_;
};

inline const QString kDefaultSeparator = QStringLiteral("$");
inline const QString kStatusExporting = QStringLiteral("Probíhá export dat...");

// The typed separator as it is used: the tab spellings mean a tab, any other text
// (empty or several characters long included) is taken as it stands.
QString separatorFromAnswer(const QString& answer);

// Asks for the separator, prefilled with "$". False when the user cancels.
bool askSeparator(Prompts& prompts, QString& separator);

// A row line must stay one line of the file: each line break inside it becomes
// "<enter>".
QString flattenLine(const QString& line);

// Writes the lines in code page 1250, each ended by CR LF, replacing the file as a
// whole. Throws WriteError.
void writeLines(const QString& path, const QStringList& lines);

// Offers the save dialog preset to presetName and writes the lines to the chosen
// file. False when the user cancels (nothing is written). Throws WriteError.
bool saveLines(Prompts& prompts, const QString& presetName, const QStringList& lines);

} // namespace text_export
} // namespace kelvarn
