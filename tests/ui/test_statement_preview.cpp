#include "support/test_application.h"
#include "core/diagnostic_log.h"
#include "db/db_context.h"
#include "exchange/statement_import_plan.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"
#include "ui/statement_preview_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

template <typename T>
T* byName(QWidget& parent, const QString& name) {
    for (T* w : parent.findChildren<T*>())
        if (w->accessibleName() == name)
            return w;
    return nullptr;
}

TEST(StatementPreviewDialog, ButtonsPairSkipAndUnpairThroughTheirAccessibleNames) {
    test::ensureApplication<QApplication>();
    auto db = test::createTestDatabase(DbPlatform::Jet);
    ASSERT_TRUE(db);
    db->session->execute(QStringLiteral("UPDATE tbl_podnikatel SET cislo_uctu='19-2000145399/0800' WHERE id=1"));
    db->session->execute(QStringLiteral("INSERT INTO tbl_doklad (id, cislo_dokladu, variabilni_symbol, doklad_typ, "
                                        "zbyva_uhradit) VALUES (1, 'FAV-2025-00001', '42', 1, 100)"));
    test::ScriptedPrompts prompts;
    DiagnosticLog log;
    DbContext ctx(*db->session, db->state, prompts, log);
    BankStatement st;
    st.accountDigits = QStringLiteral("0000192000145399");
    st.number = QStringLiteral("3");
    st.date = QDate(2025, 1, 31);
    for (int i = 0; i < 2; ++i) {
        StatementItem item;
        item.amountCents = 5000;
        item.date = st.date;
        item.counterName = QStringLiteral("Plátce %1").arg(i);
        st.items.push_back(item);
    }
    StatementImportPlan plan = StatementImportPlan::prepare(ctx, st);
    ASSERT_TRUE(plan.refusal().isEmpty()) << plan.refusal().toStdString();
    StatementPreviewDialog dialog(plan, prompts);
    EXPECT_EQ(dialog.accessibleName(), QStringLiteral("Náhled bankovního výpisu"));
    auto* table = byName<QTableView>(dialog, QStringLiteral("Položky výpisu"));
    auto* summary = byName<QLabel>(dialog, QStringLiteral("Souhrn"));
    ASSERT_TRUE(table && summary);
    EXPECT_EQ(table->model()->rowCount(), 2);
    EXPECT_TRUE(summary->text().startsWith(QStringLiteral("Položek 2: spárováno 0, bez dokladu 2")))
        << summary->text().toStdString();

    prompts.inputs = {QStringLiteral("42")};
    QTest::mouseClick(byName<QPushButton>(dialog, QStringLiteral("Spárovat ručně...")), Qt::LeftButton);
    EXPECT_EQ(plan.items()[0].documentNumber, QStringLiteral("FAV-2025-00001"));
    table->selectRow(1);
    QTest::mouseClick(byName<QPushButton>(dialog, QStringLiteral("Přeskočit / zahrnout")), Qt::LeftButton);
    EXPECT_EQ(plan.items()[1].action, ItemAction::Skip);
    EXPECT_TRUE(summary->text().startsWith(QStringLiteral("Položek 2: spárováno 1, bez dokladu 0, přeskočeno 1.")))
        << summary->text().toStdString();
    table->selectRow(0);
    QTest::mouseClick(byName<QPushButton>(dialog, QStringLiteral("Zrušit párování")), Qt::LeftButton);
    EXPECT_EQ(plan.items()[0].action, ItemAction::Book);

    prompts.inputs = {QStringLiteral("FAV-9")};
    QTest::mouseClick(byName<QPushButton>(dialog, QStringLiteral("Spárovat ručně...")), Qt::LeftButton);
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_TRUE(prompts.shown.last().text.contains(QStringLiteral("Nelze najít")));
    QTest::mouseClick(byName<QPushButton>(dialog, QStringLiteral("Importovat")), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
} // namespace kelvarn
