#include "document_fixture.h"

using namespace kelvarn;
using namespace kelvarn::test;

class DocumentCommands : public DocumentTest {
  protected:
    void addLine(double unitPrice, QVariant rate, const QString& code = {}) {
        items->append();
        items->setValue(QStringLiteral("cena_jednotka"), unitPrice);
        items->setValue(QStringLiteral("dph"), rate);
        if (!code.isEmpty())
            items->setValue(QStringLiteral("kod_zbozi"), code);
        ASSERT_TRUE(items->post());
    }
    QVariant documentId() { return issued->value(QStringLiteral("id")); }
    double amount(const char* column) { return storedAmount(QLatin1String(column), documentId()); }
};
KELVARN_ON_ALL_PLATFORMS(DocumentCommands);

TEST_P(DocumentCommands, SumAndCashRoundingOfTheWorkedExample) {
    saveIssued(0);
    addLine(100.30, 21);
    ASSERT_TRUE(rules->sumLines(Summing::Plain));
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Výpočet DPH"));
    EXPECT_EQ(issued->state(), Dataset::State::Browse) << "saved";
    EXPECT_EQ(amount("celkem_bez_dph_19"), 100.30);
    EXPECT_EQ(amount("celkem_dph_19"), 21.06);
    EXPECT_EQ(amount("celkem_s_dph_19"), 121.36);
    EXPECT_EQ(amount("celkem_dph_0"), 0);
    EXPECT_EQ(amount("zbyva_uhradit"), 121.36);

    ASSERT_TRUE(rules->sumLines(Summing::CashRounded));
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Zaokrouhlení dokladu a výpočet DPH"));
    EXPECT_EQ(amount("celkem_s_dph_19"), 121.50);
    EXPECT_EQ(amount("celkem_dph_19"), 21.09);
    EXPECT_EQ(amount("celkem_bez_dph_19"), 100.41);
    EXPECT_EQ(amount("celkem_dph_0"), 0.14);
    EXPECT_EQ(amount("celkem_doklad_s_dph"), 121.50);
    EXPECT_EQ(amount("celkem_doklad_dph"), 21.09);
    EXPECT_EQ(amount("celkem_doklad"), 100.41);
    EXPECT_EQ(amount("zbyva_uhradit"), 121.50);

    ASSERT_TRUE(rules->sumLines(Summing::CashRounded));
    EXPECT_EQ(amount("celkem_s_dph_19"), 121.50) << "a second press gives the same";
    EXPECT_EQ(amount("celkem_dph_0"), 0.14);
}

TEST_P(DocumentCommands, WholeUnitsAndTheZeroSlotOfANonPayer) {
    setEntrepreneur(QStringLiteral("kod_haler"), QStringLiteral("1"));
    saveIssued(0);
    addLine(99.37, 0);
    ASSERT_TRUE(rules->sumLines(Summing::CashRounded));
    EXPECT_EQ(amount("celkem_bez_dph_0"), 99);
    EXPECT_EQ(amount("celkem_s_dph_0"), 99);
    EXPECT_EQ(amount("celkem_dph_0"), -0.37);
    EXPECT_EQ(amount("celkem_doklad_s_dph"), 99);
}

TEST_P(DocumentCommands, DepositsLowerOnlyTheAmountStillToBePaid) {
    saveIssued(0);
    addLine(960, 0);
    addLine(-500, 0, QStringLiteral("#zal-2010-3")); // any case counts here
    ASSERT_TRUE(rules->sumLines(Summing::Plain));
    EXPECT_EQ(amount("celkem_doklad_s_dph"), 960);
    EXPECT_EQ(amount("zbyva_uhradit"), 460);
}

