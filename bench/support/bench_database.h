#pragma once

#include "core/app_state.h"
#include "core/prompts.h"
#include "db/database_session.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace kelvarn::bench {

// Answers every question with Yes and remembers every box, so that a run which asked
// or complained can be told from a clean one.
class YesPrompts : public Prompts {
  public:
    Answer message(const QString& caption, const QString& text, MessageStyle style) override;
    bool inputText(const QString& title, const QString& prompt, QString& value) override;
    QString saveFileName(const QString& title, const QString& presetPath, const QStringList& filters,
                         const QString& defaultSuffix) override;
    QString openFileName(const QString& title, const QString& folder, const QStringList& filters) override;

    QStringList shown; // "caption: text"
};

// An embedded database file in a folder of its own, removed with the object.
// The folder is made under TMPDIR (/tmp when unset), so the disk a run measures can
// be chosen from outside.
struct BenchDatabase {
    QTemporaryDir dir;
    QString file;
    QString connectionString;
    AppState state; // platform "1", appDir = the folder, saving without prompt
    DatabaseSession session;
};

// The install script as the program reads it (code page 1250). Throws
// std::runtime_error when it cannot be read.
QString installScript();

// Opens (and so creates) an empty database file. Throws std::runtime_error.
std::unique_ptr<BenchDatabase> createEmptyDatabase();

// Runs the script through the console runner the way the install run does. Throws
// std::runtime_error with the boxes shown when the run does not succeed cleanly.
void runInstall(BenchDatabase& db, const QString& script);

// createEmptyDatabase + runInstall(installScript()).
std::unique_ptr<BenchDatabase> createInstalledDatabase();

// Peak resident size of this process (getrusage ru_maxrss) and the current one
// (VmRSS), in MiB; 0 when they cannot be read.
double peakResidentMiB();
double residentMiB();

double median(std::vector<double> values);

// The size of the filled ledger: `fallback`, or KELVARN_BENCH_DOCUMENTS when set
// (smaller ledgers for runs under valgrind).
int documentCount(int fallback);

// main() of a benchmark program: a QCoreApplication for the Qt parts, the Google
// Benchmark command line and run, then teardown (while Qt is still up, so that
// database connections close before Qt's own clean-up).
int benchMain(int argc, char** argv, const std::function<void()>& teardown = {});

} // namespace kelvarn::bench
