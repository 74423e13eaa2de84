#include "app/password_change.h"

#include "core/app_state.h"
#include "core/prompts.h"
#include "db/db_error.h"

#include <exception>

namespace kelvarn {
namespace {

const QString kErrorCaption = QStringLiteral("Chyba");

QString validationMessage(const AppState& state, const QString& oldPassword, const QString& newPassword,
                          const QString& newPasswordAgain) {
    if (newPassword != newPasswordAgain)
        return QStringLiteral("Kontrola nového hesla nesouhlasí.  ");
    if (newPassword == oldPassword)
        return QStringLiteral("Není co měnit, nové heslo je stejné jako staré.  ");
    if (oldPassword != state.password)
        return QStringLiteral("Neplatné současné heslo.  ");
    if (newPassword.startsWith(QLatin1Char(' ')))
        return QStringLiteral("První znak nového hesla nesmí být mezera.  ");
    return {};
}

} // namespace

bool passwordChangeAvailable(const QString& platformCode) {
    return platformCode == QLatin1String("1") || platformCode == QLatin1String("2") ||
           platformCode == QLatin1String("3");
}

QStringList passwordChangeStatements(const QString& platformCode, const QString& user,
                                     const QString& oldPassword, const QString& newPassword) {
    if (platformCode == QLatin1String("1")) {
        const auto orNull = [](const QString& p) { return p.isEmpty() ? QStringLiteral("NULL") : p; };
        return {QStringLiteral("ALTER USER ") + user + QStringLiteral(" PASSWORD ") + orNull(newPassword) +
                QLatin1Char(' ') + orNull(oldPassword)};
    }
    if (platformCode == QLatin1String("2"))
        return {QStringLiteral("sp_password '") + oldPassword + QStringLiteral("', '") + newPassword +
                QLatin1Char('\'')};
    if (platformCode == QLatin1String("3")) {
        // The administrative accounts share the password so the database stays reachable with it.
        const QString identified = QStringLiteral(" identified by \"") + newPassword + QLatin1Char('"');
        return {QStringLiteral("alter user ") + user + identified,
                QStringLiteral("alter user SYSTEM") + identified,
                QStringLiteral("alter user SYS") + identified};
    }
    return {};
}

PasswordChangeResult changePassword(AppState& state, const QString& oldPassword, const QString& newPassword,
                                    const QString& newPasswordAgain, const QString& user,
                                    const StatementExecutor& execute, Prompts& prompts) {
    PasswordChangeResult result;
    const auto show = [&](const QString& caption, const QString& text, MessageStyle style) {
        result.message = text;
        prompts.message(caption, text, style);
    };

    const QString invalid = validationMessage(state, oldPassword, newPassword, newPasswordAgain);
    if (!invalid.isEmpty()) {
        show(kErrorCaption, invalid, MessageStyle::Error);
        return result;
    }
    const QStringList statements = passwordChangeStatements(state.platform, user, oldPassword, newPassword);
    if (statements.isEmpty())
        return result;

    try {
        if (!execute)
            throw DbError(QStringLiteral("Databáze není připojena."));
        for (const QString& statement : statements) {
            execute(statement);
            result.executed << statement;
        }
    } catch (const DbError& e) {
        show(kErrorCaption, e.text(), MessageStyle::Error);
        return result;
    } catch (const std::exception& e) {
        show(kErrorCaption, QString::fromLocal8Bit(e.what()), MessageStyle::Error);
        return result;
    }
    // The word NULL only stood in the statement; the password in use stays empty.
    state.password = newPassword;
    result.changed = true;
    show(QStringLiteral("Hlášení"), QStringLiteral("Změna hesla proběhla úspěšně.  "), MessageStyle::Info);
    return result;
}

} // namespace kelvarn
