#include "support/db/print_samples.h"

#include "core/money.h"
#include "db/database_session.h"
#include "documents/amount_in_words.h"

#include <QDateTime>

#include <cmath>

namespace kelvarn::test {
namespace {

constexpr double kReduced = 12;
constexpr double kBasic = 21;

QVariant dateOrNull(const QDate& date, bool set = true) {
    return set && date.isValid() ? QVariant(QDateTime(date, QTime(0, 0))) : QVariant();
}

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

void insert(DatabaseSession& session, const QString& table, const QStringList& columns,
            const QVariantList& values) {
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    session.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                    values);
}

struct Slots {
    double b0 = 0, b5 = 0, b19 = 0, d5 = 0, d19 = 0, s0 = 0, s5 = 0, s19 = 0, rounding = 0;
};

} // namespace

void writeSampleDocument(DatabaseSession& session, const SampleDocument& d) {
    Slots s;
    int lineId = d.id * 1000;
    int order = 0;
    auto writeLine = [&](const QString& code, const QString& text, double quantity, const QString& unit,
                         double price, double rate, double discount, double net, double vat) {
        insert(session, QStringLiteral("tbl_polozky"),
               {QStringLiteral("id"), QStringLiteral("id_tbl_doklad"), QStringLiteral("cislo_radku"),
                QStringLiteral("kod_zbozi"), QStringLiteral("popis"), QStringLiteral("mnozstvi"),
                QStringLiteral("mj"), QStringLiteral("sleva"), QStringLiteral("cena_jednotka"),
                QStringLiteral("cena_celkem_bez_dph"), QStringLiteral("dph"), QStringLiteral("dph_celkem"),
                QStringLiteral("cena_celkem_s_dph"), QStringLiteral("zaruka")},
               {++lineId, d.id, ++order, textOrNull(code), text, quantity, textOrNull(unit),
                discount > 0 ? QVariant(discount) : QVariant(), price, net, rate, vat, net + vat,
                code.startsWith(QLatin1String("#ZAL")) ? QVariant() : QVariant(24)});
    };
    for (const SampleLine& l : d.lines) {
        double net = roundPlaces(l.unitPrice * l.quantity, 2);
        if (l.discount > 0)
            net = net - l.discount * net * 0.01;
        const double vat = roundPlaces(net * l.rate * 0.01, 2);
        writeLine(l.code, l.description, l.quantity, l.unit, l.unitPrice, l.rate, l.discount, net, vat);
        if (l.rate == kBasic)
            s.b19 += net;
        else if (l.rate == kReduced)
            s.b5 += net;
        else
            s.b0 += net;
    }
    double depositSum = 0;
    for (const double deposit : d.deposits) {
        writeLine(QStringLiteral("#ZAL"), QStringLiteral("Odpočet zálohy ZLV-2026-00001"), 1, QString(),
                  deposit, 0, 0, deposit, 0);
        depositSum += deposit;
    }
    s.b0 = roundPlaces(s.b0, 2);
    s.b5 = roundPlaces(s.b5, 2);
    s.b19 = roundPlaces(s.b19, 2);
    s.d5 = roundPlaces(kReduced * 0.01 * s.b5, 2);
    s.d19 = roundPlaces(kBasic * 0.01 * s.b19, 2);
    s.s0 = s.b0;
    s.s5 = s.b5 + s.d5;
    s.s19 = s.b19 + s.d19;
    if (d.typedGross > 0) {
        s.s19 = d.typedGross;
        s.d19 = roundPlaces(roundPlaces(kBasic / (100 + kBasic), 4) * s.s19, 2);
        s.b19 = s.s19 - s.d19;
    }
    if (d.cashRounding) {
        const double total = s.s0 + s.s5 + s.s19;
        const double fraction = roundPlaces(total - std::floor(total), 2);
        s.rounding = roundPlaces(fraction < 0.5 ? -fraction : 1 - fraction, 2);
        s.s19 += s.rounding;
        s.d19 = roundPlaces(roundPlaces(kBasic / (100 + kBasic), 4) * s.s19, 2);
        s.b19 = s.s19 - s.d19;
    }
    const double gross = roundPlaces(s.s0 + s.s5 + s.s19, 2);
    const bool voucher = d.type == 3 || d.type == 4;
    QString note = d.note;
    if (voucher && note.isEmpty())
        note = amountInWords(static_cast<qint64>(gross)).value_or(QString()) + QStringLiteral("===");
    const double remaining = voucher            ? 0
                             : d.remaining >= 0 ? d.remaining
                                                : roundPlaces(gross + depositSum, 2);
    const bool issued = d.type == 1;
    const QStringList columns = {QStringLiteral("id"),
                                 QStringLiteral("doklad_typ"),
                                 QStringLiteral("cislo_dokladu"),
                                 QStringLiteral("variabilni_symbol"),
                                 QStringLiteral("cislo_dokladu_puvodni"),
                                 QStringLiteral("datum_vystaveni"),
                                 QStringLiteral("datum_zdanitelne_plneni"),
                                 QStringLiteral("datum_uplatneni_plneni"),
                                 QStringLiteral("datum_spatnosti"),
                                 QStringLiteral("celkem_bez_dph_0"),
                                 QStringLiteral("celkem_bez_dph_5"),
                                 QStringLiteral("celkem_bez_dph_19"),
                                 QStringLiteral("celkem_dph_0"),
                                 QStringLiteral("celkem_dph_5"),
                                 QStringLiteral("celkem_dph_19"),
                                 QStringLiteral("celkem_s_dph_0"),
                                 QStringLiteral("celkem_s_dph_5"),
                                 QStringLiteral("celkem_s_dph_19"),
                                 QStringLiteral("celkem_doklad"),
                                 QStringLiteral("celkem_doklad_dph"),
                                 QStringLiteral("celkem_doklad_s_dph"),
                                 QStringLiteral("zbyva_uhradit"),
                                 QStringLiteral("zakazka"),
                                 QStringLiteral("poznamka"),
                                 QStringLiteral("poznamka2"),
                                 QStringLiteral("odb_nazev_firmy"),
                                 QStringLiteral("odb_nazev_upresneni"),
                                 QStringLiteral("odb_ulice"),
                                 QStringLiteral("odb_mesto"),
                                 QStringLiteral("odb_psc"),
                                 QStringLiteral("odb_ic"),
                                 QStringLiteral("odb_dic"),
                                 QStringLiteral("odb_dodani_nazev"),
                                 QStringLiteral("odb_dodani_nazev2"),
                                 QStringLiteral("odb_dodani_ulice"),
                                 QStringLiteral("odb_dodani_mesto"),
                                 QStringLiteral("odb_dodani_psc"),
                                 QStringLiteral("odb_dodani_kontakt"),
                                 QStringLiteral("dod_nazev_firmy"),
                                 QStringLiteral("dod_nazev_upresneni"),
                                 QStringLiteral("dod_ulice"),
                                 QStringLiteral("dod_mesto"),
                                 QStringLiteral("dod_psc"),
                                 QStringLiteral("dod_ic"),
                                 QStringLiteral("dod_dic"),
                                 QStringLiteral("dod_cislo_uctu"),
                                 QStringLiteral("dod_cislo_uctu_IBAN"),
                                 QStringLiteral("mena"),
                                 QStringLiteral("kurz"),
                                 QStringLiteral("zpusob_uhrady"),
                                 QStringLiteral("podpis"),
                                 QStringLiteral("podklad_dph"),
                                 QStringLiteral("pohledavka_zavazek"),
                                 QStringLiteral("doklad_vytisknut"),
                                 QStringLiteral("doklad_dsazba5"),
                                 QStringLiteral("doklad_dsazba19")};
    const bool vat = d.vatDates && !voucher;
    const QVariantList values = {
        d.id,
        d.type,
        d.number,
        textOrNull(d.variableSymbol),
        d.type == 2 ? QVariant(QStringLiteral("2026/") + QString::number(d.id)) : QVariant(),
        dateOrNull(d.issued),
        dateOrNull(d.issued, vat),
        dateOrNull(d.issued, vat),
        dateOrNull(voucher ? d.issued : d.due),
        roundPlaces(s.b0, 2),
        roundPlaces(s.b5, 2),
        roundPlaces(s.b19, 2),
        voucher ? 0.0 : s.rounding,
        voucher ? 0.0 : s.d5,
        voucher ? 0.0 : s.d19,
        voucher ? 0.0 : roundPlaces(s.s0, 2),
        voucher ? 0.0 : roundPlaces(s.s5, 2),
        voucher ? 0.0 : roundPlaces(s.s19, 2),
        voucher ? 0.0 : roundPlaces(s.b0 + s.b5 + s.b19, 2),
        voucher ? 0.0 : roundPlaces(s.d5 + s.d19, 2),
        gross,
        remaining,
        issued ? QVariant(QStringLiteral("ZAK-2026-00001")) : QVariant(),
        textOrNull(note),
        textOrNull(d.text),
        d.partner,
        textOrNull(d.partnerAddition),
        textOrNull(d.partnerStreet),
        textOrNull(d.partnerTown),
        textOrNull(d.partnerPostcode),
        textOrNull(d.partnerIco),
        textOrNull(d.partnerDic),
        textOrNull(d.deliveryName),
        d.deliveryName.isEmpty() ? QVariant() : QVariant(QStringLiteral("Dependance")),
        d.deliveryName.isEmpty() ? QVariant() : QVariant(QStringLiteral("Špičák 12")),
        d.deliveryName.isEmpty() ? QVariant() : QVariant(QStringLiteral("Železná Ruda")),
        d.deliveryName.isEmpty() ? QVariant() : QVariant(QStringLiteral("340 04")),
        d.deliveryName.isEmpty() ? QVariant() : QVariant(QStringLiteral("Ludmila Čermáková")),
        QStringLiteral("Jiří Dvořák - truhlářství"),
        QStringLiteral("Nábytek na míru"),
        QStringLiteral("Žižkova 1234/5"),
        QStringLiteral("Třebíč"),
        QStringLiteral("674 01"),
        QStringLiteral("27384519"),
        QStringLiteral("CZ7511283648"),
        issued ? QVariant(QStringLiteral("273850/0100")) : QVariant(),
        issued ? QVariant(QStringLiteral("CZ7301000000000000273850")) : QVariant(),
        QStringLiteral("Kč"),
        1.0,
        textOrNull(voucher ? QString() : d.paymentMethod),
        QStringLiteral("Jiří Dvořák"),
        vat ? QVariant(QStringLiteral("Ano")) : QVariant(),
        voucher || d.number.startsWith(QLatin1String("PH")) ? QVariant() : QVariant(QStringLiteral("Ano")),
        0,
        kReduced,
        kBasic};
    insert(session, QStringLiteral("tbl_doklad"), columns, values);
}

