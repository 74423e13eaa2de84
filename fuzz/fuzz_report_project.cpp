// The report project (sestavy.rav): any file is either refused with a message or
// read whole; every report read has a unique name; a layout that checks as a
// template renders, one that does not is refused by the renderer too, and values
// are always HTML-escaped.

#include "fuzz_support.h"
#include "output/report_error.h"
#include "output/report_project.h"
#include "output/report_template.h"

#include <QSet>

using namespace kelvarn;
using namespace kelvarn::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const QString value = in.text();
    const QByteArray content = in.rest();

    report_template::Context context;
    context.reportName = QStringLiteral("R");
    context.parameters.insert(QStringLiteral("p"), value);
    const QString escaped = report_template::render(QStringLiteral("<p>{{p}}</p>"), context).html;
    const QString inner = escaped.mid(3, escaped.size() - 7);
    FUZZ_CHECK(escaped.startsWith(QLatin1String("<p>")) && escaped.endsWith(QLatin1String("</p>")) &&
                   !inner.contains(QLatin1Char('<')) && !inner.contains(QLatin1Char('>')),
               escaped);

    ReportProject project;
    try {
        project = ReportProject::parse(content, QStringLiteral("sestavy.rav"));
    } catch (const ReportError& e) {
        FUZZ_CHECK(!e.text().isEmpty(), QString());
        return 0;
    }
    QSet<QString> names;
    for (const ReportDefinition& report : project.reports()) {
        FUZZ_CHECK(!report.name.isEmpty(), QString());
        FUZZ_CHECK(!names.contains(report.name), report.name);
        names.insert(report.name);
        FUZZ_CHECK(project.find(report.name) == &report, report.name);
        const bool wellFormed = !report_template::check(report.layout).has_value();
        bool rendered = true;
        try {
            report_template::render(report.layout, context);
        } catch (const ReportError&) {
            rendered = false;
        }
        FUZZ_CHECK(wellFormed == rendered, report.layout);
    }
    return 0;
}
