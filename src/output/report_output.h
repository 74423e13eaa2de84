#pragma once

#include "output/report_project.h"
#include "output/report_template.h"

#include <QString>

namespace kelvarn {

// One generated report: its layout filled with the data of the run.
struct RenderedReport {
    QString name;
    QString html;
    ReportPageSetup page;
    report_template::Images images; // pictures the HTML names in <img src="…">
};

// Where a generated report goes: the preview window of the user interface, or in
// tests and batch runs a capture or a PDF file. Keeps the engine free of widgets.
class ReportOutput {
  public:
    virtual ~ReportOutput() = default;
    // Shows, prints or stores the report; returns when that is over. Throws
    // ReportError when the output cannot be produced.
    virtual void present(const RenderedReport& report) = 0;
};

} // namespace kelvarn
