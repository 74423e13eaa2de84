#include "app/password_change.h"

#include "core/app_state.h"
#include "db/db_error.h"
#include "db/platform_fixture.h"
#include "support/scripted_prompts.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

namespace kelvarn {
namespace {

class PasswordChangeTest : public ::testing::Test {
  protected:
    PasswordChangeResult change(const QString& oldPassword, const QString& newPassword,
                                const QString& again) {
        return changePassword(state, oldPassword, newPassword, again, QStringLiteral("jana"), execute,
                              prompts);
    }
    void expectOneBox(const QString& caption, const QString& text, MessageStyle style) {
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].caption, caption);
        EXPECT_EQ(prompts.shown[0].text, text);
        EXPECT_EQ(prompts.shown[0].style, style);
        prompts.shown.clear();
    }

    AppState state;
    test::ScriptedPrompts prompts;
    QStringList ran;
    int failAt = -1; // index of the statement that fails
    StatementExecutor execute = [this](const QString& statement) {
        if (ran.size() == failAt)
            throw DbError(QStringLiteral("ORA-01031: nedostatečná oprávnění"));
        ran << statement;
    };
};

TEST_F(PasswordChangeTest, ValidationMessagesComeInTheirOrderAndStopTheChange) {
    state.platform = QStringLiteral("2");
    state.password = QStringLiteral("stare");
    const struct {
        const char* oldPassword;
        const char* newPassword;
        const char* again;
        QString message;
    } cases[] = {
        // each row also breaks the rules checked after its own
        {"spatne", "stare", "jine", QStringLiteral("Kontrola nového hesla nesouhlasí.  ")},
        {"spatne", "spatne", "spatne", QStringLiteral("Není co měnit, nové heslo je stejné jako staré.  ")},
        {"spatne", " nove", " nove", QStringLiteral("Neplatné současné heslo.  ")},
        {"Stare", "nove", "nove", QStringLiteral("Neplatné současné heslo.  ")},
        {"stare", " nove", " nove", QStringLiteral("První znak nového hesla nesmí být mezera.  ")},
    };
    for (const auto& c : cases) {
        const PasswordChangeResult result = change(
            QString::fromUtf8(c.oldPassword), QString::fromUtf8(c.newPassword), QString::fromUtf8(c.again));
        EXPECT_FALSE(result.changed);
        EXPECT_EQ(result.message, c.message);
        expectOneBox(QStringLiteral("Chyba"), c.message, MessageStyle::Error);
    }
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_EQ(state.password, QStringLiteral("stare"));

    EXPECT_TRUE(change(QStringLiteral("stare"), QStringLiteral("no ve "), QStringLiteral("no ve ")).changed);
    EXPECT_EQ(ran, QStringList{QStringLiteral("sp_password N'stare', N'no ve '")});
}

TEST_F(PasswordChangeTest, TheEmbeddedDatabaseHasNoPasswordToChange) {
    // It used to send a JET statement the embedded database cannot run.
    state.platform = QStringLiteral("1");
    EXPECT_FALSE(passwordChangeAvailable(state.platform));
    EXPECT_TRUE(passwordChangeStatements(state.platform, QStringLiteral("jana"), {}, QStringLiteral("t")).isEmpty());
    const PasswordChangeResult result = change({}, QStringLiteral("tajne"), QStringLiteral("tajne"));
    EXPECT_FALSE(result.changed);
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_EQ(state.password, QString());
    expectOneBox(QStringLiteral("Chyba"), QStringLiteral("Vestavěná databáze nemá žádné heslo, které by se dalo změnit."),
                 MessageStyle::Error);
}

TEST_F(PasswordChangeTest, EveryValueIsQuotedForItsPlatform) {
    const struct {
        const char* platform;
        const char* user;
        const char* newPassword;
        QStringList statements;
    } cases[] = {
        // Without quoting this changed the password of another login.
        {"2", "jana", "x', @loginame='sa", {QStringLiteral("sp_password N'stare', N'x'', @loginame=''sa'")}},
        {"2", "jana", "\\'; DROP TABLE t; --", {QStringLiteral("sp_password N'stare', N'\\''; DROP TABLE t; --'")}},
        {"3", "jana", "a'b c", {QStringLiteral("alter user jana identified by \"a'b c\""),
                                QStringLiteral("alter user SYSTEM identified by \"a'b c\""),
                                QStringLiteral("alter user SYS identified by \"a'b c\"")}},
        // A name Oracle keeps only in quotes is named exactly.
        {"3", "jana.nova", "n", {QStringLiteral("alter user \"jana.nova\" identified by \"n\""),
                                 QStringLiteral("alter user SYSTEM identified by \"n\""),
                                 QStringLiteral("alter user SYS identified by \"n\"")}},
    };
    for (const auto& c : cases) {
        state.platform = QString::fromLatin1(c.platform);
        state.password = QStringLiteral("stare");
        ran.clear();
        const QString password = QString::fromUtf8(c.newPassword);
        const PasswordChangeResult result =
            changePassword(state, QStringLiteral("stare"), password, password, QString::fromUtf8(c.user), execute, prompts);
        EXPECT_TRUE(result.changed) << c.newPassword;
        EXPECT_EQ(ran, c.statements);
        EXPECT_EQ(state.password, password);
        prompts.shown.clear();
    }
}

