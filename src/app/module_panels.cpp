#include "app/module_panels.h"

#include <array>

namespace kelvarn::module_panels {
namespace {

constexpr const char* kDoc = "cislo_dokladu";
constexpr const char* kId = "id";

// clang-format off
constexpr std::array<PanelInfo, 23> kPanels{{
    {"FormPodnikatel", 0, "ADOFormPodnikatel", "ADOFormPodnikatel", "PanelPodnikatel", "", kId, Kind::Single},
    {"FormHlavniKniha", 1, "ADOFormHlavniKniha", "ADOFormHlavniKniha", "PanelHlavniKniha", "DBGridHlavniKniha", kId, Kind::List},
    {"FormDPHvstup", 2, "", "ADOFormDPHvstup", "PanelDPH", "DBGridDPHvstup", kDoc, Kind::Vat},
    {"FormDPHvystup", 2, "", "ADOFormDPHvystup", "PanelDPH", "DBGridDPHvystup", kDoc, Kind::Vat},
    {"FormFAV-seznam", 3, "ADOFormFAV", "ADOFormFAV", "PanelFVseznam", "DBGridFAV", kDoc, Kind::List},
    {"FormFAV-detail", 3, "ADOFormFAV", "ADOFormFAV", "PanelFAV", "", kDoc, Kind::Detail},
    {"FormFAV-polozky", 3, "ADOFormFAVpol", "ADOFormFAVpol", "PanelFAV", "DBGridFAVpol", kId, Kind::SubGrid},
    {"FormFAP-seznam", 4, "ADOFormFAP", "ADOFormFAP", "PanelFPseznam", "DBGridFAP", kDoc, Kind::List},
    {"FormFAP-detail", 4, "ADOFormFAP", "ADOFormFAP", "PanelFAP", "", kDoc, Kind::Detail},
    {"FormPPD-seznam", 5, "ADOFormPPD", "ADOFormPPD", "PanelPPDseznam", "DBGridPPD", kDoc, Kind::List},
    {"FormPPD-detail", 5, "ADOFormPPD", "ADOFormPPD", "PanelPPD", "", kDoc, Kind::Detail},
    {"FormVPD-seznam", 6, "ADOFormVPD", "ADOFormVPD", "PanelVPDseznam", "DBGridVPD", kDoc, Kind::List},
    {"FormVPD-detail", 6, "ADOFormVPD", "ADOFormVPD", "PanelVPD", "", kDoc, Kind::Detail},
    {"FormMajetek-seznam", 7, "ADOFormMajetek", "ADOFormMajetek", "PanelMajetekseznam", "DBGridMajetek", kId, Kind::List},
    {"FormMajetek-detail", 7, "ADOFormMajetek", "ADOFormMajetek", "PanelMajetek", "", kId, Kind::Detail},
    {"FormMajetek-odpisy", 7, "ADOFormOdpisy", "ADOFormOdpisy", "PanelMajetek", "DBGridOdpisy", kId, Kind::SubGrid},
    {"FormKnihaJizd", 8, "ADOFormKnihaJizd", "ADOFormKnihaJizd", "PanelKnihaJizd", "DBGridKnihaJizd", kId, Kind::List},
    {"FormZboziSeznam", 9, "ADOFormZbozi", "ADOFormZbozi", "PanelZboziSeznam", "DBGridZbozi", kId, Kind::List},
    {"FormZbozi-detail", 9, "ADOFormZbozi", "ADOFormZbozi", "PanelZbozi", "", kId, Kind::Detail},
    {"FormPartneriSeznam", 10, "ADOFormPartneri", "ADOFormPartneri", "PanelPartneriSeznam", "DBGridPartneri", kId, Kind::List},
    {"FormPartneri-detail", 10, "ADOFormPartneri", "ADOFormPartneri", "PanelPartneri", "", kId, Kind::Detail},
    {"FormZakazkySeznam", 11, "ADOFormZakazky", "ADOFormZakazky", "PanelZakazkySeznam", "DBGridZakazky", kId, Kind::List},
    {"FormZakazky-detail", 11, "ADOFormZakazky", "ADOFormZakazky", "PanelZakazky", "", kId, Kind::Detail},
}};
// clang-format on

constexpr std::array<ModulePair, ModuleController::kModuleCount> kPairs{{
    {nullptr, nullptr},
    {nullptr, nullptr},
    {nullptr, nullptr},
    {"FormFAV-seznam", "FormFAV-detail"},
    {"FormFAP-seznam", "FormFAP-detail"},
    {"FormPPD-seznam", "FormPPD-detail"},
    {"FormVPD-seznam", "FormVPD-detail"},
    {"FormMajetek-seznam", "FormMajetek-detail"},
    {nullptr, nullptr},
    {"FormZboziSeznam", "FormZbozi-detail"},
    {"FormPartneriSeznam", "FormPartneri-detail"},
    {"FormZakazkySeznam", "FormZakazky-detail"},
}};

} // namespace

const PanelInfo* findPanel(const QString& id) {
    for (const PanelInfo& p : kPanels)
        if (id == QLatin1String(p.id))
            return &p;
    return nullptr;
}

QStringList gridsOfTab(int tab) {
    QStringList grids;
    for (const PanelInfo& p : kPanels)
        if (p.tab == tab && p.grid && *p.grid && !grids.contains(QLatin1String(p.grid)))
            grids << QLatin1String(p.grid);
    return grids;
}

const QStringList& allContainers() {
    static const QStringList containers = [] {
        QStringList list;
        for (const PanelInfo& p : kPanels)
            if (!list.contains(QLatin1String(p.container)))
                list << QLatin1String(p.container);
        return list;
    }();
    return containers;
}

QStringList datasetsToOpen(const PanelInfo& p) {
    switch (p.tab) {
    case 2:
        return {QStringLiteral("ADOFormDPHvstup"), QStringLiteral("ADOFormDPHvystup")};
    case 3:
        return {QStringLiteral("ADOFormFAV"), QStringLiteral("ADOFormFAVpol")};
    case 7:
        return {QStringLiteral("ADOFormMajetek"), QStringLiteral("ADOFormOdpisy")};
    default:
        return {QLatin1String(p.listDataset)};
    }
}

const ModulePair& modulePair(int tab) {
    return kPairs[tab];
}

} // namespace kelvarn::module_panels
