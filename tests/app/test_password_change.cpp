#include "app/password_change.h"

#include "core/app_state.h"
#include "db/db_error.h"
#include "support/scripted_prompts.h"

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
    EXPECT_EQ(ran, QStringList{QStringLiteral("sp_password 'stare', 'no ve '")});
}

TEST_F(PasswordChangeTest, JetWritesEmptyPasswordsAsNullButKeepsThemEmpty) {
    state.platform = QStringLiteral("1");
    EXPECT_TRUE(change({}, QStringLiteral("tajne"), QStringLiteral("tajne")).changed);
    EXPECT_EQ(state.password, QStringLiteral("tajne"));
    expectOneBox(QStringLiteral("Hlášení"), QStringLiteral("Změna hesla proběhla úspěšně.  "),
                 MessageStyle::Info);

    EXPECT_TRUE(change(QStringLiteral("tajne"), {}, {}).changed);
    EXPECT_EQ(ran, (QStringList{QStringLiteral("ALTER USER jana PASSWORD tajne NULL"),
                                QStringLiteral("ALTER USER jana PASSWORD NULL tajne")}));
    EXPECT_EQ(state.password, QString()); // not the word NULL
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
    }
    EXPECT_TRUE(ran.isEmpty() && prompts.shown.isEmpty());
    EXPECT_TRUE(passwordChangeAvailable(QStringLiteral("1")) && passwordChangeAvailable(QStringLiteral("3")));
}

} // namespace
} // namespace kelvarn
