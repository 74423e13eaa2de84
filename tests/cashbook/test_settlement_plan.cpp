#include "cashbook/settlement_plan.h"
#include "support/czech_conventions.h"
#include "core/formatting.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kelvarn;

namespace {

const QString kInsertHeading =
    QStringLiteral("Vložením tohoto nového záznamu se mohou automaticky provést i tyto operace:   \r\n\r\n");
const QString kEditHeading =
    QStringLiteral("Změnou tohoto záznamu se mohou automaticky provést i tyto operace:   \r\n\r\n");
const QString kDeleteHeading =
    QStringLiteral("Smazáním tohoto záznamu se mohou automaticky provést i tyto operace:   \r\n\r\n");
const QString kQuestion = QStringLiteral("\r\nChcete tyto operace provést?");

SettledDocument issued(const char* id, double remaining, const char* number = nullptr) {
    return {QLatin1String(id), remaining, QStringLiteral("1"),
            number ? QLatin1String(number) : QStringLiteral("FAV-2010-0000") + QLatin1String(id)};
}
SettledDocument received(const char* id, double remaining) {
    return {QLatin1String(id), remaining, QStringLiteral("2"),
            QStringLiteral("FAP-2010-0000") + QLatin1String(id)};
}
SettledDocument none() {
    return {};
}

// "line" of the question, with amounts in the general number format of the Czech locale.
QString line(const QString& number, const char* from, const char* to) {
    return QStringLiteral("- změna [Zbývá uhradit] na dokladu č. ") + number + QStringLiteral(" z \"") +
           QLatin1String(from) + QStringLiteral("\" na \"") + QLatin1String(to) + QStringLiteral("\"   \r\n");
}

using SettlementPlanTest = kelvarn::test::CzechConventionsTest;

} // namespace

