#pragma once

#include "core/diagnostic_log.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelvarn::test {

// A fresh installed database of the parameter's platform, with a context whose
// confirmations are switched off (tests that want them switch them on).
class PlatformTest : public ::testing::TestWithParam<DbPlatform> {
protected:
    void SetUp() override {
        KELVARN_REQUIRE_PLATFORM(GetParam());
        db = createTestDatabase(GetParam());
        ASSERT_TRUE(db);
        db->state.saveWithoutPrompt = true;
        ctx = std::make_unique<DbContext>(*db->session, db->state, prompts, log);
    }

    // A dataset over a statement whose posts stamp ids and times like the program's.
    std::unique_ptr<Dataset> dataset(const QString& sql, const QString& name = QStringLiteral("ds")) {
        auto ds = std::make_unique<Dataset>(*db->session, name);
        ds->setSql(sql);
        DbContext* c = ctx.get();
        ds->beforePost = [c](Dataset& d) {
            c->preparePost(d, d.state() == Dataset::State::Insert);
            c->stampRow(d);
            return true;
        };
        return ds;
    }

    std::unique_ptr<TestDatabase> db;
    ScriptedPrompts prompts;
    DiagnosticLog log;
    std::unique_ptr<DbContext> ctx;
};

} // namespace kelvarn::test

namespace kelvarn {
inline void PrintTo(DbPlatform platform, std::ostream* os) {
    *os << test::platformLabel(platform).toStdString();
}
} // namespace kelvarn

namespace kelvarn::test {

inline std::string platformName(const ::testing::TestParamInfo<DbPlatform>& info) {
    return platformLabel(info.param).toStdString();
}

} // namespace kelvarn::test

#define KELVARN_ON_ALL_PLATFORMS(suite)                                                                     \
    INSTANTIATE_TEST_SUITE_P(Platforms, suite, ::testing::ValuesIn(::kelvarn::test::testPlatforms()),      \
                             ::kelvarn::test::platformName)
