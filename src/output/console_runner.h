#pragma once

#include "db/dataset.h"
#include "output/script_converter.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace kelvarn {

struct AppState;
class DatabaseSession;
class Prompts;

// The SQL console without its window: runs scripts of ";"-terminated statements in
// the checked conversion mode, keeps the result of the last SELECT (editable),
// appends every run to the console log and exports the result. The install run and
// other commands use it as their statement executor as well.
class ConsoleRunner : public QObject {
    Q_OBJECT
  public:
    ConsoleRunner(DatabaseSession& session, AppState& state, Prompts& prompts, QObject* parent = nullptr);
    ~ConsoleRunner() override;

    ConversionMode mode() const { return mode_; }
    void setMode(ConversionMode mode);

    // The result of the last SELECT ("ADORunSQL"); grids edit it directly.
    Dataset& result() { return result_; }
    const Dataset& result() const { return result_; }

    bool isRunning() const { return running_; }
    const QString& statusText() const { return statusText_; }
    void setStatusText(const QString& text);
    // What the last run appended to the log file.
    const QString& logText() const { return logText_; }
    QString logFilePath() const;
    AppState& appState() { return state_; }

    // Runs the script (line breaks are taken as CR LF). Errors stop the run and are
    // shown as message 3; installResult tells the outcome. A call while a run is in
    // progress is ignored.
    void run(const QString& script);

    // Puts a script into the console's script box without running it (the install
    // run shows the script it runs).
    void loadScript(const QString& script) { Q_EMIT scriptLoaded(script); }

    // The plain executor: runs one statement that returns no rows, as given (no
    // conversion, no log). Returns the affected rows; throws DbError.
    int execute(const QString& statement);

    // Exports the result to a delimited text file through the separator prompt and
    // the save dialog. columnOrder lists the result's columns in the order the grid
    // shows them (empty: the result's own order). False when nothing was written.
    bool exportResult(const QList<int>& columnOrder = {});

    // The time stamp written into the log; tests pin it.
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

  Q_SIGNALS:
    void modeChanged(kelvarn::ConversionMode mode);
    void statusTextChanged(const QString& text);
    void runningChanged(bool running);
    void scriptLoaded(const QString& script);

  private:
    void runStatements(QString remaining, QString& log);
    void runStatement(const QString& statement, QString& log);
    bool guardAllows(const QString& guard);
    QString databaseVersion();
    double versionNumber(const QString& text) const;

    DatabaseSession& session_;
    AppState& state_;
    Prompts& prompts_;
    Dataset result_;
    ConversionMode mode_ = ConversionMode::None;
    bool running_ = false;
    QString statusText_;
    QString logText_;
    std::function<QDateTime()> clock_;
};

} // namespace kelvarn
