#include "../db/platform_fixture.h"
#include "exchange/filing_identity.h"
#include "exchange/vat_filing.h"
#include "exchange/vat_forms.h"
#include "support/schema_check.h"

#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

// The elements of a form with their attributes, in order.
QList<QPair<QString, QXmlStreamAttributes>> elements(const QByteArray& xml) {
    QList<QPair<QString, QXmlStreamAttributes>> out;
    QXmlStreamReader r(xml);
    while (!r.atEnd())
        if (r.readNext() == QXmlStreamReader::StartElement)
            out.append({r.name().toString(), r.attributes()});
    EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
    return out;
}

QStringList rowsOf(const QByteArray& xml, const QString& element, const QStringList& attributes) {
    QStringList rows;
    for (const auto& [name, attrs] : elements(xml)) {
        if (name != element)
            continue;
        QStringList values;
        for (const QString& a : attributes)
            values << attrs.value(a).toString();
        rows << values.join(u'|');
    }
    return rows;
}

FilingIdentity identity() {
    FilingIdentity who;
    who.dic = QStringLiteral("27082440");
    who.taxOffice = QStringLiteral("451");
    who.workplace = QStringLiteral("2001");
    who.activityCode = QStringLiteral("620000");
    who.firstName = QStringLiteral("Jan");
    who.lastName = QStringLiteral("Novák");
    return who;
}

} // namespace

class VatFormsTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        db->session->execute(QStringLiteral("UPDATE tbl_podnikatel SET dph5=12, dph19=21, dic='CZ27082440' WHERE id=1"));
    }
    // A document of the VAT lists: number, type, claim date, partner DIČ, basic and
    // reduced slot (base, tax), the reduced slot's rate.
    void document(const char* number, int type, QDate claimed, const char* dic, double base21, double tax21,
                  double base12 = 0, double tax12 = 0, double rate5 = 12, const char* original = nullptr,
                  const char* vatBasis = "Ano", double zero = 0) {
        const double gross = base21 + tax21 + base12 + tax12 + zero;
        QVariantList binds;
        if (db->state.usesSequences())
            binds << ++id_;
        binds << QString::fromUtf8(number) << type << QString::fromUtf8(vatBasis) << QDateTime(claimed, QTime(0, 0))
              << QDateTime(claimed, QTime(0, 0)) << (dic ? QVariant(QString::fromUtf8(dic)) : QVariant())
              << (original ? QVariant(QString::fromUtf8(original)) : QVariant()) << base21 << tax21 << base12 << tax12
              << rate5 << 21.0 << gross << zero;
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_doklad (%1cislo_dokladu, doklad_typ, podklad_dph, datum_uplatneni_plneni, "
                           "datum_zdanitelne_plneni, odb_dic, cislo_dokladu_puvodni, celkem_bez_dph_19, celkem_dph_19, "
                           "celkem_bez_dph_5, celkem_dph_5, doklad_dsazba5, doklad_dsazba19, celkem_doklad_s_dph, "
                           "celkem_bez_dph_0) VALUES (%2?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(db->state.usesSequences() ? QStringLiteral("id, ") : QString(),
                     db->state.usesSequences() ? QStringLiteral("?, ") : QString()),
            binds);
    }
    int id_ = 0;
    const VatPeriod january{2025, 1, 0};
};

