#pragma once

#include <QString>
#include <QStringList>

namespace kelvarn {

class Dataset;

// The component that holds every printed form: a project file of layouts, named
// parameters and fourteen data connections, each bound to one dataset of the main
// window. The program only names reports, binds data and sets parameters; how a
// report looks and where it goes is the engine's.
class ReportEngine {
  public:
    static constexpr int kConnectionCount = 14;

    virtual ~ReportEngine() = default;

    // The next openProject() reads this file.
    virtual void setProjectFile(const QString& path) = 0;
    virtual QString projectFile() const = 0;
    // Reads the project; throws ReportError when the file is missing, unreadable,
    // not a report project or damaged (the previous project stays closed then).
    virtual void openProject() = 0;
    virtual bool isProjectOpen() const = 0;
    // Releases the project; parameters and bindings are kept for the next open.
    virtual void closeProject() = 0;

    // The display names of all reports, in project order (display name = name).
    // Empty while no project is open.
    virtual QStringList reportNames() const = 0;

    // A value stays until it is set again, across closing and opening the project.
    virtual void setParameter(const QString& name, const QString& value) = 0;
    virtual QString parameter(const QString& name) const = 0;

    // Connection 1 … 14 ("RvDataSetConnection1" …). The dataset is read when a report
    // runs, as it stands then (its current filter and order); a null dataset, or one
    // destroyed since, serves no rows. Throws ReportError for an index out of range.
    virtual void bindConnection(int index, Dataset* dataset) = 0;
    // By connection name; throws ReportError for a name that is not one of the
    // fourteen.
    void bindConnection(const QString& connectionName, Dataset* dataset);

    // Generates the named report and hands it to the output; returns when the output
    // is done with it. A name the project does not hold runs nothing and raises no
    // error. Throws ReportError when generating or output fails.
    virtual void runReport(const QString& name) = 0;

    // "RvDataSetConnection<index>"
    static QString connectionName(int index);
    // 1 … 14 for a connection name (exact spelling), 0 for anything else.
    static int connectionIndex(const QString& connectionName);
};

} // namespace kelvarn
