#include "support/test_application.h"
#include "app/tips.h"
#include "core/app_state.h"
#include "db/db_error.h"
#include "support/scripted_prompts.h"
#include "ui/about_dialog.h"
#include "ui/settings_dialog.h"
#include "ui/tips_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

void ensureApplication() {
    test::ensureApplication<QApplication>();
}

// Shows the window and lets it paint.
void showPainted(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.repaint();
}

class SecondaryDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { ensureApplication(); }
    AppState state;
    test::ScriptedPrompts prompts;
};

TEST_F(SecondaryDialogTest, TipsShowTheChosenTipOnFirstPaintAndWalkTheCircle) {
    state.platform = QStringLiteral("3");
    TipsDialog dialog(state);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Tip pro dnešní den"));
    EXPECT_EQ(dialog.accessibleName(), dialog.windowTitle());
    EXPECT_EQ(dialog.nextButton()->accessibleName(), QStringLiteral("Další tip"));
    EXPECT_TRUE(dialog.textBox()->isReadOnly());
    EXPECT_TRUE(dialog.shownTip().isEmpty());

    showPainted(dialog);
    dialog.repaint(); // later paints do not advance
    EXPECT_EQ(dialog.shownTip(), tipText(tipsText(), 0, QStringLiteral("3")));
    EXPECT_EQ(state.tipIndex, 1);
    for (int i = 1; i <= kTipCount; ++i) {
        QTest::mouseClick(dialog.nextButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.shownTip(), tipText(tipsText(), i % kTipCount, QStringLiteral("3"))) << i;
    }

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    showPainted(dialog);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SecondaryDialogTest, SettingsOptionsAreLiveViewsOfTheState) {
    state.saveWithoutPrompt = true;
    state.firebirdAutoInc = true;
    state.connectionStringShown = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/tmp/k.db;");
    state.userName = QStringLiteral("administrator");
    SettingsDialog dialog(state, prompts);
    dialog.setReportNames({QStringLiteral("FAV"), QStringLiteral("Kniha jízd")});
    showPainted(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Nastavení"));
    EXPECT_TRUE(dialog.isModal());

    const struct {
        QCheckBox* box;
        const char* caption;
        bool AppState::*field;
    } options[] = {
        {dialog.saveWithoutPromptBox(), "Zákázat potvrzovací hlášení před uložením záznamu",
         &AppState::saveWithoutPrompt},
        {dialog.refreshAfterSaveBox(), "Provádět refresh po uložení", &AppState::refreshAfterSave},
        {dialog.ascendingOrderBox(), "Defaultně řadit záznamy vzestupně (ASC)", &AppState::ascendingOrder},
        {dialog.oracleAutoIncBox(), "Oracle (AutoIncField)", &AppState::oracleAutoInc},
        {dialog.firebirdAutoIncBox(), "Firebird (AutoIncField)", &AppState::firebirdAutoInc},
    };
    for (const auto& o : options) {
        EXPECT_EQ(o.box->accessibleName(), QString::fromUtf8(o.caption));
        EXPECT_EQ(o.box->isChecked(), state.*o.field) << o.caption;
        const bool before = state.*o.field;
        QTest::mouseClick(o.box, Qt::LeftButton, {}, QPoint(4, o.box->height() / 2));
        EXPECT_NE(state.*o.field, before) << o.caption;
    }

    EXPECT_EQ(dialog.connectionStringBox()->toPlainText(), state.connectionStringShown);
    EXPECT_TRUE(dialog.connectionStringBox()->isReadOnly() && dialog.userBox()->isReadOnly());
    EXPECT_EQ(dialog.connectionStringBox()->accessibleName(),
              QStringLiteral("Připojovací řetězec k databázi"));
    EXPECT_EQ(dialog.reportNames(), (QStringList{QStringLiteral("FAV"), QStringLiteral("Kniha jízd")}));
    EXPECT_EQ(dialog.reportList()->accessibleName(), QStringLiteral("Tiskové sestavy"));
    EXPECT_EQ(dialog.userBox()->text(), QStringLiteral("administrator"));
    EXPECT_EQ(dialog.userBox()->accessibleName(), QStringLiteral("Aktuálně přihlášený uživatel"));
    EXPECT_TRUE(dialog.okButton()->isDefault());
}

TEST_F(SecondaryDialogTest, SettingsPasswordBoxesAreEmptiedAtEveryOpeningAndOnlyForSomePlatforms) {
    state.platform = QStringLiteral("2");
    SettingsDialog dialog(state, prompts);
    const struct {
        QLineEdit* edit;
        const char* label;
    } boxes[] = {{dialog.oldPasswordBox(), "Současné heslo"},
                 {dialog.newPasswordBox(), "Nové heslo"},
                 {dialog.newPasswordAgainBox(), "Nové heslo (kontrola)"}};
    showPainted(dialog);
    for (const auto& b : boxes) {
        EXPECT_EQ(b.edit->echoMode(), QLineEdit::Password);
        EXPECT_EQ(b.edit->accessibleName(), QString::fromUtf8(b.label));
        QTest::keyClicks(b.edit, QStringLiteral("abc"));
    }
    QTest::keyClick(&dialog, Qt::Key_Escape);
    ASSERT_FALSE(dialog.isVisible());
    showPainted(dialog);
    for (const auto& b : boxes)
        EXPECT_TRUE(b.edit->text().isEmpty()) << b.label;

    for (const char* code : {"1", "2", "3", "4", "5"}) {
        dialog.hide();
        state.platform = QString::fromLatin1(code);
        showPainted(dialog);
        // The embedded database has no password at all.
        const bool enabled = QByteArray(code) == "2" || QByteArray(code) == "3";
        EXPECT_EQ(dialog.changePasswordButton()->isEnabled(), enabled) << code;
        for (const auto& b : boxes)
            EXPECT_EQ(b.edit->isEnabled(), enabled) << code << ' ' << b.label;
        EXPECT_EQ(dialog.passwordNote()->isVisible(), !enabled) << code;
    }
    state.platform = QStringLiteral("1");
    dialog.hide();
    showPainted(dialog);
    EXPECT_EQ(dialog.passwordNote()->text(),
              QStringLiteral("Vestavěná databáze nemá žádné heslo, které by se dalo změnit."));
}

TEST_F(SecondaryDialogTest, SettingsClosedWithoutTheNoPromptOptionTellTheOwner) {
    SettingsDialog dialog(state, prompts);
    QSignalSpy closed(&dialog, &SettingsDialog::closedWithoutSavePromptOption);
    showPainted(dialog);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 1);

    state.saveWithoutPrompt = true;
    showPainted(dialog);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(closed.count(), 1);

    showPainted(dialog);
    dialog.saveWithoutPromptBox()->setChecked(false);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(closed.count(), 2);
}