TEST_P(VatFormsTest, ControlStatementListsLargeDocumentsAloneAndSumsTheRest) {
    const QDate jan(2025, 1, 20);
    document("FAV-2025-00001", 1, jan, "CZ25596641", 10000, 2100);            // A.4
    document("FAV-2025-00002", 1, jan, nullptr, 100, 21, 50.5, 6.06);          // A.5, no DIČ but small
    document("FAV-2025-00003", 1, jan, "CZ25596641", 8264.46, 1735.54);       // 10,000.00 exactly: A.5
    document("FAP-2025-00001", 2, jan, "CZ 00006947", 20000, 4200, 0, 0, 12, "D-77"); // B.2
    document("NH-2025-00001", 2, jan, nullptr, 500, 105);                      // B.3
    document("ZLP-2025-00001", 2, jan, nullptr, 1000, 210);                    // a deposit received: output, A.5
    document("FAV-2025-00009", 1, QDate(2025, 2, 1), "CZ25596641", 50000, 10500); // another month
    document("FAV-2025-00010", 1, jan, "CZ25596641", 50000, 10500, 0, 0, 12, nullptr, ""); // not a VAT record
    document("FAV-2025-00011", 1, jan, nullptr, 0, 0, 1000, 100, 10);          // second reduced rate: A.5 col. 3

    const VatFilingData data = collectVatFilingData(*ctx, january);
    EXPECT_FALSE(data.blocked());
    ASSERT_EQ(data.documents.size(), 7u);
    const QByteArray kh = writeControlStatement(data, january, identity(), QDate(2025, 2, 20));
    // KELVARN_EPO_XSD_DIR: the folder of the tax portal's schemas, to check the forms by.
    if (const auto xsd = schemaFromEnvironment("KELVARN_EPO_XSD_DIR", QStringLiteral("dphkh1_epo2.xsd"))) {
        EXPECT_EQ(schemaErrors(kh, *xsd), QString());
    }
    EXPECT_EQ(rowsOf(kh, QStringLiteral("VetaD"), {QStringLiteral("dokument"), QStringLiteral("rok"),
                                                   QStringLiteral("mesic"), QStringLiteral("d_poddp")}),
              QStringList{QStringLiteral("KH1|2025|1|20.02.2025")});
    EXPECT_EQ(rowsOf(kh, QStringLiteral("VetaP"), {QStringLiteral("dic"), QStringLiteral("c_ufo"),
                                                   QStringLiteral("c_pracufo"), QStringLiteral("prijmeni")}),
              QStringList{QStringLiteral("27082440|451|2001|Novák")});
    EXPECT_EQ(rowsOf(kh, QStringLiteral("VetaA4"),
                     {QStringLiteral("c_radku"), QStringLiteral("dic_odb"), QStringLiteral("c_evid_dd"),
                      QStringLiteral("dppd"), QStringLiteral("zakl_dane1"), QStringLiteral("dan1")}),
              QStringList{QStringLiteral("1|25596641|FAV-2025-00001|20.01.2025|10000.00|2100.00")});
    EXPECT_EQ(rowsOf(kh, QStringLiteral("VetaA5"),
                     {QStringLiteral("zakl_dane1"), QStringLiteral("dan1"), QStringLiteral("zakl_dane2"),
                      QStringLiteral("dan2"), QStringLiteral("zakl_dane3"), QStringLiteral("dan3")}),
              QStringList{QStringLiteral("9364.46|1966.54|50.50|6.06|1000.00|100.00")});
    EXPECT_EQ(rowsOf(kh, QStringLiteral("VetaB2"),
                     {QStringLiteral("dic_dod"), QStringLiteral("c_evid_dd"), QStringLiteral("zakl_dane1"),
                      QStringLiteral("dan1")}),
              QStringList{QStringLiteral("00006947|D-77|20000.00|4200.00")});
    EXPECT_EQ(rowsOf(kh, QStringLiteral("VetaB3"), {QStringLiteral("zakl_dane1"), QStringLiteral("dan1")}),
              QStringList{QStringLiteral("500.00|105.00")});
    EXPECT_EQ(rowsOf(kh, QStringLiteral("VetaC"), {QStringLiteral("obrat23"), QStringLiteral("obrat5"),
                                                   QStringLiteral("pln23"), QStringLiteral("pln5")}),
              QStringList{QStringLiteral("19364.46|1050.50|20500.00|0.00")});
}

