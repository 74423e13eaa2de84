#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

namespace kelvarn {

class Dataset;
class DbContext;
class ModuleController;
class PanelQueries;
class ReportEngine;

// How the print command was given: Ctrl+P runs inside the printing error trap (the
// error box "Chyba tiskového systému", then the report project is read again); the
// toolbar button reports an error in the general error box.
enum class PrintTrigger { Key, Button };

// What the print command offers on a panel and what it prepares for the report.
struct PrintFamily {
    enum class Data {
        None,     // the panel prints nothing
        Document, // the current document, its item lines and deposit lines
        List,     // the panel's list as it stands (filter parameters only)
        Assets,   // the asset list and every depreciation row
        Order,    // the order list and the current order
    };

    QString prefix; // "M3_platce_DPH_", "Mx_", …; "" for no family
    QString preselected;
    Data data = Data::None;
    QString documentDataset; // ADOFormFAV … for Data::Document
    QString documentList;    // its list ("FormFAV-seznam"), whose statement "Seznam_dokladu" prints
    bool issued = false;     // issued documents keep their deposit lines apart

    bool operator==(const PrintFamily&) const = default;
};

// The values of the current issued document that choose its printed form.
struct IssuedDocument {
    QString number;        // cislo_dokladu
    QString paymentMethod; // zpusob_uhrady
    QString deliveryName;  // odb_dodani_nazev
};

// The report names of the print datasets and their connections.
namespace print_datasets {
inline const QString kDocument = QStringLiteral("ADOPrintDoklad");
inline const QString kItems = QStringLiteral("ADOPrintPolozky");
inline const QString kDeposits = QStringLiteral("ADOPrintZalohy");
inline const QString kDepreciation = QStringLiteral("ADOPrintOdpisy");
inline const QString kOrder = QStringLiteral("ADOPrintZakazka");
} // namespace print_datasets

// The main window's print command without its widgets: the edit-state guard, the
// family of reports a panel offers and the one preselected, the report selection
// (Prompts::chooseReport), the data the report reads, its parameters, the run by
// name through the ReportEngine and the two ways an error is reported. Printing
// never writes to the database.
class PrintController {
  public:
    struct Hooks {
        // The status line ("Tisk...").
        std::function<void(const QString& text)> statusText;
        // The report names after the project was read again (the settings window).
        std::function<void(const QStringList& names)> reportNamesChanged;
    };

    PrintController(ModuleController& modules, DbContext& db, PanelQueries& queries, Dataset& entrepreneur,
                    Hooks hooks = {});
    ~PrintController();

    Hooks& hooks() { return hooks_; }

    // The engine reports run in (none: nothing is printed). Its fourteen connections
    // are bound to the module and print datasets here.
    void setEngine(ReportEngine* engine);
    ReportEngine* engine() const { return engine_; }

    // The print datasets (ADOPrintDoklad …), open only while a report runs.
    Dataset* printDataset(const QString& name) const;

    // The family a panel offers; the issued documents' by their current document.
    PrintFamily familyOf(const QString& panelId) const;
    // The same from the values that decide it.
    static PrintFamily familyFor(const QString& panelId, const IssuedDocument& current, bool vatPayer);
    // The base names the selection lists: every report name beginning with the
    // prefix (at the first character, case counting), the prefix removed, in project order.
    static QStringList choices(const QStringList& reportNames, const QString& prefix);
    // The first entry beginning with the preselected name; -1 for an empty list.
    static int preselectedIndex(const QStringList& choices, const QString& preselected);

    // Toolbar "Tisk" and Ctrl+P on the current panel. Never throws.
    void print(PrintTrigger trigger);

    // Points the engine at appDir + "sestavy.rav", opens it, tells the report names
    // and sets "p_logo01". Throws ReportError.
    void loadProject();

  private:
    void run(const PrintFamily& family);
    void prepare(const PrintFamily& family, const QString& chosen);
    void prepareDocument(const PrintFamily& family, const QString& chosen);
    void closeAfter(const PrintFamily& family);
    void reportError(PrintTrigger trigger, const QString& text);
    QString currentId(const QString& datasetName) const;
    Dataset& ds(const QString& name) const;
    void setStatement(Dataset& dataset, const QString& select, const QString& where, const QString& orderBy);

    ModuleController& modules_;
    DbContext& db_;
    PanelQueries& queries_;
    Dataset& entrepreneur_;
    Hooks hooks_;
    ReportEngine* engine_ = nullptr;
    std::map<QString, std::unique_ptr<Dataset>> printDatasets_;
};

} // namespace kelvarn
