#pragma once

#include "app/module_controller.h"
#include "app/module_view.h"
#include "app/totals_strips.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace kelvarn {

class CashBookRegistration;
class CashBookRules;
class DatabaseSession;
class Dataset;
class DbContext;
class DocumentRules;
class PanelQueries;
class ShellView;

// The datasets of the eleven modules after the entrepreneur, with their rules, and
// the controller of module switching and record commands that acts on them. The
// widget layer attaches its ModuleView later; until then the counter and the status
// line reach the shell's view, so the start-up can count rows before any panel exists.
class ModuleDatasets : public QObject {
    Q_OBJECT
  public:
    ModuleDatasets(DatabaseSession& session, DbContext& db, Dataset& entrepreneur, PanelQueries& queries,
                   ShellView& shellView, QObject* parent = nullptr);
    ~ModuleDatasets() override;

    ModuleController& controller() { return *controller_; }
    // The cash book's rules (pairing, settlement) and its register commands.
    CashBookRules& cashBookRules() { return *cashBookRules_; }
    CashBookRegistration& cashBookRegistration() { return *cashBookRegistration_; }
    // The strips of sums and the business overview; the window gives them its boxes.
    TotalsStrips& totals() { return totals_; }
    // Every module dataset, the entrepreneur's included, in creation order.
    const std::vector<Dataset*>& datasets() const { return datasets_; }
    Dataset* dataset(const QString& name) const { return controller_->dataset(name); }
    // The document rules: kind selectors and the document commands.
    DocumentRules& documents() { return *documents_; }

    // The window's panels; null detaches them.
    void setView(ModuleView* view) { relay_.target = view; }
    // Selects the whole text of the current panel's field bound to the column.
    void setSelectWholeText(std::function<void(const QString& column)> select) {
        selectWholeText_ = std::move(select);
    }

    // Rereads the panel's list (all datasets of its refresh plan), then the counter.
    void refreshPanel(const QString& panelId);
    // F5: the current panel, unless it is being edited.
    void refreshCurrentPanel();
    // Orders the current list by one column; false when the panel does not sort.
    bool sortCurrentPanel(const QString& column, bool descending);

  private:
    // Forwards to the window's panels once they exist.
    class Relay : public ModuleView {
      public:
        explicit Relay(ShellView& shell) : shell_(shell) {}
        void setContainerVisible(const QString& container, bool visible) override;
        void setFocus(const FocusTarget& target) override;
        QString focusedControl() const override;
        QList<Dataset::Bookmark> selectedRows(const QString& grid) const override;
        void setGridReadOnly(const QString& grid, bool readOnly) override;
        void setRecordCount(int count, bool filtered) override;
        void setStatusText(const QString& text) override;

        ModuleView* target = nullptr;

      private:
        ShellView& shell_;
    };

    Dataset* create(const QString& name);
    void installRules(Dataset& entrepreneur);
    void showDetailFromList();

    DatabaseSession& session_;
    DbContext& db_;
    PanelQueries& queries_;
    Relay relay_;
    TotalsStrips totals_;
    std::unique_ptr<ModuleController> controller_;
    std::unique_ptr<CashBookRules> cashBookRules_;
    std::unique_ptr<CashBookRegistration> cashBookRegistration_;
    std::vector<Dataset*> datasets_;
    std::unique_ptr<DocumentRules> documents_;
    std::function<void(const QString&)> selectWholeText_;
};

} // namespace kelvarn
