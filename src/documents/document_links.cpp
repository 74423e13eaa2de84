#include "documents/document_links.h"

#include "core/prompts.h"
#include "db/dataset.h"
#include "documents/document_row.h"

#include <QDateTime>
#include <QStringList>

#include <utility>
#include <vector>

namespace kelvarn {

namespace {

using Copy = std::pair<const char*, const char*>; // document column, partner column

const std::vector<Copy>& commonPartnerColumns() {
    static const std::vector<Copy> columns{{"odb_nazev_firmy", "nazev_firmy"},
                                           {"odb_nazev_upresneni", "nazev_upresneni"},
                                           {"odb_ulice", "ulice"},
                                           {"odb_mesto", "mesto"},
                                           {"odb_psc", "psc"},
                                           {"odb_ic", "ic"},
                                           {"odb_dic", "dic"}};
    return columns;
}

const std::vector<Copy>& deliveryColumns() {
    static const std::vector<Copy> columns{
        {"odb_dodani_nazev", "dodani_nazev"}, {"odb_dodani_nazev2", "dodani_nazev2"},
        {"odb_dodani_ulice", "dodani_ulice"}, {"odb_dodani_mesto", "dodani_mesto"},
        {"odb_dodani_psc", "dodani_psc"},     {"odb_dodani_kontakt", "kontakt"}};
    return columns;
}

const std::vector<Copy>& accountColumns() {
    static const std::vector<Copy> columns{{"odb_cislo_uctu", "cislo_uctu"},
                                           {"odb_cislo_uctu_IBAN", "cislo_uctu_IBAN"}};
    return columns;
}

QString textOf(const Dataset& ds, const char* column) {
    return ds.hasColumn(QLatin1String(column)) ? ds.asString(QLatin1String(column)) : QString();
}

// Whether the text fits the document's column; a column of unknown size takes anything.
bool fits(const Dataset& document, const QString& column, const QString& text) {
    const int c = document.columnIndex(column);
    if (c < 0)
        return false;
    const int size = document.column(c).size;
    return size <= 0 || text.size() <= size;
}

// How the document's fields are captioned on its panel.
QString fieldCaption(const QString& column) {
    static const std::pair<const char*, const char*> captions[] = {
        {"odb_nazev_firmy", "Název"},
        {"odb_nazev_upresneni", "Upřesněný název"},
        {"odb_ulice", "Ulice"},
        {"odb_mesto", "Obec"},
        {"odb_psc", "PSČ"},
        {"odb_ic", "IČ"},
        {"odb_dic", "DIČ"},
        {"odb_kontakt", "Kontakt"},
        {"odb_cislo_uctu", "Číslo účtu"},
        {"odb_cislo_uctu_IBAN", "IBAN"},
        {"odb_dodani_nazev", "Dodací adresa: Název"},
        {"odb_dodani_nazev2", "Dodací adresa: Název 2"},
        {"odb_dodani_ulice", "Dodací adresa: Ulice"},
        {"odb_dodani_mesto", "Dodací adresa: Obec"},
        {"odb_dodani_psc", "Dodací adresa: PSČ"},
        {"odb_dodani_kontakt", "Dodací adresa: Kontakt"}};
    for (const auto& [name, caption] : captions)
        if (column == QLatin1String(name))
            return QString::fromUtf8(caption);
    return column;
}

} // namespace

QString partnerContact(const QString& telephone, const QString& email) {
    if (email.isEmpty())
        return telephone;
    return telephone.isEmpty() ? email : telephone + QStringLiteral(", ") + email;
}

bool copyPartnerIntoDocument(Dataset& document, DocumentType type, const Dataset& partner, Prompts& prompts) {
    std::vector<std::pair<QString, QString>> values; // column, text
    values.emplace_back(QStringLiteral("id_tbl_partner"), textOf(partner, "id"));
    for (const auto& [to, from] : commonPartnerColumns())
        values.emplace_back(QLatin1String(to), textOf(partner, from));
    values.emplace_back(QStringLiteral("odb_kontakt"),
                        partnerContact(textOf(partner, "telefon"), textOf(partner, "email")));
    if (type == DocumentType::Issued)
        for (const auto& [to, from] : deliveryColumns())
            values.emplace_back(QLatin1String(to), textOf(partner, from));
    if (type == DocumentType::Received)
        for (const auto& [to, from] : accountColumns())
            values.emplace_back(QLatin1String(to), textOf(partner, from));

    QStringList tooLong;
    for (auto& [column, text] : values) {
        if (!document.hasColumn(column))
            continue;
        if (!fits(document, column, text)) {
            tooLong << fieldCaption(column);
            text.clear();
        }
        document.setValue(column, text.isEmpty() ? QVariant() : QVariant(text));
    }

    // The partner's own payment term sets the due date of an issued document.
    if (type == DocumentType::Issued) {
        bool termOk = false;
        const int term = textOf(partner, "splatnost_fa").trimmed().toInt(&termOk);
        const std::optional<QDate> issued = optionalDate(document, QStringLiteral("datum_vystaveni"));
        if (termOk && issued)
            document.setValue(QStringLiteral("datum_spatnosti"),
                              QDateTime(issued->addDays(term), QTime(0, 0)));
    }
    if (tooLong.isEmpty())
        return true;
    prompts.message(QStringLiteral("Obchodní partner"),
                    QStringLiteral("Tyto údaje partnera jsou delší, než kolik pojme doklad, a nebyly proto "
                                   "převzaty: %1. Doplňte je prosím na dokladu ručně.")
                        .arg(tooLong.join(QStringLiteral(", "))),
                    MessageStyle::Warning);
    return false;
}

void copyOrderIntoDocument(Dataset& document, const Dataset& order) {
    const QString id = textOf(order, "id");
    const QString name = textOf(order, "zakazka");
    document.setValue(QStringLiteral("id_tbl_zakazka"), id.isEmpty() ? QVariant() : QVariant(id));
    document.setValue(QStringLiteral("zakazka"), name.isEmpty() ? QVariant() : QVariant(name));
}

void clearPartnerOfDocument(Dataset& document, DocumentType type) {
    QStringList columns{QStringLiteral("id_tbl_partner"), QStringLiteral("odb_kontakt")};
    for (const auto& [to, from] : commonPartnerColumns())
        columns << QLatin1String(to);
    if (type == DocumentType::Received)
        for (const auto& [to, from] : accountColumns())
            columns << QLatin1String(to);
    if (type == DocumentType::Issued)
        for (const auto& [to, from] : deliveryColumns())
            columns << QLatin1String(to);
    for (const QString& column : columns)
        if (document.hasColumn(column))
            document.setNull(column);
}

void clearOrderOfDocument(Dataset& document) {
    document.setNull(QStringLiteral("id_tbl_zakazka"));
    document.setNull(QStringLiteral("zakazka"));
}

} // namespace kelvarn
