#pragma once

#include "output/report_engine.h"
#include "output/report_output.h"
#include "output/report_project.h"
#include "output/report_template.h"

#include <QMap>
#include <QString>

#include <optional>

namespace kelvarn {

// The report engine of the program: layouts are Mustache templates producing HTML,
// filled from the parameters and the bound datasets, and handed to a ReportOutput.
class ReportTemplateEngine : public ReportEngine {
  public:
    explicit ReportTemplateEngine(ReportOutput* output = nullptr) : output_(output) {}

    // Where runReport() sends what it generated; the engine does not own it.
    void setOutput(ReportOutput* output) { output_ = output; }
    ReportOutput* output() const { return output_; }

    void setProjectFile(const QString& path) override { projectFile_ = path; }
    QString projectFile() const override { return projectFile_; }
    void openProject() override;
    bool isProjectOpen() const override { return project_.has_value(); }
    void closeProject() override { project_.reset(); }
    QStringList reportNames() const override;

    void setParameter(const QString& name, const QString& value) override { parameters_.insert(name, value); }
    QString parameter(const QString& name) const override { return parameters_.value(name); }

    using ReportEngine::bindConnection;
    void bindConnection(int index, Dataset* dataset) override;
    Dataset* boundDataset(int index) const;

    // Throws ReportError when a report is found but no output is set.
    void runReport(const QString& name) override;
    // The report filled with the data as it stands now, without output; nothing when
    // the open project holds no such report. Throws ReportError.
    std::optional<RenderedReport> render(const QString& name) const;
    // The day reports say they were printed on; the real one unless set (tests).
    void setToday(const QDate& today) { today_ = today; }

  private:
    ReportOutput* output_ = nullptr;
    QString projectFile_;
    std::optional<ReportProject> project_;
    QMap<QString, QString> parameters_;
    report_template::Context::Connections connections_{};
    QDate today_;
};

} // namespace kelvarn
