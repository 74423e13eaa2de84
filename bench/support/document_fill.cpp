#include "support/document_fill.h"

#include "db/database_session.h"
#include "db/db_error.h"
#include "support/row_fill.h"

#include <QDate>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvarn::bench {

namespace {

struct City {
    const char* name;
    const char* postcode;
};

constexpr std::array<const char*, 25> kSurnames = {
    "Novák", "Svoboda",  "Novotný", "Dvořák",   "Černý", "Procházka", "Kučera", "Veselý",  "Horák",
    "Němec", "Marek",    "Pokorný", "Pospíšil", "Hájek", "Jelínek",   "Král",   "Růžička", "Beneš",
    "Fiala", "Sedláček", "Doležal", "Zeman",    "Kolář", "Navrátil",  "Čermák"};
constexpr std::array<const char*, 16> kTrades = {"Stavební firma",
                                                 "Truhlářství",
                                                 "Autoservis",
                                                 "Elektroinstalace",
                                                 "Instalatérství",
                                                 "Účetní kancelář",
                                                 "Zahradnictví",
                                                 "Klempířství",
                                                 "Pekařství",
                                                 "Tiskárna",
                                                 "Kovovýroba",
                                                 "Malířství a natěračství",
                                                 "Velkoobchod s potravinami",
                                                 "Projekční kancelář",
                                                 "Dopravní služby",
                                                 "Pokrývačství"};
constexpr std::array<const char*, 5> kLegalForms = {"s.r.o.", "a.s.", "spol. s r.o.", "v.o.s.", "s.r.o."};
constexpr std::array<const char*, 16> kStreets = {"Masarykova", "Husova",     "Nádražní",      "Palackého",
                                                  "Komenského", "Školní",     "Tyršova",       "Žižkova",
                                                  "Sokolovská", "Jiráskova",  "Smetanova",     "náměstí Míru",
                                                  "Lidická",    "U Stadionu", "Třída Svobody", "Havlíčkova"};
constexpr std::array<City, 20> kCities = {{{"Praha 4", "140 00"},
                                           {"Brno", "602 00"},
                                           {"Ostrava", "702 00"},
                                           {"Plzeň", "301 00"},
                                           {"Liberec", "460 01"},
                                           {"Olomouc", "779 00"},
                                           {"České Budějovice", "370 01"},
                                           {"Hradec Králové", "500 02"},
                                           {"Ústí nad Labem", "400 01"},
                                           {"Pardubice", "530 02"},
                                           {"Zlín", "760 01"},
                                           {"Havířov", "736 01"},
                                           {"Kladno", "272 01"},
                                           {"Most", "434 01"},
                                           {"Jihlava", "586 01"},
                                           {"Třebíč", "674 01"},
                                           {"Frýdek-Místek", "738 01"},
                                           {"Žďár nad Sázavou", "591 01"},
                                           {"Uherské Hradiště", "686 01"},
                                           {"Kroměříž", "767 01"}}};
constexpr std::array<const char*, 12> kContacts = {
    "Ing. Petra Svobodová", "Jana Dvořáková", "Bc. Tomáš Král",   "Martin Procházka",
    "Mgr. Lucie Veselá",    "Pavel Horák",    "Ing. Jiří Kučera", "Eva Němcová",
    "Lenka Pokorná",        "Josef Beneš",    "Marie Čermáková",  "Ing. arch. Karel Zeman"};
constexpr std::array<const char*, 8> kBanks = {"0100", "0300", "0600", "0800",
                                               "2010", "2700", "3030", "5500"};
constexpr std::array<const char*, 6> kBranches = {"provozovna ", "pobočka ",   "odštěpný závod ",
                                                  "sklad ",      "středisko ", "divize "};
constexpr std::array<const char*, 10> kNotes = {"Fakturujeme Vám za dodávku materiálu dle objednávky č. ",
                                                "Fakturujeme Vám za provedené práce dle smlouvy o dílo č. ",
                                                "Za opravu vozidla dle zakázkového listu č. ",
                                                "Vyúčtování služeb za měsíc dle výkazu č. ",
                                                "Dodávka nábytku na míru dle nabídky č. ",
                                                "Nákup kancelářských potřeb, účtenka č. ",
                                                "Záloha na dodávku dle zálohového listu č. ",
                                                "Montáž a revize elektroinstalace, protokol č. ",
                                                "Přeprava zboží dle dodacího listu č. ",
                                                "Pronájem lešení a mechanizace, smlouva č. "};
constexpr std::array<const char*, 6> kNotes2 = {
    "Zboží zůstává až do úplného zaplacení majetkem dodavatele. Děkujeme za spolupráci.",
    "Při platbě uveďte variabilní symbol. Po splatnosti účtujeme úrok z prodlení.",
    "Převzal: ",
    "Reklamace uplatňujte písemně do 14 dnů od převzetí zboží.",
    "Doklad slouží zároveň jako dodací list. Záruka 24 měsíců.",
    "Daň odvede zákazník dle § 92a zákona o DPH."};
constexpr std::array<const char*, 5> kPayments = {"převodním příkazem", "převodním příkazem",
                                                  "platební kartou", "dobírkou", "zápočtem"};

struct Kind {
    const char* prefix;
    int type;
    int weight;       // per cent of all documents
    char symbolDigit; // first digit of the variable symbol made at save, 0 for none
};

constexpr std::array<Kind, 12> kKinds = {{{"FAV", 1, 30, '0'},
                                          {"PH", 1, 5, '1'},
                                          {"ZLV", 1, 2, 0},
                                          {"OP", 1, 2, '3'},
                                          {"IDP", 1, 1, '4'},
                                          {"FAP", 2, 30, 0},
                                          {"NH", 2, 6, 0},
                                          {"ZLP", 2, 2, 0},
                                          {"OZ", 2, 1, 0},
                                          {"IDZ", 2, 1, 0},
                                          {"PPD", 3, 10, 0},
                                          {"VPD", 4, 10, 0}}};

const Kind& pickKind(Random& random) {
    int roll = random.below(100);
    for (const Kind& kind : kKinds) {
        if (roll < kind.weight)
            return kind;
        roll -= kind.weight;
    }
    return kKinds.front();
}

struct Address {
    std::string name;
    std::string nameDetail;
    std::string street;
    std::string city;
    std::string postcode;
    std::string contact;
};

struct Partner {
    Address billing;
    Address delivery;
    std::string ico;
    std::string dic;
    std::string account;
    std::string iban;
};

std::string streetAddress(Random& random) {
    return std::string(random.pick(kStreets)) + " " + std::to_string(random.between(1, 2999)) + "/" +
           std::to_string(random.between(1, 99));
}

std::string contact(Random& random) {
    return std::string(random.pick(kContacts)) + ", tel. " + std::to_string(random.between(601, 777)) + " " +
           random.digits(3) + " " + random.digits(3);
}

Address address(Random& random, const std::string& name) {
    const City& city = random.pick(kCities);
    return {name,
            std::string(random.pick(kBranches)) + random.pick(kCities).name,
            streetAddress(random),
            city.name,
            city.postcode,
            contact(random)};
}

void account(Random& random, std::string& local, std::string& iban) {
    const std::string bank = random.pick(kBanks);
    const std::string prefix = random.chance(30) ? random.digits(2) : std::string();
    const std::string number = std::to_string(random.between(100000, 999999)) + random.digits(4);
    local = (prefix.empty() ? std::string() : prefix + "-") + number + "/" + bank;
    iban = "CZ" + random.digits(2) + bank + padded(prefix.empty() ? 0 : std::stoi(prefix), 6) + number;
}

std::vector<Partner> makePartners(Random& random, int count) {
    std::vector<Partner> partners;
    for (int i = 0; i < count; ++i) {
        Partner p;
        const std::string name =
            std::string(random.pick(kTrades)) + " " + random.pick(kSurnames) + " " + random.pick(kLegalForms);
        p.billing = address(random, name);
        p.delivery = address(random, name);
        p.ico = std::to_string(random.between(10000000, 99999999));
        p.dic = "CZ" + p.ico;
        account(random, p.account, p.iban);
        partners.push_back(std::move(p));
    }
    return partners;
}

} // namespace

