#include "support/catalogue_fill.h"

#include "db/database_session.h"
#include "db/db_error.h"
#include "support/row_fill.h"

#include <QSqlQuery>

#include <array>
#include <string>
#include <vector>

namespace kelvarn::bench {

namespace {

constexpr std::array<const char*, 10> kGoods = {
    "Dřevotřísková deska 18 mm", "Hranolek smrkový 40x60", "Kování nábytkové sada", "Lak na dřevo bezbarvý",
    "Montáž kuchyňské linky",    "Doprava materiálu",      "Šroub do dřeva 4x40",   "Pant skříňový clip-on",
    "Úchytka kovová 128 mm",     "Lepidlo disperzní D3"};
constexpr std::array<const char*, 5> kUnits = {"ks", "m", "m2", "hod", "kg"};
constexpr std::array<const char*, 16> kTrades = {
    "Stavební firma", "Truhlářství",        "Autoservis",      "Elektroinstalace",
    "Instalatérství", "Účetní kancelář",    "Zahradnictví",    "Klempířství",
    "Pekařství",      "Tiskárna",           "Kovovýroba",      "Malířství a natěračství",
    "Velkoobchod",    "Projekční kancelář", "Dopravní služby", "Pokrývačství"};
constexpr std::array<const char*, 12> kSurnames = {"Novák", "Svoboda", "Dvořák",  "Černý",
                                                   "Horák", "Němec",   "Pokorný", "Král",
                                                   "Beneš", "Fiala",   "Zeman",   "Čermák"};

std::vector<long long> issuedDocuments(DatabaseSession& session) {
    std::vector<long long> ids;
    QSqlQuery q = session.query(QStringLiteral("SELECT id FROM tbl_doklad WHERE doklad_typ=1 ORDER BY id"));
    while (q.next())
        ids.push_back(q.value(0).toLongLong());
    return ids;
}

} // namespace

void fillItemLines(DatabaseSession& session, int count, unsigned seed) {
    sqlite3* handle = sqliteHandleOf(session);
    Random random(seed);
    try {
        const std::vector<long long> documents = issuedDocuments(session);
        if (documents.empty())
            failFill("no issued documents to put item lines under");
        Transaction tx(session);
        const TableInsert insert(handle, "tbl_polozky");
        RowBinder row(handle, "tbl_polozky", insert);
        const QDate day(2024, 3, 1);
        for (int i = 0; i < count; ++i) {
            // Lines of one document together, as they are entered.
            const long long document = documents[static_cast<std::size_t>(
                static_cast<long long>(i) * static_cast<long long>(documents.size()) / count)];
            const double quantity = random.between(1, 20);
            const double unit = round2(random.between(100, 500000) / 100.0);
            const double rate = random.chance(25) ? 12.0 : 21.0;
            const double net = round2(quantity * unit);
            const double vat = round2(net * rate / 100.0);
            row.integer("id", i + 1);
            row.integer("id_tbl_doklad", document);
            row.null("cislo_radku");
            row.text("kod_zbozi", std::string("ZB-").append(padded(random.below(2000), 5)));
            row.null("id_tbl_zbozi");
            row.text("popis", random.pick(kGoods));
            row.real("mnozstvi", quantity);
            row.text("mj", random.pick(kUnits));
            row.null("sleva");
            row.real("cena_jednotka", unit);
            row.real("cena_celkem_bez_dph", net);
            row.real("dph", rate);
            row.real("dph_celkem", vat);
            row.real("cena_celkem_s_dph", round2(net + vat));
            row.integer("zaruka", 24);
            row.null("seriove_cislo");
            row.null("poznamka");
            row.text("dateTS0", dateText(day));
            row.text("dateTS1", dateText(day));
            row.insertRow();
        }
        tx.commit();
    } catch (const DbError& e) {
        failFill(e.text().toStdString());
    }
}

void fillPartners(DatabaseSession& session, int count, unsigned seed) {
    sqlite3* handle = sqliteHandleOf(session);
    Random random(seed);
    try {
        Transaction tx(session);
        const TableInsert insert(handle, "tbl_partner");
        RowBinder row(handle, "tbl_partner", insert);
        for (int i = 0; i < count; ++i) {
            const std::string name = std::string(random.pick(kTrades)) + " " + random.pick(kSurnames) + " " +
                                     std::to_string(i + 1);
            row.integer("id", i + 1);
            row.text("kod_partnera", std::string("P").append(padded(i + 1, 6)));
            row.text("nazev_firmy", name);
            row.text("nazev_upresneni", "s.r.o.");
            row.text("ulice", std::string("Masarykova ").append(std::to_string(random.between(1, 2999))));
            row.text("mesto", "Brno");
            row.text("psc", "602 00");
            row.text("ic", std::to_string(random.between(10000000, 99999999)));
            row.text("dic", std::string("CZ").append(random.digits(8)));
            row.text("cislo_uctu", random.digits(10).append("/0800"));
            row.text("cislo_uctu_IBAN", std::string("CZ65080000").append(random.digits(14)));
            row.text("kontakt", "Jana Dvořáková");
            row.text("dodani_nazev", name);
            row.text("dodani_nazev2", "sklad");
            row.text("dodani_ulice", std::string("Skladová ").append(std::to_string(random.between(1, 99))));
            row.text("dodani_mesto", "Brno");
            row.text("dodani_psc", "602 00");
            row.integer("splatnost_fa", random.pick(std::array<int, 4>{7, 14, 21, 30}));
            row.text("email", "info@example.cz");
            row.text("telefon", std::string("+420 601 ").append(random.digits(6)));
            row.text("www", "https://example.cz");
            row.text("poznamka", "Stálý odběratel");
            row.null("poznamka_dlouha");
            row.text("dateTS0", dateText(QDate(2024, 1, 1)));
            row.text("dateTS1", dateText(QDate(2024, 1, 1)));
            row.insertRow();
        }
        tx.commit();
    } catch (const DbError& e) {
        failFill(e.text().toStdString());
    }
}

} // namespace kelvarn::bench
