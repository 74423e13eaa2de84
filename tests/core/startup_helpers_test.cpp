#include "core/app_dir.h"
#include "core/command_line.h"
#include "core/unattended.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

namespace kelvarn {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name), had_(qEnvironmentVariableIsSet(name)) {
        old_ = qgetenv(name);
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(CommandLineTest, StartModes) {
    const QString appDir = QStringLiteral("/opt/kelvarn/");
    const struct {
        QStringList args;
        StartMode mode;
        const char* script;
    } cases[] = {
        {{}, StartMode::Normal, ""},
        {{"-ver"}, StartMode::VersionQuery, ""},
        {{"-VER"}, StartMode::Normal, ""},
        {{"-inst", "~dp0install/jet.sql", "x"}, StartMode::Install, "/opt/kelvarn/install/jet.sql"},
        {{"-reinst", "/s/~dp0/~dp0.sql", "x", "extra"}, StartMode::Reinstall, "/s//opt/kelvarn//~dp0.sql"},
        {{"-inst", "~DP0a.sql", "x"}, StartMode::Install, "~DP0a.sql"},
        {{"-inst", "a.sql"}, StartMode::Normal, ""},
        {{"-inst", "", "x"}, StartMode::Normal, ""},
        {{"-Inst", "a.sql", "x"}, StartMode::Normal, ""},
        {{"a.sql", "-inst", "x"}, StartMode::Normal, ""},
    };
    for (const auto& c : cases) {
        const CommandLine parsed = parseCommandLine(c.args, appDir);
        EXPECT_EQ(parsed.mode, c.mode) << c.args.join(' ').toStdString();
        EXPECT_EQ(parsed.scriptPath, QString::fromUtf8(c.script)) << c.args.join(' ').toStdString();
    }
}

TEST(CommandLineTest, VersionFileIsVersionAndCrLf) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kelvarn_verze.txt");
    ASSERT_TRUE(writeVersionFile(path, QStringLiteral("1.70")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("1.70\r\n"));
    EXPECT_FALSE(writeVersionFile(dir.filePath("no/such/kelvarn_verze.txt"), QStringLiteral("1.70")));
}

TEST(AppDirTest, EnvironmentWinsAndTrailingSlashIsAdded) {
    {
        ScopedEnv env("KELVARN_APPDIR", nullptr);
        EXPECT_EQ(resolveAppDir(QStringLiteral("/usr/lib/kelvarn")), "/usr/lib/kelvarn/");
        EXPECT_EQ(resolveAppDir(QStringLiteral("/usr/lib/kelvarn/")), "/usr/lib/kelvarn/");
    }
    {
        ScopedEnv env("KELVARN_APPDIR", "/srv/data");
        EXPECT_EQ(resolveAppDir(QStringLiteral("/usr/lib/kelvarn")), "/srv/data/");
    }
    {
        ScopedEnv env("KELVARN_APPDIR", "relative");
        EXPECT_EQ(resolveAppDir(QStringLiteral("/x")), QDir::currentPath() + "/relative/");
    }
}

TEST(UnattendedTest, VariableDecidesModeAndAnswer) {
    const struct {
        const char* value;
        bool mode;
        Answer answer;
    } cases[] = {
        {nullptr, false, Answer::Yes}, {"", false, Answer::Yes}, {"0", false, Answer::Yes},
        {"1", true, Answer::Yes},      {"no", true, Answer::No}, {"NO", true, Answer::No},
    };
    for (const auto& c : cases) {
        ScopedEnv env("KELVARN_UNATTENDED", c.value);
        EXPECT_EQ(unattendedMode(), c.mode) << (c.value ? c.value : "unset");
        EXPECT_EQ(unattendedAnswer(), c.answer) << (c.value ? c.value : "unset");
    }
}

QByteArray captured(std::FILE* stream) {
    std::rewind(stream);
    QByteArray out;
    char buffer[256];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
        out.append(buffer, static_cast<qsizetype>(n));
    return out;
}

TEST(StderrPromptsTest, OneLinePerBoxAndUnattendedAnswers) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    StderrPrompts prompts(stream);
    {
        ScopedEnv env("KELVARN_UNATTENDED", "no");
        EXPECT_EQ(
            prompts.message(QStringLiteral("Dotaz"), QStringLiteral("a\r\nb\nc\rd"), MessageStyle::Question),
            Answer::No);
        EXPECT_EQ(prompts.message(QStringLiteral("Chyba"), QStringLiteral("x"), MessageStyle::Error),
                  Answer::None);
    }
    {
        ScopedEnv env("KELVARN_UNATTENDED", "1");
        EXPECT_EQ(prompts.message(QStringLiteral("Neuložená data"), QString(), MessageStyle::WarnQuestion),
                  Answer::Yes);
    }
    EXPECT_EQ(QString::fromUtf8(captured(stream)),
              QStringLiteral("Dotaz: a b c d\nChyba: x\nNeuložená data: \n"));
    std::fclose(stream);

    QString value = QStringLiteral("preset");
    EXPECT_TRUE(prompts.inputText(QStringLiteral("t"), QStringLiteral("p"), value));
    EXPECT_EQ(value, "preset");
    EXPECT_EQ(prompts.saveFileName(QStringLiteral("t"), QStringLiteral("/x.txt"), {}, QStringLiteral("txt")),
              "");
    EXPECT_EQ(prompts.openFileName(QStringLiteral("t"), QStringLiteral("/"), {}), "");
}

} // namespace
} // namespace kelvarn
