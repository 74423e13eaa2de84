#include "exchange/isdoc_export.h"
#include "exchange/isdoc_import.h"
#include "exchange/isdoc_reader.h"
#include "exchange/isdoc_writer.h"
#include "statement_fixture.h"
#include "support/schema_check.h"

#include <QTemporaryDir>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

// An invoice of a supplier to the entrepreneur (IČ 27082440).
IsdocDocument received(const char* number = "2025-0815") {
    IsdocDocument d;
    d.number = QString::fromUtf8(number);
    d.uuid = QStringLiteral("11111111-2222-3333-4444-555555555555");
    d.issueDate = QDate(2025, 2, 3);
    d.taxPointDate = QDate(2025, 2, 1);
    d.dueDate = QDate(2025, 2, 17);
    d.supplier = IsdocParty{QStringLiteral("25596641"), QStringLiteral("CZ25596641"), QStringLiteral("Dodavatel a.s."),
                            QStringLiteral("Nová 3"), QStringLiteral("Ostrava"), QStringLiteral("70200")};
    d.customer = IsdocParty{QStringLiteral("27082440"), QString(), QStringLiteral("Jan Novák")};
    d.rates = {IsdocRateTotal{0, 50, 0, 50}, IsdocRateTotal{12, 100.01, 12, 112.01},
               IsdocRateTotal{21, 999.99, 210, 1209.99}};
    d.totalNet = 1150;
    d.totalVat = 222;
    d.totalGross = 1372;
    d.payable = 1372;
    d.accountNumber = QStringLiteral("123456789");
    d.bankCode = QStringLiteral("0100");
    d.variableSymbol = QStringLiteral("20250815");
    return d;
}

} // namespace

class IsdocDatabaseTest : public StatementTest {
  protected:
    void SetUp() override {
        StatementTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        db->session->execute(QStringLiteral("UPDATE tbl_podnikatel SET ico=?, platce_dph=?, dph5=?, dph19=? WHERE id=1"),
                             {QStringLiteral("27082440"), QStringLiteral("Ano"), 12.0, 21.0});
        // The fixture's payable sits outside the series the import draws from.
        db->session->execute(QStringLiteral("UPDATE tbl_doklad SET cislo_dokladu='FAP-2024-00099' WHERE id=4"));
    }
    QString column(const QString& number, const char* name) {
        QSqlQuery q = db->session->query(
            QStringLiteral("SELECT %1 FROM tbl_doklad WHERE cislo_dokladu=?").arg(QString::fromLatin1(name)), {number});
        return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }
};

TEST_P(IsdocDatabaseTest, ReceivedInvoiceBecomesAPayableWithItsSupplier) {
    const auto first = importReceivedIsdoc(*ctx, received());
    ASSERT_TRUE(first.ok) << first.message.toStdString();
    EXPECT_TRUE(first.partnerCreated);
    EXPECT_EQ(first.documentNumber, QStringLiteral("FAP-2025-00001"));
    const QString n = first.documentNumber;
    const struct {
        const char* column;
        double value;
    } slotsExpected[] = {{"celkem_bez_dph_0", 50},     {"celkem_s_dph_0", 50},      {"celkem_bez_dph_5", 100.01},
                         {"celkem_dph_5", 12},         {"celkem_s_dph_5", 112.01},  {"celkem_bez_dph_19", 999.99},
                         {"celkem_dph_19", 210},       {"celkem_s_dph_19", 1209.99}, {"celkem_doklad", 1150},
                         {"celkem_doklad_dph", 222},   {"celkem_doklad_s_dph", 1372}, {"zbyva_uhradit", 1372},
                         {"doklad_dsazba5", 12},       {"doklad_dsazba19", 21},     {"doklad_typ", 2}};
    for (const auto& e : slotsExpected)
        EXPECT_DOUBLE_EQ(column(n, e.column).toDouble(), e.value) << e.column;
    EXPECT_EQ(column(n, "cislo_dokladu_puvodni"), QStringLiteral("2025-0815"));
    EXPECT_EQ(column(n, "odb_ic"), QStringLiteral("25596641"));
    EXPECT_EQ(column(n, "odb_cislo_uctu"), QStringLiteral("123456789/0100"));
    EXPECT_EQ(column(n, "variabilni_symbol"), QStringLiteral("20250815"));
    EXPECT_EQ(column(n, "podklad_dph"), QStringLiteral("Ano"));
    EXPECT_EQ(column(n, "pohledavka_zavazek"), QStringLiteral("Ano"));
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_partner WHERE ic='25596641'")),
              QStringLiteral("1"));

    // The same invoice again is refused; another invoice of the supplier finds the partner.
    const auto again = importReceivedIsdoc(*ctx, received());
    EXPECT_FALSE(again.ok);
    EXPECT_TRUE(again.message.contains(QStringLiteral("už je v závazcích jako doklad FAP-2025-00001")))
        << again.message.toStdString();
    const auto other = importReceivedIsdoc(*ctx, received("2025-0816"));
    ASSERT_TRUE(other.ok) << other.message.toStdString();
    EXPECT_FALSE(other.partnerCreated);
    EXPECT_EQ(other.documentNumber, QStringLiteral("FAP-2025-00002"));
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_partner")), QStringLiteral("1"));
}

