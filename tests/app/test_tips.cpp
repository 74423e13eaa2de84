#include "app/tips.h"

#include <QList>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

TEST(Tips, TipZeroNamesTheDefaultLoginOfTheConfiguredPlatform) {
    const QString text = tipsText();
    EXPECT_TRUE(tipText(text, 0, QStringLiteral("1"))
                    .contains(QStringLiteral("Microsoft JET je \"Administrator\".")));
    EXPECT_EQ(
        tipText(text, 0, QStringLiteral("2")),
        QStringLiteral("Výchozí uživatelské jméno pro databázový systém Microsoft SQL 2005 je \"sa\". Heslo "
                       "je takové, které jste si sami zvolili při instalaci databázového systému.\r\n"));
    EXPECT_TRUE(tipText(text, 0, QStringLiteral("3")).contains(QStringLiteral("Heslo je \"qx\".\r\n\r\n")));
    EXPECT_EQ(tipText(text, 0, QStringLiteral("4")), QStringLiteral("MySQL"));
    const QString firebird = tipText(text, 0, QStringLiteral("5"));
    EXPECT_TRUE(
        firebird.startsWith(QStringLiteral("Výchozí uživatelské jméno pro databázový systém Firebird")));
    EXPECT_TRUE(firebird.endsWith(QStringLiteral("Podívejte se prosím do nápovědy.\r\n")));
    // Before the configuration names a platform there is no variant to pick.
    EXPECT_EQ(tipText(text, 0, QString()), QString());
}

TEST(Tips, ElevenTipsThePlatformDoesNotChange) {
    const QString text = tipsText();
    EXPECT_EQ(text.count(QLatin1Char('^')), kTipCount);
    EXPECT_TRUE(text.endsWith(QLatin1Char('^')));
    for (int i = 1; i < kTipCount; ++i) {
        const QString tip = tipText(text, i, QStringLiteral("1"));
        EXPECT_FALSE(tip.isEmpty()) << i;
        EXPECT_EQ(tip, tipText(text, i, QStringLiteral("5"))) << i; // a "#" would split it per platform
    }
    EXPECT_EQ(
        tipText(text, 7, QStringLiteral("1")),
        QStringLiteral("Editační režim zrušíte buď uložením záznamu (CTRL+S), anebo jeho stornováním (ESC). "
                       "\r\n "));
    EXPECT_TRUE(tipText(text, 6, QStringLiteral("1")).contains(QStringLiteral("\"sestavy.rav\"")));
    EXPECT_EQ(tipText(text, kTipCount, QStringLiteral("1")), QString());

    int index = 0;
    for (int step = 1; step <= 2 * kTipCount; ++step) {
        index = nextTipIndex(index);
        EXPECT_EQ(index, step % kTipCount);
    }
}

TEST(Tips, StartingTipFollowsTheDrawAndKeepsTipZeroForTheFirstRun) {
    const struct {
        QList<int> draws;
        int tip;
        qsizetype drawsUsed;
    } cases[] = {
        {{5, 7, 1}, 7, 3},         // i=1 < 5: draw 7; i=2 >= 1: stop
        {{5, 7, 9, 4, 2}, 4, 5},   // the last draw before the stop wins
        {{1}, 1, 1},               // stops at once with tip 0, which becomes 1
        {{3, 0, 0}, 1, 3},         // a drawn 0 becomes 1 as well
        {{10, 3, 10, 8, 2}, 8, 5}, // r = 10 keeps going while i < 10
        {QList<int>(30, 10), 10, 19},
    };
    for (const auto& c : cases) {
        for (const bool firstLoginExists : {true, false}) {
            QList<int> draws = c.draws;
            qsizetype used = 0;
            const int tip = chooseTipIndex(firstLoginExists, [&](int low, int high) {
                EXPECT_EQ(low, 0);
                EXPECT_EQ(high, 10);
                ++used;
                return draws.takeFirst();
            });
            EXPECT_EQ(tip, firstLoginExists ? c.tip : 0) << c.draws.first();
            EXPECT_EQ(used, c.drawsUsed);
        }
    }
}

} // namespace
} // namespace kelvarn