TEST_P(DocumentCommands, LinesAtARateOfNoSlotStopTheSumWithANamedRate) {
    saveIssued(0);
    addLine(100, 21);
    // The document's basic rate changed after the line was saved.
    issued->edit();
    issued->setValue(QStringLiteral("doklad_dsazba19"), 15);
    ASSERT_TRUE(issued->post());
    const double before = amount("celkem_doklad_s_dph");
    EXPECT_FALSE(rules->sumLines(Summing::Plain));
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Sazby DPH položek"));
    EXPECT_TRUE(lastText().contains(QStringLiteral("21 %"))) << lastText().toStdString();
    EXPECT_EQ(amount("celkem_doklad_s_dph"), before);
}

TEST_P(DocumentCommands, RefusedWhileEditingAndWhenNotConfirmed) {
    saveIssued(0);
    addLine(100.30, 21);
    items->edit();
    items->setValue(QStringLiteral("popis"), QStringLiteral("rozpracováno"));
    EXPECT_FALSE(rules->sumLines(Summing::Plain));
    EXPECT_EQ(lastText(), QStringLiteral("Operaci nelze provést. Prosím zrušte editační režim. "));
    EXPECT_EQ(items->state(), Dataset::State::Edit) << "the line keeps its state";
    items->cancel();

    issued->edit();
    EXPECT_FALSE(rules->sumLines(Summing::CashRounded));
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Chyba"));
    issued->cancel();

    for (const Answer answer : {Answer::No, Answer::Cancel}) {
        prompts.answers = {answer};
        EXPECT_FALSE(rules->sumLines(Summing::Plain));
        EXPECT_EQ(amount("celkem_bez_dph_19"), 0) << "nothing changed";
    }
}

TEST_P(DocumentCommands, SummingAsksNoSecondTimeWhenSaving) {
    saveIssued(0);
    addLine(10, 21);
    askBeforeSaving();
    prompts.shown.clear();
    ASSERT_TRUE(rules->sumLines(Summing::Plain));
    EXPECT_EQ(prompts.shown.size(), 1) << "only message 10";
    prompts.answers = {Answer::No};
    issued->edit();
    issued->setValue(QStringLiteral("poznamka"), QStringLiteral("x"));
    EXPECT_FALSE(issued->post()) << "the next save asks again";
    issued->cancel();
}

TEST_P(DocumentCommands, AmountInWordsSavesAVoucherAtRestOnly) {
    expenses->append();
    expenses->setValue(QStringLiteral("celkem_doklad_s_dph"), -20);
    ASSERT_TRUE(rules->amountInWords(DocumentType::Expense));
    EXPECT_EQ(expenses->asString(QStringLiteral("poznamka")), QStringLiteral("==="));
    EXPECT_EQ(expenses->state(), Dataset::State::Insert) << "a voucher being entered stays so";
    EXPECT_EQ(count(QStringLiteral("tbl_doklad")), 0);

    expenses->setValue(QStringLiteral("celkem_doklad_s_dph"), 850.50);
    ASSERT_TRUE(expenses->post());
    ASSERT_TRUE(rules->amountInWords(DocumentType::Expense));
    EXPECT_EQ(expenses->state(), Dataset::State::Browse);
    EXPECT_EQ(stored(QStringLiteral("SELECT poznamka FROM tbl_doklad WHERE id=?"),
                     expenses->value(QStringLiteral("id")))
                  .toString(),
              QStringLiteral("Osmsetpadesát==="));
}

TEST_P(DocumentCommands, AmountsWithoutFittingWordsAreRefusedWithAMessage) {
    for (const double gross : {1e15, 777777777777.0, 2147483648.0}) {
        expenses->append();
        expenses->setValue(QStringLiteral("poznamka"), QStringLiteral("původní"));
        expenses->setValue(QStringLiteral("celkem_doklad_s_dph"), gross);
        const bool written = rules->amountInWords(DocumentType::Expense);
        if (gross == 2147483648.0) {
            ASSERT_TRUE(written);
            EXPECT_EQ(expenses->asString(QStringLiteral("poznamka")),
                      QStringLiteral(
                          "Dvěmiliardystočtyřicetsedmmilionůčtyřistaosmdesáttřitisícešestsetčtyřicetosm==="));
        } else {
            EXPECT_FALSE(written) << gross;
            EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Částka slovy"));
            EXPECT_EQ(expenses->asString(QStringLiteral("poznamka")), QStringLiteral("původní"))
                << "left as it was";
        }
        expenses->cancel();
    }
}