void fillDocuments(DatabaseSession& session, int count, unsigned seed) {
    sqlite3* handle = sqliteHandleOf(session);
    Random random(seed);
    const std::vector<Partner> partners = makePartners(random, 500);
    std::map<std::pair<std::string, int>, int> serials;

    try {
        Transaction tx(session);
        const TableInsert insert(handle, "tbl_doklad");
        RowBinder row(handle, "tbl_doklad", insert);
        for (int i = 0; i < count; ++i) {
            const Kind& kind = pickKind(random);
            const int year = 2016 + static_cast<int>(10LL * i / count);
            const QDate issued = QDate(year, 1, 1).addDays(random.below(QDate(year, 1, 1).daysInYear()));
            const int serial = ++serials[{kind.prefix, year}];
            const std::string number =
                std::string(kind.prefix) + "-" + std::to_string(year) + "-" + padded(serial, 5);
            const Partner& partner =
                partners[static_cast<std::size_t>(random.below(static_cast<int>(partners.size())))];
            const bool issuedSide = kind.type == 1 || kind.type == 3;
            const bool cash = kind.type >= 3 || std::string_view(kind.prefix) == "PH" ||
                              std::string_view(kind.prefix) == "NH";

            row.integer("id", i + 1);
            row.text("cislo_dokladu", number);
            row.text("variabilni_symbol", kind.symbolDigit
                                              ? kind.symbolDigit + std::to_string(year) + padded(serial, 5)
                                              : random.digits(10));
            row.text("cislo_dokladu_puvodni", issuedSide
                                                  ? "OBJ-" + std::to_string(year) + "/" + random.digits(4)
                                                  : "FV" + std::to_string(year) + "/" + random.digits(5));
            row.integer("doklad_typ", kind.type);

            row.text("datum_vystaveni", dateText(issued));
            row.text("datum_zdanitelne_plneni", dateText(issued.addDays(-random.below(5))));
            row.text("datum_uplatneni_plneni", dateText(issued.addDays(random.below(10))));
            row.text("datum_spatnosti", dateText(issued.addDays(cash ? 0 : 14)));

            // Reduced rate 15 % until 2023, 12 % since; basic 21 %.
            const double reduced = year < 2024 ? 15.0 : 12.0;
            const double basic = 21.0;
            const double net0 = random.chance(10) ? round2(random.between(100, 500000) / 100.0) : 0.0;
            const double net5 = random.chance(30) ? round2(random.between(1000, 5000000) / 100.0) : 0.0;
            const double net19 =
                round2(std::pow(10.0, 2.0 + random.below(3000) / 1000.0) + random.below(100) / 100.0);
            const double vat5 = round2(net5 * reduced / 100.0);
            const double vat19 = round2(net19 * basic / 100.0);
            row.real("celkem_bez_dph_0", net0);
            row.real("celkem_bez_dph_5", net5);
            row.real("celkem_bez_dph_19", net19);
            row.real("celkem_dph_0", 0.0);
            row.real("celkem_dph_5", vat5);
            row.real("celkem_dph_19", vat19);
            row.real("celkem_s_dph_0", net0);
            row.real("celkem_s_dph_5", round2(net5 + vat5));
            row.real("celkem_s_dph_19", round2(net19 + vat19));
            const double total = round2(net0 + net5 + net19);
            const double totalVat = round2(vat5 + vat19);
            row.real("celkem_doklad", total);
            row.real("celkem_doklad_dph", totalVat);
            row.real("celkem_doklad_s_dph", round2(total + totalVat));
            row.real("zbyva_uhradit", random.chance(15) ? round2(total + totalVat) : 0.0);

            const int order = random.between(1, 300);
            row.text("zakazka", "ZAK-" + std::to_string(year) + "-" + padded(order, 5));
            row.integer("id_tbl_zakazka", order);
            row.integer("id_tbl_partner", (&partner - partners.data()) + 1);
            row.text("poznamka", random.pick(kNotes) + std::to_string(year) + "/" +
                                     std::to_string(random.between(1, 999)));
            std::string note2 = random.pick(kNotes2);
            if (note2.ends_with(": "))
                note2 += random.pick(kContacts);
            row.text("poznamka2", note2);

            row.text("odb_nazev_firmy", partner.billing.name);
            row.text("odb_nazev_upresneni", partner.billing.nameDetail);
            row.text("odb_ulice", partner.billing.street);
            row.text("odb_mesto", partner.billing.city);
            row.text("odb_psc", partner.billing.postcode);
            row.text("odb_ic", partner.ico);
            row.text("odb_dic", partner.dic);
            row.text("odb_kontakt", partner.billing.contact);
            row.text("odb_cislo_uctu", partner.account);
            row.text("odb_cislo_uctu_IBAN", partner.iban);
            row.text("odb_dodani_nazev", partner.delivery.name);
            row.text("odb_dodani_nazev2", partner.delivery.nameDetail);
            row.text("odb_dodani_ulice", partner.delivery.street);
            row.text("odb_dodani_mesto", partner.delivery.city);
            row.text("odb_dodani_psc", partner.delivery.postcode);
            row.text("odb_dodani_kontakt", partner.delivery.contact);

            row.text("dod_nazev_firmy", "Jan Novák - Stolařství");
            row.text("dod_nazev_upresneni", "Truhlářské práce a montáže nábytku na míru");
            row.text("dod_ulice", "Lipová 1287/14");
            row.text("dod_mesto", "Jihlava");
            row.text("dod_psc", "586 01");
            row.text("dod_ic", "73458219");
            row.text("dod_dic", "CZ7608121234");
            row.text("dod_cislo_uctu", "2100458712/2010");
            row.text("dod_cislo_uctu_IBAN", "CZ6520100000002100458712");

            const bool euro = random.chance(5);
            row.text("mena", euro ? "EUR" : "CZK");
            row.real("kurz", euro ? 24.0 + random.below(200) / 100.0 : 1.0);
            row.text("zpusob_uhrady", cash ? "hotově" : random.pick(kPayments));
            row.text("podpis", "Jan Novák");
            row.text("podklad_dph", kind.type <= 2 ? "Ano" : "Ne");
            row.text("pohledavka_zavazek", cash ? "Ne" : "Ano");
            row.integer("doklad_vytisknut", random.chance(70) ? 1 : 0);
            row.real("doklad_dsazba5", reduced);
            row.real("doklad_dsazba19", basic);

            const int hour = random.between(7, 18);
            const int minute = random.below(60);
            row.text("dateTS0", dateText(issued, hour, minute, random.below(60)));
            row.text("dateTS1", dateText(issued.addDays(random.below(30)), random.between(7, 18),
                                         random.below(60), random.below(60)));
            row.insertRow();
        }
        tx.commit();
    } catch (const DbError& e) {
        failFill(e.text().toStdString());
    }
}

} // namespace kelvarn::bench
