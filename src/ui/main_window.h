#pragma once

#include "core/app_state.h"

#include <QMainWindow>

class QLabel;

namespace kelvarn {

class ConsoleRunner;
class DatabaseSession;
class DiagnosticLog;
class Prompts;
class QueryAnalyzerWindow;

// The program's main window: connects at its first showing and gives the way into
// the SQL console.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppState& state, DatabaseSession& session, Prompts& prompts, DiagnosticLog& log,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    QueryAnalyzerWindow* console() const { return console_; }

    // Reads the configuration, logs in and connects; returns whether it is running.
    bool startUp();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showQueryAnalyzer();
    void setDisabledState();

    AppState& state_;
    DatabaseSession& session_;
    Prompts& prompts_;
    DiagnosticLog& log_;
    ConsoleRunner* runner_ = nullptr;
    QueryAnalyzerWindow* console_ = nullptr;
    QLabel* body_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace kelvarn
