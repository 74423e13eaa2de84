#include "cashbook/registration_draft.h"

namespace kelvarn {

std::optional<RegistrationSource> registrationSource(const QString& panelId) {
    const QString due = QStringLiteral("zbyva_uhradit");
    const QString gross = QStringLiteral("celkem_doklad_s_dph");
    if (panelId == QLatin1String("FormFAV-seznam") || panelId == QLatin1String("FormFAV-detail") ||
        panelId == QLatin1String("FormFAV-polozky"))
        return RegistrationSource{QStringLiteral("ADOFormFAV"), due, {}};
    if (panelId == QLatin1String("FormFAP-seznam") || panelId == QLatin1String("FormFAP-detail"))
        return RegistrationSource{QStringLiteral("ADOFormFAP"), due, {}};
    if (panelId == QLatin1String("FormPPD-seznam") || panelId == QLatin1String("FormPPD-detail"))
        return RegistrationSource{QStringLiteral("ADOFormPPD"), gross, QStringLiteral("FAV-")};
    if (panelId == QLatin1String("FormVPD-seznam") || panelId == QLatin1String("FormVPD-detail"))
        return RegistrationSource{QStringLiteral("ADOFormVPD"), gross, QStringLiteral("FAP-")};
    return std::nullopt;
}

QString invoiceNumberIn(const QString& purpose, const QString& prefix) {
    const qsizetype at = purpose.indexOf(prefix);
    return at < 0 ? QString() : purpose.mid(at, 14);
}

bool isRegistrable(const QString& documentNumber) {
    for (const char* prefix : {"PH", "NH", "ZL", "PPD", "VPD"})
        if (documentNumber.startsWith(QLatin1String(prefix)))
            return true;
    return false;
}

QString registrationDescription(const QString& number) {
    if (number.startsWith(QLatin1String("PH")) || number.startsWith(QLatin1String("PPD")))
        return QStringLiteral("Prodej zboží/služeb");
    if (number.startsWith(QLatin1String("NH")) || number.startsWith(QLatin1String("VPD")))
        return QStringLiteral("Nákup zboží/služeb");
    if (number.startsWith(QLatin1String("ZLV")))
        return QStringLiteral("Poskutnutí zálohy dodavateli na nákup zboží/služeb");
    if (number.startsWith(QLatin1String("ZLP")))
        return QStringLiteral("Přijetí zálohy od odběratele na nákup zboží/služeb");
    return {};
}

RegisteredAmounts registeredAmounts(bool vatPayer, bool paired, double amount, double gross, double net,
                                    double vat) {
    if (vatPayer && paired && amount == gross)
        return {net, vat, false};
    return {amount, 0, vatPayer};
}

} // namespace kelvarn
