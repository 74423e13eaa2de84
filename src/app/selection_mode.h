#pragma once

#include <QString>

#include <functional>

namespace kelvarn {

class DbContext;
class DocumentRules;
class ModuleController;
class ModuleView;
class PanelQueries;

// Picking a partner, an order or goods into a document from their lists: the main
// window switches to the list (narrowed to what the document field already holds
// when nothing is linked yet), waits for a double click that copies the row, or for
// Esc, and then returns to the document. The flags and the return values live here;
// the tab bar, the floating hint and the user filters are reached through hooks.
class SelectionMode {
  public:
    enum class Target { Partners, Orders, Goods };

    struct Hooks {
        // Shows the module tab by program, past the tab bar's own guard.
        std::function<void(int tab)> switchTab;
        // Shows, moves or hides the floating hint after the mode began or ended.
        std::function<void()> placeHint;
        // Drops the user filter applied to the module's list.
        std::function<void(int tab)> dropUserFilter;
    };

    SelectionMode(ModuleController& modules, PanelQueries& queries, DocumentRules& documents, DbContext& db,
                  ModuleView& view, std::function<void(const QString& panelId)> refreshPanel);

    Hooks& hooks() { return hooks_; }

    // The "x" and "..." buttons beside the partner name and the order field of the
    // document panel in front (tabs 3 to 6).
    void clearPartner();
    void clearOrder();
    void pickPartner();
    void pickOrder();

    // The item grid's current column (kod_zbozi, popis or another; "" when left).
    void itemColumnEntered(const QString& column);
    int goodsColumnMarker() const { return goodsColumn_; }
    // F4 in the item grid: the goods list narrowed by the line's code or description
    // (by the column), or positioned on the goods the line came from. False when the
    // focused column is no goods column.
    bool searchGoods();

    // A double click on the goods (9), partner (10) or order (11) list: picks the row
    // in selection mode, switches list and detail otherwise.
    void listDoubleClicked(int tab);

    // Esc with nothing being edited: the name searches go, back to the document.
    void escape();
    void leave();

    bool isActive() const;
    bool pickerFilterActive(Target target) const { return filterActive_[static_cast<int>(target)]; }
    // 0 none, 1 the order field, 2 the partner name field.
    int returnFocus() const { return returnFocus_; }

  private:
    struct TargetInfo;
    static const TargetInfo& info(Target target);
    void pick(Target target);
    void take(Target target);
    void takeGoods();
    void clearLink(bool partner);
    void clearSearch(Target target);
    bool dropSearch(Target target);
    void enter(Target target, int fromTab);
    bool documentReady(int tab);

    ModuleController& modules_;
    PanelQueries& queries_;
    DocumentRules& documents_;
    DbContext& db_;
    ModuleView& view_;
    std::function<void(const QString&)> refreshPanel_;
    Hooks hooks_;
    bool filterActive_[3] = {};
    int returnFocus_ = 0;
    int goodsColumn_ = 0;
};

} // namespace kelvarn
