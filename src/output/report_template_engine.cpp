#include "output/report_template_engine.h"

#include "db/dataset.h"
#include "output/report_error.h"

namespace kelvarn {

static_assert(ReportEngine::kConnectionCount == report_template::kConnectionCount);

void ReportTemplateEngine::openProject() {
    // A failed open must not leave the old project looking current.
    project_.reset();
    project_ = ReportProject::load(projectFile_);
}

QStringList ReportTemplateEngine::reportNames() const {
    return project_ ? project_->names() : QStringList();
}

void ReportTemplateEngine::bindConnection(int index, Dataset* dataset) {
    if (index < 1 || index > kConnectionCount)
        throw ReportError(QStringLiteral("Datové spojení číslo %1 tiskové sestavy neexistuje (jsou 1 až %2).")
                              .arg(index)
                              .arg(kConnectionCount));
    connections_[static_cast<std::size_t>(index - 1)] = dataset;
}

Dataset* ReportTemplateEngine::boundDataset(int index) const {
    if (index < 1 || index > kConnectionCount)
        return nullptr;
    return connections_[static_cast<std::size_t>(index - 1)].data();
}

std::optional<RenderedReport> ReportTemplateEngine::render(const QString& name) const {
    const ReportDefinition* report = project_ ? project_->find(name) : nullptr;
    if (!report)
        return std::nullopt;
    report_template::Context context{name, parameters_, connections_};
    if (today_.isValid())
        context.today = today_;
    for (const PartialDefinition& partial : project_->partials())
        context.partials.insert(partial.name, partial.layout);
    report_template::Rendered rendered = report_template::render(report->layout, context);
    return RenderedReport{name, std::move(rendered.html), report->page, std::move(rendered.images)};
}

void ReportTemplateEngine::runReport(const QString& name) {
    const std::optional<RenderedReport> rendered = render(name);
    if (!rendered)
        return;
    if (!output_)
        throw ReportError(QStringLiteral("Tiskovou sestavu „%1“ není kam poslat: chybí náhled.").arg(name));
    output_->present(*rendered);
}

} // namespace kelvarn
