#pragma once

#include "lists/column_caption_map.h"
#include "output/export_table.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace kelvarn {

class Dataset;
class DbContext;

// What the export shows while it runs: the status line and the progress bar.
struct ExportView {
    std::function<QString()> statusText;
    std::function<void(const QString& text)> setStatusText;
    // The bar at 0 of maximum; advance moves it by one row and lets the window
    // handle what is pending.
    std::function<void(int maximum)> startProgress;
    std::function<void()> advance;
    std::function<void()> hideProgress;
};

// The toolbar's Export/Import: every row of the panel's list (two lists on the VAT
// tab), then the item lines of all issued documents or the depreciation rows of
// all assets, each to a file the user names, as delimited text or as CSV.
class ListExport {
  public:
    struct ListFile {
        QString dataset;    // the panel's dataset, walked as it lists its rows
        int captionTab = 0; // whose caption map gives the columns
        QString presetName;
    };
    struct DetailColumn {
        const char* column;
        const char* caption;
    };
    struct DetailFile {
        QString statement; // Access dialect, composed for the platform when run
        QString orderBy;
        std::vector<DetailColumn> columns;
        QString presetName;
    };
    struct Plan {
        std::vector<ListFile> lists;
        std::vector<DetailFile> details;
        bool isEmpty() const { return lists.empty(); }
    };

    using DatasetLookup = std::function<Dataset*(const QString& name)>;
    using Captions = std::function<QList<CaptionEntry>(int tab)>;

    ListExport(DbContext& db, DatasetLookup datasets, Captions captions, ExportView view);

    // Empty for the panels that are not exported (details, the entrepreneur).
    static Plan planOf(const QString& panelId);

    // The command after the edit-state guard: separator, rows, save dialogs, files.
    // Errors end it with message 22; files already written stay. True when at least
    // one file was written.
    bool run(const QString& panelId);

    // The list's rows under the caption map's columns (item columns left out).
    // Throws DbError for a column the dataset lacks.
    ExportTable listTable(Dataset& dataset, const QList<CaptionEntry>& captions);
    ExportTable detailTable(Dataset& rows, const std::vector<DetailColumn>& columns);

  private:
    // The save dialog and the file; false when the user cancelled.
    bool offer(const QString& presetName, const ExportTable& table, const QString& separator);

    DbContext& db_;
    DatasetLookup datasets_;
    Captions captions_;
    ExportView view_;
};

} // namespace kelvarn
