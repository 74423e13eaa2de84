#include "document_fixture.h"

using namespace kelvarn;
using namespace kelvarn::test;

class DocumentDefaults : public DocumentTest {
  protected:
    QString text(Dataset& ds, const char* column) { return ds.asString(QLatin1String(column)); }
    QDate date(Dataset& ds, const char* column) { return ds.asDateTime(QLatin1String(column)).date(); }
};
KELVARN_ON_ALL_PLATFORMS(DocumentDefaults);

TEST_P(DocumentDefaults, EachTypeStartsWithItsDefaults) {
    const struct {
        Dataset* ds;
        int type;
        bool issueDate, dueDate, supplyDates, payment, signature, bankAccount;
        const char* vatBasis;
        const char* receivable;
    } cases[] = {
        {issued.get(), 1, true, true, true, true, true, true, "Ano", "Ano"},
        {received.get(), 2, false, false, false, false, false, false, "Ano", "Ano"},
        {receipts.get(), 3, true, false, false, false, true, false, "", ""},
        {expenses.get(), 4, true, false, false, false, true, false, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ds->name().toStdString());
        Dataset& ds = *c.ds;
        ds.append();
        EXPECT_EQ(ds.asInteger(QStringLiteral("doklad_typ")), c.type);
        EXPECT_DOUBLE_EQ(ds.asFloat(QStringLiteral("doklad_dsazba5")), 10);
        EXPECT_DOUBLE_EQ(ds.asFloat(QStringLiteral("doklad_dsazba19")), 21);
        EXPECT_EQ(text(ds, "dod_nazev_firmy"), QStringLiteral("Truhlářství O'Brien"));
        EXPECT_EQ(text(ds, "dod_ulice"), QStringLiteral("Žižkova 12"));
        EXPECT_EQ(text(ds, "dod_psc"), QStringLiteral("381 01"));
        EXPECT_EQ(text(ds, "dod_ic"), QStringLiteral("12345678"));
        EXPECT_EQ(text(ds, "dod_dic"), QStringLiteral("CZ12345678"));
        EXPECT_EQ(text(ds, "mena"), QStringLiteral("CZK"));
        EXPECT_DOUBLE_EQ(ds.asFloat(QStringLiteral("kurz")), 1);
        EXPECT_EQ(ds.asInteger(QStringLiteral("doklad_vytisknut")), 0);
        EXPECT_EQ(!text(ds, "dod_cislo_uctu").isEmpty(), c.bankAccount);
        EXPECT_EQ(!ds.isNull(QStringLiteral("datum_vystaveni")), c.issueDate);
        if (c.issueDate) {
            EXPECT_EQ(date(ds, "datum_vystaveni"), today);
        }
        EXPECT_EQ(!ds.isNull(QStringLiteral("datum_spatnosti")), c.dueDate);
        EXPECT_EQ(!ds.isNull(QStringLiteral("datum_zdanitelne_plneni")), c.supplyDates);
        EXPECT_EQ(!ds.isNull(QStringLiteral("datum_uplatneni_plneni")), c.supplyDates);
        EXPECT_EQ(!ds.isNull(QStringLiteral("zpusob_uhrady")), c.payment);
        EXPECT_EQ(!text(ds, "podpis").isEmpty(), c.signature);
        EXPECT_EQ(text(ds, "podklad_dph"), QLatin1String(c.vatBasis));
        EXPECT_EQ(text(ds, "pohledavka_zavazek"), QLatin1String(c.receivable));
        ds.cancel();
    }
    EXPECT_EQ(calls.count(QStringLiteral("detail")), 4) << "every new document shows its detail";
}

TEST_P(DocumentDefaults, ANonPayerGetsNoVatDatesNorVatBasis) {
    setEntrepreneur(QStringLiteral("platce_dph"), QStringLiteral("Ne"));
    issued->append();
    EXPECT_TRUE(issued->isNull(QStringLiteral("datum_zdanitelne_plneni")));
    EXPECT_TRUE(issued->isNull(QStringLiteral("podklad_dph")));
    issued->cancel();
    for (const char* payer : {"ANO", "ano"}) {
        setEntrepreneur(QStringLiteral("platce_dph"), QLatin1String(payer));
        issued->append();
        EXPECT_EQ(text(*issued, "podklad_dph"), QStringLiteral("Ano")) << payer;
        issued->cancel();
    }
}

TEST_P(DocumentDefaults, KindSelectorStandsInForTheNumberWhileANewDocumentIsEntered) {
    KindSelector& kinds = rules->selector(DocumentType::Issued);
    int changes = 0;
    QObject::connect(&kinds, &KindSelector::changed, [&] { ++changes; });
    EXPECT_FALSE(kinds.isVisible());
    issued->append();
    EXPECT_TRUE(kinds.isVisible());
    EXPECT_EQ(kinds.index(), 0);
    issued->cancel();
    EXPECT_FALSE(kinds.isVisible()) << "cancel brings the number box back";
    issued->append();
    ASSERT_TRUE(issued->post());
    EXPECT_FALSE(kinds.isVisible()) << "so does the save";
    EXPECT_GE(changes, 4);
    EXPECT_FALSE(rules->selector(DocumentType::Received).isVisible());
}

