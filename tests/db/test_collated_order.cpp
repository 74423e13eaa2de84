#include "db/collated_order.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace kelvarn;

namespace {

// Text columns of the tables the statements below read; everything else is a number
// or a date.
bool isText(const QString& table, const QString& column) {
    static const QSet<QString> text = {
        QStringLiteral("tbl_partner.nazev_firmy"), QStringLiteral("tbl_partner.mesto"),
        QStringLiteral("tbl_doklad.cislo_dokladu"), QStringLiteral("tbl_doklad.odb_nazev_firmy"),
        QStringLiteral("tbl_polozky.popis")};
    return text.contains(table.toLower() + QLatin1Char('.') + column.toLower());
}

QString collated(const QString& statement) {
    return collateTextOrder(statement, QStringLiteral("CZECH"), isText);
}

} // namespace

TEST(CollatedOrder, TextColumnsOfTheOrderListGetTheCollation) {
    const struct {
        const char* statement;
        const char* expected;
    } cases[] = {
        {"SELECT * FROM tbl_partner  ORDER BY nazev_firmy",
         "SELECT * FROM tbl_partner  ORDER BY nazev_firmy COLLATE CZECH"},
        {"SELECT * FROM tbl_partner ORDER BY mesto DESC",
         "SELECT * FROM tbl_partner ORDER BY mesto COLLATE CZECH DESC"},
        {"SELECT * FROM tbl_partner ORDER BY id, nazev_firmy ASC",
         "SELECT * FROM tbl_partner ORDER BY id, nazev_firmy COLLATE CZECH ASC"},
        {"select * from tbl_partner order by MESTO desc nulls last",
         "select * from tbl_partner order by MESTO COLLATE CZECH desc nulls last"},
        {"SELECT * FROM tbl_partner ORDER BY tbl_partner.mesto",
         "SELECT * FROM tbl_partner ORDER BY tbl_partner.mesto COLLATE CZECH"},
        {"SELECT p.* FROM tbl_partner p ORDER BY p.mesto",
         "SELECT p.* FROM tbl_partner p ORDER BY p.mesto COLLATE CZECH"},
        {"SELECT * FROM tbl_partner AS p WHERE p.id > 1 ORDER BY p.nazev_firmy",
         "SELECT * FROM tbl_partner AS p WHERE p.id > 1 ORDER BY p.nazev_firmy COLLATE CZECH"},
        {"SELECT * FROM \"tbl_partner\" ORDER BY \"mesto\"",
         "SELECT * FROM \"tbl_partner\" ORDER BY \"mesto\" COLLATE CZECH"},
        {"SELECT * FROM [tbl_partner] ORDER BY [mesto]",
         "SELECT * FROM [tbl_partner] ORDER BY [mesto] COLLATE CZECH"},
        {"SELECT * FROM tbl_partner ORDER BY nazev_firmy LIMIT 5",
         "SELECT * FROM tbl_partner ORDER BY nazev_firmy COLLATE CZECH LIMIT 5"},
        {"SELECT * FROM tbl_partner ORDER BY mesto;",
         "SELECT * FROM tbl_partner ORDER BY mesto COLLATE CZECH;"},
        {"SELECT * FROM tbl_doklad d JOIN tbl_partner p ON p.id = d.id ORDER BY p.mesto, d.id",
         "SELECT * FROM tbl_doklad d JOIN tbl_partner p ON p.id = d.id ORDER BY p.mesto COLLATE CZECH, d.id"},
        {"SELECT * FROM tbl_doklad, tbl_partner ORDER BY mesto",
         "SELECT * FROM tbl_doklad, tbl_partner ORDER BY mesto COLLATE CZECH"},
        {"SELECT * FROM tbl_doklad WHERE id IN (SELECT id_tbl_doklad FROM tbl_polozky ORDER BY popis) ORDER "
         "BY "
         "cislo_dokladu DESC",
         "SELECT * FROM tbl_doklad WHERE id IN (SELECT id_tbl_doklad FROM tbl_polozky ORDER BY popis COLLATE "
         "CZECH) "
         "ORDER BY cislo_dokladu COLLATE CZECH DESC"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(collated(QString::fromUtf8(c.statement)), QString::fromUtf8(c.expected)) << c.statement;
}

TEST(CollatedOrder, EverythingElseStaysAsWritten) {
    const char* statements[] = {
        // numbers and dates keep their own order
        "SELECT * FROM tbl_hlavnikniha  ORDER BY tbl_hlavnikniha.datum ASC, tbl_hlavnikniha.id ASC",
        "SELECT * FROM tbl_partner ORDER BY id DESC",
        // positions, expressions and chosen collations
        "SELECT nazev_firmy, mesto FROM tbl_partner ORDER BY 2",
        "SELECT * FROM tbl_partner ORDER BY UCASE(nazev_firmy)",
        "SELECT * FROM tbl_partner ORDER BY mesto || nazev_firmy",
        "SELECT * FROM tbl_partner ORDER BY nazev_firmy COLLATE NOCASE",
        // a column of another select's table
        "SELECT * FROM tbl_doklad WHERE EXISTS (SELECT * FROM tbl_partner) ORDER BY mesto",
        "SELECT * FROM tbl_doklad d ORDER BY p.mesto",
        // no order, or the words only in text and comments
        "SELECT * FROM tbl_partner WHERE mesto = 'Brno'",
        "SELECT 'ORDER BY mesto' FROM tbl_partner",
        "SELECT * FROM tbl_partner -- ORDER BY mesto",
        "SELECT * FROM tbl_partner /* ORDER BY mesto */",
        "UPDATE tbl_partner SET mesto = 'Brno' WHERE id = 1",
        "",
    };
    for (const char* s : statements)
        EXPECT_EQ(collated(QString::fromUtf8(s)), QString::fromUtf8(s)) << s;
}
