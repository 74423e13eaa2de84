#include "core/formatting.h"
#include "db/db_error.h"
#include "platform_fixture.h"

using namespace kelvarn;
using namespace kelvarn::test;

class PostProtocol : public PlatformTest {};
KELVARN_ON_ALL_PLATFORMS(PostProtocol);

TEST_P(PostProtocol, ConfirmationRequiredFieldsStampsAndIds) {
    db->state.saveWithoutPrompt = false;
    ctx->resetSkipConfirmation();
    Dataset goods(*db->session, QStringLiteral("ADOFormZbozi"));
    goods.setSql(QStringLiteral("SELECT * FROM tbl_zbozi"));
    const std::vector<RequiredField> required = {{QStringLiteral("popis"), QStringLiteral("Název")},
                                                 {QStringLiteral("mj"), QStringLiteral("MJ")}};
    DbContext* c = ctx.get();
    goods.beforePost = [c, &required](Dataset& d) { return c->runPostProtocol(d, required); };
    goods.open();
    goods.append();
    goods.setValue(QStringLiteral("popis"), QStringLiteral("Hoblík"));

    prompts.answers = {Answer::No};
    EXPECT_FALSE(goods.post()) << "No to message 8 keeps the row unsaved";
    EXPECT_EQ(goods.state(), Dataset::State::Insert);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Opravdu chcete záznam uložit?   "));

    EXPECT_FALSE(goods.post()) << "the unit is missing";
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_EQ(prompts.shown[2].caption, QStringLiteral("Povinné pole"));
    EXPECT_EQ(prompts.shown[2].text, QStringLiteral("Hodnota v poli \"MJ\" je povinná. Prosím vyplňte ji.    "));

    goods.setValue(QStringLiteral("mj"), QStringLiteral("ks"));
    ctx->skipNextConfirmation();
    ASSERT_TRUE(goods.post()) << "a one-shot skip saves without asking";
    EXPECT_EQ(prompts.shown.size(), 3);
    EXPECT_FALSE(goods.isNull(QStringLiteral("id")));
    EXPECT_FALSE(goods.isNull(QStringLiteral("dateTS0")));
    EXPECT_EQ(goods.asDateTime(QStringLiteral("dateTS0")), goods.asDateTime(QStringLiteral("dateTS1")));
    EXPECT_EQ(goods.resync(), 1);

    goods.edit();
    goods.setValue(QStringLiteral("popis"), QStringLiteral("Hoblík velký"));
    ASSERT_TRUE(goods.post()) << "Yes (the default answer) saves";
    EXPECT_EQ(prompts.shown.size(), 4) << "the skip lasted for one save only";
    EXPECT_EQ(goods.resync(), 4);
}

TEST_P(PostProtocol, ConfirmDeleteAsksMessage9) {
    prompts.answers = {Answer::Cancel, Answer::Yes};
    EXPECT_FALSE(ctx->confirmDelete());
    EXPECT_TRUE(ctx->confirmDelete());
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Opravdu chcete záznam(y) smazat?   "));
}

TEST_P(PostProtocol, ComposedStatementsGoToTheDiagnosticLogWhenDebugIsOn) {
    ctx->composeStatement(QStringLiteral("SELECT * FROM tbl_zbozi"), {}, {}, QStringLiteral("kod_zbozi"));
    EXPECT_TRUE(log.text().isEmpty());
    db->state.debug = true;
    const QString s = ctx->composeStatement(QStringLiteral("SELECT * FROM tbl_zbozi"), {}, {}, QStringLiteral("kod_zbozi"));
    EXPECT_EQ(s, QStringLiteral("SELECT * FROM tbl_zbozi  ORDER BY kod_zbozi"));
    EXPECT_EQ(log.text(), QStringLiteral("\r\n-----\r\n") + s);
}

TEST(YearOrMonth, ReadsTheShortDateOrToday) {
    LocaleConventions::setCurrent(LocaleConventions::czech());
    EXPECT_EQ(yearOrMonthOf(QStringLiteral("1.2.2008"), false), QStringLiteral("2008"));
    EXPECT_EQ(yearOrMonthOf(QStringLiteral("01.02.2008"), true), QStringLiteral("2"));
    EXPECT_EQ(yearOrMonthOf(QString(), false), QString::number(QDate::currentDate().year()));
    EXPECT_EQ(yearOrMonthOf(QString(), true), QString::number(QDate::currentDate().month()));
    EXPECT_THROW(yearOrMonthOf(QStringLiteral("31.2.2008"), false), DbError);
    EXPECT_THROW(yearOrMonthOf(QStringLiteral("abc"), false), DbError);
}
