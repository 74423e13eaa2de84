#pragma once

#include "app/module_controller.h"

#include <QString>
#include <QStringList>

// The fixed description of the main window's panels, shared by the module switching
// and the record commands.
namespace kelvarn::module_panels {

enum class Kind {
    Single,  // the entrepreneur record: fields only
    List,    // a grid over the module dataset
    Vat,     // the read-only VAT grids
    Detail,  // the fields of a document or register record
    SubGrid, // the item or depreciation grid on a detail panel
};

struct PanelInfo {
    const char* id;
    int tab;
    const char* dataset; // the one the guard, new, save and delete use
    const char* listDataset;
    const char* container;
    const char* grid;
    const char* keyColumn;
    Kind kind;
};

// The two panels of a module with a list and a detail; both null for the others.
struct ModulePair {
    const char* list;
    const char* detail;
};

const PanelInfo* findPanel(const QString& id);
const ModulePair& modulePair(int tab);
// Every grid of a module's panels (list, items, depreciation rows).
QStringList gridsOfTab(int tab);
// The twenty module containers.
const QStringList& allContainers();
// Which datasets a panel's module opens at its first visit, masters first.
QStringList datasetsToOpen(const PanelInfo& p);

} // namespace kelvarn::module_panels
