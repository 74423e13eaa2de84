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

// Only MS SQL ("2") and Oracle ("3") let the program change the database password.
// The embedded database has no password at all; MySQL and Firebird accounts are
// looked after with the servers' own tools.
bool passwordChangeAvailable(const QString& platformCode);
// Why the password cannot be changed on the platform, shown beside the disabled
// controls ("" where it can).
QString passwordChangeUnavailableText(const QString& platformCode);

// What makes a value unfit for the platform's statement ("" when it is fine): a
// control character anywhere; on Oracle a double quote, which no quoted password or
// user name can hold.
QString passwordChangeRefusal(const QString& platformCode, const QString& user, const QString& newPassword);

// The statements that change the password of user on the platform; empty for a
// platform without password change. Every value stands in the statement quoted for
// its platform (callers check passwordChangeRefusal first; a value that cannot be
// quoted throws DbError).
QStringList passwordChangeStatements(const QString& platformCode, const QString& user,
                                     const QString& oldPassword, const QString& newPassword);

// "Změnit heslo": checks the three boxes, runs the statements through execute and
// tells the user the outcome through prompts. The password in state changes only
// when every statement ran.
PasswordChangeResult changePassword(AppState& state, const QString& oldPassword, const QString& newPassword,
                                    const QString& newPasswordAgain, const QString& user,
                                    const StatementExecutor& execute, Prompts& prompts);

} // namespace kelvarn
