#pragma once

#include <QString>
#include <stdexcept>

namespace kelvarn {

// A database failure, carrying the driver's own text. It travels to the command
// boundary, where the user interface shows it.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

} // namespace kelvarn
