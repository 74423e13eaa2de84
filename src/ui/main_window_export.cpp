#include "ui/main_window.h"

#include "app/module_datasets.h"
#include "app/shell_controller.h"
#include "lists/column_caption_map.h"
#include "output/list_export.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QToolBar>

namespace kelvarn {

void MainWindow::exportCurrentList() {
    ModuleController& modules = controller_->modules().controller();
    const QString panel = modules.currentPanelId();
    if (ListExport::planOf(panel).isEmpty() || !modules.checkBrowseState({}))
        return;

    // The window keeps painting while the rows are written, but takes no commands
    // until the export ends: a command could change or close the list being read.
    QElapsedTimer sinceBreath;
    sinceBreath.start();
    auto breathe = [&sinceBreath](bool now) {
        if (now || sinceBreath.elapsed() >= 15) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceBreath.restart();
        }
    };
    ExportView view;
    view.statusText = [this] { return status_->text(); };
    view.setStatusText = [this](const QString& text) { setStatusText(text); };
    view.startProgress = [this, &breathe](int maximum) {
        progress_->setRange(0, std::max(maximum, 0));
        progress_->setValue(0);
        progress_->setVisible(true);
        breathe(true);
    };
    view.advance = [this, &breathe] {
        progress_->setValue(progress_->value() + 1);
        breathe(false);
    };
    view.hideProgress = [this] { progress_->setVisible(false); };

    const QScopedValueRollback<bool> exporting(exporting_, true);
    menuBar()->setEnabled(false);
    toolbar_.bar->setEnabled(false);
    ListExport exporter(
        controller_->db(), [this](const QString& name) { return controller_->modules().dataset(name); },
        [this](int tab) {
            const auto& maps = controller_->captionMaps();
            return tab >= 0 && tab < static_cast<int>(maps.size()) ? ColumnCaptionMap::read(maps[tab])
                                                                   : QList<CaptionEntry>();
        },
        view);
    exporter.run(panel);
    menuBar()->setEnabled(true);
    toolbar_.bar->setEnabled(true);
}

} // namespace kelvarn
