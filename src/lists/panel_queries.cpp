#include "lists/panel_queries.h"

#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"

#include <array>
#include <stdexcept>

namespace kelvarn {

namespace {

struct StartValues {
    const char* list;
    const char* dataset;
    const char* baseSelect;
    const char* fixedCondition;
    const char* orderAscending;
    const char* orderDescending;
};

constexpr const char* kDocuments = "SELECT * FROM tbl_doklad";
constexpr const char* kByNumberAsc = "cislo_dokladu ASC";
constexpr const char* kByNumberDesc = "cislo_dokladu DESC";

// clang-format off
constexpr std::array<StartValues, 13> kStartValues = {{
    {"FormHlavniKniha", "ADOFormHlavniKniha", "SELECT * FROM tbl_hlavnikniha", "",
     "tbl_hlavnikniha.datum ASC, tbl_hlavnikniha.id ASC", "tbl_hlavnikniha.datum DESC, tbl_hlavnikniha.id DESC"},
    {"FormFAV-seznam", "ADOFormFAV", kDocuments, "(doklad_typ=1)", kByNumberAsc, kByNumberDesc},
    {"FormFAP-seznam", "ADOFormFAP", kDocuments, "(doklad_typ=2)", kByNumberAsc, kByNumberDesc},
    {"FormPPD-seznam", "ADOFormPPD", kDocuments, "(doklad_typ=3)", kByNumberAsc, kByNumberDesc},
    {"FormVPD-seznam", "ADOFormVPD", kDocuments, "(doklad_typ=4)", kByNumberAsc, kByNumberDesc},
    {"FormMajetek-seznam", "ADOFormMajetek", "SELECT * FROM tbl_majetek", "", "cislo", "cislo"},
    {"FormKnihaJizd", "ADOFormKnihaJizd", "SELECT * FROM tbl_knihajizd", "", "datum ASC, id ASC", "datum DESC, id DESC"},
    {"FormDPHvstup", "ADOFormDPHvstup", kDocuments,
     "((UPPER(podklad_dph) LIKE 'ANO') AND (datum_uplatneni_plneni IS NOT NULL) AND ((doklad_typ=2 AND "
     "cislo_dokladu NOT LIKE 'ZL%') OR (doklad_typ=4) OR (doklad_typ=1 AND cislo_dokladu LIKE 'ZL%')))",
     kByNumberAsc, kByNumberDesc},
    {"FormDPHvystup", "ADOFormDPHvystup", kDocuments,
     "((UPPER(podklad_dph) LIKE 'ANO') AND (datum_uplatneni_plneni IS NOT NULL) AND ((doklad_typ=1 AND "
     "cislo_dokladu NOT LIKE 'ZL%') OR (doklad_typ=3) OR (doklad_typ=2 AND cislo_dokladu LIKE 'ZL%')))",
     kByNumberAsc, kByNumberDesc},
    {"FormZboziSeznam", "ADOFormZbozi", "SELECT * FROM tbl_zbozi", "", "kod_zbozi", "kod_zbozi"},
    {"FormZakazkySeznam", "ADOFormZakazky", "SELECT * FROM tbl_zakazka", "",
     "datum_zaevidovani ASC, id ASC", "datum_zaevidovani DESC, id DESC"},
    {"FormPartneriSeznam", "ADOFormPartneri", "SELECT * FROM tbl_partner", "", "nazev_firmy", "nazev_firmy"},
    {"FormFiltr", "ADOFormFiltr", "SELECT * FROM tbl_filtry", "(id_panel=0)",
     "nazev ASC, dateTS0 ASC", "nazev ASC, dateTS0 ASC"},
}};
// clang-format on

const StartValues* startValuesOf(const QString& list) {
    for (const StartValues& v : kStartValues)
        if (list == QLatin1String(v.list))
            return &v;
    return nullptr;
}

QString rememberedKey(const Dataset& dataset, const QString& keyColumn) {
    if (keyColumn.isEmpty() || !dataset.isActive() || dataset.currentRow() < 0)
        return {};
    return dataset.asString(keyColumn);
}

QString filterCondition(int tab) {
    return QStringLiteral("(id_panel=") + QString::number(tab) + QStringLiteral(")");
}

} // namespace

const QString PanelQueries::kFilterList = QStringLiteral("FormFiltr");

PanelQueries::PanelQueries(DbContext& db, KeyMatch keyMatch) : db_(db), keyMatch_(keyMatch) {
    reset(db.state().ascendingOrder);
}

QStringList PanelQueries::lists() {
    QStringList result;
    for (const StartValues& v : kStartValues)
        result << QLatin1String(v.list);
    return result;
}

QString PanelQueries::datasetOfList(const QString& list) {
    const StartValues* v = startValuesOf(list);
    return v ? QLatin1String(v->dataset) : QString();
}

std::vector<PanelQueries::RefreshStep> PanelQueries::refreshPlan(const QString& panelId) {
    const QString id = QStringLiteral("id");
    const QString number = QStringLiteral("cislo_dokladu");
    auto list = [&](const char* name, const QString& key) {
        return RefreshStep{datasetOfList(QLatin1String(name)), QLatin1String(name), key};
    };
    auto is = [&](std::initializer_list<const char*> panels) {
        for (const char* p : panels)
            if (panelId == QLatin1String(p))
                return true;
        return false;
    };
    if (is({"FormFAV-seznam", "FormFAV-detail", "FormFAV-polozky"}))
        return {list("FormFAV-seznam", number), {QStringLiteral("ADOFormFAVpol"), {}, id}};
    if (is({"FormHlavniKniha"}))
        return {list("FormHlavniKniha", id)};
    if (is({"FormPodnikatel"}))
        return {{QStringLiteral("ADOFormPodnikatel"), {}, {}}};
    if (is({"FormKnihaJizd"}))
        return {list("FormKnihaJizd", id)};
    if (is({"FormMajetek-seznam", "FormMajetek-detail", "FormMajetek-odpisy"}))
        return {list("FormMajetek-seznam", id), {QStringLiteral("ADOFormOdpisy"), {}, id}};
    if (is({"FormFAP-seznam", "FormFAP-detail"}))
        return {list("FormFAP-seznam", number)};
    if (is({"FormPPD-seznam", "FormPPD-detail"}))
        return {list("FormPPD-seznam", number)};
    if (is({"FormVPD-seznam", "FormVPD-detail"}))
        return {list("FormVPD-seznam", number)};
    if (is({"FormDPHvstup", "FormDPHvystup"}))
        return {list("FormDPHvstup", number), list("FormDPHvystup", number)};
    if (is({"FormZboziSeznam", "FormZbozi-detail"}))
        return {list("FormZboziSeznam", id)};
    if (is({"FormPartneriSeznam", "FormPartneri-detail"}))
        return {list("FormPartneriSeznam", id)};
    if (is({"FormZakazkySeznam", "FormZakazky-detail"}))
        return {list("FormZakazkySeznam", id)};
    return {};
}

bool PanelQueries::isSortable(const QString& panelId) {
    // Detail panels share the list's dataset but have no grid column to sort by.
    return panelId != kFilterList && startValuesOf(panelId) != nullptr;
}

void PanelQueries::reset(bool ascending) {
    queries_.clear();
    for (const StartValues& v : kStartValues) {
        PanelQuery q;
        q.baseSelect = QLatin1String(v.baseSelect);
        q.fixedCondition = QLatin1String(v.fixedCondition);
        q.orderBy = QLatin1String(ascending ? v.orderAscending : v.orderDescending);
        queries_.emplace(QLatin1String(v.list), std::move(q));
    }
}

void PanelQueries::init(const DatasetLookup& datasets, int currentTab) {
    reset(db_.state().ascendingOrder);
    setFilterTab(currentTab);
    for (const StartValues& v : kStartValues) {
        const QString list = QLatin1String(v.list);
        const QString sql = statement(list);
        if (Dataset* ds = datasets ? datasets(QLatin1String(v.dataset)) : nullptr)
            ds->setSql(sql);
    }
}

const PanelQuery& PanelQueries::query(const QString& list) const {
    const auto it = queries_.find(list);
    if (it == queries_.end())
        throw std::out_of_range("unknown list " + list.toStdString());
    return it->second;
}

PanelQuery& PanelQueries::query(const QString& list) {
    return const_cast<PanelQuery&>(std::as_const(*this).query(list));
}

void PanelQueries::setFilterTab(int tab) {
    query(kFilterList).fixedCondition = filterCondition(tab);
}

QString PanelQueries::statement(const QString& list) {
    const PanelQuery& q = query(list);
    return db_.composeStatement(q.baseSelect, q.filterCondition, q.fixedCondition, q.orderBy);
}

void PanelQueries::returnTo(Dataset& dataset, const QString& keyColumn, const QString& key) const {
    if (keyColumn.isEmpty() || key.isEmpty())
        return;
    LocateOptions options;
    options.partialKey = keyMatch_ == KeyMatch::BeginsWith;
    dataset.locate(keyColumn, key, options);
}

void PanelQueries::reopen(const QString& list, Dataset& dataset, const QString& keyColumn,
                          const AfterOpen& afterOpen) {
    const QString key = rememberedKey(dataset, keyColumn);
    dataset.close();
    if (!list.isEmpty())
        dataset.setSql(statement(list));
    dataset.open();
    if (afterOpen)
        afterOpen(dataset);
    returnTo(dataset, keyColumn, key);
}

void PanelQueries::refreshPanel(const QString& panelId, const DatasetLookup& datasets,
                                const AfterOpen& afterOpen) {
    struct Target {
        Dataset* dataset;
        const RefreshStep& step;
        QString key;
    };
    const std::vector<RefreshStep> plan = refreshPlan(panelId);
    std::vector<Target> targets;
    for (const RefreshStep& step : plan) {
        Dataset* ds = datasets ? datasets(step.dataset) : nullptr;
        if (!ds)
            continue;
        targets.push_back({ds, step, rememberedKey(*ds, step.keyColumn)});
    }
    for (const Target& t : targets) {
        t.dataset->close();
        if (!t.step.list.isEmpty())
            t.dataset->setSql(statement(t.step.list));
        t.dataset->open();
        if (afterOpen)
            afterOpen(*t.dataset);
        returnTo(*t.dataset, t.step.keyColumn, t.key);
    }
}

bool PanelQueries::sortPanel(const QString& panelId, Dataset& dataset, const QString& column, bool descending,
                             const AfterOpen& afterOpen) {
    if (!isSortable(panelId) || column.isEmpty())
        return false;
    PanelQuery& q = query(panelId);
    const QString previous = q.orderBy;
    q.orderBy = column + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    try {
        reopen(panelId, dataset, QStringLiteral("id"), afterOpen);
    } catch (const DbError&) {
        if (!dataset.isActive())
            q.orderBy = previous;
        throw;
    }
    return true;
}

} // namespace kelvarn
