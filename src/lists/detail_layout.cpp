#include "lists/detail_layout.h"

namespace kelvarn {

namespace {

DetailField field(const char* column, const char* caption) {
    DetailField f;
    f.column = QLatin1String(column);
    f.caption = QString::fromUtf8(caption);
    return f;
}

DetailField choice(const char* column, const char* caption, QStringList choices, bool freeText) {
    DetailField f = field(column, caption);
    f.choices = std::move(choices);
    f.freeText = freeText;
    return f;
}

DetailField locked(DetailField f) {
    f.readOnly = true;
    return f;
}

DetailField hinted(DetailField f, const char* hint) {
    f.hint = QString::fromUtf8(hint);
    return f;
}

DetailField named(DetailField f, const char* control) {
    f.control = QLatin1String(control);
    return f;
}

DetailGroup group(const char* title, QList<DetailField> fields, int pairsPerRow = 1, bool wide = false) {
    return {QString::fromUtf8(title), std::move(fields), pairsPerRow, wide};
}

QStringList utf8List(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* t : texts)
        list << QString::fromUtf8(t);
    return list;
}

// Bookkeeping columns: shown so that nothing in the row is invisible, never typed.
DetailGroup recordGroup(QList<DetailField> extra = {}) {
    QList<DetailField> fields{locked(field("id", "ID"))};
    fields += extra;
    fields << locked(field("dateTS0", "Vytvořeno")) << locked(field("dateTS1", "Uloženo"));
    return group("Záznam", fields, 4, true);
}

// The address block of one side of a document; `prefix` is "odb_" or "dod_".
QList<DetailField> addressFields(const QString& prefix, const char* nameCaption, bool withContact) {
    auto f = [&](const char* suffix, const char* caption) {
        return field((prefix + QLatin1String(suffix)).toLatin1().constData(), caption);
    };
    QList<DetailField> fields{f("nazev_firmy", nameCaption),
                              f("nazev_upresneni", "Upřesněný název"),
                              f("ulice", "Ulice"),
                              f("mesto", "Obec"),
                              f("psc", "PSČ"),
                              f("ic", "IČ"),
                              f("dic", "DIČ")};
    if (withContact)
        fields << f("kontakt", "Kontakt");
    fields << f("cislo_uctu", "Číslo účtu") << f("cislo_uctu_IBAN", "IBAN");
    return fields;
}

QList<DetailField> deliveryFields() {
    return {field("odb_dodani_nazev", "Název"), field("odb_dodani_nazev2", "Název 2"),
            field("odb_dodani_ulice", "Ulice"), field("odb_dodani_mesto", "Obec"),
            field("odb_dodani_psc", "PSČ"),     field("odb_dodani_kontakt", "Kontakt")};
}

// The three rate slots and the document totals as a table; vouchers type only the
// gross total.
DetailGroup totalsGroup(bool voucher) {
    QList<DetailField> fields{
        field("celkem_bez_dph_0", "Základ daně (0%)"),
        hinted(field("celkem_dph_0", "Haléřové vyrovnání"), "Haléřové vyrovnání"),
        field("celkem_s_dph_0", "Celkem (0%)"),
        field("celkem_bez_dph_5", "Základ daně (snížená sazba)"),
        field("celkem_dph_5", "DPH (snížená sazba)"),
        field("celkem_s_dph_5", "Celkem s DPH (snížená sazba)"),
        field("celkem_bez_dph_19", "Základ daně (základní sazba)"),
        field("celkem_dph_19", "DPH (základní sazba)"),
        field("celkem_s_dph_19", "Celkem s DPH (základní sazba)"),
        field("celkem_doklad", "Celkem za doklad bez DPH"),
        field("celkem_doklad_dph", "Celkem DPH za doklad"),
        field("celkem_doklad_s_dph", "Celkem za doklad s DPH"),
        field("zbyva_uhradit", "Zbývá uhradit"),
    };
    if (voucher)
        for (DetailField& f : fields)
            f.readOnly = f.column != QLatin1String("celkem_doklad_s_dph");
    DetailGroup totals = group("Částky dokladu", fields, 1, true);
    totals.columnTitles = utf8List({"Základ daně", "DPH", "Celkem s DPH"});
    totals.rowTitles = utf8List({"Nulová sazba", "Snížená sazba", "Základní sazba", "Celkem za doklad"});
    return totals;
}

// doklad_typ: 1 issued, 2 received, 3 receipt voucher, 4 expense voucher.
DetailLayout documentLayout(int type) {
    const bool issued = type == 1;
    const bool voucher = type >= 3;
    DetailLayout layout;

    QList<DetailField> head{field("cislo_dokladu", "Číslo dokladu")};
    if (!voucher)
        head << field("variabilni_symbol", "Variabilní symbol");
    head << field("cislo_dokladu_puvodni", "Původní číslo dokladu")
         << field("datum_vystaveni", "Datum vystavení");
    if (!voucher)
        head << field("datum_zdanitelne_plneni", "Datum zd. plnění")
             << field("datum_uplatneni_plneni", "Datum upl. zd. plnění");
    head << field("datum_spatnosti", "Datum splatnosti")
         << choice("zpusob_uhrady", "Způsob úhrady", paymentMethods(), true);
    if (!voucher)
        head << choice("pohledavka_zavazek", issued ? "Pohledávka" : "Závazek", yesNoChoices(), false);
    DetailField vatBasis = choice("podklad_dph", "Podklad pro DPH", yesNoChoices(), false);
    vatBasis.readOnly = voucher;
    head << vatBasis << field("zakazka", "Zakázka") << field("mena", "Měna") << field("kurz", "Kurz")
         << field("doklad_dsazba5", "Snížená sazba DPH [%]")
         << field("doklad_dsazba19", "Základní sazba DPH [%]")
         << field("podpis", voucher ? "Pokladník" : "Doklad vystavil");
    layout.groups << group("Doklad", head, 2, true);

    switch (type) {
    case 1:
        layout.groups << group("Odběratel - fakturační adresa / Zálohu přijal",
                               addressFields(QStringLiteral("odb_"), "Odběratel", true))
                      << group("Dodavatel / Zálohu poskytl",
                               addressFields(QStringLiteral("dod_"), "Název", false))
                      << group("Odběratel - Dodací adresa", deliveryFields(), 2, true);
        break;
    case 2:
        layout.groups << group("Dodavatel - fakturační adresa / Zálohu poskytl",
                               addressFields(QStringLiteral("odb_"), "Dodavatel", true))
                      << group("Odběratel / Zálohu přijal",
                               addressFields(QStringLiteral("dod_"), "Název", false))
                      << group("Dodací adresa", deliveryFields(), 2, true);
        break;
    default:
        layout.groups << group(type == 3 ? "Přijato od" : "Vyplaceno komu",
                               addressFields(QStringLiteral("odb_"),
                                             type == 3 ? "Přijato od" : "Vyplaceno komu", true))
                      << group("Firma", addressFields(QStringLiteral("dod_"), "Název", false));
        // A voucher has no delivery and no VAT dates of its own.
        layout.hidden << QStringLiteral("odb_dodani_nazev") << QStringLiteral("odb_dodani_nazev2")
                      << QStringLiteral("odb_dodani_ulice") << QStringLiteral("odb_dodani_mesto")
                      << QStringLiteral("odb_dodani_psc") << QStringLiteral("odb_dodani_kontakt")
                      << QStringLiteral("datum_zdanitelne_plneni")
                      << QStringLiteral("datum_uplatneni_plneni");
        break;
    }
    layout.groups << totalsGroup(voucher);
    if (voucher)
        layout.groups << group(
            "Platba", {field("poznamka2", "Účel platby"), field("poznamka", "Částka slovy")}, 1, true);
    else
        layout.groups << group(
            "Texty", {field("poznamka2", "Text na dokladu"), field("poznamka", "Poznámka k dokladu")}, 1,
            true);
    layout.groups << recordGroup(
        {locked(field("doklad_typ", "Typ dokladu")), locked(field("doklad_vytisknut", "Vytištěn")),
         locked(field("id_tbl_partner", "ID partnera")), locked(field("id_tbl_zakazka", "ID zakázky"))});
    return layout;
}

DetailLayout assetLayout() {
    DetailLayout layout;
    layout.groups
        << group("Majetek",
                 {field("typ", "Typ majetku"), field("cislo", "Evidenční číslo"), field("nazev", "Název"),
                  choice("zpusob_nabyti", "Způsob nabytí",
                         utf8List({"Bezúplatné nabytí na základě povinnosti ze zákona", "Dar", "Koupě",
                                   "Nabytí při ukončení leasingové smlouvy", "Nález",
                                   "Přeřazení z osobního užívání do podnikání", "Vlastní výroba"}),
                         true),
                  field("datum_zarazeni", "Datum zařazení"), field("datum_vyrazeni", "Datum vyřazení"),
                  choice("zpusob_vyrazeni", "Způsob vyřazení",
                         utf8List({"Dar", "Fyzická likvidace", "Prodej",
                                   "Přeřazení z podnikání do osobního užívání",
                                   "Vyřazení v důsledku manka nebo škody"}),
                         true),
                  field("poznamka", "Poznámka")},
                 2, true)
        << group("Odpisování",
                 {field("skupina", "Odpisová skupina"), field("zpusob_odepisovani", "Způsob odepisování"),
                  field("sazba", "Sazba [%]"), field("vstupni_cena", "Vstupní cena"),
                  field("zustatkova_cena", "Zůstatková cena"), field("opravky", "Oprávky")},
                 3, true)
        << recordGroup();
    return layout;
}

DetailLayout goodsLayout() {
    DetailLayout layout;
    layout.groups << group("Zboží",
                           {field("kod_zbozi", "Kód zboží"), field("popis", "Název"), field("mj", "MJ"),
                            field("mnozstvi", "Množství"), field("dph", "DPH [%]"),
                            field("cena_jednotka", "Cena za jednotku"),
                            hinted(field("cena_poplatek1", "Poplatek za recyklaci"),
                                   "poplatek za recyklaci dle zákona č. 185/2001 Sb."),
                            hinted(field("cena_poplatek2", "Poplatek OSA"),
                                   "poplatek OSA dle zákona č. 488/2006 Sb."),
                            field("sleva", "Sleva [%]"), field("zaruka", "Záruka")},
                           2, true)
                  << group("Popis", {named(field("popis_dlouhy", "Popis"), "DBMemoZbozi")}, 1, true)
                  << recordGroup();
    return layout;
}

DetailLayout partnerLayout() {
    DetailLayout layout;
    layout.groups << group("Obchodní partner",
                           {field("nazev_firmy", "Název"), field("kod_partnera", "Kód partnera"),
                            field("nazev_upresneni", "Upřesněný název"), field("ulice", "Ulice"),
                            field("mesto", "Obec"), field("psc", "PSČ"), field("ic", "IČ"),
                            field("dic", "DIČ"), field("cislo_uctu", "Číslo účtu"),
                            field("cislo_uctu_IBAN", "IBAN"), field("splatnost_fa", "Splatnost faktur"),
                            field("telefon", "Telefon"), field("email", "E-mail"), field("www", "WWW")})
                  << group("Dodací adresa",
                           {field("kontakt", "Kontakt (dodání)"), field("dodani_nazev", "Název"),
                            field("dodani_nazev2", "Název 2"), field("dodani_ulice", "Ulice"),
                            field("dodani_mesto", "Obec"), field("dodani_psc", "PSČ")})
                  << group("Poznámky",
                           {field("poznamka", "Poznámka"),
                            named(field("poznamka_dlouha", "Dlouhá poznámka"), "DBMemoPartneri")},
                           1, true)
                  << recordGroup();
    return layout;
}

DetailLayout orderLayout() {
    DetailLayout layout;
    layout.groups << group("Zakázka",
                           {field("zakazka", "Označení zakázky"), field("datum_zaevidovani", "Datum přijetí"),
                            field("datum_pozadovane", "Datum požadované"),
                            field("datum_ukonceni", "Datum splnění"),
                            field("datum_fakturace", "Datum fakturace"), field("poznamka", "Poznámka")},
                           2, true)
                  << group("Popis", {named(field("popis", "Popis"), "DBMemoZakazky")}, 1, true)
                  << recordGroup();
    return layout;
}

} // namespace

