#include "app/outside_tools.h"
#include "support/scripted_prompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

class OutsideToolsTest : public ::testing::Test {
  protected:
    OutsideTools tools() {
        DesktopLauncher launcher(
            [this](const QString& program, const QStringList& arguments) {
                started << (QStringList{program} + arguments);
                return starts;
            },
            [](const QString&) { return QString(); });
        return OutsideTools(prompts, launcher, [this](const QString& path) { return executables.contains(path); });
    }

    test::ScriptedPrompts prompts;
    QList<QStringList> started;
    bool starts = true;
    QStringList executables;
};

TEST_F(OutsideToolsTest, AToolWithoutCounterpartSaysSoAndTheProgramStays) {
    struct Case {
        OutsideTools::Tool tool;
        const char* commandLine;
        const char* counterpart;
    };
    const Case cases[] = {
        {OutsideTools::Tool::Backup, "wscript.exe kelvarn_backup.vbs", "/opt/k/kelvarn_backup"},
        {OutsideTools::Tool::UpdateWizard, "kelvarn_install.exe", "/opt/k/kelvarn_install"},
        {OutsideTools::Tool::CreateTest, "wscript.exe kelvarn_install_CreateTestDB.vbs",
         "/opt/k/kelvarn_install_CreateTestDB"},
    };
    for (const Case& c : cases) {
        prompts.shown.clear();
        started.clear();
        executables.clear();
        EXPECT_EQ(OutsideTools::commandLine(c.tool), QLatin1String(c.commandLine));
        EXPECT_FALSE(tools().start(c.tool, QStringLiteral("/opt/k/")));
        EXPECT_TRUE(started.isEmpty());
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_TRUE(prompts.shown[0].text.contains(QLatin1String(c.commandLine))) << c.commandLine;
        EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("nemá obdobu")));

        // A program or script of that name in the program folder takes its place.
        const QString script = QLatin1String(c.counterpart) + QStringLiteral(".sh");
        executables << script;
        EXPECT_TRUE(tools().start(c.tool, QStringLiteral("/opt/k/")));
        EXPECT_EQ(started, QList<QStringList>{{script}});
        EXPECT_EQ(prompts.shown.size(), 1);
        // One that exists but does not start is told about too.
        starts = false;
        EXPECT_FALSE(tools().start(c.tool, QStringLiteral("/opt/k/")));
        EXPECT_EQ(prompts.shown.size(), 2);
        starts = true;
    }
}

TEST_F(OutsideToolsTest, OpenersThatFailAreToldAboutWithThePath) {
    QTemporaryDir dir;
    const QString appDir = dir.path() + QLatin1Char('/');
    tools().odbcAdministrator();
    tools().help(appDir); // the page is missing
    tools().programFolder(appDir);
    tools().configurationFile(appDir + QStringLiteral("kelvarn.ini"));
    EXPECT_EQ(prompts.shown.size(), 2);
    EXPECT_TRUE(prompts.shown[1].text.contains(QStringLiteral("!dokument2.htm")));
    EXPECT_EQ(started, (QList<QStringList>{{"xdg-open", appDir}, {"xdg-open", appDir + "kelvarn.ini"}}));

    QDir().mkpath(appDir + QStringLiteral("help"));
    QFile page(DesktopLauncher::helpPagePath(appDir));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    starts = false;
    prompts.shown.clear();
    tools().help(appDir);
    tools().programFolder(appDir);
    tools().configurationFile(appDir + QStringLiteral("kelvarn.ini"));
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_TRUE(prompts.shown[0].text.contains(DesktopLauncher::helpPagePath(appDir)));
    EXPECT_TRUE(prompts.shown[2].text.contains(QStringLiteral("kelvarn.ini")));
}

} // namespace
} // namespace kelvarn
