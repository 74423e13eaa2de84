#include "../db/platform_fixture.h"
#include "lists/filter_editor.h"
#include "lists/panel_queries.h"

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

class FilterEditorTest : public PlatformTest {};

// A filter stored on each platform comes back with its multi-line definition, its
// module and stamps, and the condition it gives runs there, dates included.
TEST_P(FilterEditorTest, AStoredFilterComesBackAndItsConditionRuns) {
    PanelQueries queries(*ctx);
    Dataset filters(*db->session, QStringLiteral("ADOFormFiltr"));
    FilterEditor editor(*ctx, queries, filters);
    const QList<CaptionEntry> captions = {{QStringLiteral("cislo_dokladu"), QStringLiteral("[Číslo dokladu]")},
                                          {QStringLiteral("datum_vystaveni"), QStringLiteral("[Datum vystavení]")}};
    editor.prepare(3, 0, captions);
    editor.newRow();
    filters.setValue(QStringLiteral("nazev"), QStringLiteral("Březnové"));
    const QString definition = QStringLiteral("[datum VYSTAVENÍ] >= '1.3.2024'\r\nAND [Číslo dokladu] LIKE 'FAV%'");
    editor.setDefinition(definition);
    ASSERT_TRUE(editor.save());
    const qint64 id = filters.asInteger(QStringLiteral("id"));
    EXPECT_GT(id, 0);

    editor.prepare(4, 0, captions);
    EXPECT_EQ(filters.recordCount(), 0);
    editor.prepare(3, id, captions);
    ASSERT_EQ(filters.recordCount(), 1);
    EXPECT_EQ(filters.asString(QStringLiteral("definice")), definition);
    EXPECT_EQ(filters.asInteger(QStringLiteral("id_panel")), 3);
    EXPECT_FALSE(filters.isNull(QStringLiteral("dateTS0")));

    FilterResult result;
    qint64 applied = 0;
    ASSERT_TRUE(editor.close(true, result, applied));
    EXPECT_EQ(applied, id);
    EXPECT_EQ(result.condition, QStringLiteral("datum_vystaveni >= '1.3.2024' AND cislo_dokladu LIKE 'FAV%'"));

    int nextId = 0;
    for (const auto& [number, day] : {std::pair{"FAV-1", 28}, std::pair{"FAV-2", 1}, std::pair{"FAP-1", 2}})
        db->session->execute(QStringLiteral("INSERT INTO tbl_doklad (id, cislo_dokladu, doklad_typ, datum_vystaveni) "
                                            "VALUES (?, ?, 1, ?)"),
                             {++nextId, QString::fromLatin1(number),
                              QDateTime(QDate(2024, day == 28 ? 2 : 3, day), QTime())});
    auto list = dataset(ctx->composeStatement(QStringLiteral("SELECT * FROM tbl_doklad"), result.condition,
                                              QStringLiteral("(doklad_typ=1)"), QStringLiteral("cislo_dokladu")));
    list->open();
    ASSERT_EQ(list->recordCount(), 1);
    EXPECT_EQ(list->asString(QStringLiteral("cislo_dokladu")), QStringLiteral("FAV-2"));

    // Deleting asks first and leaves the module without filters.
    prompts.answers = {Answer::Yes};
    editor.deleteRows();
    EXPECT_EQ(filters.recordCount(), 0);
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_filtry")), QStringLiteral("0"));
}

KELVARN_ON_ALL_PLATFORMS(FilterEditorTest);

} // namespace