QList<GridColumnTitle> gridColumns(const QString& grid) {
    // "column=title" pairs in display order, separated by "|".
    static const QHash<QString, const char*> grids{
        {QStringLiteral("DBGridFAVpol"),
         "cislo_radku=Pořadí|kod_zbozi=Kód|popis=Popis|mnozstvi=Množství|mj=MJ|sleva=Sleva [%]|"
         "cena_jednotka=Cena za jednotku|cena_celkem_bez_dph=Cena celkem|dph=DPH [%]|dph_celkem=DPH celkem|"
         "cena_celkem_s_dph=Cena celkem s DPH|zaruka=Záruka|seriove_cislo=Sériové "
         "číslo|poznamka=Poznámka|id=ID"},
        {QStringLiteral("DBGridOdpisy"),
         "rok=Rok|odpis=Odpis|opravky=Oprávky|zustatkova_cena=Zůstatková cena|vypocet=Výpočet odpisu"},
        {QStringLiteral("DBGridHlavniKniha"),
         "datum=Datum|doklad=Doklad|popis=Popis operace|prijem_danovy=Příjem|prijem_nedanovy=Příjem "
         "(nedaňový)|"
         "vydaj_danovy=Výdaj|vydaj_nedanovy=Výdaj (nedaňový)|cislo_dokladu=Číslo spárovaného dokladu|id=ID"},
        {QStringLiteral("DBGridKnihaJizd"),
         "datum=Datum|spz=SPZ vozidla|odkud=Odkud|kam=Kam|ucel=Účel cesty|start_stav=Počáteční stav [km]|"
         "end_stav=Konečný stav [km]|pocet_km=Ujeto [km]|ridic=Řidič|typ=Soukromá|poznamka=Poznámka|id=ID"},
        {QStringLiteral("DBGridZbozi"),
         "kod_zbozi=Kód zboží|popis=Název|mnozstvi=Množství|mj=MJ|dph=DPH [%]|cena_jednotka=Cena za jednotku|"
         "cena_poplatek1=Poplatek za recyklaci|cena_poplatek2=Poplatek OSA|zaruka=Záruka|sleva=Sleva "
         "[%]|id=ID"},
        {QStringLiteral("DBGridMajetek"),
         "typ=Typ majetku|cislo=Evidenční číslo|nazev=Název|zpusob_nabyti=Způsob nabytí|"
         "datum_zarazeni=Datum zařazení|datum_vyrazeni=Datum vyřazení|zpusob_vyrazeni=Způsob vyřazení|"
         "skupina=Odpisová skupina|zpusob_odepisovani=Způsob odepisování|sazba=Sazba [%]|"
         "vstupni_cena=Vstupní cena|zustatkova_cena=Zůstatková cena|opravky=Oprávky|poznamka=Poznámka|id=ID"},
    };
    QList<GridColumnTitle> columns;
    if (const char* pairs = grids.value(grid))
        for (const QString& pair : QString::fromUtf8(pairs).split(QLatin1Char('|'))) {
            const qsizetype equals = pair.indexOf(QLatin1Char('='));
            columns.append({pair.left(equals), pair.mid(equals + 1)});
        }
    return columns;
}