TEST_F(SecondaryDialogTest, SettingsChangePasswordRunsTheStatementsAndReportsErrors) {
    state.platform = QStringLiteral("2");
    state.userName = QStringLiteral("administrator");
    QStringList ran;
    SettingsDialog dialog(state, prompts);
    dialog.setStatementExecutor([&ran](const QString& statement) { ran << statement; });
    showPainted(dialog);
    QTest::keyClicks(dialog.newPasswordBox(), QStringLiteral("tajne"));
    QTest::keyClicks(dialog.newPasswordAgainBox(), QStringLiteral("tajne"));
    QTest::mouseClick(dialog.changePasswordButton(), Qt::LeftButton);
    EXPECT_EQ(ran, QStringList{QStringLiteral("sp_password N'', N'tajne'")});
    EXPECT_EQ(state.password, QStringLiteral("tajne"));

    dialog.setStatementExecutor([](const QString&) { throw DbError(QStringLiteral("zamítnuto")); });
    dialog.oldPasswordBox()->setText(QStringLiteral("tajne"));
    dialog.newPasswordBox()->setText(QStringLiteral("jine"));
    dialog.newPasswordAgainBox()->setText(QStringLiteral("jine"));
    QTest::mouseClick(dialog.changePasswordButton(), Qt::LeftButton);
    EXPECT_EQ(state.password, QStringLiteral("tajne"));
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Hlášení"));
    EXPECT_EQ(prompts.shown[1].text, QStringLiteral("zamítnuto"));
}

TEST_F(SecondaryDialogTest, AboutShowsVersionsDatabasesAndTheSystem) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile osRelease(dir.filePath(QStringLiteral("os-release")));
    ASSERT_TRUE(osRelease.open(QIODevice::WriteOnly));
    osRelease.write("PRETTY_NAME=\"Testovací systém 1.0\"\n");
    osRelease.close();

    AboutDialog dialog;
    dialog.setOsReleasePath(osRelease.fileName());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" O aplikaci"));
    EXPECT_TRUE(dialog.isModal());
    dialog.setAppVersion(QStringLiteral("1.70"));
    dialog.setDbVersion(QStringLiteral("1.69"));
    dialog.setRevision(QStringLiteral("r42"));
    EXPECT_EQ(dialog.appVersionText(), QStringLiteral("verze aplikace: 1.70"));
    EXPECT_EQ(dialog.dbVersionText(), QStringLiteral("verze databáze: 1.69"));
    EXPECT_EQ(dialog.revisionText(), QStringLiteral("r42"));
    EXPECT_TRUE(dialog.operatingSystemText().isEmpty()); // read when first painted

    showPainted(dialog);
    EXPECT_EQ(dialog.operatingSystemText(), QStringLiteral("Testovací systém 1.0"));
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    for (const QString& name : AboutDialog::supportedDatabases())
        EXPECT_TRUE(texts.contains(name)) << name.toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Microsoft JET 4.0 (Access)")));

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    showPainted(dialog);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace kelvarn
