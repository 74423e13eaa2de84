#include "report_forms_fixture.h"

#include "core/money.h"
#include "output/spayd.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace kelvarn {
namespace {

using test::ReportFormsTest;
using test::SampleDocument;
using test::SampleLine;
using test::kAwkwardText;
using test::writeSampleDocument;

// The sample document each form of a family is tried with.
int documentFor(const QString& report) {
    if (report.startsWith(QLatin1String("M3_"))) {
        if (report.contains(QLatin1String("Prodejka")))
            return 1003;
        if (report.contains(QLatin1String("Zalohova")))
            return 1004;
        if (report.endsWith(QLatin1String("_Doklad")))
            return 1005;
        return report.contains(QLatin1String("_hotovostni")) ? 1002 : 1001;
    }
    if (report.startsWith(QLatin1String("M4_")))
        return report.contains(QLatin1String("zalohy")) ? 1007 : 1006;
    if (report.startsWith(QLatin1String("M5_")))
        return 1008;
    if (report.startsWith(QLatin1String("M6_")))
        return 1009;
    return 1001;
}

TEST_F(ReportFormsTest, EveryReportOfTheProjectRendersForTheSampleData) {
    const QStringList names = engine.reportNames();
    ASSERT_GE(names.size(), 25) << names.join(u',').toStdString();
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        showDocument(documentFor(name));
        if (name == QLatin1String("Mx_Seznam_dokladu")) {
            connection(1).close();
            connection(1).setSql(
                QStringLiteral("SELECT * FROM tbl_doklad WHERE doklad_typ=1 ORDER BY cislo_dokladu"));
            connection(1).open();
        }
        const RenderedReport* report = nullptr;
        ASSERT_NO_THROW(report = run(name));
        ASSERT_TRUE(report);
        EXPECT_FALSE(report->html.contains(QLatin1String("{{"))) << "a tag left unrendered";
        int pages = 0;
        ASSERT_NO_THROW(writePdf(*report, &pages));
        EXPECT_GE(pages, 1);
        const QString text = ReportPainter(*report).plainText();
        EXPECT_GT(text.trimmed().size(), 40) << text.toStdString();
    }
}


// The text as pdftotext gives it, grouping blanks plain.
QString plain(QString text) {
    // The layout may join "fi" and "fl" into one glyph; pdftotext gives it back as the ligature.
    return text.replace(QChar(0x00A0), QLatin1Char(' '))
        .replace(QChar(0xFB01), QStringLiteral("fi"))
        .replace(QChar(0xFB02), QStringLiteral("fl"));
}

