#pragma once

#include <QString>

namespace kelvarn {

// Collects composed statements (when debug is on) and layout errors (always) for
// the debug log file written at the end of the run.
class DiagnosticLog {
  public:
    // Every entry is "\r\n-----\r\n" followed by the entry text.
    void append(const QString& entry);
    const QString& text() const { return text_; }
    void clear() { text_.clear(); }

    // Appends the collected text byte for byte (CP1250, no terminator) to the file.
    // Returns false when the file cannot be opened; nothing is written then.
    bool appendToFile(const QString& path) const;

  private:
    QString text_;
};

} // namespace kelvarn
