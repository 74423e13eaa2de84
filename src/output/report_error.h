#pragma once

#include <QString>

#include <stdexcept>

namespace kelvarn {

// A failure of the report engine: a project file that is missing, unreadable, not
// ours or damaged, or output that could not be produced. The text is meant for the
// user as it stands (the caller shows it in its error box).
class ReportError : public std::runtime_error {
  public:
    explicit ReportError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

  private:
    QString text_;
};

} // namespace kelvarn
