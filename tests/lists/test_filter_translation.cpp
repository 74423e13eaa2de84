#include "core/app_state.h"
#include "lists/column_caption_map.h"
#include "lists/filter_translation.h"

#include <gtest/gtest.h>

using namespace kelvarn;
using namespace kelvarn::filter_translation;

namespace {

QList<CaptionEntry> issuedDocuments() {
    AppState state;
    state.vatReduced = 10;
    state.vatBasic = 21;
    return ColumnCaptionMap::read(buildCaptionMaps(state)[kIssuedDocumentsTab]);
}

QList<CaptionEntry> cashBook() {
    return ColumnCaptionMap::read(buildCaptionMaps(AppState())[1]);
}

} // namespace

TEST(FilterTranslation, CaptionsBecomeColumnsInAnyLetterCaseAndLinesJoin) {
    struct Case {
        const char* definition;
        const char* condition;
        const char* text;
    };
    const Case cases[] = {
        {"[Zbývá uhradit] > 0.00", "zbyva_uhradit > 0.00", "[Zbývá uhradit] > 0.00"},
        {"[zBÝVÁ UHRADIT] > 0.00", "zbyva_uhradit > 0.00", "[zBÝVÁ UHRADIT] > 0.00"},
        // Lines typed here end in LF, lines of stored filters in CR LF: both join with one blank.
        {"[Zbývá uhradit] > 0\r\nAND [Měna] = 'EUR'", "zbyva_uhradit > 0 AND mena = 'EUR'",
         "[Zbývá uhradit] > 0 AND [Měna] = 'EUR'"},
        {"[Měna] = 'EUR'\nOR [Měna] IS NULL", "mena = 'EUR'OR mena IS NULL", "[Měna] = 'EUR'OR [Měna] IS NULL"},
        // Every occurrence, also inside quotes: the translation does not read SQL.
        {"[Kurz]=1 OR [kurz]=2 OR [Odběratel - název] LIKE '[Kurz]%'",
         "kurz=1 OR kurz=2 OR odb_nazev_firmy LIKE 'kurz%'", nullptr},
        {"[Celkem DPH 21] > 100 AND [Celkem bez DPH 10] < 5", "celkem_dph_19 > 100 AND celkem_bez_dph_5 < 5",
         nullptr},
        {"[Neznámý] = 1", "[Neznámý] = 1", nullptr},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const QString definition = QString::fromUtf8(c.definition);
        EXPECT_EQ(translate(definition, issuedDocuments()), QString::fromUtf8(c.condition)) << c.definition;
        if (c.text) {
            EXPECT_EQ(oneLine(definition), QString::fromUtf8(c.text)) << c.definition;
        }
    }
}

TEST(FilterTranslation, ItemCaptionsReachTheItemPartAfterTheDollar) {
    const QString condition =
        translate(QStringLiteral("[Měna] = 'CZK' $ OR [položka_kód] LIKE 'A%' AND [Položka_Množství] > 2"),
                  issuedDocuments());
    EXPECT_EQ(condition,
              QStringLiteral("mena = 'CZK' $ OR tbl_polozky.kod_zbozi LIKE 'A%' AND tbl_polozky.mnozstvi > 2"));
    // Other modules know no item captions: they stay behind as unknown.
    const QString elsewhere = translate(QStringLiteral("$ [Položka_Kód] = 'A'"), cashBook());
    EXPECT_EQ(check(elsewhere).fault, Fault::UnknownCaption);
    EXPECT_EQ(check(elsewhere).detail, QStringLiteral("[Položka_Kód]"));
}

TEST(FilterTranslation, FaultsAreFoundOutsideQuotedTextsOnly) {
    struct Case {
        const char* condition;
        Fault fault;
        const char* detail;
    };
    const Case cases[] = {
        {"zbyva_uhradit > 0.00", Fault::None, ""},
        {"popis LIKE '[a]%;' AND x = \"y;\"", Fault::None, ""},
        {"odb_nazev_firmy = 'O''Neil; s.r.o.'", Fault::None, ""},
        {"mena = 'EUR' AND [Zbývá uhradit] > 0", Fault::UnknownCaption, "[Zbývá uhradit]"},
        {"mena = 'EUR' AND [Zbývá uhradit > 0", Fault::UnknownCaption, "[Zbývá uhradit > 0"},
        {"mena = 'EUR", Fault::OpenQuote, ""},
        {"mena = 'O''", Fault::OpenQuote, ""},
        {"mena = \"EUR", Fault::OpenQuote, ""},
        {"1=1; DELETE FROM tbl_doklad", Fault::SecondStatement, ""},
        {"1=1 ;", Fault::SecondStatement, ""},
        // The first fault from the left is the one the user hears about.
        {"[A] = 1; x", Fault::UnknownCaption, "[A]"},
        {"x = 1; [A] = 'b", Fault::SecondStatement, ""},
    };
    for (const Case& c : cases) {
        const Check result = check(QString::fromUtf8(c.condition));
        EXPECT_EQ(result.fault, c.fault) << c.condition;
        EXPECT_EQ(result.detail, QString::fromUtf8(c.detail)) << c.condition;
        EXPECT_EQ(faultText(result).isEmpty(), result.ok()) << c.condition;
    }
    EXPECT_TRUE(faultText({Fault::UnknownCaption, QStringLiteral("[Kurs]")}).contains(QStringLiteral("[Kurs]")));
}

TEST(FilterTranslation, ACaptionOfAnotherModuleIsUnknownHere) {
    const QString condition = translate(QStringLiteral("[Zbývá uhradit] > 0 AND [Datum] > '1.1.2024'"), cashBook());
    EXPECT_EQ(condition, QStringLiteral("[Zbývá uhradit] > 0 AND datum > '1.1.2024'"));
    EXPECT_EQ(check(condition).detail, QStringLiteral("[Zbývá uhradit]"));
}
