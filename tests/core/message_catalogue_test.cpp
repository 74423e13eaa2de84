#include "core/message_catalogue.h"

#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

namespace kelvarn {
namespace {

using test::ScriptedPrompts;

TEST(MessageCatalogue, CaptionsAndStyles) {
    using S = MessageStyle;
    const struct {
        int code;
        const char* caption;
        MessageStyle style;
    } cases[] = {
        {1, "Chyba (I/O)", S::Error},
        {3, "Chyba (ODBC)", S::Error},
        {4, "Chyba", S::Error},
        {6, "Chyba (verze)", S::Warning},
        {8, "Dotaz", S::Question},
        {9, "Dotaz", S::Question},
        {10, "Výpočet DPH", S::Question},
        {11, "Zaokrouhlení dokladu a výpočet DPH", S::Question},
        {12, "Neuložená data", S::WarnQuestion},
        {13, "Dotaz", S::Question},
        {14, "Instalace", S::Info},
        {15, "Chyba v generátoru !?", S::WarnQuestion},
        {16, "Chyba v párovaném dokladu", S::Warning},
        {17, "Chyba v generátoru !?", S::Warning},
        {18, "Chyba při instalaci", S::Warning},
        {19, "Povinné pole", S::Warning},
        {20, "Rozpracovaný záznam", S::Warning},
        {21, "Výběrový režim", S::Warning},
        {22, "Import/export se nezdařil", S::Warning},
        {23, "Plátce DPH", S::Info},
        {24, "Sazby DPH", S::Warning},
        {25, "Globální konfigurace", S::Info},
        {26, "Upozornění", S::Warning},
    };
    const AppState state;
    for (const auto& c : cases) {
        CatalogueEntry e;
        ASSERT_TRUE(catalogueEntry(c.code, {}, state, e)) << c.code;
        EXPECT_EQ(e.caption, QString::fromUtf8(c.caption)) << c.code;
        EXPECT_EQ(e.style, c.style) << c.code;
    }
    for (int unknown : {0, 2, 5, 7, 27, -1}) {
        CatalogueEntry e;
        EXPECT_FALSE(catalogueEntry(unknown, {}, state, e)) << unknown;
    }
}

TEST(MessageCatalogue, TextsWithArgumentsAndState) {
    AppState state;
    state.dbVersion = QStringLiteral("1.60");
    state.connectionStringShown =
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/x/kelvarn.db;");
    const struct {
        int code;
        const char* argument;
        const char* text;
    } cases[] = {
        {1, "ignored error", "Nepodařilo se otevřít inicializační soubor - kelvarn.ini "},
        {3, " raw\r\nerror ", " raw\r\nerror "},
        {6, "",
         "Verze databáze (1.60) a exe aplikace (1.70) musí být shodné!  \r\nNení dovoleno verze kombinovat."},
        {12, "- Zboží\r\n- Zakázky\r\n",
         "Pozor, existují neuložená data v těchto panelech: \r\n\r\n- Zboží\r\n- Zakázky\r\n\r\n"
         "Opravdu chcete aplikaci zavřít?"},
        {13, "FAV-2024-7",
         "Chcete vytvořit příjmový pokladní doklad k aktuální   \r\nfaktuře č. FAV-2024-7?"},
        {17, "X",
         "Pravděpodobně došlo k narušení generátoru čísel dokladu.   \r\nDoklad s číslem \"X\" již v "
         "databázi "
         "existuje.    "},
        {19, "Datum", "Hodnota v poli \"Datum\" je povinná. Prosím vyplňte ji.    "},
        {22, "", ""},
    };
    for (const auto& c : cases) {
        CatalogueEntry e;
        ASSERT_TRUE(catalogueEntry(c.code, QString::fromUtf8(c.argument), state, e));
        EXPECT_EQ(e.text, QString::fromUtf8(c.text)) << c.code;
    }

    CatalogueEntry e;
    ASSERT_TRUE(catalogueEntry(15, QStringLiteral("FAP-2024-3"), state, e));
    EXPECT_TRUE(
        e.text.startsWith(QStringLiteral("Pravděpodobně došlo k narušení generátoru čísel dokladu. Nelze "
                                         "najít doklad s číslem \"FAP-2024-3\", který")));
    EXPECT_TRUE(e.text.endsWith(QStringLiteral("pokračovat v uložení záznamu?    ")));

    ASSERT_TRUE(catalogueEntry(18, {}, state, e));
    EXPECT_TRUE(e.text.contains(QStringLiteral("na adresu podpora@kelvarn.cz, aby mohla")));

    ASSERT_TRUE(catalogueEntry(26, QStringLiteral("/opt/kelvarn/"), state, e));
    EXPECT_TRUE(e.text.startsWith(
        QStringLiteral("Připojujete se k databázi, která leží jinde než  \"/opt/kelvarn/\". ")));
    EXPECT_TRUE(
        e.text.endsWith(QStringLiteral("\r\n\r\n[Database string]\r\nProvider=Microsoft.Jet.OLEDB.4.0;"
                                       "Data Source=/x/kelvarn.db;")));

    state.configBaseName = QStringLiteral("jiny");
    ASSERT_TRUE(catalogueEntry(1, {}, state, e));
    EXPECT_EQ(e.text, QStringLiteral("Nepodařilo se otevřít inicializační soubor - jiny.ini "));
}

// Answers every box with the same button, whatever its style.
class StubbornPrompts : public ScriptedPrompts {
  public:
    explicit StubbornPrompts(Answer answer) : answer_(answer) {}
    Answer message(const QString& caption, const QString& text, MessageStyle style) override {
        ScriptedPrompts::message(caption, text, style);
        return answer_;
    }

  private:
    Answer answer_;
};

TEST(ShowMessageCode, OnlyQuestionsAnswer) {
    const AppState state;
    for (Answer pressed : {Answer::Yes, Answer::No, Answer::Cancel}) {
        StubbornPrompts prompts(pressed);
        EXPECT_EQ(showMessageCode(prompts, state, 8), pressed);
        EXPECT_EQ(showMessageCode(prompts, state, 12, QStringLiteral("- Zboží\r\n")), pressed);
        EXPECT_EQ(showMessageCode(prompts, state, 24), Answer::None);
        EXPECT_EQ(showMessageCode(prompts, state, 3, QStringLiteral("err")), Answer::None);
        ASSERT_EQ(prompts.shown.size(), 4);
        EXPECT_EQ(prompts.shown[3].caption, "Chyba (ODBC)");
        EXPECT_EQ(prompts.shown[3].text, "err");
    }
}

TEST(ShowMessageCode, UnknownCodeShowsNothing) {
    ScriptedPrompts prompts;
    EXPECT_EQ(showMessageCode(prompts, AppState{}, 2, QStringLiteral("x")), Answer::None);
    EXPECT_EQ(showMessageCode(prompts, AppState{}, 100), Answer::None);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

} // namespace
} // namespace kelvarn
