#pragma once

#include "output/script_converter.h"

#include <QList>
#include <QMainWindow>

class QAction;
class QLabel;
class QPlainTextEdit;
class QTableView;

namespace kelvarn {

class ConsoleRunner;
class DatasetTableModel;
class Prompts;

// The SQL console window ("QueryAnalyzer"): a script editor, the grid of the last
// SELECT and a status line over a ConsoleRunner owned by the main window. It is
// created once and only hidden when closed.
class QueryAnalyzerWindow : public QMainWindow {
    Q_OBJECT
  public:
    QueryAnalyzerWindow(ConsoleRunner& runner, Prompts& prompts, QWidget* parent = nullptr);
    ~QueryAnalyzerWindow() override;

    // The text the editor holds when the window is new.
    static QString rulesText();

    ConsoleRunner& runner() { return runner_; }
    QPlainTextEdit* editor() const { return editor_; }
    QTableView* grid() const { return grid_; }

    // Replaces the editor's content (the install run loads its script this way).
    void setScriptText(const QString& text);

  public Q_SLOTS:
    // "Spustit dotaz": the selection, or the whole text when nothing is selected.
    void runScript();
    void openScript();
    void exportResult();
    // Ctrl+S: writes a pending edit of the result grid.
    void saveResultEdit();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void showModeChecked(ConversionMode mode);
    void showError(const QString& text);

    ConsoleRunner& runner_;
    Prompts& prompts_;
    QPlainTextEdit* editor_ = nullptr;
    QTableView* grid_ = nullptr;
    DatasetTableModel* model_ = nullptr;
    QLabel* status_ = nullptr;
    QList<QAction*> modeActions_; // indexed by ConversionMode
};

} // namespace kelvarn
