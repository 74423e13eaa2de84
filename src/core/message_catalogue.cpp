#include "core/message_catalogue.h"

namespace kelvarn {

namespace {

const QString kSupportAddress = QStringLiteral("podpora@kelvarn.cz");

CatalogueEntry entry(const QString& caption, const QString& text, MessageStyle style) {
    return CatalogueEntry{caption, text, style};
}

bool isQuestion(MessageStyle style) {
    return style == MessageStyle::Question || style == MessageStyle::WarnQuestion;
}

} // namespace

bool catalogueEntry(int code, const QString& argument, const AppState& state, CatalogueEntry& out) {
    using S = MessageStyle;
    const QString generatorCaption = QStringLiteral("Chyba v generátoru !?");
    switch (code) {
    case 1:
        out = entry(QStringLiteral("Chyba (I/O)"),
                    QStringLiteral("Nepodařilo se otevřít inicializační soubor - ") + state.configBaseName +
                        QStringLiteral(".ini "),
                    S::Error);
        return true;
    case 3:
        out = entry(QStringLiteral("Chyba (ODBC)"), argument, S::Error);
        return true;
    case 4:
        out = entry(QStringLiteral("Chyba"),
                    QStringLiteral("Operaci nelze provést. Prosím zrušte editační režim. "), S::Error);
        return true;
    case 6:
        out = entry(QStringLiteral("Chyba (verze)"),
                    QStringLiteral("Verze databáze (") + state.dbVersion + QStringLiteral(")") +
                        QStringLiteral(" a exe aplikace (") + state.appVersion +
                        QStringLiteral(") musí být shodné!  \r\nNení dovoleno verze kombinovat."),
                    S::Warning);
        return true;
    case 8:
        out = entry(QStringLiteral("Dotaz"), QStringLiteral("Opravdu chcete záznam uložit?   "), S::Question);
        return true;
    case 9:
        out = entry(QStringLiteral("Dotaz"), QStringLiteral("Opravdu chcete záznam(y) smazat?   "),
                    S::Question);
        return true;
    case 10:
        out = entry(
            QStringLiteral("Výpočet DPH"),
            QStringLiteral("Tato funkce provede výpočet částek celkem (DPH, cena bez/s DPH) do hlavičky "
                           "dokladu. Používá se pro bezhotovostní platby, jako základ daně bude použita "
                           "cena celkem bez DPH.\r\n\r\nOpravdu chcete tuto operaci provést?"),
            S::Question);
        return true;
    case 11:
        out = entry(
            QStringLiteral("Zaokrouhlení dokladu a výpočet DPH"),
            QStringLiteral("Tato funkce provede haléřové zaokrouhlení dokladu a vypočte částky celkem "
                           "(DPH, cena bez/s DPH) do hlavičky dokladu. Zaokrouhlení je nutné pouze u "
                           "plateb v hotovosti, jako základ daně bude použita cena celkem s DPH.\r\n\r\n"
                           "Opravdu chcete tuto operaci provést?"),
            S::Question);
        return true;
    case 12:
        out = entry(QStringLiteral("Neuložená data"),
                    QStringLiteral("Pozor, existují neuložená data v těchto panelech: \r\n\r\n") + argument +
                        QStringLiteral("\r\nOpravdu chcete aplikaci zavřít?"),
                    S::WarnQuestion);
        return true;
    case 13:
        out = entry(QStringLiteral("Dotaz"),
                    QStringLiteral("Chcete vytvořit příjmový pokladní doklad k aktuální   \r\nfaktuře č. ") +
                        argument + QStringLiteral("?"),
                    S::Question);
        return true;
    case 14:
        out = entry(QStringLiteral("Instalace"),
                    QStringLiteral("Vytvoření databázové struktury proběhlo úspěšně.  "), S::Info);
        return true;
    case 15:
        out = entry(
            generatorCaption,
            QStringLiteral("Pravděpodobně došlo k narušení generátoru čísel dokladu. Nelze najít doklad s "
                           "číslem \"") +
                argument +
                QStringLiteral("\", který by měl předcházet právě ukládanému dokladu. Příčinou tohoto "
                               "problému může být, že jste doklad vymazali, anebo že nastala vyjímka/chyba "
                               "při jeho ukládání. Prosím spuťte QueryAnalyzer, zadejte \"SELECT * from "
                               "tbl_rady;\" a příslušnou řadu opravte.\r\n\r\nToto hlášení je možno také "
                               "ignorovat. Chcete jej ignorovat a pokračovat v uložení záznamu?    "),
            S::WarnQuestion);
        return true;
    case 16:
        out = entry(QStringLiteral("Chyba v párovaném dokladu"),
                    QStringLiteral("Nelze najít doklad s číslem \"") + argument +
                        QStringLiteral("\", který měl být připárován.   "),
                    S::Warning);
        return true;
    case 17:
        out = entry(generatorCaption,
                    QStringLiteral(
                        "Pravděpodobně došlo k narušení generátoru čísel dokladu.   \r\nDoklad s číslem \"") +
                        argument + QStringLiteral("\" již v databázi existuje.    "),
                    S::Warning);
        return true;
    case 18:
        out = entry(
            QStringLiteral("Chyba při instalaci"),
            QStringLiteral("Instalace se pravděpodobně nezdařila. Prosím zašlete chybu výrobci programu na "
                           "adresu ") +
                kSupportAddress +
                QStringLiteral(", aby mohla být v dalších verzích již opravena. V mailu je důležité uvést "
                               "verzi Vašeho operačního systému (včetně jazykové mutace), dále zvolený "
                               "databázový systém a připojit také soubor \"kelvarn.log\", který naleznete ve "
                               "složce, do které jste instalovali."),
            S::Warning);
        return true;
    case 19:
        out = entry(QStringLiteral("Povinné pole"),
                    QStringLiteral("Hodnota v poli \"") + argument +
                        QStringLiteral("\" je povinná. Prosím vyplňte ji.    "),
                    S::Warning);
        return true;
    case 20:
        out = entry(QStringLiteral("Rozpracovaný záznam"),
                    QStringLiteral("Nelze přepnout na panel \"") + argument +
                        QStringLiteral("\", protože na něm existuje rozpracovaný záznam.   "),
                    S::Warning);
        return true;
    case 21:
        out = entry(QStringLiteral("Výběrový režim"),
                    QStringLiteral("Ve výběrovém režimu není dovoleno přepínat panely.   "), S::Warning);
        return true;
    case 22:
        out = entry(QStringLiteral("Import/export se nezdařil"), argument, S::Warning);
        return true;
    case 23:
        out = entry(
            QStringLiteral("Plátce DPH"),
            QStringLiteral("Jako plátce DPH musíte ve většině případů uvádět DPH jako nedaňový příjem/výdaj. "
                           "Částku bude nutné ručně rozepsat!"),
            S::Info);
        return true;
    case 24:
        out =
            entry(QStringLiteral("Sazby DPH"),
                  QStringLiteral("Snížená ani základní sazba DPH nemohou být sobě rovny anebo nulové. Prosím "
                                 "opravte. "),
                  S::Warning);
        return true;
    case 25:
        out = entry(QStringLiteral("Globální konfigurace"),
                    QStringLiteral("Při změně údaje v globální konfiguraci by měla raději být celá aplikace "
                                   "restartována. "),
                    S::Info);
        return true;
    case 26:
        out = entry(
            QStringLiteral("Upozornění"),
            QStringLiteral("Připojujete se k databázi, která leží jinde než  \"") + argument +
                QStringLiteral("\". Toto může vzniknout snahou vytvořit z ostré databáze databázi zkušební "
                               "(test). Prosím prohlédněte si soubor kelvarn.ini a ujistěte se, že cesta k "
                               "databázi je skutečně zadaná správně.\r\n\r\n[Database string]\r\n") +
                state.connectionStringShown,
            S::Warning);
        return true;
    default:
        return false;
    }
}

Answer showMessageCode(Prompts& prompts, const AppState& state, int code, const QString& argument) {
    CatalogueEntry e;
    if (!catalogueEntry(code, argument, state, e))
        return Answer::None;
    const Answer answer = prompts.message(e.caption, e.text, e.style);
    return isQuestion(e.style) ? answer : Answer::None;
}

} // namespace kelvarn
