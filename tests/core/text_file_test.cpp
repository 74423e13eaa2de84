#include "core/diagnostic_log.h"
#include "core/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(Cp1250, CzechLettersRoundTripAndTheRestBecomesQuestionMarks) {
    const QString czech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy – „€“ §");
    const QByteArray bytes = toCp1250(czech);
    EXPECT_EQ(bytes.size(), czech.size());
    EXPECT_EQ(fromCp1250(bytes), czech);
    EXPECT_EQ(toCp1250(QStringLiteral("č")), QByteArray("\xe8"));
    EXPECT_EQ(toCp1250(QStringLiteral("€")), QByteArray("\x80"));

    // one "?" per character, also for characters outside the basic plane
    EXPECT_EQ(toCp1250(QStringLiteral("a中b😀c")), QByteArray("a?b?c"));
    EXPECT_EQ(toCp1250(QString(QChar(0xD800))), QByteArray("?")); // lone surrogate
}

TEST(TextFile, WriteConvertsLineEndsAndIsCp1250) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    QString error;
    ASSERT_TRUE(writeCp1250File(path, QStringLiteral("a\nb\r\nč\n\nend"), &error)) << error.toStdString();
    EXPECT_EQ(readBytes(path), QByteArray("a\r\nb\r\n\xe8\r\n\r\nend"));

    // replaces an existing file entirely
    ASSERT_TRUE(writeCp1250File(path, QStringLiteral("x"), &error));
    EXPECT_EQ(readBytes(path), QByteArray("x"));
}

TEST(TextFile, FailedWriteLeavesNoFileAndReportsWhy) {
    QTemporaryDir dir;
    const QString path = dir.filePath("no/such/folder/out.txt");
    QString error;
    EXPECT_FALSE(writeCp1250File(path, QStringLiteral("x"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(TextFile, ReadDecodesAndKeepsLineEnds) {
    QTemporaryDir dir;
    const QString path = dir.filePath("in.txt");
    writeBytes(path, "k\xf9\xf2\r\nx");
    QString text;
    ASSERT_TRUE(readCp1250File(path, text));
    EXPECT_EQ(text, QStringLiteral("kůň\r\nx"));
}

TEST(TextFile, ReadRefusesMissingAndBinaryFiles) {
    QTemporaryDir dir;
    QString text = QStringLiteral("unchanged");
    QString error;
    EXPECT_FALSE(readCp1250File(dir.filePath("missing.txt"), text, &error));
    EXPECT_FALSE(error.isEmpty());

    const QString binary = dir.filePath("logo.jpg");
    writeBytes(binary, QByteArray("\xff\xd8\xff\xe0\0\x10JFIF", 10));
    error.clear();
    EXPECT_FALSE(readCp1250File(binary, text, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(text, "unchanged");

    EXPECT_FALSE(readCp1250File(dir.path(), text, &error)); // a folder is no file
}

TEST(TextFile, AppendAddsBytesAsTheyAre) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kelvarn.log");
    ASSERT_TRUE(appendCp1250(path, QStringLiteral("ř\n")));
    ASSERT_TRUE(appendCp1250(path, QStringLiteral("x")));
    EXPECT_EQ(readBytes(path), QByteArray("\xf8\nx"));
    EXPECT_FALSE(appendCp1250(dir.filePath("missing/kelvarn.log"), QStringLiteral("x")));
}

TEST(DiagnosticLogTest, EntriesAreSeparatedAndAppendedUnterminated) {
    DiagnosticLog log;
    log.append(QStringLiteral("SELECT 1"));
    log.append(QStringLiteral("chyba č. 2"));
    EXPECT_EQ(log.text(), QStringLiteral("\r\n-----\r\nSELECT 1\r\n-----\r\nchyba č. 2"));

    QTemporaryDir dir;
    const QString path = dir.filePath("kelvarn_debug.log");
    writeBytes(path, "old");
    ASSERT_TRUE(log.appendToFile(path));
    EXPECT_EQ(readBytes(path), QByteArray("old\r\n-----\r\nSELECT 1\r\n-----\r\nchyba \xe8. 2"));

    EXPECT_FALSE(log.appendToFile(dir.filePath("missing/kelvarn_debug.log")));
    log.clear();
    EXPECT_TRUE(log.text().isEmpty());
}

} // namespace
} // namespace kelvarn
