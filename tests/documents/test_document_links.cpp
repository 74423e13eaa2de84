#include "document_fixture.h"

#include "documents/document_links.h"
#include "documents/goods_lines.h"

using namespace kelvarn;
using namespace kelvarn::test;

class DocumentLinks : public DocumentTest {
  protected:
    // One partner with every column the documents take, and its list.
    std::unique_ptr<Dataset> partnerList(const QString& telephone, const QString& email, QVariant term) {
        db->session->execute(
            QStringLiteral(
                "INSERT INTO tbl_partner (id, nazev_firmy, nazev_upresneni, ulice, mesto, psc, ic, dic, "
                "cislo_uctu, cislo_uctu_IBAN, kontakt, dodani_nazev, dodani_nazev2, dodani_ulice, "
                "dodani_mesto, dodani_psc, splatnost_fa, email, telefon) "
                "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {++rowId, QStringLiteral("Pekárna U Křížů"), QStringLiteral("s.r.o."), QStringLiteral("Dlouhá 5"),
             QStringLiteral("Tábor"), QStringLiteral("390 01"), QStringLiteral("87654321"),
             QStringLiteral("CZ87654321"), QStringLiteral("1234/0100"), QStringLiteral("CZ6501000000001234"),
             QStringLiteral("Jana O'Hara"), QStringLiteral("Sklad"), QStringLiteral("Rampa 2"),
             QStringLiteral("Skladová 1"), QStringLiteral("Sezimovo Ústí"), QStringLiteral("391 01"), term,
             email, telephone});
        auto list = table(QStringLiteral("tbl_partner"), QStringLiteral("ADOFormPartneri"));
        list->open();
        list->last();
        return list;
    }
    QString text(Dataset& ds, const char* column) { return ds.asString(QLatin1String(column)); }
    int rowId = 100; // ids given by hand: a plain INSERT gets none on Firebird
};
KELVARN_ON_ALL_PLATFORMS(DocumentLinks);

