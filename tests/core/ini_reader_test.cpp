#include "core/ini_reader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

class IniReaderTest : public ::testing::Test {
  protected:
    IniReadResult read(const QByteArray& content) {
        const QString path = dir_.filePath("kelvarn.ini");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        return readIniFile(path, state_);
    }

    QTemporaryDir dir_;
    AppState state_;
};

TEST_F(IniReaderTest, OpeningTheFileSetsPlatformAndTips) {
    EXPECT_EQ(readIniFile(dir_.filePath("kelvarn.ini"), state_).status, IniReadStatus::CannotOpen);
    EXPECT_EQ(state_.platform, "");
    EXPECT_EQ(state_.showTips, "");

    EXPECT_TRUE(read("; nothing but a comment\r\n").ok());
    EXPECT_EQ(state_.platform, "1");
    EXPECT_EQ(state_.showTips, "YES");
    EXPECT_FALSE(state_.usesSequences());
}

TEST_F(IniReaderTest, ReadsEveryKey) {
    const IniReadResult result =
        read("[Database String]\r\n"
             "  Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Kelvarn\\kelvarn.mdb; \r\n"
             "[database platform]\r\n"
             "5 Firebird\r\n"
             "[save without promt]\r\n"
             "yes\r\n"
             "[default orderby ASC]\r\n"
             "Yes\r\n"
             "[refresh after save]\r\n"
             "YES\r\n"
             "[update criteria]\r\n"
             "27\r\n"
             "[show tips]\r\n"
             "no\r\n"
             "[DEBUG]\r\n"
             "yEs");
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(state_.connectionString,
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Kelvarn\\kelvarn.mdb;");
    EXPECT_EQ(state_.platform, "5");
    EXPECT_TRUE(state_.firebirdAutoInc);
    EXPECT_FALSE(state_.oracleAutoInc);
    EXPECT_TRUE(state_.saveWithoutPrompt);
    EXPECT_TRUE(state_.ascendingOrder);
    EXPECT_TRUE(state_.refreshAfterSave);
    EXPECT_EQ(state_.updateCriteria, 2);
    EXPECT_EQ(state_.showTips, "NO");
    EXPECT_TRUE(state_.debug);
}

TEST_F(IniReaderTest, PlatformLetters) {
    const struct {
        const char* value;
        const char* platform;
        bool oracle;
    } cases[] = {{"y", "3", true},  {"Y", "3", true},  {"n", "1", false}, {"N", "1", false},
                 {"4", "4", false}, {"x", "x", false}, {"3", "3", true},  {"", "1", false}};
    for (const auto& c : cases) {
        state_ = AppState{};
        EXPECT_TRUE(read(QByteArray("[database platform]\n") + c.value + "\n").ok());
        EXPECT_EQ(state_.platform, c.platform) << c.value;
        EXPECT_EQ(state_.oracleAutoInc, c.oracle) << c.value;
    }
}

TEST_F(IniReaderTest, LastOccurrenceWinsAndValueLineIsNeverAKey) {
    EXPECT_TRUE(read("[debug]\nyes\n[database platform]\n3\n[debug]\nno\n"
                     "[database string]\n[debug]\nyes\n[database platform]\n4\n")
                    .ok());
    EXPECT_EQ(state_.connectionString, "[debug]");
    EXPECT_FALSE(state_.debug); // the "yes" after the consumed "[debug]" is an ordinary line
    EXPECT_EQ(state_.platform, "4");
    EXPECT_FALSE(state_.oracleAutoInc); // the flag follows the platform that won
}

TEST_F(IniReaderTest, KeyMustStartTheLineAndKeyAtEndHasNoValue) {
    EXPECT_TRUE(read(" [debug]\nyes\n; [show tips]\nno\n[save without promt]").ok());
    EXPECT_FALSE(state_.debug);
    EXPECT_EQ(state_.showTips, "YES");
    EXPECT_FALSE(state_.saveWithoutPrompt);
}

TEST_F(IniReaderTest, BadUpdateCriteriaStopsReadingButKeepsEarlierValues) {
    for (const char* value : {"x", ""}) {
        state_ = AppState{};
        const IniReadResult result =
            read(QByteArray("[debug]\nyes\n[update criteria]\n") + value + "\n[show tips]\nno\n");
        EXPECT_EQ(result.status, IniReadStatus::BadValue) << value;
        EXPECT_FALSE(result.detail.isEmpty());
        EXPECT_TRUE(state_.debug);
        EXPECT_EQ(state_.showTips, "YES"); // not read any more
        EXPECT_EQ(state_.updateCriteria, 0);
    }
}

TEST_F(IniReaderTest, LongLinesArriveInPieces) {
    // 2047 bytes of a long comment line, then its rest "[debug]" counts as a key line.
    EXPECT_TRUE(read(QByteArray(2047, 'c') + "[debug]\r\nyes\r\n").ok());
    EXPECT_TRUE(state_.debug);

    // A long key line: its second piece is consumed as the value.
    state_ = AppState{};
    EXPECT_TRUE(read("[database string]" + QByteArray(2030, ' ') + "tail\r\nvalue\r\n").ok());
    EXPECT_EQ(state_.connectionString, "tail");

    // A huge value is cut at the piece boundary, and nothing crashes.
    state_ = AppState{};
    EXPECT_TRUE(read("[database string]\n" + QByteArray(100000, 'v') + "\n").ok());
    EXPECT_EQ(state_.connectionString.size(), 2047);
}

TEST_F(IniReaderTest, Cp1250ValuesAndOddBytes) {
    EXPECT_TRUE(read("[database string]\nData Source=/data/\xfa\xe8\x65tnictv\xed.db;\n").ok());
    EXPECT_EQ(state_.connectionString, QStringLiteral("Data Source=/data/účetnictví.db;"));

    state_ = AppState{};
    EXPECT_TRUE(read(QByteArray("\0\0\xff\r\r\n[debug]\ryes\n", 18)).ok());
    EXPECT_FALSE(state_.debug); // a lone CR does not end a line
}

} // namespace
} // namespace kelvarn
