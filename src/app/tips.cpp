#include "app/tips.h"

#include "core/text_utils.h"

#include <QRandomGenerator>

namespace kelvarn {

QString tipsText() {
    // clang-format off
    static const QString text = QStringLiteral(
        // 0: the default login of each platform
        "Výchozí uživatelské jméno pro databázový systém Microsoft JET je \"Administrator\". Heslo je prázdný "
        "řetězec, tj. nic nezadáváte.\r\n\r\nZ důvodů bezpečnosti byste si měli po přihlášení heslo změnit. "
        "Změnu hesla provedete v menu Nástroje - Možnosti.\r\n#"
        "Výchozí uživatelské jméno pro databázový systém Microsoft SQL 2005 je \"sa\". Heslo je takové, které "
        "jste si sami zvolili při instalaci databázového systému.\r\n#"
        "Výchozí uživatelské jméno pro databázový systém Oracle je \"Administrator\". Heslo je \"qx\".\r\n\r\n"
        "Z důvodů bezpečnosti byste si měli po přihlášení heslo změnit. Změnu hesla provedete v menu Nástroje - "
        "Možnosti.\r\n#"
        "MySQL#"
        "Výchozí uživatelské jméno pro databázový systém Firebird je \"SYSDBA\". Heslo je \"quillfern\".\r\n\r\n"
        "Z důvodů bezpečnosti byste si měli po přihlášení heslo změnit. Změnu hesla u Firebirdu nelze provést z "
        "této aplikace. Podívejte se prosím do nápovědy.\r\n#\r\n^"
        // 1
        "Podívejte se na nápovědu k této aplikaci. Nápovědu zobrazíte stisknutím klávesy F1 jakmile se "
        "přihlásíte (ať už úspěšně či neúspěšně).\r\n^"
        // 2
        "Chtěli byste vlastní úvodní obrázek? Například logo Vaší firmy?\r\nŽádný problém!\r\n\r\nNajděte ve "
        "složce, ve které je Kelvarn nainstalován, soubor \"logo.jpg\" a nahraďte jej vlastním. Rozměry obrázku "
        "jsou pevně stanoveny na 988 x 586 bodů. Přípona musí zůstat JPG.\r\n^"
        // 3
        "Zapamatujte si klávesovou zkratku pro uložení záznamu CTRL+S. Ušetří Vám spoustu času...\r\n^"
        // 4
        "Chcete se přihlašovat automaticky? Nebo preferujete raději sestupné řazení záznamů? Tak si to "
        "jednoduše nastavte!\r\n\r\nProhlédněte si možnosti inicializačního souboru \"kelvarn.ini\". Podrobný "
        "popis naleznete v Nápovědě.\r\n^"
        // 5
        "Zálohujete pravidelně? Jste připraveni na situaci, že Vám jednoho krásného dne třeba odejde celý pevný "
        "disk i se všemi daty?\r\n\r\nPostup správného zálohování naleznete v Nápovědě.\r\n^"
        // 6: our print layouts are templates, so the advice is about editing them
        "Chcete si upravit vzhled tiskových sestav? Naučte se pracovat se šablonami sestav - stačí k tomu "
        "textový editor a základy jazyka HTML.\r\n\r\nVšechny tiskové sestavy jsou uloženy v jediném souboru "
        "projektu sestav \"sestavy.rav\" ve složce, ve které je Kelvarn nainstalován. Každá sestava je v něm "
        "šablona HTML se značkami Mustache; popis souboru naleznete v README.\r\n\r\nPozor: každá aktualizace "
        "programu Kelvarn tento soubor nahradí novým. Vlastní úpravy si proto uschovejte, po aktualizaci je "
        "budete muset provést znovu.\r\n^"
        // 7
        "Editační režim zrušíte buď uložením záznamu (CTRL+S), anebo jeho stornováním (ESC). \r\n ^"
        // 8
        "Zobrazují se Vám špatně datumová pole? Pak zřejmě používáte jiná než česká Windows.\r\n\r\nOtevřete "
        "ovládací panely a v nich místní nastavení (local settings). Vše lokalizujte na Českou republiku, anebo "
        "změňte jen formát krátkého datumu na 'd.M.yyyy' (příp. 'd.M.rrrr' u českých Windows).\r\n^"
        // 9
        "Otravují Vás již tyto tipy? Zakažte je! :) \r\n\r\nTipy se zobrazují schválně před každým přihlášením. "
        "Cílem je donutit Vás je vypnout a seznámit se tak se souborem \"kelvarn.ini\" (viz. menu Nástroje - "
        "Správa .ini souboru). Podrobný popis jeho možností naleznete v nápovědě.\r\n^"
        // 10
        "Věděli jste, že dvojklik na datumovém údaji vyvolá výběrový formulář s kalendářem? \r\n^");
    // clang-format on
    return text;
}

QString tipText(const QString& tipsText, int tipIndex, const QString& platformCode) {
    const QString tip = pickDelimitedItem(tipsText, QStringLiteral("^"), tipIndex);
    if (!tip.contains(QLatin1Char('#')))
        return tip;
    // A platform code that is not a number (none configured yet) gives index -1: no variant.
    return pickDelimitedItem(tip, QStringLiteral("#"), platformCode.toInt() - 1);
}

int nextTipIndex(int tipIndex) {
    const int next = tipIndex + 1;
    return next >= kTipCount || next < 0 ? 0 : next;
}

int chooseTipIndex(bool firstLoginFileExists, const std::function<int(int, int)>& random) {
    int tipIndex = 0;
    // Each round ends the draw with growing likelihood; by round 10 it always ends.
    for (int i = 1;; ++i) {
        const int r = random(0, kTipCount - 1);
        if (i >= r)
            break;
        tipIndex = random(0, kTipCount - 1);
    }
    if (!firstLoginFileExists)
        return 0;
    return tipIndex == 0 ? 1 : tipIndex;
}

int randomInRange(int low, int high) {
    return QRandomGenerator::global()->bounded(low, high + 1);
}

} // namespace kelvarn
