#include "app/password_change.h"

#include "core/app_state.h"
#include "core/prompts.h"
#include "db/db_error.h"
#include "db/sql_dialect.h"

#include <QRegularExpression>

#include <algorithm>

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
    return platformCode == QLatin1String("2") || platformCode == QLatin1String("3");
}

QString passwordChangeUnavailableText(const QString& platformCode) {
    if (passwordChangeAvailable(platformCode))
        return {};
    if (platformCode == QLatin1String("1"))
        return QStringLiteral("Vestavěná databáze nemá žádné heslo, které by se dalo změnit.");
    return QStringLiteral("Heslo k tomuto databázovému serveru se mění jeho vlastními nástroji, ne v tomto programu.");
}

QString passwordChangeRefusal(const QString& platformCode, const QString& user, const QString& newPassword) {
    const auto hasControl = [](const QString& text) {
        return std::any_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
    };
    if (hasControl(newPassword))
        return QStringLiteral("Nové heslo nesmí obsahovat řídicí znaky (tabulátor, konec řádku a podobně).  ");
    if (platformCode == QLatin1String("3")) {
        if (newPassword.contains(QLatin1Char('"')))
            return QStringLiteral("Heslo databáze Oracle nesmí obsahovat uvozovky (\").  ");
        if (user.contains(QLatin1Char('"')) || hasControl(user) || user.trimmed().isEmpty())
            return QStringLiteral("Jméno uživatele \"%1\" nelze v příkazu pro změnu hesla použít.  ").arg(user);
    }
    return {};
}

namespace {

// A unicode string literal of T-SQL; an apostrophe is doubled, nothing else has a
// meaning there. N keeps characters outside the database's code page.
QString msSqlText(const QString& value) {
    return QLatin1Char('N') + SqlDialect::quoteText(value, DbPlatform::MsSql);
}

// Oracle takes a password only as a quoted identifier, which cannot hold a double
// quote at all: such a password is refused before anything is composed.
QString oracleQuoted(const QString& value) {
    if (value.contains(QLatin1Char('"')) || value.contains(QChar(0)))
        throw DbError(QStringLiteral("Hodnotu %1 nelze v příkazu Oracle uvést.").arg(value));
    return QLatin1Char('"') + value + QLatin1Char('"');
}

// A user name written as usual stays as it is (Oracle reads it in upper case); any
// other name was created quoted and must be named exactly so.
QString oracleUser(const QString& user) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z][A-Za-z0-9_$#]*$"));
    return plain.match(user).hasMatch() ? user : oracleQuoted(user);
}

} // namespace

QStringList passwordChangeStatements(const QString& platformCode, const QString& user,
                                     const QString& oldPassword, const QString& newPassword) {
    if (platformCode == QLatin1String("2"))
        return {QStringLiteral("sp_password ") + msSqlText(oldPassword) + QStringLiteral(", ") + msSqlText(newPassword)};
    if (platformCode == QLatin1String("3")) {
        // The administrative accounts share the password so the database stays reachable with it.
        const QString identified = QStringLiteral(" identified by ") + oracleQuoted(newPassword);
        return {QStringLiteral("alter user ") + oracleUser(user) + identified,
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

    // A button that should not have been reachable says why rather than sending
    // a statement the database cannot run.
    if (!passwordChangeAvailable(state.platform)) {
        show(kErrorCaption, passwordChangeUnavailableText(state.platform), MessageStyle::Error);
        return result;
    }
    QString invalid = validationMessage(state, oldPassword, newPassword, newPasswordAgain);
    if (invalid.isEmpty())
        invalid = passwordChangeRefusal(state.platform, user, newPassword);
    if (!invalid.isEmpty()) {
        show(kErrorCaption, invalid, MessageStyle::Error);
        return result;
    }
    try {
        const QStringList statements = passwordChangeStatements(state.platform, user, oldPassword, newPassword);
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
    state.password = newPassword;
    result.changed = true;
    show(QStringLiteral("Hlášení"), QStringLiteral("Změna hesla proběhla úspěšně.  "), MessageStyle::Info);
    return result;
}

} // namespace kelvarn