TEST_P(VatFormsTest, ReturnInWholeCrownsWithTaxDueOrExcessDeduction) {
    const QDate q(2025, 5, 10);
    document("FAV-2025-00001", 1, q, "CZ25596641", 1000.50, 210.11, 100.49, 12.06);
    document("FAP-2025-00001", 2, q, "CZ00006947", 400.40, 84.08, 0, 0, 12, "X1");
    const VatPeriod quarter{2025, 0, 2};
    const VatFilingData data = collectVatFilingData(*ctx, quarter);
    const VatReturnFigures f = vatReturnFigures(data);
    EXPECT_EQ(f.outputBase[0], 1001);
    EXPECT_EQ(f.outputTax[0], 210);
    EXPECT_EQ(f.outputBase[1], 100);
    EXPECT_EQ(f.outputTax[1], 12);
    EXPECT_EQ(f.inputBase[0], 400);
    EXPECT_EQ(f.inputTax[0], 84);
    EXPECT_EQ(f.taxDue(), 138);
    EXPECT_EQ(f.excessDeduction(), 0);
    const QByteArray dp = writeVatReturn(data, quarter, identity(), QDate(2025, 7, 25));
    if (const auto xsd = schemaFromEnvironment("KELVARN_EPO_XSD_DIR", QStringLiteral("dphdp3_epo2.xsd"))) {
        EXPECT_EQ(schemaErrors(dp, *xsd), QString());
    }
    EXPECT_EQ(rowsOf(dp, QStringLiteral("VetaD"), {QStringLiteral("dokument"), QStringLiteral("ctvrt"),
                                                   QStringLiteral("c_okec"), QStringLiteral("typ_platce")}),
              QStringList{QStringLiteral("DP3|2|620000|P")});
    EXPECT_EQ(rowsOf(dp, QStringLiteral("Veta1"), {QStringLiteral("obrat23"), QStringLiteral("dan23"),
                                                   QStringLiteral("obrat5"), QStringLiteral("dan5")}),
              QStringList{QStringLiteral("1001|210|100|12")});
    EXPECT_EQ(rowsOf(dp, QStringLiteral("Veta4"), {QStringLiteral("pln23"), QStringLiteral("odp_tuz23_nar"),
                                                   QStringLiteral("odp_sum_nar")}),
              QStringList{QStringLiteral("400|84|84")});
    EXPECT_EQ(rowsOf(dp, QStringLiteral("Veta6"), {QStringLiteral("dan_zocelk"), QStringLiteral("odp_zocelk"),
                                                   QStringLiteral("dano_da"), QStringLiteral("dano_no")}),
              QStringList{QStringLiteral("222|84|138|")});

    document("FAP-2025-00002", 2, q, "CZ00006947", 5000, 1050, 0, 0, 12, "X2");
    const VatReturnFigures excess = vatReturnFigures(collectVatFilingData(*ctx, quarter));
    EXPECT_EQ(excess.taxDue(), 0);
    EXPECT_EQ(excess.excessDeduction(), 1134 - 222);
}

TEST_P(VatFormsTest, DocumentsTheFormsCannotTakeAreListed) {
    const QDate jan(2025, 1, 5);
    document("FAV-2025-00001", 1, jan, "CZ25596641", 0, 0, 100, 9, 9);             // 9 %: no such rate
    document("FAV-2025-00002", 1, jan, nullptr, 20000, 4200);                       // over the threshold, no DIČ
    document("FAV-2025-00003", 1, jan, "SK2020123456", 20000, 4200);                // a foreign partner
    document("FAP-2025-00001", 2, jan, "CZ00006947", 20000, 4200);                  // the supplier's number missing
    document("FAV-2025-00004", 1, jan, nullptr, 0, 0, 0, 0, 12, nullptr, "Ano", 500); // zero rate: left out only
    const VatFilingData data = collectVatFilingData(*ctx, january);
    EXPECT_TRUE(data.blocked());
    QStringList listed;
    for (const VatIssue& i : data.issues)
        listed << i.number + u':' + (i.blocking ? u'!' : u'-') + i.text;
    ASSERT_EQ(listed.size(), 5) << listed.join(u'\n').toStdString();
    // In the order of the lists: by claim date, then number.
    EXPECT_TRUE(listed[0].startsWith(QStringLiteral("FAP-2025-00001:!přijatý doklad nad 10 000 Kč nemá původní")));
    EXPECT_TRUE(listed[1].startsWith(QStringLiteral("FAV-2025-00001:!sazba 9 %"))) << listed[1].toStdString();
    EXPECT_TRUE(listed[2].startsWith(QStringLiteral("FAV-2025-00002:!doklad nad 10 000 Kč nemá DIČ")));
    EXPECT_TRUE(listed[3].startsWith(QStringLiteral("FAV-2025-00003:!DIČ partnera není české")));
    EXPECT_TRUE(listed[4].startsWith(QStringLiteral("FAV-2025-00004:-částka 500.00")));
}

