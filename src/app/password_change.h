#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace kelvarn {

struct AppState;
class Prompts;

// Runs one SQL statement on the open connection; throws DbError on failure.
using StatementExecutor = std::function<void(const QString& statement)>;

struct PasswordChangeResult {
    bool changed = false; // every statement ran and AppState::password holds the new password
    QStringList executed; // the statements that ran without error, in order
    QString message;      // the text of the box shown ("" when none was shown)
};

// Only these platforms let the program change the database password ("1".."3").
bool passwordChangeAvailable(const QString& platformCode);

// The statements that change the password of user on the platform; empty for a
// platform without password change. On JET an empty password is written as NULL.
QStringList passwordChangeStatements(const QString& platformCode, const QString& user,
                                     const QString& oldPassword, const QString& newPassword);

// "Změnit heslo": checks the three boxes, runs the statements through execute and
// tells the user the outcome through prompts. The password in state changes only
// when every statement ran.
PasswordChangeResult changePassword(AppState& state, const QString& oldPassword, const QString& newPassword,
                                    const QString& newPasswordAgain, const QString& user,
                                    const StatementExecutor& execute, Prompts& prompts);

} // namespace kelvarn
