#include "document_fixture.h"

using namespace kelvarn;
using namespace kelvarn::test;

class DocumentSave : public DocumentTest {
  protected:
    QString text(Dataset& ds, const char* column) { return ds.asString(QLatin1String(column)); }

    // A new document of the kind, dated as given; returns its number ("" when refused).
    QString saveNew(Dataset& ds, DocumentType type, int kind, const QDate& issue, const QDate& supply = {}) {
        ds.append();
        if (type == DocumentType::Issued || type == DocumentType::Received)
            rules->kindChosen(type, kind);
        ds.setValue(QStringLiteral("datum_vystaveni"), QDateTime(issue, QTime(0, 0)));
        if (supply.isValid())
            ds.setValue(QStringLiteral("datum_zdanitelne_plneni"), QDateTime(supply, QTime(0, 0)));
        else if (ds.hasColumn(QStringLiteral("datum_zdanitelne_plneni")))
            ds.setNull(QStringLiteral("datum_zdanitelne_plneni"));
        if (!ds.post())
            return {};
        return text(ds, "cislo_dokladu");
    }
};
KELVARN_ON_ALL_PLATFORMS(DocumentSave);

TEST_P(DocumentSave, NumbersPerKindAndYearWithVariableSymbols) {
    const struct {
        Dataset* ds;
        DocumentType type;
        int kind;
        const char* number;
        const char* symbol; // "" when none is made
    } cases[] = {
        {issued.get(), DocumentType::Issued, 0, "FAV-2010-00001", "0201000001"},
        {issued.get(), DocumentType::Issued, 0, "FAV-2010-00002", "0201000002"},
        {issued.get(), DocumentType::Issued, 1, "PH-2010-00001", "1201000001"},
        {issued.get(), DocumentType::Issued, 2, "ZLV-2010-00001", ""},
        {issued.get(), DocumentType::Issued, 4, "IDP-2010-00001", "4201000001"},
        {received.get(), DocumentType::Received, 0, "FAP-2010-00001", ""},
        {received.get(), DocumentType::Received, 1, "NH-2010-00001", ""},
        {receipts.get(), DocumentType::Receipt, 0, "PPD-2010-00001", ""},
        {expenses.get(), DocumentType::Expense, 0, "VPD-2010-00001", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(saveNew(*c.ds, c.type, c.kind, QDate(2010, 3, 5), QDate(2010, 3, 5)),
                  QLatin1String(c.number));
        EXPECT_EQ(text(*c.ds, "variabilni_symbol"), QLatin1String(c.symbol)) << c.number;
    }
    EXPECT_EQ(seriesNext(QStringLiteral("FAV-2010")), QStringLiteral("3"));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.captions().join(QLatin1Char(',')).toStdString();
}

TEST_P(DocumentSave, YearOfTheNumberAcrossTheTurnOfTheYear) {
    // Taxable supply on 31 December, issued on 3 January.
    EXPECT_EQ(saveNew(*issued, DocumentType::Issued, 0, QDate(2011, 1, 3), QDate(2010, 12, 31)),
              QStringLiteral("FAV-2010-00001"));
    EXPECT_TRUE(text(*issued, "variabilni_symbol").startsWith(QStringLiteral("02010")));
    EXPECT_EQ(saveNew(*received, DocumentType::Received, 0, QDate(2011, 1, 3), QDate(2010, 12, 31)),
              QStringLiteral("FAP-2010-00001"));
    EXPECT_EQ(saveNew(*issued, DocumentType::Issued, 0, QDate(2011, 1, 3)), QStringLiteral("FAV-2011-00001"))
        << "no supply date: the issue date counts";

    setEntrepreneur(QStringLiteral("platce_dph"), QStringLiteral("Ne"));
    EXPECT_EQ(saveNew(*issued, DocumentType::Issued, 0, QDate(2011, 1, 3), QDate(2010, 12, 31)),
              QStringLiteral("FAV-2011-00002"))
        << "a non-payer numbers by the issue date";
    EXPECT_EQ(saveNew(*receipts, DocumentType::Receipt, 0, QDate(2011, 1, 3)),
              QStringLiteral("PPD-2011-00001"));
}

TEST_P(DocumentSave, AReceivedDepositLosesItsVatDates) {
    received->append();
    rules->kindChosen(DocumentType::Received, 2);
    received->setValue(QStringLiteral("datum_vystaveni"), day(2011, 1, 3));
    received->setValue(QStringLiteral("datum_zdanitelne_plneni"), day(2010, 12, 31));
    received->setValue(QStringLiteral("datum_uplatneni_plneni"), day(2010, 12, 31));
    ASSERT_TRUE(received->post());
    EXPECT_EQ(text(*received, "cislo_dokladu"), QStringLiteral("ZLP-2011-00001"))
        << "numbered by its issue date";
    const QVariant id = received->value(QStringLiteral("id"));
    EXPECT_TRUE(
        stored(QStringLiteral("SELECT datum_zdanitelne_plneni FROM tbl_doklad WHERE id=?"), id).isNull());
    EXPECT_TRUE(
        stored(QStringLiteral("SELECT datum_uplatneni_plneni FROM tbl_doklad WHERE id=?"), id).isNull());
}

TEST_P(DocumentSave, SelectorWithoutAValidChoiceSavesAsInternal) {
    issued->append();
    rules->selector(DocumentType::Issued).setIndex(-1);
    ASSERT_TRUE(issued->post());
    EXPECT_TRUE(text(*issued, "cislo_dokladu").startsWith(QStringLiteral("IDP-")));
    EXPECT_EQ(rules->selector(DocumentType::Issued).index(), 4);
}

TEST_P(DocumentSave, IssuedClaimDateFollowsTheTaxableSupply) {
    saveIssued();
    const QVariant id = issued->value(QStringLiteral("id"));
    auto claim = [&] {
        return stored(QStringLiteral("SELECT datum_uplatneni_plneni FROM tbl_doklad WHERE id=?"), id);
    };
    EXPECT_EQ(claim().toDateTime().date(), today) << "a new document claims on its supply date";

    issued->edit();
    issued->setValue(QStringLiteral("datum_uplatneni_plneni"), day(2010, 2, 10));
    ASSERT_TRUE(issued->post());
    EXPECT_EQ(claim().toDateTime().date(), QDate(2010, 2, 10)) << "changing only the claim date keeps it";

    issued->edit();
    issued->setValue(QStringLiteral("datum_zdanitelne_plneni"), QDateTime(QDate(2010, 2, 20), QTime(13, 45)));
    ASSERT_TRUE(issued->post());
    EXPECT_EQ(claim().toDateTime(), day(2010, 2, 20)) << "a changed supply date overwrites it, without time";

    issued->edit();
    issued->setNull(QStringLiteral("datum_zdanitelne_plneni"));
    ASSERT_TRUE(issued->post());
    EXPECT_TRUE(claim().isNull()) << "clearing the supply date clears the claim";

    received->append();
    received->setValue(QStringLiteral("datum_uplatneni_plneni"), QDateTime(QDate(2010, 4, 2), QTime(8, 0)));
    ASSERT_TRUE(received->post());
    EXPECT_EQ(received->asDateTime(QStringLiteral("datum_uplatneni_plneni")), day(2010, 4, 2))
        << "a received document's claim date is typed, never derived, but cut";
}

TEST_P(DocumentSave, VouchersAreDueOnIssueAndLeaveNothingToPay) {
    receipts->append();
    receipts->setValue(QStringLiteral("datum_vystaveni"), QDateTime(QDate(2010, 6, 7), QTime(9, 30)));
    receipts->setValue(QStringLiteral("celkem_doklad_s_dph"), 850.505);
    receipts->setValue(QStringLiteral("zbyva_uhradit"), 850.5);
    receipts->setValue(QStringLiteral("celkem_bez_dph_19"), 100);
    ASSERT_TRUE(receipts->post());
    const QVariant id = receipts->value(QStringLiteral("id"));
    EXPECT_EQ(stored(QStringLiteral("SELECT datum_spatnosti FROM tbl_doklad WHERE id=?"), id).toDateTime(),
              day(2010, 6, 7));
    EXPECT_DOUBLE_EQ(storedAmount(QStringLiteral("zbyva_uhradit"), id), 0);
    EXPECT_DOUBLE_EQ(storedAmount(QStringLiteral("celkem_doklad_s_dph"), id), 850.5);
    EXPECT_DOUBLE_EQ(storedAmount(QStringLiteral("celkem_s_dph_19"), id), 0) << "nothing derived";
    EXPECT_DOUBLE_EQ(storedAmount(QStringLiteral("celkem_dph_5"), id), 0) << "empty amounts become 0";

    receipts->edit();
    receipts->setNull(QStringLiteral("datum_vystaveni"));
    ASSERT_TRUE(receipts->post());
    EXPECT_TRUE(stored(QStringLiteral("SELECT datum_spatnosti FROM tbl_doklad WHERE id=?"), id).isNull());
}

TEST_P(DocumentSave, SlotTotalsAreStoredExactToTheCent) {
    issued->append();
    issued->setValue(QStringLiteral("celkem_s_dph_19"), 1000.00);
    issued->setValue(QStringLiteral("celkem_bez_dph_5"), 333.33);
    issued->setValue(QStringLiteral("celkem_s_dph_0"), 0.1);
    ASSERT_TRUE(issued->post());
    const QVariant id = issued->value(QStringLiteral("id"));
    const struct {
        const char* column;
        double value;
    } expected[] = {
        {"celkem_bez_dph_19", 826.40}, {"celkem_dph_19", 173.60},     {"celkem_s_dph_19", 1000.00},
        {"celkem_bez_dph_5", 333.33},  {"celkem_dph_5", 33.33},       {"celkem_s_dph_5", 366.66},
        {"celkem_bez_dph_0", 0.10},    {"celkem_dph_0", 0},           {"celkem_s_dph_0", 0.10},
        {"celkem_doklad", 1159.83},    {"celkem_doklad_dph", 206.93}, {"celkem_doklad_s_dph", 1366.76},
        {"zbyva_uhradit", 1366.76},
    };
    for (const auto& e : expected)
        EXPECT_EQ(storedAmount(QLatin1String(e.column), id), e.value) << e.column;
}

TEST_P(DocumentSave, DocumentRatesFallBackForTheComputationOnly) {
    issued->append();
    issued->setNull(QStringLiteral("doklad_dsazba19"));
    db->state.vatBasic = 19;
    issued->setValue(QStringLiteral("celkem_s_dph_19"), 1190.00);
    ASSERT_TRUE(issued->post());
    const QVariant id = issued->value(QStringLiteral("id"));
    EXPECT_EQ(storedAmount(QStringLiteral("celkem_dph_19"), id), 190.04);
    EXPECT_EQ(storedAmount(QStringLiteral("celkem_bez_dph_19"), id), 999.96);
    EXPECT_TRUE(stored(QStringLiteral("SELECT doklad_dsazba19 FROM tbl_doklad WHERE id=?"), id).isNull());
}

TEST_P(DocumentSave, RateOfExchangeHasSixPlacesAndEmptyIsZero) {
    issued->append();
    issued->setValue(QStringLiteral("kurz"), 25.1234567);
    ASSERT_TRUE(issued->post());
    EXPECT_EQ(storedAmount(QStringLiteral("kurz"), issued->value(QStringLiteral("id"))), 25.123457);
    issued->edit();
    issued->setNull(QStringLiteral("kurz"));
    ASSERT_TRUE(issued->post());
    EXPECT_EQ(storedAmount(QStringLiteral("kurz"), issued->value(QStringLiteral("id"))), 0);
}

TEST_P(DocumentSave, RefusedSavesLeaveTheDocumentOpen) {
    saveIssued();
    issued->edit();
    issued->setNull(QStringLiteral("cislo_dokladu"));
    EXPECT_FALSE(issued->post());
    EXPECT_EQ(lastText(), required(QStringLiteral("Číslo dokladu")));
    EXPECT_EQ(issued->state(), Dataset::State::Edit);
    issued->cancel();
    db->session->execute(QStringLiteral("DELETE FROM tbl_doklad"));
    db->session->execute(QStringLiteral("DELETE FROM tbl_rady"));

    askBeforeSaving();
    prompts.answers = {Answer::No};
    issued->append();
    EXPECT_FALSE(issued->post());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Dotaz"));
    EXPECT_EQ(issued->state(), Dataset::State::Insert);
    EXPECT_TRUE(issued->isNull(QStringLiteral("cislo_dokladu")));
    EXPECT_EQ(count(QStringLiteral("tbl_doklad")), 0);
    EXPECT_EQ(count(QStringLiteral("tbl_rady")), 0) << "no number drawn";
}

TEST_P(DocumentSave, AFailedWriteGivesItsNumberBack) {
    const QVariant first = saveIssued();
    // A second row with the id of the first cannot be written on any platform.
    issued->append();
    issued->setValue(QStringLiteral("id"), first);
    issued->setValue(QStringLiteral("poznamka2"), QStringLiteral("Zboží dle objednávky č. 5"));
    EXPECT_THROW(issued->post(), DbError);
    EXPECT_FALSE(db->session->inTransaction());
    EXPECT_EQ(issued->state(), Dataset::State::Insert) << "the document stays open";
    EXPECT_EQ(count(QStringLiteral("tbl_doklad")), 1);
    EXPECT_EQ(seriesNext(QStringLiteral("FAV-2010")), QStringLiteral("2")) << "the series was not advanced";

    issued->setNull(QStringLiteral("id"));
    ASSERT_TRUE(issued->post());
    EXPECT_EQ(text(*issued, "cislo_dokladu"), QStringLiteral("FAV-2010-00002")) << "the same number again";
    EXPECT_TRUE(prompts.shown.isEmpty()) << "no gap to warn about";
    EXPECT_EQ(text(*issued, "poznamka2"), QStringLiteral("Zboží dle objednávky č. 5"));

    // The first document of a year creates its series in the same unit.
    issued->append();
    issued->setValue(QStringLiteral("datum_zdanitelne_plneni"), day(2011, 1, 2));
    issued->setValue(QStringLiteral("id"), first);
    EXPECT_THROW(issued->post(), DbError);
    EXPECT_EQ(count(QStringLiteral("tbl_rady")), 1) << "FAV-2011 was not created";
}

TEST_P(DocumentSave, SeriesWarningsStopTheSaveWithoutDrawing) {
    saveIssued();
    saveIssued();
    // The last document was deleted: its successor asks about the gap.
    db->session->execute(QStringLiteral("DELETE FROM tbl_doklad WHERE cislo_dokladu='FAV-2010-00002'"));
    prompts.answers = {Answer::No};
    issued->append();
    EXPECT_FALSE(issued->post());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Chyba v generátoru !?"));
    EXPECT_TRUE(lastText().contains(QStringLiteral("\"FAV-2010-00002\"")));
    EXPECT_EQ(seriesNext(QStringLiteral("FAV-2010")), QStringLiteral("3"));
    EXPECT_FALSE(db->session->inTransaction());
    prompts.answers = {Answer::Yes};
    ASSERT_TRUE(issued->post());
    EXPECT_EQ(text(*issued, "cislo_dokladu"), QStringLiteral("FAV-2010-00003"));

    // A number that already exists (message 17).
    db->session->execute(QStringLiteral("UPDATE tbl_rady SET cislo=1 WHERE zkratka='FAV-2010'"));
    issued->append();
    EXPECT_FALSE(issued->post());
    EXPECT_TRUE(lastText().contains(QStringLiteral("již v databázi existuje")));
    EXPECT_EQ(issued->state(), Dataset::State::Insert);
    EXPECT_EQ(count(QStringLiteral("tbl_doklad")), 2);
}

TEST_P(DocumentSave, ASerialBeyondFiveDigitsIsRefusedBeforeAnythingIsWritten) {
    db->session->execute(QStringLiteral("INSERT INTO tbl_rady (%1zkratka, cislo) VALUES (%2?, ?)")
                             .arg(db->state.usesSequences() ? QStringLiteral("id, ") : QString(),
                                  db->state.usesSequences() ? QStringLiteral("77, ") : QString()),
                         {QStringLiteral("FAV-2010"), 100000});
    prompts.answers = {Answer::Yes}; // the missing 99999 is ignored
    issued->append();
    EXPECT_FALSE(issued->post());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Číselná řada"));
    EXPECT_TRUE(lastText().contains(QStringLiteral("\"FAV-2010\""))) << lastText().toStdString();
    EXPECT_EQ(issued->state(), Dataset::State::Insert);
    EXPECT_EQ(count(QStringLiteral("tbl_doklad")), 0);
    EXPECT_EQ(seriesNext(QStringLiteral("FAV-2010")), QStringLiteral("100000")) << "not advanced";
    EXPECT_FALSE(db->session->inTransaction());
}

TEST_P(DocumentSave, AmountsBeyondTheLimitAreNamedAndNothingIsStored) {
    const struct {
        const char* column;
        double value;
        const char* caption;
    } cases[] = {
        {"celkem_s_dph_19", 1e15, "Celkem s DPH (základní sazba)"},
        {"zbyva_uhradit", -1e11, "Zbývá uhradit"},
        {"kurz", -1, "Kurz"},
        {"doklad_dsazba19", 150, "Základní sazba DPH [%]"},
    };
    for (const auto& c : cases) {
        issued->append();
        issued->setValue(QLatin1String(c.column), c.value);
        EXPECT_FALSE(issued->post()) << c.column;
        EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Chybná hodnota"));
        EXPECT_TRUE(lastText().startsWith(QStringLiteral("Hodnota v poli \"") + QString::fromUtf8(c.caption)))
            << lastText().toStdString();
        EXPECT_EQ(issued->state(), Dataset::State::Insert);
        issued->cancel();
    }
    // A sum of amounts that each fit can still be too large.
    issued->append();
    issued->setValue(QStringLiteral("celkem_s_dph_0"), 9e10);
    issued->setValue(QStringLiteral("celkem_s_dph_19"), 9e10);
    EXPECT_FALSE(issued->post());
    EXPECT_TRUE(lastText().contains(QStringLiteral("Celkem za doklad"))) << lastText().toStdString();
    issued->cancel();
    EXPECT_EQ(count(QStringLiteral("tbl_doklad")), 0);
    EXPECT_EQ(count(QStringLiteral("tbl_rady")), 0);
}

TEST_P(DocumentSave, TextsWithApostrophesAndCzechLettersRoundTrip) {
    const QString name = QStringLiteral("Pekařství „U Čápa“ O'Neil & syn; DROP TABLE tbl_doklad; --");
    issued->append();
    issued->setValue(QStringLiteral("odb_nazev_firmy"), name);
    issued->setValue(QStringLiteral("poznamka2"), QStringLiteral("Ať žije řeřicha' \\ \" % _"));
    issued->setValue(QStringLiteral("mena"), QStringLiteral("Kč'"));
    ASSERT_TRUE(issued->post());
    const QVariant id = issued->value(QStringLiteral("id"));
    EXPECT_EQ(stored(QStringLiteral("SELECT odb_nazev_firmy FROM tbl_doklad WHERE id=?"), id).toString(),
              name);
    EXPECT_EQ(stored(QStringLiteral("SELECT poznamka2 FROM tbl_doklad WHERE id=?"), id).toString(),
              QStringLiteral("Ať žije řeřicha' \\ \" % _"));
    EXPECT_EQ(stored(QStringLiteral("SELECT dod_nazev_firmy FROM tbl_doklad WHERE id=?"), id).toString(),
              QStringLiteral("Truhlářství O'Brien"));
}

