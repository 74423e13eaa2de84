#pragma once

#include "db/dataset.h"

#include <QList>
#include <QString>

namespace kelvarn {

// Where the input focus goes. A grid or memo is named by `control`; a field bound to
// a column of the visible panel has an empty `control` and the column in `column`.
// For a grid, `column` names the grid column to enter ("" keeps the grid's own
// column, firstColumn moves to its first column).
struct FocusTarget {
    QString control;
    QString column;
    bool firstColumn = false;

    static FocusTarget named(const QString& name) { return {name, {}, false}; }
    static FocusTarget gridColumn(const QString& name, const QString& column) {
        return {name, column, false};
    }
    static FocusTarget gridFirstColumn(const QString& name) { return {name, {}, true}; }
    static FocusTarget field(const QString& column) { return {{}, column, false}; }

    bool operator==(const FocusTarget&) const = default;
};

// What the module switching and the record commands need of the main window's
// panels. The widget layer implements it; tests implement it with a recording fake.
class ModuleView {
  public:
    virtual ~ModuleView() = default;

    // Containers are named as in the window (PanelFAV, PanelFVseznam, PanelDPH, …).
    virtual void setContainerVisible(const QString& container, bool visible) = 0;
    virtual void setFocus(const FocusTarget& target) = 0;
    // The name of the control holding the focus ("" when none of the panels' controls).
    virtual QString focusedControl() const = 0;

    // The rows selected in a multi-select grid, in the order of its selection list.
    virtual QList<Dataset::Bookmark> selectedRows(const QString& grid) const = 0;
    virtual void setGridReadOnly(const QString& grid, bool readOnly) = 0;

    // The counter at the right end of the tab row; red while a filter narrows the list.
    virtual void setRecordCount(int count, bool filtered) = 0;
    virtual void setStatusText(const QString& text) = 0;
};

} // namespace kelvarn
