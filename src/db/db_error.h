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

// The record was written and committed, but what was to follow the write failed
// (a refresh, a rule run after the save). The text says that the record is stored,
// so nobody enters it a second time.
class DbAfterWriteError : public DbError {
public:
    explicit DbAfterWriteError(const QString& cause)
        : DbError(QStringLiteral("Záznam byl uložen, nezadávejte jej znovu. Potom ale nastala chyba: ") + cause) {}
};

} // namespace kelvarn