// Every case of the settlement: which documents change, to what, and in which order.
TEST_F(SettlementPlanTest, WritesFollowTheModeTheDocumentTypeAndTheAmounts) {
    using M = SettlementMode;
    struct Case {
        const char* name;
        SettlementContext context;
        double newIncome;
        double newExpense;
        SettledDocument oldDoc;
        SettledDocument newDoc;
        std::vector<SettlementWrite> writes;
    };
    const Case cases[] = {
        {"income pays an issued invoice",
         {M::Insert, {}, 0, 0},
         400,
         0,
         none(),
         issued("7", 1000),
         {{"7", 600}}},
        {"expense raises an issued invoice",
         {M::Insert, {}, 0, 0},
         0,
         400,
         none(),
         issued("7", 1000),
         {{"7", 1400}}},
        {"expense pays a received invoice",
         {M::Insert, {}, 0, 0},
         0,
         400,
         none(),
         received("8", 1000),
         {{"8", 600}}},
        {"income raises a received invoice",
         {M::Insert, {}, 0, 0},
         400,
         0,
         none(),
         received("8", 1000),
         {{"8", 1400}}},
        {"both columns net out", {M::Insert, {}, 0, 0}, 500, 100, none(), issued("7", 1000), {{"7", 600}}},
        {"unpaired insert offers nothing", {M::Insert, {}, 0, 0}, 400, 0, none(), none(), {}},
        {"deleting gives the payment back",
         {M::Delete, "7", 400, 0},
         0,
         0,
         issued("7", 600),
         none(),
         {{"7", 1000}}},
        {"deleting a received payment",
         {M::Delete, "8", 0, 400},
         0,
         0,
         received("8", 600),
         none(),
         {{"8", 1000}}},
        {"amount changed on one document",
         {M::Edit, "7", 400, 0},
         500,
         0,
         issued("7", 600),
         issued("7", 600),
         {{"7", 1000}, {"7", 500}}},
        {"description changed only",
         {M::Edit, "7", 400, 0},
         400,
         0,
         issued("7", 600),
         issued("7", 600),
         {{"7", 1000}, {"7", 600}}},
        {"moved between documents",
         {M::Edit, "7", 400, 0},
         400,
         0,
         issued("7", 600),
         issued("9", 2000),
         {{"7", 1000}, {"9", 1600}}},
        {"pairing cleared", {M::Edit, "7", 400, 0}, 400, 0, issued("7", 600), none(), {{"7", 1000}}},
        {"paired later", {M::Edit, {}, 400, 0}, 400, 0, none(), issued("9", 2000), {{"9", 1600}}},
        {"remaining amounts round to cents",
         {M::Insert, {}, 0, 0},
         33.333,
         0,
         none(),
         issued("7", 100.1),
         {{"7", 66.77}}},
        {"deposit ZLV never settles",
         {M::Insert, {}, 0, 0},
         400,
         0,
         none(),
         issued("3", 1000, "ZLV-2010-00001"),
         {}},
        {"deposit anywhere in the number",
         {M::Delete, "3", 400, 0},
         0,
         0,
         issued("3", 1000, "X-ZLP-1"),
         none(),
         {}},
        {"receipt voucher never settles",
         {M::Insert, {}, 0, 0},
         400,
         0,
         none(),
         {QStringLiteral("4"), 1000, QStringLiteral("3"), QStringLiteral("PPD-2010-00001")},
         {}},
        {"expense voucher never settles",
         {M::Insert, {}, 0, 0},
         0,
         400,
         none(),
         {QStringLiteral("4"), 1000, QStringLiteral("4"), QStringLiteral("VPD-2010-00001")},
         {}},
        {"document without a number",
         {M::Insert, {}, 0, 0},
         400,
         0,
         none(),
         {QStringLiteral("5"), 1000, QStringLiteral("1"), {}},
         {}},
        {"vanished document is skipped",
         {M::Edit, "7", 400, 0},
         400,
         0,
         {QStringLiteral("7"), 0, {}, {}},
         none(),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SettlementPlan plan = planSettlement(c.context, c.newIncome, c.newExpense, c.oldDoc, c.newDoc);
        ASSERT_EQ(plan.writes.size(), c.writes.size());
        for (std::size_t i = 0; i < c.writes.size(); ++i) {
            EXPECT_EQ(plan.writes[i].documentId, c.writes[i].documentId);
            EXPECT_DOUBLE_EQ(plan.writes[i].remaining, c.writes[i].remaining);
        }
        EXPECT_EQ(plan.offersAnything(), !c.writes.empty());
    }
}

// The question lists one line per write, under the heading of the mode.
TEST_F(SettlementPlanTest, QuestionTextIsComposedPerMode) {
    struct Case {
        const char* name;
        SettlementPlan plan;
        QString text;
    };
    const QString a = QStringLiteral("FAV-2010-00007");
    const QString b = QStringLiteral("FAV-2010-00009");
    const Case cases[] = {
        {"insert",
         planSettlement({SettlementMode::Insert, {}, 0, 0}, 400, 0, none(),
                        issued("7", 1000, "FAV-2010-00007")),
         kInsertHeading + line(a, "1000", "600") + kQuestion},
        {"delete",
         planSettlement({SettlementMode::Delete, "7", 400, 0}, 0, 0, issued("7", 600, "FAV-2010-00007"),
                        none()),
         kDeleteHeading + line(a, "600", "1000") + kQuestion},
        {"edit on one document",
         planSettlement({SettlementMode::Edit, "7", 400, 0}, 500.5, 0, issued("7", 600, "FAV-2010-00007"),
                        issued("7", 600, "FAV-2010-00007")),
         kEditHeading + line(a, "600", "1000") + line(a, "1000", "499,5") + kQuestion},
        {"edit moving to another",
         planSettlement({SettlementMode::Edit, "7", 400, 0}, 400, 0, issued("7", 600, "FAV-2010-00007"),
                        issued("9", 2000, "FAV-2010-00009")),
         kEditHeading + line(a, "600", "1000") + line(b, "2000", "1600") + kQuestion},
        {"edit pairing a formerly unpaired row",
         planSettlement({SettlementMode::Edit, {}, 0, 0}, 400, 0, none(),
                        issued("9", 2000, "FAV-2010-00009")),
         kEditHeading + line(b, "2000", "1600") + kQuestion},
        {"nothing to settle", planSettlement({SettlementMode::Edit, {}, 0, 0}, 400, 0, none(), none()),
         QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.plan.question, c.text);
    }
}
