#include "app/selection_mode.h"

#include "app/module_controller.h"
#include "app/module_view.h"
#include "core/message_catalogue.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "documents/document_links.h"
#include "documents/document_rules.h"
#include "lists/panel_queries.h"

namespace kelvarn {

namespace {

constexpr int kGoodsTab = 9;
constexpr int kPartnersTab = 10;
constexpr int kOrdersTab = 11;

QString documentDataset(int tab) {
    switch (tab) {
    case 3:
        return QStringLiteral("ADOFormFAV");
    case 4:
        return QStringLiteral("ADOFormFAP");
    case 5:
        return QStringLiteral("ADOFormPPD");
    case 6:
        return QStringLiteral("ADOFormVPD");
    default:
        return {};
    }
}

DocumentType documentType(int tab) {
    return static_cast<DocumentType>(tab - 2);
}

const QString kItems = QStringLiteral("ADOFormFAVpol");

} // namespace

struct SelectionMode::TargetInfo {
    int tab;
    const char* list;
    const char* dataset;
    const char* caption; // for message 20
    const char* link;    // the document's link column
    const char* typed;   // the document field narrowing the list
    int returnFocus;
};

const SelectionMode::TargetInfo& SelectionMode::info(Target target) {
    static const TargetInfo targets[] = {
        {kPartnersTab, "FormPartneriSeznam", "ADOFormPartneri", "Obchodní partneři", "id_tbl_partner",
         "odb_nazev_firmy", 2},
        {kOrdersTab, "FormZakazkySeznam", "ADOFormZakazky", "Zakázky", "id_tbl_zakazka", "zakazka", 1},
        {kGoodsTab, "FormZboziSeznam", "ADOFormZbozi", "Zboží", "id_tbl_zbozi", "", 0},
    };
    return targets[static_cast<int>(target)];
}

SelectionMode::SelectionMode(ModuleController& modules, PanelQueries& queries, DocumentRules& documents,
                             DbContext& db, ModuleView& view,
                             std::function<void(const QString& panelId)> refreshPanel)
    : modules_(modules), queries_(queries), documents_(documents), db_(db), view_(view),
      refreshPanel_(std::move(refreshPanel)) {}

bool SelectionMode::isActive() const {
    return modules_.selectionActive() == 1;
}

bool SelectionMode::documentReady(int tab) {
    Dataset* document = modules_.dataset(documentDataset(tab));
    if (!document || !document->isActive())
        return false;
    if (modules_.checkBrowseState(QStringLiteral("post")) && !document->isEmpty() &&
        !document->isNull(QStringLiteral("id")))
        document->edit();
    return document->isEditing();
}

void SelectionMode::clearLink(bool partner) {
    const int tab = modules_.currentTab();
    if (documentDataset(tab).isEmpty())
        return;
    if (documentReady(tab)) {
        Dataset& document = *modules_.dataset(documentDataset(tab));
        if (partner)
            clearPartnerOfDocument(document, documentType(tab));
        else
            clearOrderOfDocument(document);
    }
    view_.setFocus(
        FocusTarget::field(partner ? QStringLiteral("odb_nazev_firmy") : QStringLiteral("zakazka")));
}

void SelectionMode::clearPartner() {
    clearLink(true);
}

void SelectionMode::clearOrder() {
    clearLink(false);
}

void SelectionMode::pickPartner() {
    pick(Target::Partners);
}

void SelectionMode::pickOrder() {
    pick(Target::Orders);
}

void SelectionMode::clearSearch(Target target) {
    const TargetInfo& t = info(target);
    if (hooks_.dropUserFilter)
        hooks_.dropUserFilter(t.tab);
    PanelQuery& query = queries_.query(QLatin1String(t.list));
    query.filterCondition.clear();
    query.filterName.clear();
    query.filterText.clear();
}

bool SelectionMode::dropSearch(Target target) {
    bool& active = filterActive_[static_cast<int>(target)];
    if (!active)
        return false;
    active = false;
    clearSearch(target);
    return true;
}

void SelectionMode::enter(Target target, int fromTab) {
    const TargetInfo& t = info(target);
    modules_.setReturnTab(fromTab);
    // On before the switch: the item grid losing the focus must keep its row open.
    modules_.setSelectionActive(true);
    returnFocus_ = t.returnFocus;
    if (hooks_.switchTab)
        hooks_.switchTab(t.tab);
    modules_.setCurrentTab(t.tab);
    modules_.showModule(true);
    if (hooks_.placeHint)
        hooks_.placeHint();
    refreshPanel_(QLatin1String(t.list));
}

void SelectionMode::pick(Target target) {
    const TargetInfo& t = info(target);
    filterActive_[static_cast<int>(target)] = false;
    const Dataset* list = modules_.dataset(QLatin1String(t.dataset));
    if (list && list->isEditing()) {
        showMessageCode(db_.prompts(), db_.state(), 20, QString::fromUtf8(t.caption));
        return;
    }
    const int tab = modules_.currentTab();
    if (documentDataset(tab).isEmpty() || !documentReady(tab))
        return;
    const Dataset& document = *modules_.dataset(documentDataset(tab));
    clearSearch(target);
    const QString link = document.asString(QLatin1String(t.link));
    const QString typed = document.asString(QLatin1String(t.typed));
    if (link.isEmpty() && !typed.isEmpty()) {
        const bool partner = target == Target::Partners;
        const QString pattern = db_.likePrefix(typed);
        PanelQuery& query = queries_.query(QLatin1String(t.list));
        query.filterCondition =
            (partner ? QStringLiteral("nazev_firmy LIKE ") : QStringLiteral("zakazka LIKE ")) + pattern;
        query.filterName =
            (partner ? QStringLiteral("[Název] LIKE ") : QStringLiteral("[Označení zakázky] LIKE ")) +
            pattern;
        query.filterText = query.filterName;
        filterActive_[static_cast<int>(target)] = true;
    }
    enter(target, tab);
    if (!link.isEmpty())
        if (Dataset* rows = modules_.dataset(QLatin1String(t.dataset)))
            rows->locate(QStringLiteral("id"), link, {true, false});
}

void SelectionMode::itemColumnEntered(const QString& column) {
    if (column.compare(QLatin1String("kod_zbozi"), Qt::CaseInsensitive) == 0)
        goodsColumn_ = 1;
    else if (column.compare(QLatin1String("popis"), Qt::CaseInsensitive) == 0)
        goodsColumn_ = 2;
    else
        goodsColumn_ = 0;
}

bool SelectionMode::searchGoods() {
    if (modules_.itemsFocused() != 1 || goodsColumn_ == 0)
        return false;
    const bool byCode = goodsColumn_ == 1;
    const Dataset* goods = modules_.dataset(QStringLiteral("ADOFormZbozi"));
    if (goods && goods->isEditing()) {
        showMessageCode(db_.prompts(), db_.state(), 20, QStringLiteral("Zboží"));
        return true;
    }
    Dataset* items = modules_.dataset(kItems);
    if (!items || !items->isActive())
        return true;
    if (!items->isEditing() && !items->isEmpty() && !items->isNull(QStringLiteral("id")))
        items->edit();
    if (!items->isEditing())
        return true;

    filterActive_[static_cast<int>(Target::Goods)] = false;
    clearSearch(Target::Goods);
    const QString link = items->asString(QStringLiteral("id_tbl_zbozi"));
    const QString text = items->asString(byCode ? QStringLiteral("kod_zbozi") : QStringLiteral("popis"));
    if (link.isEmpty() && !text.isEmpty()) {
        const QString pattern = db_.likePrefix(text);
        PanelQuery& query = queries_.query(QLatin1String(info(Target::Goods).list));
        query.filterCondition =
            (byCode ? QStringLiteral("kod_zbozi LIKE ") : QStringLiteral("popis LIKE ")) + pattern;
        query.filterName =
            (byCode ? QStringLiteral("[Kód zboží] LIKE ") : QStringLiteral("[Název] LIKE ")) + pattern;
        query.filterText = query.filterName;
        filterActive_[static_cast<int>(Target::Goods)] = true;
    }
    enter(Target::Goods, modules_.currentTab());
    if (!link.isEmpty())
        if (Dataset* rows = modules_.dataset(QStringLiteral("ADOFormZbozi")))
            rows->locate(QStringLiteral("id"), link);
    return true;
}

void SelectionMode::listDoubleClicked(int tab) {
    if (!isActive()) {
        modules_.toggleMasterDetail();
        return;
    }
    switch (tab) {
    case kGoodsTab:
        takeGoods();
        break;
    case kPartnersTab:
        take(Target::Partners);
        break;
    case kOrdersTab:
        take(Target::Orders);
        break;
    default:
        break;
    }
}

void SelectionMode::take(Target target) {
    if (!modules_.checkBrowseState({}))
        return;
    const TargetInfo& t = info(target);
    const int tab = modules_.returnTab();
    Dataset* document = modules_.dataset(documentDataset(tab));
    const Dataset* row = modules_.dataset(QLatin1String(t.dataset));
    if (document && document->isEditing() && row && row->isActive() && !row->isEmpty()) {
        if (target == Target::Partners)
            copyPartnerIntoDocument(*document, documentType(tab), *row, db_.prompts());
        else
            copyOrderIntoDocument(*document, *row);
    }
    if (dropSearch(target))
        refreshPanel_(QLatin1String(t.list));
    leave();
    view_.setFocus(FocusTarget::field(QLatin1String(t.typed)));
}

void SelectionMode::takeGoods() {
    if (!modules_.checkBrowseState({}))
        return;
    const Dataset* goods = modules_.dataset(QStringLiteral("ADOFormZbozi"));
    GoodsTaken taken = GoodsTaken::Stopped;
    if (goods && goods->isActive() && !goods->isEmpty())
        taken = documents_.takeGoods(*goods);
    if (dropSearch(Target::Goods))
        refreshPanel_(QLatin1String(info(Target::Goods).list));
    leave();
    // The user types the quantity next.
    if (taken == GoodsTaken::LinesSaved)
        view_.setFocus(FocusTarget::gridColumn(QStringLiteral("DBGridFAVpol"), QStringLiteral("mnozstvi")));
}

void SelectionMode::escape() {
    for (Target target : {Target::Partners, Target::Orders, Target::Goods})
        if (dropSearch(target))
            refreshPanel_(QLatin1String(info(target).list));
    const int tab = modules_.returnTab();
    leave();
    if (tab >= 3 && tab <= 6) {
        if (returnFocus_ == 1)
            view_.setFocus(FocusTarget::field(QStringLiteral("zakazka")));
        else if (returnFocus_ == 2)
            view_.setFocus(FocusTarget::field(QStringLiteral("odb_nazev_firmy")));
    }
    returnFocus_ = 0;
}

void SelectionMode::leave() {
    const int tab = modules_.returnTab();
    if (tab == -1)
        return;
    if (hooks_.switchTab)
        hooks_.switchTab(tab);
    modules_.setCurrentTab(tab);
    modules_.setReturnTab(-1);
    modules_.setSelectionActive(false);
    modules_.showModule(false);
    if (hooks_.placeHint)
        hooks_.placeHint();
}

} // namespace kelvarn
