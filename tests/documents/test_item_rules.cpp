#include "document_fixture.h"

using namespace kelvarn;
using namespace kelvarn::test;

class ItemRules : public DocumentTest {
  protected:
    // Appends a line with the given typed values and saves it.
    bool saveLine(std::initializer_list<std::pair<const char*, QVariant>> values) {
        items->append();
        for (const auto& [column, value] : values)
            items->setValue(QLatin1String(column), value);
        return items->post();
    }
    double line(const char* column) {
        return stored(QStringLiteral("SELECT ") + QLatin1String(column) +
                          QStringLiteral(" FROM tbl_polozky WHERE id=?"),
                      items->value(QStringLiteral("id")))
            .toDouble();
    }
};
KELVARN_ON_ALL_PLATFORMS(ItemRules);

TEST_P(ItemRules, NoLineUnderADocumentThatHasNoId) {
    // New issued document, the save declined on entering the item grid, Insert a line.
    issued->append();
    items->append();
    EXPECT_EQ(items->state(), Dataset::State::Browse) << "the insert is refused";
    EXPECT_TRUE(items->post());
    EXPECT_EQ(count(QStringLiteral("tbl_polozky")), 0);
    issued->cancel();

    // No document at all.
    items->append();
    EXPECT_EQ(items->state(), Dataset::State::Browse);

    saveIssued();
    items->append();
    EXPECT_EQ(items->state(), Dataset::State::Insert) << "a saved document takes lines";
    EXPECT_EQ(items->value(QStringLiteral("id_tbl_doklad")), issued->value(QStringLiteral("id")));
    // Even a line that lost its document on the way is never written.
    items->setNull(QStringLiteral("id_tbl_doklad"));
    items->setValue(QStringLiteral("cena_jednotka"), 10);
    EXPECT_FALSE(items->post());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Položka dokladu"));
    EXPECT_EQ(count(QStringLiteral("tbl_polozky")), 0);
}

TEST_P(ItemRules, StoredLineAmountsExactToTheCent) {
    saveIssued();
    // clang-format off
    const struct {
        const char* what;
        std::initializer_list<std::pair<const char*, QVariant>> typed;
        double quantity, unit, net, rate, vat, gross;
    } cases[] = {
        {"unit price alone", {{"cena_jednotka", 27.5467}}, 1, 27.5467, 27.55, 21, 5.79, 33.34},
        {"gross with quantity", {{"cena_celkem_s_dph", 100.0}, {"mnozstvi", 3}}, 3, 27.5467, 82.64, 21, 17.35, 99.99},
        {"discount", {{"cena_jednotka", 10.5}, {"mnozstvi", 3}, {"sleva", 7}}, 3, 10.5, 29.295, 21, 6.15, 35.445},
        {"deposit", {{"kod_zbozi", QStringLiteral("#ZAL-1")}, {"cena_jednotka", -500}}, 1, -500, -500, 0, 0, -500},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(saveLine(c.typed));
        EXPECT_EQ(line("mnozstvi"), c.quantity);
        EXPECT_EQ(line("cena_jednotka"), c.unit);
        EXPECT_EQ(line("cena_celkem_bez_dph"), c.net);
        EXPECT_EQ(line("dph"), c.rate);
        EXPECT_EQ(line("dph_celkem"), c.vat);
        EXPECT_EQ(line("cena_celkem_s_dph"), c.gross);
    }
}

TEST_P(ItemRules, DefaultRateComesFromTheStoredDocumentAndThePayerStatus) {
    saveIssued();
    issued->edit();
    issued->setValue(QStringLiteral("doklad_dsazba19"), 19);
    ASSERT_TRUE(issued->post());
    ASSERT_TRUE(saveLine({{"cena_jednotka", 1}}));
    EXPECT_EQ(line("dph"), 19);
    ASSERT_TRUE(saveLine({{"cena_jednotka", 1}, {"kod_zbozi", QStringLiteral("#zal")}}));
    EXPECT_EQ(line("dph"), 19) << "the deposit code is exact about case here";
    ASSERT_TRUE(saveLine({{"cena_jednotka", 1}, {"kod_zbozi", QStringLiteral("#ZAL 2010/7")}}));
    EXPECT_EQ(line("dph"), 0);

    setEntrepreneur(QStringLiteral("platce_dph"), QStringLiteral("ne"));
    ASSERT_TRUE(saveLine({{"cena_jednotka", 1}}));
    EXPECT_EQ(line("dph"), 0);
    ASSERT_TRUE(saveLine({{"cena_jednotka", 1}, {"dph", 10}}));
    EXPECT_EQ(line("dph"), 10) << "a typed rate is kept";
}

TEST_P(ItemRules, ALineWithoutPriceIsSavedAsTyped) {
    saveIssued();
    ASSERT_TRUE(saveLine({{"popis", QStringLiteral("Doprava zdarma – „akce“ d'Artagnan")}}));
    const QVariant id = items->value(QStringLiteral("id"));
    EXPECT_TRUE(stored(QStringLiteral("SELECT mnozstvi FROM tbl_polozky WHERE id=?"), id).isNull());
    EXPECT_TRUE(stored(QStringLiteral("SELECT dph FROM tbl_polozky WHERE id=?"), id).isNull());
    EXPECT_EQ(stored(QStringLiteral("SELECT popis FROM tbl_polozky WHERE id=?"), id).toString(),
              QStringLiteral("Doprava zdarma – „akce“ d'Artagnan"));
}

TEST_P(ItemRules, RefusedValuesAreNamedAndTheLineStaysOpen) {
    saveIssued();
    const struct {
        std::initializer_list<std::pair<const char*, QVariant>> typed;
        const char* caption;
    } cases[] = {
        {{{"cena_jednotka", 10}, {"dph", 15}}, "DPH [%]"},
        {{{"cena_celkem_bez_dph", 10}, {"mnozstvi", 0}}, "Množství"},
        {{{"cena_jednotka", 1e15}}, "Cena za jednotku"},
        {{{"cena_jednotka", 10}, {"sleva", 101}}, "Sleva [%]"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(saveLine(c.typed)) << c.caption;
        EXPECT_TRUE(lastText().startsWith(QStringLiteral("Hodnota v poli \"") + QString::fromUtf8(c.caption) +
                                          QLatin1Char('"')))
            << lastText().toStdString();
        EXPECT_EQ(items->state(), Dataset::State::Insert);
        items->cancel();
    }
    EXPECT_EQ(count(QStringLiteral("tbl_polozky")), 0);
}