TEST_P(DocumentDefaults, ChoosingAKindChangesDueDatePaymentAndFlags) {
    issued->append();
    EXPECT_EQ(date(*issued, "datum_spatnosti"), QDate(2010, 2, 14)) << "31 January + 14 days";

    ASSERT_TRUE(rules->kindChosen(DocumentType::Issued, 1));
    EXPECT_EQ(rules->selector(DocumentType::Issued).index(), 1);
    EXPECT_EQ(date(*issued, "datum_spatnosti"), QDate(2010, 1, 31));
    EXPECT_EQ(text(*issued, "zpusob_uhrady"), QStringLiteral("hotově"));
    EXPECT_EQ(text(*issued, "pohledavka_zavazek"), QString());

    ASSERT_TRUE(rules->kindChosen(DocumentType::Issued, 0));
    EXPECT_EQ(date(*issued, "datum_spatnosti"), QDate(2010, 2, 14));
    EXPECT_EQ(text(*issued, "zpusob_uhrady"), QStringLiteral("bank. převodem"));
    EXPECT_EQ(text(*issued, "pohledavka_zavazek"), QStringLiteral("Ano"));

    ASSERT_TRUE(rules->kindChosen(DocumentType::Issued, 2));
    EXPECT_EQ(text(*issued, "podklad_dph"), QString()) << "a deposit is no VAT basis, even for a payer";

    // The due date follows the issue date the user typed.
    issued->setValue(QStringLiteral("datum_vystaveni"), day(2010, 3, 1));
    ASSERT_TRUE(rules->kindChosen(DocumentType::Issued, 3));
    EXPECT_EQ(date(*issued, "datum_spatnosti"), QDate(2010, 3, 15));
    EXPECT_EQ(text(*issued, "podklad_dph"), QStringLiteral("Ano"));

    setEntrepreneur(QStringLiteral("zpusob_uhrady"), QVariant(QMetaType(QMetaType::QString)));
    ASSERT_TRUE(rules->kindChosen(DocumentType::Issued, 0));
    EXPECT_EQ(text(*issued, "zpusob_uhrady"), QString()) << "no own payment method: empty";
}

TEST_P(DocumentDefaults, ReceivedKindsLeaveTheDueDate) {
    received->append();
    received->setValue(QStringLiteral("datum_spatnosti"), day(2010, 5, 5));
    ASSERT_TRUE(rules->kindChosen(DocumentType::Received, 1));
    EXPECT_EQ(text(*received, "zpusob_uhrady"), QStringLiteral("hotově"));
    EXPECT_EQ(text(*received, "pohledavka_zavazek"), QString());
    ASSERT_TRUE(rules->kindChosen(DocumentType::Received, 2));
    EXPECT_EQ(text(*received, "zpusob_uhrady"), QString());
    EXPECT_EQ(text(*received, "pohledavka_zavazek"), QStringLiteral("Ano"));
    EXPECT_EQ(text(*received, "podklad_dph"), QString());
    EXPECT_EQ(date(*received, "datum_spatnosti"), QDate(2010, 5, 5));
}

TEST_P(DocumentDefaults, AnExistingDocumentsKindCannotChange) {
    saveIssued();
    const QString number = text(*issued, "cislo_dokladu");
    const QString payment = text(*issued, "zpusob_uhrady");
    EXPECT_FALSE(rules->kindChosen(DocumentType::Issued, 1));
    issued->edit();
    EXPECT_FALSE(rules->kindChosen(DocumentType::Issued, 1)) << "edit state is no new document";
    EXPECT_EQ(text(*issued, "zpusob_uhrady"), payment);
    EXPECT_FALSE(rules->selector(DocumentType::Issued).isVisible());
    ASSERT_TRUE(issued->post());
    EXPECT_EQ(text(*issued, "cislo_dokladu"), number);
    EXPECT_FALSE(rules->kindChosen(DocumentType::Receipt, 1)) << "vouchers have no kinds";
}

TEST_P(DocumentDefaults, AnOwnValueTooLongForTheDocumentIsLeftOutAndNamed) {
    const QString street = QStringLiteral("Dlouhá ulice s velmi dlouhým názvem, č. p. 1234/56, Praha");
    ASSERT_GT(street.size(), 45);
    setEntrepreneur(QStringLiteral("ulice"), street);
    issued->append();
    EXPECT_EQ(issued->state(), Dataset::State::Insert);
    EXPECT_TRUE(issued->isNull(QStringLiteral("dod_ulice"))) << "never a cut address";
    EXPECT_EQ(text(*issued, "dod_mesto"), QStringLiteral("Český Krumlov")) << "the rest is taken";
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_TRUE(lastText().contains(QStringLiteral("Ulice (pole pojme nejvýše 45 znaků)")))
        << lastText().toStdString();
}
