#include "lists/column_caption_map.h"

#include "core/app_state.h"
#include "core/formatting.h"
#include "core/text_utils.h"

namespace kelvarn {

namespace {

const QString kEntryDelimiter = QStringLiteral("#");
const QString kFieldDelimiter = QStringLiteral(",");

// clang-format off
QString cashBookMap() {
    return QStringLiteral(
        "id,[ID],#"
        "id_tbl_doklad,[ID spárovaného dokladu],#"
        "cislo_dokladu,[Číslo spárovaného dokladu],#"
        "datum,[Datum],#"
        "doklad,[Doklad],#"
        "popis,[Popis operace],#"
        "prijem_nedanovy,[Příjem (nedaňový)],#"
        "prijem_danovy,[Příjem],#"
        "vydaj_nedanovy,[Výdaj (nedaňový)],#"
        "vydaj_danovy,[Výdaj],#");
}

QString vatListMap() {
    return QStringLiteral(
        "id,[ID],#"
        "datum_uplatneni_plneni,[Datum upl. zd. plnění],#"
        "datum_vystaveni,[Datum vystavení],#"
        "cislo_dokladu,[Číslo dokladu],#"
        "variabilni_symbol,[Variabilní symbol],#"
        "cislo_dokladu_puvodni,[Původní číslo dokladu],#"
        "celkem_dph_5,[DPH (snížená sazba)],#"
        "celkem_dph_19,[DPH (základní sazba)],#"
        "celkem_bez_dph_0,[Základ daně (0%)],#"
        "celkem_bez_dph_5,[Základ daně (snížená sazba)],#"
        "celkem_bez_dph_19,[Základ daně (základní sazba)],#");
}

// Both voucher maps begin alike; the partner columns follow under their own captions.
QString vouchersMapHead() {
    return QStringLiteral(
        "id,[ID],#"
        "id_tbl_partner,[ID partnera],#"
        "id_tbl_zakazka,[ID zakazky],#"
        "celkem_doklad_s_dph,[Celkem za doklad s DPH],#"
        "poznamka,[Částka slovy],#"
        "cislo_dokladu,[Číslo dokladu],#"
        "datum_vystaveni,[Datum vystavení],#"
        "dod_dic,[Firma - DIČ],#"
        "dod_ic,[Firma - IČ],#"
        "dod_mesto,[Firma - Město],#"
        "dod_nazev_firmy,[Firma - název],#"
        "dod_nazev_upresneni,[Firma - název upřesnění],#"
        "dod_psc,[Firma - PSČ],#"
        "dod_ulice,[Firma - ulice],#"
        "kurz,[Kurz],#"
        "mena,[Měna],#"
        "podklad_dph,[Podklad k DPH],#"
        "podpis,[Pokladník],#");
}

QString receiptVouchersMap() {
    return vouchersMapHead() + QStringLiteral(
                                   "odb_dic,[Přijato od - DIČ],#"
                                   "odb_ic,[Přijato od - IČ],#"
                                   "odb_kontakt,[Přijato od - kontakt],#"
                                   "odb_mesto,[Přijato od - Město],#"
                                   "odb_nazev_firmy,[Přijato od - název],#"
                                   "odb_nazev_upresneni,[Přijato od - název upřesnění],#"
                                   "odb_psc,[Přijato od - PSČ],#"
                                   "odb_ulice,[Přijato od - ulice],#"
                                   "poznamka2,[Účel platby],#"
                                   "zakazka,[Zakázka],#");
}

QString expenseVouchersMap() {
    return vouchersMapHead() + QStringLiteral(
                                   "cislo_dokladu_puvodni,[Původní číslo dokladu],#"
                                   "poznamka2,[Účel platby],#"
                                   "odb_dic,[Vyplaceno - DIČ],#"
                                   "odb_ic,[Vyplaceno - IČ],#"
                                   "odb_kontakt,[Vyplaceno - kontakt],#"
                                   "odb_mesto,[Vyplaceno - Město],#"
                                   "odb_nazev_firmy,[Vyplaceno - název],#"
                                   "odb_nazev_upresneni,[Vyplaceno - název upřesnění],#"
                                   "odb_psc,[Vyplaceno - PSČ],#"
                                   "odb_ulice,[Vyplaceno - ulice],#"
                                   "zakazka,[Zakázka],#");
}

QString assetsMap() {
    return QStringLiteral(
        "id,[ID],#"
        "datum_zarazeni,[Datum zařazení],#"
        "datum_vyrazeni,[Datum vyřazení],#"
        "cislo,[Evidenční číslo],#"
        "nazev,[Název],#"
        "skupina,[Odpisová skupina],#"
        "opravky,[Oprávky],#"
        "poznamka,[Poznámka],#"
        "sazba,[Sazba],#"
        "typ,[Typ majetku],#"
        "vstupni_cena,[Vstupní cena],#"
        "zpusob_nabyti,[Způsob nabytí],#"
        "zpusob_odepisovani,[Způsob odepisování],#"
        "zpusob_vyrazeni,[Způsob vyřazení],#"
        "zustatkova_cena,[Zůstatková cena],#");
}

QString vehicleLogMap() {
    return QStringLiteral(
        "id,[ID],#"
        "datum,[Datum],#"
        "kam,[Kam],#"
        "end_stav,[Konečný stav km],#"
        "odkud,[Odkud],#"
        "start_stav,[Počáteční stav km],#"
        "poznamka,[Poznámka],#"
        "ridic,[Řidič],#"
        "typ,[Soukromá],#"
        "spz,[SPZ vozidla],#"
        "ucel,[Účel cesty],#"
        "pocet_km,[Ujeto km],#");
}

QString goodsMap() {
    return QStringLiteral(
        "id,[ID],#"
        "cena_jednotka,[Cena za jednotku],#"
        "dph,[DPH],#"
        "kod_zbozi,[Kód zboží],#"
        "mj,[MJ],#"
        "mnozstvi,[Množství],#"
        "popis,[Název],#"
        "popis_dlouhy,[Popis],#"
        "cena_poplatek2,[Poplatek autorský],#"
        "cena_poplatek1,[Poplatek za likvidaci],#"
        "sleva,[Sleva],#"
        "zaruka,[Záruka],#");
}

QString partnersMap() {
    return QStringLiteral(
        "id,[ID],#"
        "kontakt,[Dodací adresa - kontakt],#"
        "dodani_mesto,[Dodací adresa - Město],#"
        "dodani_nazev,[Dodací adresa - název],#"
        "dodani_nazev2,[Dodací adresa - název upřesnění],#"
        "dodani_psc,[Dodací adresa - PSČ],#"
        "dodani_ulice,[Dodací adresa - ulice],#"
        "cislo_uctu,[Číslo účtu],#"
        "cislo_uctu_IBAN,[Číslo účtu (IBAN)],#"
        "dic,[DIČ],#"
        "email,[Email],#"
        "ic,[IČ],#"
        "kod_partnera,[Kód partnera],#"
        "nazev_firmy,[Název],#"
        "nazev_upresneni,[Název upřesnění],#"
        "mesto,[Obec],#"
        "poznamka_dlouha,[Poznámka],#"
        "poznamka,[Poznámka - krátká],#"
        "psc,[PSČ],#"
        "splatnost_fa,[Splatnost faktur],#"
        "telefon,[Telefon],#"
        "ulice,[Ulice],#"
        "www,[www],#");
}

QString ordersMap() {
    return QStringLiteral(
        "id,[ID],#"
        "datum_fakturace,[Datum fakturace],#"
        "datum_pozadovane,[Datum požadované],#"
        "datum_zaevidovani,[Datum přijetí],#"
        "datum_ukonceni,[Datum splnění],#"
        "zakazka,[Označení zakázky],#"
        "popis,[Popis],#"
        "poznamka,[Poznámka],#");
}

QString pieceA() {
    return QStringLiteral(
        "id,[ID],#"
        "id_tbl_partner,[ID partnera],#"
        "id_tbl_zakazka,[ID zakazky],#"
        "celkem_dph_0,[Celkem DPH 0],#"
        "celkem_dph_5,[Celkem DPH ");
}

QString pieceB() {
    return QStringLiteral(
        "],#"
        "celkem_dph_19,[Celkem DPH ");
}

QString pieceC() {
    return QStringLiteral(
        "],#"
        "celkem_bez_dph_0,[Celkem bez DPH 0],#"
        "celkem_bez_dph_5,[Celkem bez DPH ");
}

QString pieceD() {
    return QStringLiteral(
        "],#"
        "celkem_bez_dph_19,[Celkem bez DPH ");
}

QString pieceE() {
    return QStringLiteral(
        "],#"
        "celkem_s_dph_0,[Celkem s DPH 0],#"
        "celkem_s_dph_5,[Celkem s DPH ");
}

QString pieceF() {
    return QStringLiteral(
        "],#"
        "celkem_s_dph_19,[Celkem s DPH ");
}

QString issuedTail() {
    return QStringLiteral(
        "],#"
        "celkem_doklad_dph,[Celkem DPH za doklad],#"
        "celkem_doklad,[Celkem za doklad bez DPH],#"
        "celkem_doklad_s_dph,[Celkem za doklad s DPH],#"
        "cislo_dokladu,[Číslo dokladu],#"
        "datum_spatnosti,[Datum splatnosti],#"
        "datum_uplatneni_plneni,[Datum upl. zd. plnění],#"
        "datum_vystaveni,[Datum vystavení],#"
        "datum_zdanitelne_plneni,[Datum zd. plnění],#"
        "odb_dodani_kontakt,[Dodací adresa - kontakt],#"
        "odb_dodani_mesto,[Dodací adresa - Město],#"
        "odb_dodani_nazev,[Dodací adresa - název],#"
        "odb_dodani_nazev2,[Dodací adresa - název upřesnění],#"
        "odb_dodani_psc,[Dodací adresa - PSČ],#"
        "odb_dodani_ulice,[Dodací adresa - ulice],#"
        "dod_cislo_uctu,[Dodavatel - číslo účtu],#"
        "dod_cislo_uctu_IBAN,[Dodavatel - číslo účtu (IBAN)],#"
        "dod_dic,[Dodavatel - DIČ],#"
        "dod_ic,[Dodavatel - IČ],#"
        "dod_mesto,[Dodavatel - Město],#"
        "dod_nazev_firmy,[Dodavatel - název],#"
        "dod_nazev_upresneni,[Dodavatel - název upřesnění],#"
        "dod_psc,[Dodavatel - PSČ],#"
        "dod_ulice,[Dodavatel - ulice],#"
        "podpis,[Doklad vystavil],#"
        "kurz,[Kurz],#"
        "mena,[Měna],#"
        "odb_dic,[Odběratel - DIČ],#"
        "odb_ic,[Odběratel - IČ],#"
        "odb_kontakt,[Odběratel - kontakt],#"
        "odb_mesto,[Odběratel - Město],#"
        "odb_nazev_firmy,[Odběratel - název],#"
        "odb_nazev_upresneni,[Odběratel - název upřesnění],#"
        "odb_psc,[Odběratel - PSČ],#"
        "odb_ulice,[Odběratel - ulice],#"
        "podklad_dph,[Podklad k DPH],#"
        "pohledavka_zavazek,[Pohledávka],#"
        "poznamka,[Poznámka k dokladu],#"
        "poznamka2,[Text na dokladu],#"
        "variabilni_symbol,[Variabilní symbol],#"
        "zakazka,[Zakázka],#"
        "zbyva_uhradit,[Zbývá uhradit],#"
        "zpusob_uhrady,[Způsob úhrady],#"
        "tbl_polozky.id,[Položka_ID],#"
        "tbl_polozky.cislo_radku,[Položka_Pořadí],#"
        "tbl_polozky.kod_zbozi,[Položka_Kód],#"
        "tbl_polozky.popis,[Položka_Popis],#"
        "tbl_polozky.mnozstvi,[Položka_Množství],#"
        "tbl_polozky.mj,[Položka_MJ],#"
        "tbl_polozky.sleva,[Položka_Sleva],#"
        "tbl_polozky.cena_jednotka,[Položka_Cena za jednotku],#"
        "tbl_polozky.cena_celkem_bez_dph,[Položka_Cena Celkem],#"
        "tbl_polozky.dph,[Položka_DPH],#"
        "tbl_polozky.dph_celkem,[Položka_DPH Celkem],#"
        "tbl_polozky.cena_celkem_s_dph,[Položka_Cena celkem s DPH],#"
        "tbl_polozky.zaruka,[Položka_Záruka],#"
        "tbl_polozky.seriove_cislo,[Položka_Sériové číslo],#"
        "tbl_polozky.poznamka,[Položka_Poznámka],#");
}

QString receivedTail() {
    return QStringLiteral(
        "],#"
        "celkem_doklad_dph,[Celkem DPH za doklad],#"
        "celkem_doklad,[Celkem za doklad bez DPH],#"
        "celkem_doklad_s_dph,[Celkem za doklad s DPH],#"
        "cislo_dokladu,[Číslo dokladu],#"
        "datum_spatnosti,[Datum splatnosti],#"
        "datum_uplatneni_plneni,[Datum upl. zd. plnění],#"
        "datum_vystaveni,[Datum vystavení],#"
        "datum_zdanitelne_plneni,[Datum zd. plnění],#"
        "odb_cislo_uctu,[Dodavatel - číslo účtu],#"
        "odb_cislo_uctu_IBAN,[Dodavatel - číslo účtu (IBAN)],#"
        "odb_dic,[Dodavatel - DIČ],#"
        "odb_ic,[Dodavatel - IČ],#"
        "odb_kontakt,[Dodavatel - kontakt],#"
        "odb_mesto,[Dodavatel - Město],#"
        "odb_nazev_firmy,[Dodavatel - název],#"
        "odb_nazev_upresneni,[Dodavatel - název upřesnění],#"
        "odb_psc,[Dodavatel - PSČ],#"
        "odb_ulice,[Dodavatel - ulice],#"
        "podpis,[Doklad vystavil],#"
        "kurz,[Kurz],#"
        "mena,[Měna],#"
        "dod_cislo_uctu,[Odběratel - číslo účtu],#"
        "dod_cislo_uctu_IBAN,[Odběratel - číslo účtu (IBAN)],#"
        "dod_dic,[Odběratel - DIČ],#"
        "dod_ic,[Odběratel - IČ],#"
        "dod_mesto,[Odběratel - Město],#"
        "dod_nazev_firmy,[Odběratel - název],#"
        "dod_nazev_upresneni,[Odběratel - název upřesnění],#"
        "dod_psc,[Odběratel - PSČ],#"
        "dod_ulice,[Odběratel - ulice],#"
        "podklad_dph,[Podklad k DPH],#"
        "poznamka,[Poznámka k dokladu],#"
        "cislo_dokladu_puvodni,[Původní číslo dokladu],#"
        "poznamka2,[Text na dokladu],#"
        "variabilni_symbol,[Variabilní symbol],#"
        "zakazka,[Zakázka],#"
        "pohledavka_zavazek,[Závazek],#"
        "zbyva_uhradit,[Zbývá uhradit],#"
        "zpusob_uhrady,[Způsob úhrady],#");
}
// clang-format on

QString bracketed(const QString& caption) {
    if (caption.startsWith(QLatin1Char('[')) && caption.endsWith(QLatin1Char(']')))
        return caption;
    return QLatin1Char('[') + caption + QLatin1Char(']');
}

} // namespace

ColumnCaptionMap::ColumnCaptionMap(const QString& text) : text_(text), entries_(read(text)) {}

QList<CaptionEntry> ColumnCaptionMap::read(const QString& text) {
    QList<CaptionEntry> entries;
    // Without any "#" the shared routine hands back the whole text for every index, so
    // such a text would never reach an empty entry; it holds no complete entry anyway.
    if (!text.contains(kEntryDelimiter))
        return entries;
    for (int k = 0;; ++k) {
        const QString entry = pickDelimitedItem(text, kEntryDelimiter, k);
        if (entry.isEmpty())
            break;
        if (!entry.contains(kFieldDelimiter))
            continue;
        entries.append(
            {pickDelimitedItem(entry, kFieldDelimiter, 0), pickDelimitedItem(entry, kFieldDelimiter, 1)});
    }
    return entries;
}

QString ColumnCaptionMap::columnOf(const QString& caption) const {
    const QString wanted = bracketed(caption);
    for (const CaptionEntry& entry : entries_)
        if (entry.caption == wanted)
            return entry.column;
    return {};
}

QString ColumnCaptionMap::captionOf(const QString& column) const {
    for (const CaptionEntry& entry : entries_)
        if (entry.column == column)
            return entry.caption;
    return {};
}

QString captionRate(double rate) {
    QString text = formatGeneral(rate);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text;
}

QString documentsCaptionMap(bool issued, double reducedRate, double basicRate) {
    const QString reduced = captionRate(reducedRate);
    const QString basic = captionRate(basicRate);
    return pieceA() + reduced + pieceB() + basic + pieceC() + reduced + pieceD() + basic + pieceE() +
           reduced + pieceF() + basic + (issued ? issuedTail() : receivedTail());
}

std::array<QString, kCaptionMapCount> buildCaptionMaps(const AppState& state) {
    std::array<QString, kCaptionMapCount> maps;
    maps[1] = cashBookMap();
    maps[2] = vatListMap();
    maps[kIssuedDocumentsTab] = documentsCaptionMap(true, state.vatReduced, state.vatBasic);
    maps[kReceivedDocumentsTab] = documentsCaptionMap(false, state.vatReduced, state.vatBasic);
    maps[5] = receiptVouchersMap();
    maps[6] = expenseVouchersMap();
    maps[7] = assetsMap();
    maps[8] = vehicleLogMap();
    maps[9] = goodsMap();
    maps[10] = partnersMap();
    maps[11] = ordersMap();
    return maps;
}

} // namespace kelvarn