TEST_F(ReportFormsTest, PayersNonCashInvoiceCarriesWhatATaxDocumentNeedsAndAPaymentCode) {
    if (!haveTool("pdftotext") || !haveTool("pdftoppm") || !haveTool("zbarimg"))
        GTEST_SKIP() << "poppler-utils and zbar-tools (scripts/install-deps)";
    showDocument(1001);
    const RenderedReport* report = run(QStringLiteral("M3_platce_DPH_Faktura_vydana_bezhotovostni"));
    ASSERT_TRUE(report);
    const QString pdf = writePdf(*report);
    const QString text = plain(pdfText(pdf));
    const char* required[] = {
        "FAKTURA – DAŇOVÝ DOKLAD", "FAV-2026-00001",
        // both parties with their numbers
        "Jiří Dvořák", "27384519", "Stavebniny Řehoř s.r.o.", "Nádražní 15", "586 01 Jihlava", "45198306",
        "CZ45198306",
        // dates, payment, account, symbol
        "2.3.2026", "16.3.2026", "Datum uskutečnění zdanitelného", "Datum splatnosti",
        "bank. převodem", "IBAN", "Variabilní symbol", "0202600001",
        // lines, recapitulation, deposits, total, issuer
        "Stůl jídelní dubový 160x90", "Židle buková čalouněná", "Montáž nábytku", "Doprava Třebíč – Jihlava",
        "12 500,00", "Rekapitulace DPH", "21 %", "12 %", "Odpočet zálohy ZLV-2026-00001", "-5 000,00", "Celkem k úhradě",
        "23 074,24 Kč", "Doklad vystavil"};
    for (const char* item : required)
        EXPECT_TRUE(text.contains(QString::fromUtf8(item))) << item << "\n" << text.toStdString();

    // The QR code reads back as the payment it was made from.
    const QString png = temp.filePath(QStringLiteral("invoice"));
    tool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                                      QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                      QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, png});
    const QString decoded = tool(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"),
                                                            QStringLiteral("-Sbinary"), png + ".png"});
    QSqlQuery q(db->session->database());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT zbyva_uhradit FROM tbl_doklad WHERE id=1001")) && q.next());
    const QString amount = QString::number(roundPlaces(q.value(0).toDouble(), 2), 'f', 2);
    EXPECT_EQ(decoded.trimmed(), QStringLiteral("SPD*1.0*ACC:CZ7301000000000000273850*AM:") + amount +
                                     QStringLiteral("*CC:CZK*X-VS:0202600001*MSG:Faktura FAV-2026-00001"
                                                    "*DT:20260316*RN:Jiri Dvorak - truhlarstvi"));
}

TEST_F(ReportFormsTest, CashAndNonPayersDocumentsPrintNoPaymentCode) {
    for (const auto& [report, id] : std::vector<std::pair<QString, int>>{
             {QStringLiteral("M3_platce_DPH_Faktura_vydana_hotovostni"), 1002},
             {QStringLiteral("M3_platce_DPH_Prodejka_za_hotove"), 1003}}) {
        showDocument(id);
        const RenderedReport* r = run(report);
        ASSERT_TRUE(r);
        EXPECT_FALSE(r->html.contains(QLatin1String("qr-platba"))) << report.toStdString();
    }
    // Without an IBAN the Czech account number gives it; without both the invoice prints
    // without the code, and without its label.
    for (const auto& [clear, hasCode] : std::vector<std::pair<const char*, bool>>{
             {"dod_cislo_uctu_IBAN=NULL, dod_cislo_uctu='273850/0100'", true}, {"dod_cislo_uctu=NULL", false}}) {
        db->session->execute(QStringLiteral("UPDATE tbl_doklad SET %1 WHERE id=1001").arg(QLatin1String(clear)));
        showDocument(1001);
        const RenderedReport* r = run(QStringLiteral("M3_platce_DPH_Faktura_vydana_bezhotovostni"));
        ASSERT_TRUE(r);
        EXPECT_EQ(r->html.contains(QLatin1String("qr-platba")), hasCode) << clear;
        EXPECT_EQ(ReportPainter(*r).plainText().contains(QStringLiteral("QR Platba")), hasCode) << clear;
    }
}

