#pragma once

#include <QString>

#include <functional>

class QComboBox;
class QLabel;
class QWidget;

namespace kelvarn {

class ModulePages;

// The pages of the four document modules (issued and received documents, receipt
// and expense vouchers): the list, and the detail with the kind selector standing
// in for the number box, the partner and order buttons, the item grid with its two
// summing buttons (issued) and the amount-in-words button (vouchers). Controls are
// registered with the page builder under their names (ComboBoxFAV, BitBtnSum, …).
class DocumentPages {
  public:
    explicit DocumentPages(ModulePages& pages) : pages_(pages) {}

    // The detail forms make their fields when their dataset first opens; each
    // control of these pages is announced once it exists (the item grid's buttons
    // at once).
    using ControlMade = std::function<void(int tab, const QString& name, QWidget* control)>;
    void setControlMade(ControlMade made) { made_ = std::move(made); }

    // Tab 3 to 6, into the module's page.
    void build(int tab, const QString& caption, QWidget* page);

    // The kind selector of tab 3 (ComboBoxFAV) or 4 (ComboBoxFAP), its label and the
    // number box it stands in for; null before the form first shows a record.
    QComboBox* kindSelector(int tab) const;
    QWidget* numberBox(int tab) const {
        return tab == 3 ? numberBoxes_[0] : tab == 4 ? numberBoxes_[1] : nullptr;
    }
    QLabel* numberLabel(int tab) const {
        return tab == 3 ? numberLabels_[0] : tab == 4 ? numberLabels_[1] : nullptr;
    }

    // The control names of the "x" / "..." buttons of a document tab.
    struct LinkButtons {
        const char* clearPartner;
        const char* pickPartner;
        const char* clearOrder;
        const char* pickOrder;
    };
    static LinkButtons linkButtons(int tab);
    // BitBtn2 on receipt vouchers, BitBtn1 on expense vouchers.
    static QString amountInWordsButton(int tab);

  private:
    QWidget* decorate(int tab, const QString& column, QWidget* editor, QLabel* label, QWidget* parent);
    QWidget* withButtons(int tab, QWidget* editor, QWidget* parent, const char* clearName,
                         const char* pickName, const QString& what);
    void addItems(QWidget* detail);
    void made(int tab, QWidget* control);

    ModulePages& pages_;
    QWidget* numberBoxes_[2] = {};
    QLabel* numberLabels_[2] = {};
    ControlMade made_;
};

} // namespace kelvarn