TEST(VatFiling, RatesDicsAndPeriods) {
    EXPECT_EQ(classifyRate(21), VatRateClass::Basic);
    EXPECT_EQ(classifyRate(19), VatRateClass::Basic);
    EXPECT_EQ(classifyRate(12), VatRateClass::FirstReduced);
    EXPECT_EQ(classifyRate(15), VatRateClass::FirstReduced);
    EXPECT_EQ(classifyRate(10), VatRateClass::SecondReduced);
    EXPECT_EQ(classifyRate(9), VatRateClass::Unknown);
    EXPECT_EQ(classifyRate(0), VatRateClass::Unknown);
    bool foreign = false;
    EXPECT_EQ(czechDicDigits(QStringLiteral("CZ 27082440"), &foreign), QStringLiteral("27082440"));
    EXPECT_EQ(czechDicDigits(QStringLiteral("7001011234")), QStringLiteral("7001011234"));
    EXPECT_EQ(czechDicDigits(QStringLiteral("SK2020123456"), &foreign), QString());
    EXPECT_TRUE(foreign);
    EXPECT_EQ(czechDicDigits(QStringLiteral("CZ12")), QString());
    EXPECT_EQ((VatPeriod{2025, 0, 4}).first(), QDate(2025, 10, 1));
    EXPECT_EQ((VatPeriod{2025, 0, 4}).last(), QDate(2025, 12, 31));
    EXPECT_EQ((VatPeriod{2024, 2, 0}).last(), QDate(2024, 2, 29));
    EXPECT_FALSE((VatPeriod{2025, 1, 1}).valid());
    EXPECT_FALSE((VatPeriod{2025, 13, 0}).valid());
}

TEST_P(VatFormsTest, ExtraIdentityIsRememberedBesideTheConfiguration) {
    QTemporaryDir dir;
    const QString file = filingIdentityFile(dir.path() + u'/');
    db->session->execute(QStringLiteral("UPDATE tbl_podnikatel SET nazev='Jan Novák', ulice='Dlouhá 5' WHERE id=1"));
    FilingIdentity who = loadFilingIdentity(*ctx, file);
    EXPECT_EQ(who.dic, QStringLiteral("27082440"));
    EXPECT_EQ(who.lastName, QStringLiteral("Novák"));
    EXPECT_EQ(who.missing(true).size(), 3) << who.missing(true).join(u',').toStdString();
    who.taxOffice = QStringLiteral("451");
    who.workplace = QStringLiteral("2001");
    who.activityCode = QStringLiteral("620000");
    who.lastName = QStringLiteral("Nováková");
    ASSERT_TRUE(saveFilingIdentity(who, file));
    const FilingIdentity again = loadFilingIdentity(*ctx, file);
    EXPECT_TRUE(again.missing(true).isEmpty());
    EXPECT_EQ(again.lastName, QStringLiteral("Nováková"));
    EXPECT_EQ(again.street, QStringLiteral("Dlouhá 5"));
}

KELVARN_ON_ALL_PLATFORMS(VatFormsTest);

TEST(VatFormsFiler, AddressAndContactsFitTheFormsFields) {
    const struct {
        const char* street;
        const char* phone;
        const char* expected; // ulice|c_pop|c_orient|c_telef
    } cases[] = {
        {"Dlouhá 1234/5a", "+420 777 123 456", "Dlouhá|1234|5a|+420777123456"},
        {"Nám. Míru 7", "777123456", "Nám. Míru|7||777123456"},
        {"Lhota 15 / 2", "", "Lhota|15|2|"},
        {"Dlouhá", "+420 777 123 456 linka 22", "Dlouhá|||"}, // a number too long stays out
        {"Příčná 1234567", "", "Příčná 1234567|||"},         // no house number has 7 digits
    };
    for (const auto& c : cases) {
        FilingIdentity who = identity();
        who.street = QString::fromUtf8(c.street);
        who.phone = QString::fromUtf8(c.phone);
        who.city = QString(60, u'x');
        const QByteArray kh = writeControlStatement(VatFilingData{}, VatPeriod{2025, 1, 0}, who, QDate(2025, 2, 20));
        EXPECT_EQ(rowsOf(kh, QStringLiteral("VetaP"), {QStringLiteral("ulice"), QStringLiteral("c_pop"),
                                                       QStringLiteral("c_orient"), QStringLiteral("c_telef")}),
                  QStringList{QString::fromUtf8(c.expected)})
            << c.street;
        EXPECT_EQ(rowsOf(kh, QStringLiteral("VetaP"), {QStringLiteral("naz_obce")}), QStringList{QString(48, u'x')});
    }
    FilingIdentity who = identity();
    who.taxOffice = QStringLiteral("45a");
    who.workplace = QStringLiteral("200 1");
    who.activityCode = QStringLiteral("62.01");
    EXPECT_EQ(who.missing(false).size(), 2) << who.missing(false).join(u',').toStdString();
    EXPECT_EQ(who.missing(true).size(), 3) << who.missing(true).join(u',').toStdString();
}
