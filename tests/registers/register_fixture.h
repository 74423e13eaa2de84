#pragma once

#include "../db/platform_fixture.h"
#include "registers/register_hooks.h"

#include <QStringList>

namespace kelvarn::test {

// A platform database with hooks that record what the rules asked of the window.
class RegisterTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        hooks.showDetail = [this] { calls << QStringLiteral("detail"); };
        hooks.refreshPanel = [this] { calls << QStringLiteral("refresh"); };
        hooks.updateStatusBar = [this] { calls << QStringLiteral("status"); };
        hooks.selectWholeText = [this](const QString& column) {
            calls << QStringLiteral("select ") + column;
        };
    }

    std::unique_ptr<Dataset> table(const QString& table, const QString& name) {
        auto ds = std::make_unique<Dataset>(*db->session, name);
        ds->setTable(table);
        return ds;
    }

    // Switches message 8 on, so that every save asks.
    void askBeforeSaving() {
        db->state.saveWithoutPrompt = false;
        ctx->resetSkipConfirmation();
    }

    static QString required(const QString& caption) {
        return QStringLiteral("Hodnota v poli \"") + caption +
               QStringLiteral("\" je povinná. Prosím vyplňte ji.    ");
    }

    QString lastText() const { return prompts.shown.isEmpty() ? QString() : prompts.shown.last().text; }

    RegisterHooks hooks;
    QStringList calls;
};

} // namespace kelvarn::test