const QHash<QString, int>& amountDecimals() {
    static const QHash<QString, int> decimals = [] {
        QHash<QString, int> d;
        for (const char* slot : {"0", "5", "19"})
            for (const char* part : {"celkem_bez_dph_", "celkem_dph_", "celkem_s_dph_"})
                d.insert(QLatin1String(part) + QLatin1String(slot), 2);
        for (const char* c : {"celkem_doklad", "celkem_doklad_dph", "celkem_doklad_s_dph", "zbyva_uhradit",
                              "prijem_danovy", "prijem_nedanovy", "vydaj_danovy", "vydaj_nedanovy",
                              "vstupni_cena", "zustatkova_cena", "opravky", "odpis", "cena_poplatek1",
                              "cena_poplatek2", "cena_celkem_bez_dph", "dph_celkem", "cena_celkem_s_dph"})
            d.insert(QLatin1String(c), 2);
        for (int n = 6; n <= 10; ++n) {
            d.insert(QStringLiteral("prijem_%1").arg(n), 2);
            d.insert(QStringLiteral("vydaj_%1").arg(n), 2);
        }
        d.insert(QStringLiteral("cena_jednotka"), 4);
        return d;
    }();
    return decimals;
}

QStringList paymentMethods() {
    return utf8List({"bank. převodem", "hotově", "hotově (dobírka)", "hotově (pokladna)", "hotově (předem)",
                     "platební kartou"});
}

QStringList yesNoChoices() {
    return {QString(), QStringLiteral("Ano"), QStringLiteral("Ne")};
}

DetailLayout detailLayout(const QString& container) {
    if (container == QLatin1String("PanelFAV"))
        return documentLayout(1);
    if (container == QLatin1String("PanelFAP"))
        return documentLayout(2);
    if (container == QLatin1String("PanelPPD"))
        return documentLayout(3);
    if (container == QLatin1String("PanelVPD"))
        return documentLayout(4);
    if (container == QLatin1String("PanelMajetek"))
        return assetLayout();
    if (container == QLatin1String("PanelZbozi"))
        return goodsLayout();
    if (container == QLatin1String("PanelPartneri"))
        return partnerLayout();
    if (container == QLatin1String("PanelZakazky"))
        return orderLayout();
    return {};
}

} // namespace kelvarn