TEST_F(ReportFormsTest, ALongListRepeatsItsHeaderOnEveryPageAndSumsAtTheEnd) {
    if (!haveTool("pdftotext"))
        GTEST_SKIP() << "poppler-utils (scripts/install-deps)";
    DatabaseSession& s = *db->session;
    s.beginTransaction();
    double income = 0, expense = 0;
    for (int i = 0; i < 1200; ++i) {
        const double in = (i % 3 == 0) ? roundPlaces(100.25 + i, 2) : 0;
        const double out = (i % 3 == 1) ? roundPlaces(45.10 + i / 10.0, 2) : 0;
        income += in;
        expense += out;
        s.execute(QStringLiteral("INSERT INTO tbl_hlavnikniha (id, datum, doklad, popis, prijem_danovy, "
                                 "prijem_nedanovy, vydaj_danovy, vydaj_nedanovy) VALUES "
                                 "(%1, #2026/04/01#, 'PPD-%1', 'Řádek %1 <&>', %2, 0, %3, 0)")
                      .arg(5000 + i)
                      .arg(in, 0, 'f', 2)
                      .arg(out, 0, 'f', 2));
    }
    s.commit();
    QSqlQuery q(s.database());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT SUM(prijem_danovy), SUM(vydaj_danovy), COUNT(*) FROM tbl_hlavnikniha")) &&
                q.next());
    const QString incomeSum = formatGrouped(roundPlaces(q.value(0).toDouble(), 2), 2);
    const QString expenseSum = formatGrouped(roundPlaces(q.value(1).toDouble(), 2), 2);
    const int rows = q.value(2).toInt();
    connection(6).close();
    connection(6).open();

    const RenderedReport* report = run(QStringLiteral("M1_Prijmy_a_Vydaje"));
    ASSERT_TRUE(report);
    int pages = 0;
    const QString pdf = writePdf(*report, &pages);
    ASSERT_GE(pages, 20);
    for (int page = 1; page <= pages; ++page) {
        const QString text = plain(pdfText(pdf, page, page));
        SCOPED_TRACE(page);
        EXPECT_TRUE(text.contains(QStringLiteral("Popis operace"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Spárovaný doklad")));
        EXPECT_TRUE(text.contains(QStringLiteral("Strana %1 z %2").arg(page).arg(pages)));
        EXPECT_EQ(text.contains(QStringLiteral("Celkem za")), page == pages);
    }
    const QString last = plain(pdfText(pdf, pages, pages));
    EXPECT_TRUE(last.contains(QStringLiteral("Celkem za %1 záznamů").arg(rows))) << last.toStdString();
    EXPECT_TRUE(last.contains(incomeSum)) << incomeSum.toStdString() << "\n" << last.toStdString();
    EXPECT_TRUE(last.contains(expenseSum)) << expenseSum.toStdString();
    const QString first = plain(pdfText(pdf, 1, 1));
    EXPECT_TRUE(first.contains(QStringLiteral("Nebyl aplikován žádný filtr.")));
    EXPECT_TRUE(first.contains(QStringLiteral("Řádek 5000 <&>")));
}

TEST_F(ReportFormsTest, AwkwardTextsEmptyFieldsLongInvoicesAndAMissingLogo) {
    // Every printed text of a document with markup characters, quotes and Czech letters.
    SampleDocument awkward = samples.front();
    awkward.id = 1100;
    awkward.number = QStringLiteral("FAV-2026-00100");
    awkward.variableSymbol = QStringLiteral("0202600100");
    for (QString* field : {&awkward.partner, &awkward.partnerAddition, &awkward.partnerStreet,
                           &awkward.partnerTown, &awkward.text, &awkward.note})
        *field = kAwkwardText;
    awkward.deliveryName = kAwkwardText;
    for (SampleLine& line : awkward.lines)
        line.description = kAwkwardText;
    writeSampleDocument(*db->session, awkward);
    showDocument(1100);
    for (const QString& name : {QStringLiteral("M3_platce_DPH_Faktura_vydana_dodaci_adresa_bezhotovostni"),
                               QStringLiteral("M3_neplatce_DPH_Faktura_vydana_bezhotovostni"),
                               QStringLiteral("Mx_Doklad")}) {
        SCOPED_TRACE(name.toStdString());
        const RenderedReport* r = run(name);
        ASSERT_TRUE(r);
        EXPECT_FALSE(r->html.contains(QLatin1String("<b>Š"))) << "a value became markup";
        const QString text = ReportPainter(*r).plainText();
        EXPECT_GE(text.count(kAwkwardText), 6) << text.toStdString();
    }

    // Empty optional fields leave no label behind.
    SampleDocument bare;
    bare.id = 1101;
    bare.number = QStringLiteral("FAV-2026-00101");
    bare.partner = QStringLiteral("Jan Novák");
    bare.partnerAddition.clear();
    bare.partnerStreet.clear();
    bare.partnerTown.clear();
    bare.partnerPostcode.clear();
    bare.partnerIco.clear();
    bare.partnerDic.clear();
    bare.lines = {{QString(), QStringLiteral("Oprava židle"), 1, QString(), 500, 21}};
    writeSampleDocument(*db->session, bare);
    db->session->execute(QStringLiteral("UPDATE tbl_doklad SET odb_ic=NULL, odb_dic=NULL, odb_ulice=NULL, "
                                        "odb_mesto=NULL, odb_psc=NULL, variabilni_symbol=NULL WHERE id=1101"));
    showDocument(1101);
    const RenderedReport* r = run(QStringLiteral("M3_platce_DPH_Faktura_vydana_bezhotovostni"));
    ASSERT_TRUE(r);
    const QString bareText = ReportPainter(*r).plainText();
    const QString partnerBlock = bareText.mid(bareText.indexOf(QStringLiteral("Jan Novák")), 80);
    EXPECT_FALSE(partnerBlock.contains(QStringLiteral("IČ:"))) << partnerBlock.toStdString();
    EXPECT_FALSE(bareText.contains(QStringLiteral("Variabilní symbol"))) << bareText.toStdString();

    // Two hundred lines run over several pages, the recapitulation after the last line.
    SampleDocument longInvoice = samples.front();
    longInvoice.id = 1102;
    longInvoice.number = QStringLiteral("FAV-2026-00102");
    longInvoice.deposits.clear();
    longInvoice.lines.clear();
    for (int i = 1; i <= 200; ++i)
        longInvoice.lines.push_back({QStringLiteral("K%1").arg(i), QStringLiteral("Položka číslo %1").arg(i), 1,
                                     QStringLiteral("ks"), 10.0 * i, i % 2 ? 21.0 : 12.0});
    writeSampleDocument(*db->session, longInvoice);
    showDocument(1102);
    r = run(QStringLiteral("M3_platce_DPH_Faktura_vydana_bezhotovostni"));
    ASSERT_TRUE(r);
    int pages = 0;
    const QString pdf = writePdf(*r, &pages);
    EXPECT_GE(pages, 3);
    const QString all = ReportPainter(*r).plainText();
    EXPECT_LT(all.indexOf(QStringLiteral("Položka číslo 200")), all.indexOf(QStringLiteral("Rekapitulace DPH")));
    if (haveTool("pdftotext")) {
        const QString middle = plain(pdfText(pdf, 2, 2));
        EXPECT_TRUE(middle.contains(QStringLiteral("Označení dodávky"))) << "the item header on every page";
        const QString last = plain(pdfText(pdf, pages - 1, pages));
        EXPECT_TRUE(last.contains(QStringLiteral("Celkem k úhradě"))) << pages << last.toStdString();
        EXPECT_TRUE(last.contains(QStringLiteral("Strana %1 z %1").arg(pages)));
        // The deposit block holds no item lines, and the issuer's line stays with the totals.
        EXPECT_EQ(all.count(QStringLiteral("Položka číslo 200")), 1);
        const QString lastPage = plain(pdfText(pdf, pages, pages));
        EXPECT_TRUE(lastPage.contains(QStringLiteral("Celkem k úhradě"))) << lastPage.toStdString();
        EXPECT_TRUE(lastPage.contains(QStringLiteral("Doklad vystavil")));
    }

    // A logo file that is gone: the form prints without it.
    engine.setParameter(QStringLiteral("p_logo01"), temp.filePath(QStringLiteral("chybi.bmp")));
    showDocument(1001);
    r = run(QStringLiteral("M3_platce_DPH_Faktura_vydana_bezhotovostni"));
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->html.contains(QLatin1String("chybi.bmp")));
    EXPECT_NO_THROW(writePdf(*r));
}

} // namespace
} // namespace kelvarn
