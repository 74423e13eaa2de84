#include "support/cashbook_fill.h"

#include "db/database_session.h"
#include "db/db_error.h"
#include "support/row_fill.h"

#include <QDate>

#include <array>
#include <cmath>
#include <map>
#include <string>

namespace kelvarn::bench {

namespace {

constexpr std::array<const char*, 14> kCustomers = {
    "Truhlářství Novák s.r.o.", "Stavby Dvořák a.s.",    "Autoservis Horák", "Pekařství Jelínek",
    "Zahradnictví Král",        "Tiskárna Beneš s.r.o.", "Kovovýroba Fiala", "Malířství Zeman",
    "Účetní kancelář Veselá",   "Instalatérství Kolář",  "Elektro Pokorný",  "Klempířství Čermák",
    "Projekce Růžička s.r.o.",  "Doprava Sedláček"};
constexpr std::array<const char*, 12> kSuppliers = {
    "Stavebniny DEK", "Dřevo Hájek s.r.o.", "Kancelářské potřeby Marek",
    "Shell Jihlava",  "O2 Czech Republic",  "ČEZ Prodej",
    "Hornbach Brno",  "Kovo Navrátil",      "Barvy Laky Doležal",
    "Alza.cz",        "Nářadí Pospíšil",    "Pojišťovna Kooperativa"};
constexpr std::array<const char*, 6> kSaleWork = {"Úhrada faktury",    "Platba za nábytek",
                                                  "Platba za montáž",  "Doplatek zakázky",
                                                  "Záloha na zakázku", "Úhrada dobropisu"};
constexpr std::array<const char*, 7> kPurchase = {
    "Nákup materiálu", "Nákup nářadí",        "Pohonné hmoty",       "Telefon a internet",
    "Elektřina dílna", "Kancelářské potřeby", "Pojištění provozovny"};
constexpr std::array<const char*, 6> kPrivate = {"Vklad do pokladny",       "Výběr z účtu do pokladny",
                                                 "Osobní spotřeba",         "Převod z pokladny na účet",
                                                 "Výběr na soukromé účely", "Vrácení přeplatku"};

// How a row came about: the voucher it is booked on, the side and whether it pays a
// document.
enum class Movement { CashIncome, CashExpense, BankIncome, BankExpense, Private };

Movement pickMovement(Random& random) {
    const int roll = random.below(100);
    if (roll < 30)
        return Movement::CashIncome;
    if (roll < 55)
        return Movement::CashExpense;
    if (roll < 75)
        return Movement::BankIncome;
    if (roll < 92)
        return Movement::BankExpense;
    return Movement::Private;
}

std::string truncated(const std::string& utf8, std::size_t characters) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && n++ == characters)
            return utf8.substr(0, i);
    }
    return utf8;
}

} // namespace

void fillCashBook(DatabaseSession& session, int count, unsigned seed) {
    sqlite3* handle = sqliteHandleOf(session);
    Random random(seed);
    std::map<std::pair<int, int>, int> serials; // (movement, year) → last serial
    try {
        Transaction tx(session);
        const TableInsert insert(handle, "tbl_hlavnikniha");
        RowBinder row(handle, "tbl_hlavnikniha", insert);
        for (int i = 0; i < count; ++i) {
            const int year = 2016 + static_cast<int>(10LL * i / count);
            // Rows are typed roughly in date order; a few are added days later.
            const int dayInYear = static_cast<int>((365LL * ((10LL * i) % count)) / count);
            const QDate date =
                QDate(year, 1, 1)
                    .addDays(std::max(0, dayInYear - (random.chance(10) ? random.below(20) : 0)));
            const Movement movement = pickMovement(random);
            const int serial = ++serials[{static_cast<int>(movement), year}];

            std::string voucher;
            std::string description;
            std::string paired;
            const bool income = movement == Movement::CashIncome || movement == Movement::BankIncome;
            switch (movement) {
            case Movement::CashIncome:
                voucher = "PPD-" + std::to_string(year) + "-" + padded(serial, 5);
                break;
            case Movement::CashExpense:
                voucher = "VPD-" + std::to_string(year) + "-" + padded(serial, 5);
                break;
            case Movement::BankIncome:
            case Movement::BankExpense:
                voucher = "BV-" + std::to_string(year) + "/" + padded(date.month(), 2) + "-" +
                          std::to_string(random.between(1, 40));
                break;
            case Movement::Private:
                voucher =
                    (random.chance(50) ? "PPD-" : "VPD-") + std::to_string(year) + "-" + padded(serial, 5);
                break;
            }
            if (movement == Movement::Private) {
                description = random.pick(kPrivate);
            } else if (income) {
                paired = (random.chance(85) ? "FAV-" : "PH-") + std::to_string(year) + "-" +
                         padded(random.between(1, 3000), 5);
                description =
                    std::string(random.pick(kSaleWork)) + " " + paired + " - " + random.pick(kCustomers);
            } else {
                paired = (random.chance(80) ? "FAP-" : "NH-") + std::to_string(year) + "-" +
                         padded(random.between(1, 3000), 5);
                description = std::string(random.pick(kPurchase)) + " - " + random.pick(kSuppliers) +
                              ", dokl. " + random.digits(6);
            }
            const double amount = round2(std::pow(10.0, 1.5 + random.below(3500) / 1000.0));

            row.integer("id", i + 1);
            row.text("datum", dateText(date));
            row.text("doklad", voucher);
            row.text("popis", truncated(description, 60));
            row.real("prijem_danovy", income ? amount : 0.0);
            row.real("vydaj_danovy", !income && movement != Movement::Private ? amount : 0.0);
            const bool privateIncome = movement == Movement::Private && random.chance(50);
            row.real("prijem_nedanovy", privateIncome ? amount : 0.0);
            row.real("vydaj_nedanovy", movement == Movement::Private && !privateIncome ? amount : 0.0);
            for (const char* column : {"prijem_6", "prijem_7", "prijem_8", "prijem_9", "prijem_10", "vydaj_6",
                                       "vydaj_7", "vydaj_8", "vydaj_9", "vydaj_10"})
                row.real(column, 0.0);
            if (paired.empty()) {
                row.null("id_tbl_doklad");
                row.null("cislo_dokladu");
            } else {
                row.integer("id_tbl_doklad", random.between(1, 100000));
                row.text("cislo_dokladu", paired);
            }
            row.text("dateTS0", dateText(date, random.between(7, 18), random.below(60), random.below(60)));
            row.text("dateTS1", dateText(date.addDays(random.below(15)), random.between(7, 18),
                                         random.below(60), random.below(60)));
            row.insertRow();
        }
        tx.commit();
    } catch (const DbError& e) {
        failFill(e.text().toStdString());
    }
}

} // namespace kelvarn::bench