std::vector<SampleDocument> fillPrintSamples(DatabaseSession& session) {
    std::vector<SampleDocument> documents;
    SampleDocument invoice;
    invoice.id = 1001;
    invoice.number = QStringLiteral("FAV-2026-00001");
    invoice.variableSymbol = QStringLiteral("0202600001");
    invoice.lines = {
        {QStringLiteral("STUL-DUB"), QStringLiteral("Stůl jídelní dubový 160x90"), 1, QStringLiteral("ks"),
         12500, 21},
        {QStringLiteral("ZIDLE-BUK"), QStringLiteral("Židle buková čalouněná"), 4, QStringLiteral("ks"), 2300,
         21, 5},
        {QStringLiteral("MONTAZ"), QStringLiteral("Montáž nábytku"), 3.5, QStringLiteral("hod"), 450, 12},
        {QStringLiteral("DOPRAVA"), QStringLiteral("Doprava Třebíč – Jihlava"), 36, QStringLiteral("km"), 14,
         21}};
    invoice.deposits = {-5000};
    invoice.text = QStringLiteral("Fakturujeme Vám dodávku nábytku podle objednávky ze dne 10. 2. 2026.");
    documents.push_back(invoice);

    SampleDocument cash = invoice;
    cash.id = 1002;
    cash.number = QStringLiteral("FAV-2026-00002");
    cash.variableSymbol = QStringLiteral("0202600002");
    cash.paymentMethod = QStringLiteral("hotově (pokladna)");
    cash.partner = QStringLiteral("Penzion U Šumavského jezera");
    cash.partnerAddition = QStringLiteral("Ludmila Čermáková");
    cash.partnerStreet = QStringLiteral("Železná Ruda 88");
    cash.partnerTown = QStringLiteral("Železná Ruda");
    cash.partnerPostcode = QStringLiteral("340 04");
    cash.partnerIco = QStringLiteral("06142877");
    cash.partnerDic.clear();
    cash.deliveryName = QStringLiteral("Penzion U Šumavského jezera");
    cash.deposits.clear();
    cash.cashRounding = true;
    cash.lines = {{QStringLiteral("ZIDLE-BUK"), QStringLiteral("Židle buková čalouněná"), 2,
                   QStringLiteral("ks"), 2300.37, 21}};
    cash.text.clear();
    documents.push_back(cash);

    SampleDocument sale = cash;
    sale.id = 1003;
    sale.number = QStringLiteral("PH-2026-00001");
    sale.variableSymbol = QStringLiteral("1202600001");
    sale.paymentMethod = QStringLiteral("hotově");
    sale.partner = QStringLiteral("Ing. Žaneta Křížová");
    sale.partnerAddition.clear();
    sale.partnerStreet = QStringLiteral("Hybešova 42");
    sale.partnerTown = QStringLiteral("Brno");
    sale.partnerPostcode = QStringLiteral("602 00");
    sale.partnerIco.clear();
    sale.deliveryName.clear();
    sale.due = sale.issued;
    sale.lines = {{QStringLiteral("PRKENKO"), QStringLiteral("Prkénko na krájení, buk"), 2,
                   QStringLiteral("ks"), 289.26, 21}};
    documents.push_back(sale);

    SampleDocument deposit = invoice;
    deposit.id = 1004;
    deposit.number = QStringLiteral("ZLV-2026-00001");
    deposit.variableSymbol = QStringLiteral("2026001");
    deposit.vatDates = false;
    deposit.lines = {{QString(), QStringLiteral("Záloha na kuchyňskou linku"), 1, QString(), 5000, 0}};
    deposit.deposits.clear();
    deposit.text = QStringLiteral("Žádáme o úhradu zálohy na zakázku ZAK-2026-00001.");
    documents.push_back(deposit);

    SampleDocument other = invoice;
    other.id = 1005;
    other.number = QStringLiteral("OP-2026-00001");
    other.variableSymbol = QStringLiteral("3202600001");
    other.deposits.clear();
    other.lines = {{QStringLiteral("SERVIS"), QStringLiteral("Seřízení dvířek kuchyňské linky"), 1,
                    QStringLiteral("ks"), 800, 21}};
    documents.push_back(other);

    SampleDocument received;
    received.id = 1006;
    received.type = 2;
    received.number = QStringLiteral("FAP-2026-00001");
    received.variableSymbol = QStringLiteral("2026117");
    received.typedGross = 18150;
    received.text = QStringLiteral("Řezivo dub, fošny 50 mm");
    documents.push_back(received);

    SampleDocument receivedDeposit = received;
    receivedDeposit.id = 1007;
    receivedDeposit.number = QStringLiteral("ZLP-2026-00001");
    receivedDeposit.vatDates = false;
    receivedDeposit.partner = QStringLiteral("Penzion U Šumavského jezera");
    receivedDeposit.partnerIco = QStringLiteral("06142877");
    receivedDeposit.partnerDic.clear();
    receivedDeposit.typedGross = 20000;
    receivedDeposit.text = QStringLiteral("Záloha na zakázku ZAK-2026-00001");
    documents.push_back(receivedDeposit);

    SampleDocument receipt;
    receipt.id = 1008;
    receipt.type = 3;
    receipt.number = QStringLiteral("PPD-2026-00001");
    receipt.partner = QStringLiteral("Penzion U Šumavského jezera");
    receipt.typedGross = 5568;
    receipt.text = QStringLiteral("Úhrada faktury č. 0202600002 (FAV-2026-00002)");
    documents.push_back(receipt);

    SampleDocument expense = receipt;
    expense.id = 1009;
    expense.type = 4;
    expense.number = QStringLiteral("VPD-2026-00001");
    expense.partner = QStringLiteral("Kancelářské potřeby Marek");
    expense.partnerIco = QStringLiteral("12345679");
    expense.typedGross = 1249.5;
    expense.text = QStringLiteral("Nákup kancelářských potřeb");
    documents.push_back(expense);

    for (const SampleDocument& d : documents)
        writeSampleDocument(session, d);

    // The cash book.
    struct CashRow {
        int day;
        const char* voucher;
        const char* text;
        double income, incomeOther, expense, expenseOther;
        const char* paired;
        int pairedId;
    };
    const CashRow rows[] = {
        {2, "PPD-2026-00001", "Úhrada faktury FAV-2026-00002", 5568, 0, 0, 0, "FAV-2026-00002", 1002},
        {3, "VPD-2026-00001", "Kancelářské potřeby", 0, 0, 1249.5, 0, "", 0},
        {5, "BV-2026-03", "Úhrada faktury FAV-2026-00001", 20000, 0, 0, 0, "FAV-2026-00001", 1001},
        {9, "VPD-2026-00002", "Vklad do pokladny", 0, 10000, 0, 0, "", 0},
        {12, "BV-2026-03", "Řezivo dub", 0, 0, 18150, 0, "FAP-2026-00001", 1006},
        {20, "VPD-2026-00003", "Výběr na soukromé účely", 0, 0, 0, 3000, "", 0}};
    int id = 1000;
    for (const CashRow& r : rows)
        insert(session, QStringLiteral("tbl_hlavnikniha"),
               {QStringLiteral("id"), QStringLiteral("datum"), QStringLiteral("doklad"),
                QStringLiteral("popis"), QStringLiteral("prijem_danovy"), QStringLiteral("prijem_nedanovy"),
                QStringLiteral("vydaj_danovy"), QStringLiteral("vydaj_nedanovy"),
                QStringLiteral("cislo_dokladu"), QStringLiteral("id_tbl_doklad")},
               {++id, dateOrNull(QDate(2026, 3, r.day)), QString::fromUtf8(r.voucher),
                QString::fromUtf8(r.text), r.income, r.incomeOther, r.expense, r.expenseOther,
                textOrNull(QString::fromUtf8(r.paired)), r.pairedId ? QVariant(r.pairedId) : QVariant()});

    // Assets and their depreciation.
    insert(session, QStringLiteral("tbl_majetek"),
           {QStringLiteral("id"), QStringLiteral("typ"), QStringLiteral("cislo"), QStringLiteral("nazev"),
            QStringLiteral("zpusob_nabyti"), QStringLiteral("datum_zarazeni"), QStringLiteral("skupina"),
            QStringLiteral("zpusob_odepisovani"), QStringLiteral("sazba"), QStringLiteral("vstupni_cena"),
            QStringLiteral("zustatkova_cena"), QStringLiteral("opravky"), QStringLiteral("poznamka")},
           {1001, QStringLiteral("HIM"), QStringLiteral("M-2024-001"),
            QStringLiteral("Formátovací pila Altendorf F45"), QStringLiteral("Koupě"),
            dateOrNull(QDate(2024, 4, 15)), 2, QStringLiteral("rovnoměrný"), 11, 485000.0, 291000.0, 194000.0,
            QStringLiteral("Dílna Třebíč")});
    insert(session, QStringLiteral("tbl_majetek"),
           {QStringLiteral("id"), QStringLiteral("typ"), QStringLiteral("cislo"), QStringLiteral("nazev"),
            QStringLiteral("zpusob_nabyti"), QStringLiteral("datum_zarazeni"), QStringLiteral("skupina"),
            QStringLiteral("zpusob_odepisovani"), QStringLiteral("sazba"), QStringLiteral("vstupni_cena"),
            QStringLiteral("zustatkova_cena"), QStringLiteral("opravky")},
           {1002, QStringLiteral("HIM"), QStringLiteral("M-2025-001"), QStringLiteral("Dodávka Ford Transit"),
            QStringLiteral("Koupě"), dateOrNull(QDate(2025, 2, 1)), 2, QStringLiteral("zrychlený"), 0,
            640000.0, 384000.0, 256000.0});
    const struct {
        int asset;
        const char* year;
        double amount, residual, accumulated;
        const char* how;
    } depreciation[] = {{1001, "2024", 53350, 431650, 53350, "485 000 × 11 % = 53 350"},
                        {1001, "2025", 140650, 291000, 194000, "485 000 × 29 % = 140 650"},
                        {1002, "2025", 256000, 384000, 256000, "640 000 / 5 × 2 = 256 000"}};
    id = 1000;
    for (const auto& d : depreciation)
        insert(session, QStringLiteral("tbl_odpisy"),
               {QStringLiteral("id"), QStringLiteral("id_tbl_majetek"), QStringLiteral("rok"),
                QStringLiteral("odpis"), QStringLiteral("zustatkova_cena"), QStringLiteral("opravky"),
                QStringLiteral("vypocet")},
               {++id, d.asset, QString::fromUtf8(d.year), d.amount, d.residual, d.accumulated,
                QString::fromUtf8(d.how)});

    // The vehicle log.
    const struct {
        int day;
        const char* from;
        const char* to;
        const char* purpose;
        int start, end;
        const char* private_;
    } trips[] = {{2, "Třebíč", "Jihlava", "Dodávka nábytku", 48210, 48296, ""},
                 {2, "Jihlava", "Třebíč", "Návrat z dodávky", 48296, 48382, ""},
                 {7, "Třebíč", "Železná Ruda", "Zaměření kuchyně", 48382, 48651, ""},
                 {8, "Železná Ruda", "Třebíč", "Návrat", 48651, 48920, ""},
                 {14, "Třebíč", "Brno", "Nákup", 48920, 49001, "Ano"}};
    id = 1000;
    for (const auto& t : trips)
        insert(session, QStringLiteral("tbl_knihajizd"),
               {QStringLiteral("id"), QStringLiteral("datum"), QStringLiteral("spz"), QStringLiteral("odkud"),
                QStringLiteral("kam"), QStringLiteral("ucel"), QStringLiteral("start_stav"),
                QStringLiteral("end_stav"), QStringLiteral("pocet_km"), QStringLiteral("ridic"),
                QStringLiteral("typ")},
               {++id, dateOrNull(QDate(2026, 3, t.day)), QStringLiteral("1J2 3456"),
                QString::fromUtf8(t.from), QString::fromUtf8(t.to), QString::fromUtf8(t.purpose), t.start,
                t.end, t.end - t.start, QStringLiteral("Jiří Dvořák"),
                textOrNull(QString::fromUtf8(t.private_))});
    return documents;
}

} // namespace kelvarn::test