TEST(PartnerContact, TelephoneThenEmail) {
    const struct {
        const char* telephone;
        const char* email;
        const char* contact;
    } cases[] = {{"777 123 456", "jana@example.cz", "777 123 456, jana@example.cz"},
                 {"", "jana@example.cz", "jana@example.cz"},
                 {"777 123 456", "", "777 123 456"},
                 {"", "", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(partnerContact(QLatin1String(c.telephone), QLatin1String(c.email)),
                  QLatin1String(c.contact))
            << c.telephone << " / " << c.email;
}

// Each type takes the common columns; issued documents the delivery address and the
// partner's due date, received ones the bank account, vouchers nothing more.
TEST_P(DocumentLinks, PartnerColumnsByDocumentType) {
    auto partners = partnerList(QStringLiteral("777 123 456"), QStringLiteral("jana@example.cz"), 14);
    const struct {
        Dataset* document;
        DocumentType type;
        bool delivery;
        bool account;
        bool dueFromPartner;
    } cases[] = {{issued.get(), DocumentType::Issued, true, false, true},
                 {received.get(), DocumentType::Received, false, true, false},
                 {receipts.get(), DocumentType::Receipt, false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document->name().toStdString());
        Dataset& doc = *c.document;
        doc.append();
        doc.setValue(QStringLiteral("datum_vystaveni"), day(2010, 3, 1));
        doc.setValue(QStringLiteral("datum_spatnosti"), day(2010, 3, 5));
        EXPECT_TRUE(copyPartnerIntoDocument(doc, c.type, *partners, prompts));
        EXPECT_EQ(text(doc, "id_tbl_partner"), text(*partners, "id"));
        EXPECT_EQ(text(doc, "odb_nazev_firmy"), QStringLiteral("Pekárna U Křížů"));
        EXPECT_EQ(text(doc, "odb_dic"), QStringLiteral("CZ87654321"));
        EXPECT_EQ(text(doc, "odb_kontakt"), QStringLiteral("777 123 456, jana@example.cz"));
        EXPECT_EQ(text(doc, "odb_dodani_mesto"), c.delivery ? QStringLiteral("Sezimovo Ústí") : QString());
        EXPECT_EQ(text(doc, "odb_dodani_kontakt"), c.delivery ? QStringLiteral("Jana O'Hara") : QString());
        EXPECT_EQ(text(doc, "odb_cislo_uctu_IBAN"),
                  c.account ? QStringLiteral("CZ6501000000001234") : QString());
        EXPECT_EQ(doc.asDateTime(QStringLiteral("datum_spatnosti")).date(),
                  c.dueFromPartner ? QDate(2010, 3, 15) : QDate(2010, 3, 5));
        ASSERT_TRUE(doc.post());
        EXPECT_EQ(stored(QStringLiteral("SELECT odb_nazev_firmy FROM tbl_doklad WHERE id=?"),
                         doc.value(QStringLiteral("id")))
                      .toString(),
                  QStringLiteral("Pekárna U Křížů"));

        // Clearing takes the partner's columns of that type and leaves the due date.
        doc.edit();
        clearPartnerOfDocument(doc, c.type);
        for (const char* column :
             {"id_tbl_partner", "odb_nazev_firmy", "odb_kontakt", "odb_dodani_mesto", "odb_cislo_uctu_IBAN"})
            EXPECT_TRUE(doc.asString(QLatin1String(column)).isEmpty()) << column;
        EXPECT_FALSE(doc.isNull(QStringLiteral("datum_spatnosti")));
        doc.cancel();
    }
}

// Without a term of the partner's own, or without an issue date, the due date stays.
TEST_P(DocumentLinks, DueDateNeedsTermAndIssueDate) {
    auto withoutTerm = partnerList({}, {}, QVariant());
    issued->append();
    issued->setValue(QStringLiteral("datum_vystaveni"), day(2010, 3, 1));
    issued->setValue(QStringLiteral("datum_spatnosti"), day(2010, 3, 5));
    copyPartnerIntoDocument(*issued, DocumentType::Issued, *withoutTerm, prompts);
    EXPECT_EQ(issued->asDateTime(QStringLiteral("datum_spatnosti")).date(), QDate(2010, 3, 5));
    issued->cancel();

    auto withTerm = partnerList({}, {}, 14);
    issued->append();
    issued->setNull(QStringLiteral("datum_vystaveni"));
    issued->setValue(QStringLiteral("datum_spatnosti"), day(2010, 3, 5));
    copyPartnerIntoDocument(*issued, DocumentType::Issued, *withTerm, prompts);
    EXPECT_EQ(issued->asDateTime(QStringLiteral("datum_spatnosti")).date(), QDate(2010, 3, 5));
    issued->cancel();
}

// Telephone and e-mail together may be longer than the document's contact column:
// the contact is left for the user, never cut, and the rest is still taken.
TEST_P(DocumentLinks, ContactTooLongIsNamedNotCut) {
    auto partners =
        partnerList(QString(30, QLatin1Char('7')), QStringLiteral("velmi.dlouha.adresa@example.cz"), 14);
    received->append();
    EXPECT_FALSE(copyPartnerIntoDocument(*received, DocumentType::Received, *partners, prompts));
    EXPECT_TRUE(received->asString(QStringLiteral("odb_kontakt")).isEmpty());
    EXPECT_EQ(received->asString(QStringLiteral("odb_nazev_firmy")), QStringLiteral("Pekárna U Křížů"));
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Obchodní partner"));
    EXPECT_TRUE(prompts.shown.last().text.contains(QStringLiteral("Kontakt")));
    received->cancel();
}

TEST_P(DocumentLinks, OrderLinkAndName) {
    db->session->execute(QStringLiteral("INSERT INTO tbl_zakazka (id, zakazka) VALUES (?, ?)"),
                         {++rowId, QStringLiteral("Z-2010/07 'Střecha'")});
    auto orders = table(QStringLiteral("tbl_zakazka"), QStringLiteral("ADOFormZakazky"));
    orders->open();
    expenses->append();
    copyOrderIntoDocument(*expenses, *orders);
    EXPECT_EQ(expenses->asString(QStringLiteral("zakazka")), QStringLiteral("Z-2010/07 'Střecha'"));
    EXPECT_EQ(expenses->asString(QStringLiteral("id_tbl_zakazka")), orders->asString(QStringLiteral("id")));
    clearOrderOfDocument(*expenses);
    EXPECT_TRUE(expenses->isNull(QStringLiteral("zakazka")));
    EXPECT_TRUE(expenses->isNull(QStringLiteral("id_tbl_zakazka")));
    expenses->cancel();
}

class GoodsLines : public DocumentTest {
  protected:
    std::unique_ptr<Dataset> goodsRow(QVariant rate, QVariant discount, double recycling, double osa) {
        db->session->execute(
            QStringLiteral(
                "INSERT INTO tbl_zbozi (id, kod_zbozi, popis, mj, dph, cena_jednotka, cena_poplatek1, "
                "cena_poplatek2, sleva, zaruka) VALUES (?,?,?,?,?,?,?,?,?,?)"),
            {++rowId, QStringLiteral("LED-01"), QStringLiteral("Žárovka LED 'teplá'"), QStringLiteral("ks"),
             rate, 1000.0, recycling, osa, discount, 24});
        auto goods = table(QStringLiteral("tbl_zbozi"), QStringLiteral("ADOFormZbozi"));
        goods->open();
        goods->last();
        return goods;
    }
    int rowId = 100; // ids given by hand: a plain INSERT gets none on Firebird
    // The stored lines of the current document in entry order.
    QStringList storedLines() {
        QStringList lines;
        QSqlQuery q = db->session->query(
            QStringLiteral(
                "SELECT popis, mnozstvi, cena_jednotka, dph, mj FROM tbl_polozky WHERE id_tbl_doklad=? "
                "ORDER BY id"),
            {issued->value(QStringLiteral("id"))});
        while (q.next())
            lines << QStringLiteral("%1|%2|%3|%4|%5")
                         .arg(q.value(0).toString())
                         .arg(q.value(1).toDouble())
                         .arg(q.value(2).toDouble())
                         .arg(q.value(3).toDouble())
                         .arg(q.value(4).toString());
        return lines;
    }
};
KELVARN_ON_ALL_PLATFORMS(GoodsLines);

// A payer's line takes the goods rate, anyone else's 0; an empty goods discount
// clears the line's; quantity and note stay.
TEST_P(GoodsLines, CopiedValuesByPayerStatus) {
    saveIssued(0);
    for (const bool payer : {true, false}) {
        SCOPED_TRACE(payer ? "payer" : "non-payer");
        setEntrepreneur(QStringLiteral("platce_dph"), payer ? QStringLiteral("ano") : QStringLiteral("Ne"));
        auto goods = goodsRow(21.0, QVariant(), 0, 0);
        items->append();
        items->setValue(QStringLiteral("mnozstvi"), 3);
        items->setValue(QStringLiteral("sleva"), 5);
        items->setValue(QStringLiteral("poznamka"), QStringLiteral("do kuchyně"));
        EXPECT_EQ(rules->takeGoods(*goods), GoodsTaken::LineOpen);
        EXPECT_EQ(items->state(), Dataset::State::Insert) << "left for the quantity";
        EXPECT_EQ(items->asString(QStringLiteral("kod_zbozi")), QStringLiteral("LED-01"));
        EXPECT_EQ(items->asString(QStringLiteral("popis")), QStringLiteral("Žárovka LED 'teplá'"));
        EXPECT_EQ(items->asFloat(QStringLiteral("dph")), payer ? 21.0 : 0.0);
        EXPECT_TRUE(items->isNull(QStringLiteral("sleva")));
        EXPECT_EQ(items->asFloat(QStringLiteral("mnozstvi")), 3.0);
        EXPECT_EQ(items->asString(QStringLiteral("poznamka")), QStringLiteral("do kuchyně"));
        EXPECT_EQ(items->asString(QStringLiteral("id_tbl_zbozi")), goods->asString(QStringLiteral("id")));
        items->cancel();
    }
}

// Fees become lines of their own right after the goods line: OSA first, then the
// recycling fee, each once at the document's basic rate whatever the goods' own.
TEST_P(GoodsLines, FeeLinesFollowTheGoodsLine) {
    saveIssued(0);
    auto goods = goodsRow(10.0, 2.0, 12.40, 3.00);
    items->append();
    ASSERT_EQ(rules->takeGoods(*goods), GoodsTaken::LinesSaved);
    EXPECT_EQ(items->state(), Dataset::State::Browse);
    EXPECT_EQ(items->asString(QStringLiteral("kod_zbozi")), QStringLiteral("LED-01"))
        << "back on the goods line";
    EXPECT_EQ(
        storedLines(),
        (QStringList{QStringLiteral("Žárovka LED 'teplá'|1|1000|10|ks"),
                     QStringLiteral(" - poplatek OSA dle zákona č. 488/2006 Sb.|1|3|21|ks"),
                     QStringLiteral(" - poplatek za recyklaci dle zákona č. 185/2001 Sb.|1|12.4|21|ks")}));
}

// A goods line the save refuses (a rate the document does not have) stops the
// copying before any fee line is added.
TEST_P(GoodsLines, RefusedGoodsLineAddsNoFees) {
    saveIssued(0);
    auto goods = goodsRow(15.0, QVariant(), 12.40, 0);
    items->append();
    EXPECT_EQ(rules->takeGoods(*goods), GoodsTaken::Stopped);
    EXPECT_EQ(items->state(), Dataset::State::Insert) << "the line stays for correction";
    EXPECT_TRUE(storedLines().isEmpty());
    items->cancel();
}
