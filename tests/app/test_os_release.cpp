#include "app/os_release.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

TEST(OsRelease, ParsesQuotedValuesAndPrefersThePrettyName) {
    const QMap<QString, QString> fields =
        parseOsRelease(QStringLiteral("# comment\n"
                                      "NAME=\"Debian GNU/Linux\"\n"
                                      "ID=debian\n"
                                      "VERSION='12 (bookworm)'\n"
                                      "PRETTY_NAME=\"Say \\\"hi\\\" \\$HOME\"\r\n"
                                      "NO EQUALS SIGN\n"
                                      "=no key\n"));
    EXPECT_EQ(fields.value(QStringLiteral("NAME")), QStringLiteral("Debian GNU/Linux"));
    EXPECT_EQ(fields.value(QStringLiteral("ID")), QStringLiteral("debian"));
    EXPECT_EQ(fields.value(QStringLiteral("VERSION")), QStringLiteral("12 (bookworm)"));
    EXPECT_EQ(fields.value(QStringLiteral("PRETTY_NAME")), QStringLiteral("Say \"hi\" $HOME"));
    EXPECT_EQ(fields.size(), 4);

    using Fields = QMap<QString, QString>;
    EXPECT_EQ(osReleaseDescription(fields), QStringLiteral("Say \"hi\" $HOME"));
    EXPECT_EQ(osReleaseDescription(Fields{{"PRETTY_NAME", " "}, {"NAME", "Fedora Linux"}, {"VERSION", "40"}}),
              QStringLiteral("Fedora Linux (40)"));
    EXPECT_EQ(osReleaseDescription(Fields{{"NAME", "Arch Linux"}}), QStringLiteral("Arch Linux"));
    EXPECT_EQ(osReleaseDescription(Fields{{"VERSION", "1"}}), QString());
}

TEST(OsRelease, ReadsTheFileAndFallsBackWhenItIsMissingOrNamesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("os-release")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("NAME=\"Kelvarn Linux\"\nVERSION=\"7 (Žluťoučký kůň)\"\n");
    file.close();
    EXPECT_EQ(operatingSystemDescription(file.fileName()),
              QStringLiteral("Kelvarn Linux (7 (Žluťoučký kůň))"));

    const QString fallback = operatingSystemDescription(dir.filePath(QStringLiteral("none")));
    EXPECT_FALSE(fallback.isEmpty());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("ID=nothing\n");
    file.close();
    EXPECT_EQ(operatingSystemDescription(file.fileName()), fallback);
}

} // namespace
} // namespace kelvarn