TEST_F(PasswordChangeTest, WhatCannotBeQuotedSafelyIsRefusedBeforeAnythingRuns) {
    const struct {
        const char* platform;
        const char* user;
        QString newPassword;
        QString message;
    } cases[] = {
        {"3", "jana", QStringLiteral("a\"b"), QStringLiteral("Heslo databáze Oracle nesmí obsahovat uvozovky (\").  ")},
        {"3", "ja\"na", QStringLiteral("n"), QStringLiteral("Jméno uživatele \"ja\"na\" nelze v příkazu pro změnu hesla použít.  ")},
        {"2", "jana", QStringLiteral("a\tb"),
         QStringLiteral("Nové heslo nesmí obsahovat řídicí znaky (tabulátor, konec řádku a podobně).  ")},
        {"3", "jana", QStringLiteral("a") + QChar(0) + QStringLiteral("b"),
         QStringLiteral("Nové heslo nesmí obsahovat řídicí znaky (tabulátor, konec řádku a podobně).  ")},
    };
    for (const auto& c : cases) {
        state.platform = QString::fromLatin1(c.platform);
        state.password = QStringLiteral("stare");
        const PasswordChangeResult result =
            changePassword(state, QStringLiteral("stare"), c.newPassword, c.newPassword, QString::fromUtf8(c.user),
                           execute, prompts);
        EXPECT_FALSE(result.changed);
        expectOneBox(QStringLiteral("Chyba"), c.message, MessageStyle::Error);
    }
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_EQ(state.password, QStringLiteral("stare"));
}

TEST_F(PasswordChangeTest, OracleAlsoChangesTheAdministrativeAccounts) {
    state.platform = QStringLiteral("3");
    state.password = QStringLiteral("qx");
    const PasswordChangeResult result =
        change(QStringLiteral("qx"), QStringLiteral("Nové1"), QStringLiteral("Nové1"));
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(ran, (QStringList{QStringLiteral("alter user jana identified by \"Nové1\""),
                                QStringLiteral("alter user SYSTEM identified by \"Nové1\""),
                                QStringLiteral("alter user SYS identified by \"Nové1\"")}));
    EXPECT_EQ(result.executed, ran);
    EXPECT_EQ(state.password, QStringLiteral("Nové1"));
}

TEST_F(PasswordChangeTest, ADatabaseErrorIsShownAndKeepsThePasswordInUse) {
    state.platform = QStringLiteral("3");
    state.password = QStringLiteral("qx");
    failAt = 1; // the user's own statement succeeds, SYSTEM is refused
    const PasswordChangeResult result =
        change(QStringLiteral("qx"), QStringLiteral("n"), QStringLiteral("n"));
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(result.executed, QStringList{QStringLiteral("alter user jana identified by \"n\"")});
    EXPECT_EQ(state.password, QStringLiteral("qx"));
    expectOneBox(QStringLiteral("Chyba"), QStringLiteral("ORA-01031: nedostatečná oprávnění"),
                 MessageStyle::Error);
}

TEST_F(PasswordChangeTest, MySqlAndFirebirdHaveNoPasswordChange) {
    for (const char* code : {"4", "5"}) {
        state.platform = QString::fromLatin1(code);
        EXPECT_FALSE(passwordChangeAvailable(state.platform));
        EXPECT_FALSE(change({}, QStringLiteral("n"), QStringLiteral("n")).changed);
        EXPECT_FALSE(passwordChangeUnavailableText(state.platform).isEmpty());
        expectOneBox(QStringLiteral("Chyba"), passwordChangeUnavailableText(state.platform), MessageStyle::Error);
    }
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_TRUE(passwordChangeAvailable(QStringLiteral("2")) && passwordChangeAvailable(QStringLiteral("3")));
    EXPECT_TRUE(passwordChangeUnavailableText(QStringLiteral("3")).isEmpty());
}

} // namespace
} // namespace kelvarn

namespace kelvarn::test {
namespace {

// The quoting rules of the two platforms, checked on the engines here that share them:
// Oracle's quoted password is a quoted name; MS SQL's N'…' literal reads the same on MariaDB.
class PasswordQuotingOnServer : public PlatformTest {};
KELVARN_ON_ALL_PLATFORMS(PasswordQuotingOnServer);

TEST_P(PasswordQuotingOnServer, QuotedPasswordsReadBackExactlyAsTyped) {
    const QStringList passwords = {QStringLiteral("x', @loginame='sa"), QStringLiteral("\\'; --"),
                                   QStringLiteral("a'b c"), QStringLiteral("end\\")};
    for (const QString& password : passwords) {
        const QString oracle = passwordChangeStatements(QStringLiteral("3"), QStringLiteral("jana"), {}, password).first();
        const QString quoted = oracle.mid(oracle.indexOf(QStringLiteral(" identified by ")) + 15);
        QSqlQuery q = db->session->query(QStringLiteral("SELECT 1 AS ") + quoted + QStringLiteral(" FROM tbl_system"));
        EXPECT_EQ(q.record().fieldName(0), password);

        if (GetParam() != DbPlatform::MySql)
            continue;
        const QString msSql =
            passwordChangeStatements(QStringLiteral("2"), QStringLiteral("jana"), QStringLiteral("st'are"), password).first();
        QSqlQuery literals = db->session->query(QStringLiteral("SELECT ") + msSql.mid(QStringLiteral("sp_password ").size()) +
                                                QStringLiteral(" FROM tbl_system WHERE id=1"));
        ASSERT_TRUE(literals.next());
        EXPECT_EQ(literals.value(0).toString(), QStringLiteral("st'are"));
        EXPECT_EQ(literals.value(1).toString(), password);
    }
}

} // namespace
} // namespace kelvarn::test
