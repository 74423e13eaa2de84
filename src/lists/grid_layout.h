#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace kelvarn {

class DiagnosticLog;

enum class ColumnAlignment { Left, Right, Center };

struct GridColumn {
    QString field; // bound column name
    QString title; // empty: the grid's built-in title
    int width = 0; // pixels; 0: the grid's built-in width
    bool visible = true;
    ColumnAlignment alignment = ColumnAlignment::Left;

    bool operator==(const GridColumn&) const = default;
};

// One user's arrangement of one list grid. The order of columns is the display order,
// so a column's order index is its position here.
struct GridLayout {
    QList<GridColumn> columns;

    int indexOf(const QString& field) const;
    bool operator==(const GridLayout&) const = default;
};

// The list grids with their datasets, in the order their layouts are restored.
struct GridInfo {
    const char* grid;
    const char* dataset;
};
inline constexpr std::array<GridInfo, 14> kGrids = {{
    {"DBGridFAV", "ADOFormFAV"},
    {"DBGridFAVpol", "ADOFormFAVpol"},
    {"DBGridDPHvstup", "ADOFormDPHvstup"},
    {"DBGridDPHvystup", "ADOFormDPHvystup"},
    {"DBGridPPD", "ADOFormPPD"},
    {"DBGridVPD", "ADOFormVPD"},
    {"DBGridFAP", "ADOFormFAP"},
    {"DBGridHlavniKniha", "ADOFormHlavniKniha"},
    {"DBGridKnihaJizd", "ADOFormKnihaJizd"},
    {"DBGridMajetek", "ADOFormMajetek"},
    {"DBGridOdpisy", "ADOFormOdpisy"},
    {"DBGridZbozi", "ADOFormZbozi"},
    {"DBGridPartneri", "ADOFormPartneri"},
    {"DBGridZakazky", "ADOFormZakazky"},
}};
// The order in which the layouts of open grids are written at exit.
inline constexpr std::array<const char*, 14> kGridSaveOrder = {
    "DBGridDPHvstup", "DBGridDPHvystup", "DBGridFAV",         "DBGridFAVpol",    "DBGridPPD",
    "DBGridVPD",      "DBGridFAP",       "DBGridHlavniKniha", "DBGridKnihaJizd", "DBGridMajetek",
    "DBGridOdpisy",   "DBGridZbozi",     "DBGridPartneri",    "DBGridZakazky",
};

// appDir (with its trailing separator) + userName + "_save_" + gridName + ".sav"; each
// database user keeps an own file. A "/" in the user name becomes "_" so a name can never
// lead the file out of the program folder.
QString gridLayoutPath(const QString& appDir, const QString& userName, const QString& gridName);

// Replaces the file atomically: a failed save leaves the previous layout intact.
bool saveGridLayout(const QString& path, const GridLayout& layout, QString* error = nullptr);
// nullopt with an error text for a missing, unreadable, foreign, newer or damaged file.
std::optional<GridLayout> loadGridLayout(const QString& path, QString* error = nullptr);

// Fits a saved layout to the columns the grid has now: columns gone from the database are
// dropped, columns added since are appended visible with the grid's built-in title and width.
GridLayout applyGridLayout(const GridLayout& saved, const QStringList& currentColumns);

struct GridColumns {
    QString gridName;
    QStringList columns; // the grid's current (built-in) columns
};
struct NamedGridLayout {
    QString gridName;
    GridLayout layout;
};

// One entry per grid, in the given order: the fitted saved layout, or nullopt when the grid
// keeps its built-in columns. A missing file is normal; any other failure is appended to
// the log and the next grid follows.
std::vector<std::optional<GridLayout>> restoreGridLayouts(const QString& appDir, const QString& userName,
                                                          const QList<GridColumns>& grids,
                                                          DiagnosticLog& log);
// Writes each given layout (callers pass only grids whose dataset was opened); failures go
// to the log. Returns whether every file was written.
bool saveGridLayouts(const QString& appDir, const QString& userName, const QList<NamedGridLayout>& grids,
                     DiagnosticLog& log);

} // namespace kelvarn
