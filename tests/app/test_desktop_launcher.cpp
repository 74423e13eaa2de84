#include "app/desktop_launcher.h"

#include <QHash>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

class DesktopLauncherTest : public ::testing::Test {
  protected:
    DesktopLauncher launcher() {
        return DesktopLauncher(
            [this](const QString& program, const QStringList& arguments) {
                started << (QStringList{program} + arguments);
                return starts;
            },
            [this](const QString& name) { return environment.value(name); });
    }

    QList<QStringList> started; // program followed by its arguments, per start
    bool starts = true;
    QHash<QString, QString> environment;
};

TEST_F(DesktopLauncherTest, FilesFoldersAndHelpGoToTheDesktopOpener) {
    EXPECT_TRUE(launcher().openPath(QStringLiteral("/opt/kelvarn/")));
    EXPECT_TRUE(launcher().openHelp(QStringLiteral("/opt/my kelvarn/")));
    EXPECT_FALSE(launcher().openPath(QString()));
    EXPECT_FALSE(launcher().openOdbcAdministrator());
    EXPECT_EQ(started, (QList<QStringList>{{"xdg-open", "/opt/kelvarn/"},
                                           {"xdg-open", "/opt/my kelvarn/help/!dokument2.htm"}}));
    starts = false; // xdg-open missing
    EXPECT_FALSE(launcher().openHelp(QStringLiteral("/a/")));
    // The real starter reports a missing program instead of failing.
    EXPECT_FALSE(DesktopLauncher::startDetached(QStringLiteral("/nonexistent/kelvarn-no-such-program"), {}));
}

TEST_F(DesktopLauncherTest, ConfigFileOpensInTheUsersEditorFirst) {
    const QString ini = QStringLiteral("/opt/kelvarn/kelvarn.ini");
    EXPECT_TRUE(launcher().openConfigFile(ini));
    environment[QStringLiteral("EDITOR")] = QStringLiteral("gedit");
    EXPECT_TRUE(launcher().openConfigFile(ini));
    environment[QStringLiteral("VISUAL")] = QStringLiteral("\"/opt/my editor/ed\" --new-window");
    EXPECT_TRUE(launcher().openConfigFile(ini));
    environment[QStringLiteral("VISUAL")] = QStringLiteral("  ");
    EXPECT_TRUE(launcher().openConfigFile(ini));
    EXPECT_EQ(
        started,
        (QList<QStringList>{
            {"xdg-open", ini}, {"gedit", ini}, {"/opt/my editor/ed", "--new-window", ini}, {"gedit", ini}}));
    starts = false;
    EXPECT_FALSE(launcher().openConfigFile(ini));
}

} // namespace
} // namespace kelvarn
