#include "registers/asset_rules.h"

#include "register_fixture.h"

using namespace kelvarn;
using namespace kelvarn::test;

class AssetRules : public RegisterTest {
  protected:
    void SetUp() override {
        RegisterTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        assets = table(QStringLiteral("tbl_majetek"), QStringLiteral("ADOFormMajetek"));
        rows = std::make_unique<Dataset>(*db->session, QStringLiteral("ADOFormOdpisy"));
        installAssetRules(*assets, *rows, *ctx, hooks);
        assets->open();
        rows->open();
    }

    void fillAsset() {
        assets->setValue(QStringLiteral("typ"), QStringLiteral("stroj"));
        assets->setValue(QStringLiteral("cislo"), QStringLiteral("INV-1"));
    }

    void addRow(const QString& year, double amount) {
        rows->append();
        ASSERT_EQ(rows->state(), Dataset::State::Insert);
        rows->setValue(QStringLiteral("rok"), year);
        rows->setValue(QStringLiteral("odpis"), amount);
        rows->setValue(QStringLiteral("opravky"), amount);
        rows->setValue(QStringLiteral("zustatkova_cena"), 1000 - amount);
        ASSERT_TRUE(rows->post());
    }

    std::unique_ptr<Dataset> assets;
    std::unique_ptr<Dataset> rows;
};
KELVARN_ON_ALL_PLATFORMS(AssetRules);

TEST_P(AssetRules, NewAssetStartsAtZeroPriceAndNeedsTypeAndNumber) {
    assets->append();
    EXPECT_EQ(assets->asString(QStringLiteral("vstupni_cena")), QStringLiteral("0"));
    EXPECT_FALSE(assets->isNull(QStringLiteral("vstupni_cena")));
    EXPECT_EQ(calls, QStringList{QStringLiteral("detail")});

    EXPECT_FALSE(assets->post());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Povinné pole"));
    EXPECT_EQ(lastText(), required(QStringLiteral("Typ majetku")));
    assets->setValue(QStringLiteral("typ"), QStringLiteral("stroj"));
    EXPECT_FALSE(assets->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Evidenční číslo")));
    assets->setValue(QStringLiteral("cislo"), QStringLiteral("INV-1"));
    assets->setNull(QStringLiteral("vstupni_cena"));
    EXPECT_FALSE(assets->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Vstupní cena")));
    EXPECT_EQ(assets->state(), Dataset::State::Insert);
    EXPECT_EQ(assets->asString(QStringLiteral("cislo")), QStringLiteral("INV-1")) << "the typed values stay";

    assets->setValue(QStringLiteral("vstupni_cena"), 50000);
    ASSERT_TRUE(assets->post());
    EXPECT_FALSE(assets->isNull(QStringLiteral("id")));
    EXPECT_FALSE(assets->isNull(QStringLiteral("dateTS0")));
    EXPECT_EQ(calls.last(), QStringLiteral("status"));
}

TEST_P(AssetRules, DepreciationRowsWaitForTheAssetsFirstSave) {
    assets->append();
    fillAsset();
    rows->append();
    EXPECT_EQ(rows->state(), Dataset::State::Browse) << "no row for an asset without id";
    EXPECT_EQ(rows->recordCount(), 0);

    ASSERT_TRUE(postAssetBeforeDepreciationFocus(*assets));
    const qint64 id = assets->asInteger(QStringLiteral("id"));
    rows->append();
    ASSERT_EQ(rows->state(), Dataset::State::Insert);
    EXPECT_EQ(rows->asInteger(QStringLiteral("id_tbl_majetek")), id);
}

TEST_P(AssetRules, DepreciationRowsNeedEveryFigureAndSortByYear) {
    assets->append();
    fillAsset();
    ASSERT_TRUE(assets->post());

    rows->append();
    EXPECT_FALSE(rows->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Rok")));
    rows->setValue(QStringLiteral("rok"), QStringLiteral("2010"));
    EXPECT_FALSE(rows->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Odpis")));
    rows->setValue(QStringLiteral("odpis"), 100);
    EXPECT_FALSE(rows->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Zůstatková cena")));
    rows->setValue(QStringLiteral("zustatkova_cena"), 800);
    EXPECT_FALSE(rows->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Oprávky")));
    EXPECT_EQ(rows->state(), Dataset::State::Insert);
    rows->setValue(QStringLiteral("opravky"), 200);
    ASSERT_TRUE(rows->post());

    addRow(QStringLiteral("2009"), 100);
    rows->refresh();
    ASSERT_EQ(rows->recordCount(), 2);
    rows->first();
    EXPECT_EQ(rows->asString(QStringLiteral("rok")), QStringLiteral("2009"));
    rows->next();
    EXPECT_EQ(rows->asString(QStringLiteral("rok")), QStringLiteral("2010"));
}

TEST_P(AssetRules, FocusChangesWriteThePendingRowFirst) {
    assets->append();
    fillAsset();
    ASSERT_TRUE(assets->post());
    askBeforeSaving();

    EXPECT_TRUE(postAssetBeforeDepreciationFocus(*assets)) << "nothing pending";
    EXPECT_TRUE(prompts.shown.isEmpty());

    assets->edit();
    assets->setValue(QStringLiteral("vstupni_cena"), 1234.5);
    prompts.answers = {Answer::No};
    EXPECT_FALSE(postAssetBeforeDepreciationFocus(*assets)) << "declined: the panel does not switch";
    EXPECT_EQ(assets->state(), Dataset::State::Edit);
    EXPECT_TRUE(postAssetBeforeDepreciationFocus(*assets));
    EXPECT_EQ(assets->state(), Dataset::State::Browse);
    assets->refresh();
    EXPECT_DOUBLE_EQ(assets->asFloat(QStringLiteral("vstupni_cena")), 1234.5);

    rows->append();
    rows->setValue(QStringLiteral("rok"), QStringLiteral("2009"));
    EXPECT_FALSE(postDepreciationBeforeAssetFocus(*rows)) << "figures missing";
    EXPECT_EQ(lastText(), required(QStringLiteral("Odpis")));
    EXPECT_EQ(rows->state(), Dataset::State::Insert);
}

TEST_P(AssetRules, WritesRefreshTheListWhenTheOptionSaysSo) {
    db->state.refreshAfterSave = true;
    assets->append();
    fillAsset();
    ASSERT_TRUE(assets->post());
    EXPECT_EQ(calls.last(), QStringLiteral("refresh"));
    assets->deleteRecord();
    EXPECT_EQ(calls.last(), QStringLiteral("status"));
}
