#pragma once

#include "app/module_datasets.h"
#include "core/diagnostic_log.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "lists/panel_queries.h"
#include "support/db/test_databases.h"
#include "support/fake_shell_view.h"
#include "support/scripted_prompts.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <memory>

namespace kelvarn::test {

// Remembers where the focus went; the panels' other requests are ignored.
class FocusRecordingView : public ModuleView {
  public:
    void setContainerVisible(const QString&, bool) override {}
    void setFocus(const FocusTarget& target) override { focus = target; }
    QString focusedControl() const override { return {}; }
    QList<Dataset::Bookmark> selectedRows(const QString&) const override { return {}; }
    void setGridReadOnly(const QString&, bool) override {}
    void setRecordCount(int, bool) override {}
    void setStatusText(const QString&) override {}

    FocusTarget focus;
};

// The module datasets, their rules and the list statements as the window has them,
// on an embedded database that seed() fills first, logged in, saving without asking.
class ModuleDatasetsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = createTestDatabase(DbPlatform::Jet);
        ASSERT_TRUE(db);
        db->state.loggedIn = true;
        db->state.saveWithoutPrompt = true;
        context = std::make_unique<DbContext>(*db->session, db->state, prompts, log);
        seed();
        queries = std::make_unique<PanelQueries>(*context);
        entrepreneur = std::make_unique<Dataset>(*db->session, QStringLiteral("ADOFormPodnikatel"));
        entrepreneur->setTable(QStringLiteral("tbl_podnikatel"));
        modules = std::make_unique<ModuleDatasets>(*db->session, *context, *entrepreneur, *queries, shell);
        queries->init([this](const QString& name) { return modules->dataset(name); });
        modules->setView(&view);
    }

    virtual void seed() {}

    // A document row: number, type, net, VAT and gross totals, remaining amount,
    // purpose of payment (poznamka2), due date.
    void document(const char* number, int type, double net, double vat, double gross,
                  const QVariant& remaining, const QString& purpose = {}, const QVariant& due = {}) {
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_doklad (cislo_dokladu, doklad_typ, celkem_doklad, "
                           "celkem_doklad_dph, celkem_doklad_s_dph, zbyva_uhradit, poznamka2, "
                           "datum_spatnosti) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {QString::fromUtf8(number), type, net, vat, gross, remaining,
             purpose.isNull() ? QVariant() : QVariant(purpose), due});
    }

    ModuleController& controller() { return modules->controller(); }
    Dataset& ds(const char* name) { return *modules->dataset(QLatin1String(name)); }
    Dataset& book() { return ds("ADOFormHlavniKniha"); }
    int storedRows() {
        return scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_hlavnikniha")).toInt();
    }

    std::unique_ptr<TestDatabase> db;
    ScriptedPrompts prompts;
    DiagnosticLog log;
    std::unique_ptr<DbContext> context;
    FakeShellView shell;
    FocusRecordingView view;
    std::unique_ptr<PanelQueries> queries;
    std::unique_ptr<Dataset> entrepreneur;
    std::unique_ptr<ModuleDatasets> modules;
};

} // namespace kelvarn::test
