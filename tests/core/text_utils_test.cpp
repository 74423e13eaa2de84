#include "core/text_utils.h"

#include <gtest/gtest.h>

namespace kelvarn {
namespace {

struct PickCase {
    const char* text;
    const char* delimiter;
    int index;
    const char* marker;
    const char* expected;
};

TEST(PickDelimitedItem, CutsItemsAndFindsByIndexOrMarker) {
    const PickCase cases[] = {
        {"a;b;c;", ";", 0, "", "a"},
        {"a;b;c;", ";", 2, "", "c"},
        {"a;b;c;", ";", 3, "", ""},
        {"a;b;c", ";", 2, "", ""}, // text after the last delimiter is no item
        {"a;b;c", ";", -1, "", ""},
        {"no delimiter", ";", 5, "", "no delimiter"},
        {"no delimiter", ";", 0, "User ID=", "no delimiter"},
        {";;x;", ";", 1, "", ""},
        {"tip0^tip1^", "^", 1, "", "tip1"},
        {"a##b##", "##", 1, "", "b"},
        // the marker form returns the last item that contains the marker
        {"Provider=X;User ID=a;Data Source=d;User ID=b;", ";", 0, "User ID=", "User ID=b"},
        {"Provider=X;Data Source=d;", ";", 0, "Password=", ""},
        // the marker is looked for in the item with its delimiter
        {"a;b;c;", ";", 0, "b;", "b"},
        {"Provider=X;User ID=a", ";", 0, "User ID=", ""},
    };
    for (const PickCase& c : cases) {
        EXPECT_EQ(pickDelimitedItem(QString::fromUtf8(c.text), QString::fromUtf8(c.delimiter), c.index,
                                    QString::fromUtf8(c.marker)),
                  QString::fromUtf8(c.expected))
            << c.text << " / " << c.index << " / " << c.marker;
    }
}

TEST(Replace, FirstIsCaseSensitiveAllIgnoresCase) {
    EXPECT_EQ(replaceFirst("~dp0x~dp0", "~dp0", "/opt/"), "/opt/x~dp0");
    EXPECT_EQ(replaceFirst("~DP0x~dp0", "~dp0", "/opt/"), "~DP0x/opt/");
    EXPECT_EQ(replaceFirst("abc", "zz", "y"), "abc");
    EXPECT_EQ(replaceFirst("abc", "", "y"), "abc");
    EXPECT_EQ(replaceFirst("User ID=a;x", "User ID=a;", ""), "x");

    EXPECT_EQ(replaceAllNoCase("Select a FROM b from c", "from", "FROM"), "Select a FROM b FROM c");
    EXPECT_EQ(replaceAllNoCase("ČÁST část", "část", "x"), "x x");
    EXPECT_EQ(replaceAllNoCase("aaa", "a", "aa"), "aaaaaa"); // no re-scan of replacements
    EXPECT_EQ(replaceAllNoCase("abc", "", "y"), "abc");
}

TEST(SqlQuoting, DoublesApostrophes) {
    EXPECT_EQ(sqlQuoted("O'Neil"), "'O''Neil'");
    EXPECT_EQ(escapeApostrophes("''"), "''''");
    EXPECT_EQ(sqlQuoted(""), "''");
}

} // namespace
} // namespace kelvarn