TEST_P(IsdocDatabaseTest, RefusalsWriteNothing) {
    const struct {
        const char* what;
        std::function<void(IsdocDocument&)> change;
        const char* expected;
    } cases[] = {
        {"addressed to someone else", [](IsdocDocument& d) { d.customer.ico = QStringLiteral("00006947"); },
         "ne podnikateli"},
        {"three non-zero rates",
         [](IsdocDocument& d) { d.rates.push_back(IsdocRateTotal{10, 0, 0, 0}); }, "více než dvou"},
        {"a deposit invoice", [](IsdocDocument& d) { d.documentType = 4; }, "záloha"},
        {"euro amounts", [](IsdocDocument& d) { d.currency = QStringLiteral("EUR"); }, "EUR"},
    };
    for (const auto& c : cases) {
        IsdocDocument d = received();
        c.change(d);
        const auto r = importReceivedIsdoc(*ctx, d);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.expected))) << c.what << ": " << r.message.toStdString();
    }
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_doklad WHERE doklad_typ=2")),
              QStringLiteral("1")) << "only the fixture's payable";
    EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_partner")), QStringLiteral("0"));
}

TEST_P(IsdocDatabaseTest, IssuedInvoiceExportsWithLinesDepositsAndPayment) {
    db->session->execute(
        QStringLiteral("UPDATE tbl_doklad SET datum_vystaveni=?, datum_zdanitelne_plneni=?, datum_spatnosti=?, "
                       "podklad_dph='Ano', dod_ic='27082440', dod_nazev_firmy='Jan Novák', odb_ic='25596641', "
                       "odb_nazev_firmy='Odběratel', dod_cislo_uctu='19-2000145399/0800', zpusob_uhrady=?, "
                       "celkem_bez_dph_19=1000, celkem_dph_19=210, celkem_s_dph_19=1210, doklad_dsazba19=21, "
                       "celkem_doklad=1000, celkem_doklad_dph=210, celkem_doklad_s_dph=1210 WHERE id=1"),
        {QDateTime(QDate(2025, 1, 15), QTime(0, 0)), QDateTime(QDate(2025, 1, 15), QTime(0, 0)),
         QDateTime(QDate(2025, 1, 29), QTime(0, 0)), QStringLiteral("bank. převodem")});
    auto line = [this](int id, const char* code, const char* text, double net, double vat) {
        QVariantList binds;
        if (db->state.usesSequences())
            binds << id;
        binds << 1 << (code ? QVariant(QString::fromUtf8(code)) : QVariant()) << QString::fromUtf8(text) << 1.0 << net
              << net << 21.0 << vat << net + vat;
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_polozky (%1id_tbl_doklad, kod_zbozi, popis, mnozstvi, cena_jednotka, "
                           "cena_celkem_bez_dph, dph, dph_celkem, cena_celkem_s_dph) VALUES (%2?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(db->state.usesSequences() ? QStringLiteral("id, ") : QString(),
                     db->state.usesSequences() ? QStringLiteral("?, ") : QString()),
            binds);
    };
    line(1, nullptr, "Práce", 1000, 210);
    line(2, "#ZAL1", "Záloha", -300, 0);
    QString why;
    const auto d = isdocFromDocument(*ctx, QStringLiteral("1"), &why);
    ASSERT_TRUE(d) << why.toStdString();
    EXPECT_EQ(d->documentType, 1);
    ASSERT_EQ(d->lines.size(), 1u);
    ASSERT_EQ(d->rates.size(), 1u);
    EXPECT_DOUBLE_EQ(d->rates[0].rate, 21);
    EXPECT_DOUBLE_EQ(d->paidDeposits, 300);
    EXPECT_DOUBLE_EQ(d->payable, 910);
    EXPECT_EQ(d->iban, QStringLiteral("CZ6508000000192000145399"));
    EXPECT_EQ(d->accountNumber, QStringLiteral("19-2000145399"));
    EXPECT_EQ(d->uuid, isdocFromDocument(*ctx, QStringLiteral("1"), &why)->uuid) << "a second export keeps the UUID";
    ASSERT_TRUE(readIsdoc(writeIsdoc(*d)).ok);
    if (const auto xsd = test::schemaFromEnvironment("KELVARN_ISDOC_XSD")) {
        EXPECT_EQ(test::schemaErrors(writeIsdoc(*d), *xsd), QString());
    }

    QTemporaryDir dir;
    int written = 0;
    const QStringList problems =
        exportIsdocFiles(*ctx, {QStringLiteral("1"), QStringLiteral("7"), QStringLiteral("99")}, dir.path(), &written);
    EXPECT_EQ(written, 1);
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems[0].contains(QStringLiteral("záloha"))) << problems[0].toStdString();
    EXPECT_TRUE(problems[1].contains(QStringLiteral("nebyl nalezen")));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("FAV-2025-00001.isdoc"))));

    // Slots that do not add up to the document are not exported.
    db->session->execute(QStringLiteral("UPDATE tbl_doklad SET celkem_doklad_s_dph=1211 WHERE id=1"));
    EXPECT_FALSE(isdocFromDocument(*ctx, QStringLiteral("1"), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("nesouhlasí")));
    db->session->execute(QStringLiteral("UPDATE tbl_doklad SET mena='EUR' WHERE id=1"));
    EXPECT_FALSE(isdocFromDocument(*ctx, QStringLiteral("1"), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("EUR")));
}

KELVARN_ON_ALL_PLATFORMS(IsdocDatabaseTest);
