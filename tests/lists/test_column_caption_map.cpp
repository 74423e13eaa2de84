#include "lists/column_caption_map.h"

#include "core/app_state.h"
#include "core/formatting.h"

#include <gtest/gtest.h>

namespace kelvarn {
namespace {

class CaptionMaps : public ::testing::Test {
  protected:
    void SetUp() override { LocaleConventions::setCurrent(LocaleConventions::czech()); }
    void TearDown() override { LocaleConventions::setCurrent(LocaleConventions::czech()); }

    static std::array<QString, kCaptionMapCount> maps(double reduced, double basic) {
        AppState state;
        state.vatReduced = reduced;
        state.vatBasic = basic;
        return buildCaptionMaps(state);
    }
};

struct MapCase {
    int tab;
    int count;
    const char* firstColumn;
    const char* firstCaption;
    const char* lastColumn;
    const char* lastCaption;
};

TEST_F(CaptionMaps, EveryMapHasItsEntriesInOrder) {
    const MapCase cases[] = {
        {1, 10, "id", "[ID]", "vydaj_danovy", "[Výdaj]"},
        {2, 11, "id", "[ID]", "celkem_bez_dph_19", "[Základ daně (základní sazba)]"},
        {3, 69, "id", "[ID]", "tbl_polozky.poznamka", "[Položka_Poznámka]"},
        {4, 51, "id", "[ID]", "zpusob_uhrady", "[Způsob úhrady]"},
        {5, 28, "id", "[ID]", "zakazka", "[Zakázka]"},
        {6, 29, "id", "[ID]", "zakazka", "[Zakázka]"},
        {7, 15, "id", "[ID]", "zustatkova_cena", "[Zůstatková cena]"},
        {8, 12, "id", "[ID]", "pocet_km", "[Ujeto km]"},
        {9, 12, "id", "[ID]", "zaruka", "[Záruka]"},
        {10, 23, "id", "[ID]", "www", "[www]"},
        {11, 8, "id", "[ID]", "poznamka", "[Poznámka]"},
    };
    const auto all = maps(12, 21);
    for (const MapCase& c : cases) {
        SCOPED_TRACE(c.tab);
        const ColumnCaptionMap map(all[c.tab]);
        ASSERT_EQ(map.entries().size(), c.count);
        EXPECT_EQ(map.entries().first().column, QString::fromUtf8(c.firstColumn));
        EXPECT_EQ(map.entries().first().caption, QString::fromUtf8(c.firstCaption));
        EXPECT_EQ(map.entries().last().column, QString::fromUtf8(c.lastColumn));
        EXPECT_EQ(map.entries().last().caption, QString::fromUtf8(c.lastCaption));
    }
}

TEST_F(CaptionMaps, EveryEntryIsWellFormedAndTheTextReadsBackWhole) {
    for (const double reduced : {12.0, 12.5, 0.25}) {
        const auto all = maps(reduced, 21.75);
        for (int tab = 1; tab <= 11; ++tab) {
            SCOPED_TRACE(tab);
            const ColumnCaptionMap map(all[tab]);
            QString rebuilt;
            QSet<QString> columns;
            for (const CaptionEntry& entry : map.entries()) {
                EXPECT_TRUE(entry.caption.startsWith('[') && entry.caption.endsWith(']'))
                    << entry.caption.toStdString();
                const QString inner = entry.caption.mid(1, entry.caption.size() - 2);
                for (const QChar bad : {QChar(','), QChar('['), QChar(']'), QChar('#')})
                    EXPECT_FALSE(inner.contains(bad)) << entry.caption.toStdString();
                EXPECT_FALSE(columns.contains(entry.column)) << entry.column.toStdString();
                columns.insert(entry.column);
                rebuilt += entry.column + ',' + entry.caption + ",#";
            }
            // Nothing of the text was lost or misread between the delimiters.
            EXPECT_EQ(rebuilt, all[tab]);
        }
    }
}

TEST_F(CaptionMaps, UnusedTabsHaveEmptyMaps) {
    const auto all = maps(12, 21);
    for (const int tab : {0, 12, 13, 14}) {
        EXPECT_TRUE(all[tab].isEmpty()) << tab;
        const ColumnCaptionMap map(all[tab]);
        EXPECT_TRUE(map.isEmpty());
        EXPECT_EQ(map.columnOf(QStringLiteral("[ID]")), QString());
    }
}

TEST_F(CaptionMaps, DocumentMapsCarryTheRatesInTheirSlotCaptions) {
    struct RateCase {
        LocaleConventions locale;
        double reduced;
        double basic;
        const char* reducedText;
        const char* basicText;
    };
    LocaleConventions dotted = LocaleConventions::czech();
    dotted.decimalSeparator = QStringLiteral(".");
    const RateCase cases[] = {
        {LocaleConventions::czech(), 15, 21, "15", "21"},
        {LocaleConventions::czech(), 12.5, 21, "12.5", "21"}, // "," would split the entry
        {LocaleConventions::czech(), 10.25, 19.5, "10.25", "19.5"},
        {dotted, 12.5, 21, "12.5", "21"},
    };
    for (const RateCase& c : cases) {
        LocaleConventions::setCurrent(c.locale);
        const QString reduced = QString::fromUtf8(c.reducedText);
        const QString basic = QString::fromUtf8(c.basicText);
        EXPECT_EQ(captionRate(c.reduced), reduced);
        for (const bool issued : {true, false}) {
            SCOPED_TRACE(std::string(c.reducedText) + (issued ? " issued" : " received"));
            const ColumnCaptionMap map(documentsCaptionMap(issued, c.reduced, c.basic));
            EXPECT_EQ(map.entries().size(), issued ? 69 : 51);
            const std::pair<const char*, QString> slotCaptions[] = {
                {"celkem_dph_0", "[Celkem DPH 0]"},
                {"celkem_dph_5", "[Celkem DPH " + reduced + "]"},
                {"celkem_dph_19", "[Celkem DPH " + basic + "]"},
                {"celkem_bez_dph_0", "[Celkem bez DPH 0]"},
                {"celkem_bez_dph_5", "[Celkem bez DPH " + reduced + "]"},
                {"celkem_bez_dph_19", "[Celkem bez DPH " + basic + "]"},
                {"celkem_s_dph_0", "[Celkem s DPH 0]"},
                {"celkem_s_dph_5", "[Celkem s DPH " + reduced + "]"},
                {"celkem_s_dph_19", "[Celkem s DPH " + basic + "]"},
            };
            for (const auto& [column, caption] : slotCaptions) {
                EXPECT_EQ(map.captionOf(QString::fromUtf8(column)), caption);
                EXPECT_EQ(map.columnOf(caption), QString::fromUtf8(column));
            }
        }
    }
}

TEST_F(CaptionMaps, TheTwoDocumentMapsNameTheParties) {
    const auto all = maps(12, 21);
    const ColumnCaptionMap issued(all[kIssuedDocumentsTab]);
    const ColumnCaptionMap received(all[kReceivedDocumentsTab]);
    // The entrepreneur is the supplier of issued documents and the customer of received ones.
    EXPECT_EQ(issued.captionOf(QStringLiteral("dod_nazev_firmy")), QStringLiteral("[Dodavatel - název]"));
    EXPECT_EQ(received.captionOf(QStringLiteral("dod_nazev_firmy")), QStringLiteral("[Odběratel - název]"));
    EXPECT_EQ(issued.captionOf(QStringLiteral("pohledavka_zavazek")), QStringLiteral("[Pohledávka]"));
    EXPECT_EQ(received.captionOf(QStringLiteral("pohledavka_zavazek")), QStringLiteral("[Závazek]"));
    EXPECT_EQ(issued.columnOf(QStringLiteral("[Položka_Kód]")), QStringLiteral("tbl_polozky.kod_zbozi"));
    EXPECT_EQ(received.columnOf(QStringLiteral("[Položka_Kód]")), QString());
    EXPECT_EQ(received.captionOf(QStringLiteral("cislo_dokladu_puvodni")),
              QStringLiteral("[Původní číslo dokladu]"));
}

TEST(ColumnCaptionMapRead, StopsAtTheFirstEmptyEntry) {
    struct ReadCase {
        const char* text;
        QStringList columns;
    };
    const ReadCase cases[] = {
        {"", {}},
        {"a,[A],#b,[B],#", {"a", "b"}},
        {"a,[A],##b,[B],#", {"a"}}, // the empty entry ends the map
        {"#a,[A],#", {}},           // so does an empty first entry
        {"a,[A],#b,[B]", {"a"}},    // text after the last "#" is no entry
        {"a,[A],", {}},             // no "#" at all: no complete entry
        {"junk#a,[A],#", {"a"}},    // an entry without "," names no column
    };
    for (const ReadCase& c : cases) {
        QStringList columns;
        for (const CaptionEntry& entry : ColumnCaptionMap::read(QString::fromUtf8(c.text)))
            columns << entry.column;
        EXPECT_EQ(columns, c.columns) << c.text;
    }
}

TEST(ColumnCaptionMapRead, LooksUpBothWaysExactly) {
    const ColumnCaptionMap map(QStringLiteral("zbyva_uhradit,[Zbývá uhradit],#datum,[Datum],#"));
    EXPECT_EQ(map.columnOf(QStringLiteral("[Zbývá uhradit]")), QStringLiteral("zbyva_uhradit"));
    EXPECT_EQ(map.columnOf(QStringLiteral("Zbývá uhradit")), QStringLiteral("zbyva_uhradit"));
    EXPECT_EQ(map.columnOf(QStringLiteral("[zbývá uhradit]")), QString());
    EXPECT_EQ(map.columnOf(QStringLiteral("[Neznámý]")), QString());
    EXPECT_EQ(map.captionOf(QStringLiteral("datum")), QStringLiteral("[Datum]"));
    EXPECT_EQ(map.captionOf(QStringLiteral("DATUM")), QString());
    EXPECT_EQ(map.text(), QStringLiteral("zbyva_uhradit,[Zbývá uhradit],#datum,[Datum],#"));
}

} // namespace
} // namespace kelvarn
