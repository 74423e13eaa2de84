#pragma once

#include "core/app_state.h"
#include "core/diagnostic_log.h"
#include "core/prompts.h"
#include "db/database_session.h"
#include "db/db_context.h"
#include "lists/column_caption_map.h"
#include "lists/grid_layout.h"
#include "lists/panel_queries.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace kelvarn {

class ConsoleRunner;
class Dataset;
class FilterCommands;
class ModuleDatasets;
class PrintController;
class ReportEngine;
class ShellView;

// The main window without its widgets: the start-up on the first paint, the TEST
// caption blink, the record commands of the panels built so far, and the end of
// the run. It owns the run's state, the connection, the console, the report engine
// and the module datasets; it reaches the screen only through ShellView and the
// user only through Prompts.
class ShellController : public QObject {
    Q_OBJECT
  public:
    // The title each module dataset has in the list of unsaved panels, in the
    // order that list keeps.
    struct PanelTitle {
        QString dataset;
        QString title;
    };
    static const std::vector<PanelTitle>& unsavedPanelTitles();

    ShellController(ShellView& view, Prompts& prompts, const QString& appDir, QObject* parent = nullptr);
    ~ShellController() override;

    AppState& state() { return state_; }
    DatabaseSession& session() { return session_; }
    DiagnosticLog& log() { return log_; }
    DbContext& db() { return db_; }
    ConsoleRunner& console() { return *console_; }
    Dataset& entrepreneur() { return *entrepreneur_; }
    ReportEngine* reportEngine() const { return reports_.get(); }

    // Before the start-up: the report engine (none: no report project is opened),
    // the random draw of the tip of the day and, for install runs, the script.
    void setReportEngine(std::unique_ptr<ReportEngine> engine);
    void setRandom(std::function<int(int, int)> random) { random_ = std::move(random); }
    void setInstallScript(const QString& path) { installScript_ = path; }

    // The start-up of the first paint. Runs once; later calls only answer whether
    // the run is usable (logged in).
    bool startUp();
    // One step of the caption blink of a TEST database.
    void blinkTick();

    // Module datasets take part in the closing check under their dataset name.
    void registerDataset(Dataset* dataset);
    // A registered dataset by its name (null when its module is not built).
    Dataset* dataset(const QString& name) const;
    PanelQueries& panelQueries() { return panelQueries_; }
    // The module datasets and the controller of the module panels and record commands.
    ModuleDatasets& modules() { return *modules_; }
    // Filtr and FiltrCancel with the filter applied per module.
    FilterCommands& filters() { return *filters_; }
    // The print command (toolbar "Tisk", Ctrl+P) and the report project.
    PrintController& printing() { return *printing_; }

    // A grid whose column arrangement is kept per user between runs: restored
    // after login, saved at the end of the run when its dataset was opened.
    struct GridHost {
        QString gridName;
        Dataset* dataset = nullptr;
        std::function<QStringList()> columns;          // the grid's columns now
        std::function<GridLayout()> layout;            // the arrangement to save; none: keep the file
        std::function<void(const GridLayout&)> apply;  // restores a saved arrangement
    };
    void registerGrid(GridHost grid);
    // The fifteen caption maps built after login, by tab index.
    const std::array<QString, kCaptionMapCount>& captionMaps() const { return captionMaps_; }
    // The titles, each followed by a line break, of the panels whose dataset is
    // being edited; "" when nothing is unsaved.
    QString unsavedPanels() const;
    // The close request: message 12 about unsaved panels; true when the window may close.
    bool closeRequested();
    // What the destruction of the window does; runs once.
    void shutDown();

    // The panel the commands act on, on the view's current tab.
    QString currentPanelId() const;
    // The dataset of a panel (null for a panel without one).
    Dataset* datasetOfPanel(const QString& panelId) const;
    // True when the panel's dataset is not being edited; otherwise message 4 unless
    // the name is "post" (the silent form). "" means the current panel.
    bool checkBrowseState(const QString& panelId);
    // Record counter and status line of the current panel; returns the count.
    int updateStatusBar();
    // Ctrl+S: posts the dataset of the current panel when it is being edited. A
    // database error is shown and the row keeps its state. True when written.
    bool saveCurrentRecord();
    // Esc on a detail panel: the changes are dropped.
    void cancelCurrentEdit();

  Q_SIGNALS:
    void startUpFinished(bool loggedIn);

  private:
    void initialise();
    void finishLogin();
    void openReportProject();
    void disable();
    void restoreGrids();
    void saveGrids();

    ShellView& view_;
    Prompts& prompts_;
    AppState state_;
    DatabaseSession session_;
    DiagnosticLog log_;
    DbContext db_;
    ConsoleRunner* console_ = nullptr;
    Dataset* entrepreneur_ = nullptr;
    std::unique_ptr<ReportEngine> reports_;
    ModuleDatasets* modules_ = nullptr;
    std::unique_ptr<FilterCommands> filters_;
    std::unique_ptr<PrintController> printing_;
    std::vector<Dataset*> datasets_;
    std::vector<GridHost> grids_;
    PanelQueries panelQueries_{db_};
    std::array<QString, kCaptionMapCount> captionMaps_;
    std::function<int(int, int)> random_;
    QString installScript_;
    bool shutDown_ = false;
};

} // namespace kelvarn