TEST_P(DocumentCommands, ReceiptVoucherOfferForAnInvoice) {
    issued->append();
    issued->setValue(QStringLiteral("odb_nazev_firmy"), QStringLiteral("Stavby Čapek & O'Hara s.r.o."));
    issued->setValue(QStringLiteral("odb_ic"), QStringLiteral("87654321"));
    issued->setValue(QStringLiteral("mena"), QStringLiteral("EUR"));
    issued->setValue(QStringLiteral("kurz"), 25.5);
    issued->setValue(QStringLiteral("celkem_s_dph_0"), 850.50);
    ASSERT_TRUE(issued->post());
    const QString number = issued->asString(QStringLiteral("cislo_dokladu"));
    ASSERT_EQ(number, QStringLiteral("FAV-2010-00001"));
    prompts.shown.clear();
    today = QDate(2010, 2, 3);

    receipts->append();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Dotaz"));
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("Chcete vytvořit příjmový pokladní doklad k aktuální   \r\nfaktuře "
                             "č. FAV-2010-00001 (k úhradě 850,5 EUR)?"));
    EXPECT_EQ(receipts->state(), Dataset::State::Insert) << "the voucher stays unsaved";
    EXPECT_EQ(receipts->asFloat(QStringLiteral("celkem_doklad_s_dph")), 850.50);
    EXPECT_EQ(receipts->asString(QStringLiteral("odb_nazev_firmy")),
              QStringLiteral("Stavby Čapek & O'Hara s.r.o."));
    EXPECT_EQ(receipts->asString(QStringLiteral("odb_ic")), QStringLiteral("87654321"));
    EXPECT_EQ(receipts->asString(QStringLiteral("mena")), QStringLiteral("EUR"));
    EXPECT_EQ(receipts->asFloat(QStringLiteral("kurz")), 25.5);
    EXPECT_EQ(receipts->asDateTime(QStringLiteral("datum_vystaveni")).date(), QDate(2010, 2, 3));
    EXPECT_EQ(receipts->asString(QStringLiteral("poznamka2")),
              QStringLiteral("Úhrada faktury č. 0201000001 (FAV-2010-00001)"));
    EXPECT_EQ(receipts->asString(QStringLiteral("poznamka")), QStringLiteral("Osmsetpadesát==="));
    ASSERT_TRUE(receipts->post());
    EXPECT_EQ(receipts->asString(QStringLiteral("cislo_dokladu")), QStringLiteral("PPD-2010-00001"));
}

TEST_P(DocumentCommands, NoOfferForOtherKindsOrWhenDeclined) {
    issued->append();
    rules->kindChosen(DocumentType::Issued, 1);
    issued->setValue(QStringLiteral("celkem_s_dph_0"), 100);
    ASSERT_TRUE(issued->post());
    ASSERT_TRUE(issued->asString(QStringLiteral("cislo_dokladu")).startsWith(QStringLiteral("PH-")));
    prompts.shown.clear();
    receipts->append();
    EXPECT_TRUE(prompts.shown.isEmpty()) << "a cash sale gets no offer";
    EXPECT_TRUE(receipts->isNull(QStringLiteral("celkem_doklad_s_dph")));
    receipts->cancel();

    saveIssued(100);
    prompts.answers = {Answer::No};
    receipts->append();
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(receipts->isNull(QStringLiteral("celkem_doklad_s_dph"))) << "plain defaults";
    EXPECT_TRUE(receipts->isNull(QStringLiteral("poznamka2")));
    receipts->cancel();

    // A line being edited under the invoice: no offer either.
    items->append();
    items->setValue(QStringLiteral("popis"), QStringLiteral("x"));
    prompts.shown.clear();
    receipts->append();
    EXPECT_TRUE(prompts.shown.isEmpty());
}
