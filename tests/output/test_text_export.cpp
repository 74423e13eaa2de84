#include "core/text_file.h"
#include "output/text_export.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

using namespace text_export;

TEST(TextExport, OnlyTheFiveTabSpellingsMeanATab) {
    for (const char* tab : {"<tab>", "<TAB>", "chr(9)", "Chr(9)", "CHR(9)"})
        EXPECT_EQ(separatorFromAnswer(QString::fromLatin1(tab)), QStringLiteral("\t")) << tab;
    for (const char* literal : {"<Tab>", "chr(9) ", "cHR(9)", "", ";;"})
        EXPECT_EQ(separatorFromAnswer(QString::fromLatin1(literal)), QString::fromLatin1(literal)) << literal;
}

TEST(TextExport, EveryKindOfLineBreakInARowBecomesAnEnterMark) {
    EXPECT_EQ(flattenLine(QStringLiteral("a\r\nb$\r\n\r\n$")), QStringLiteral("a<enter>b$<enter><enter>$"));
    EXPECT_EQ(flattenLine(QStringLiteral("a\nb\rc$")), QStringLiteral("a<enter>b<enter>c$"));
}

TEST(TextExport, WritingReplacesTheFileWithCodePage1250Lines) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older and much longer file that must be replaced entirely");
    old.close();

    writeLines(path, {QStringLiteral("Název$Cena$"), QStringLiteral("Kůň ☺$1,5$"), QString()});
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), toCp1250(QStringLiteral("Název$Cena$\r\nKůň ?$1,5$\r\n\r\n")));

    EXPECT_THROW(writeLines(dir.filePath(QStringLiteral("missing/out.txt")), {QStringLiteral("x")}),
                 WriteError);
}

} // namespace
} // namespace kelvarn
