#pragma once

#include "output/report_output.h"

#include <QString>

#include <functional>

class QPagedPaintDevice;

namespace kelvarn {

// Lays a generated report out in pages and paints them: one path for the preview,
// the printer and PDF files, so all three look the same.
class ReportPainter {
  public:
    using PageStarted = std::function<void(int page)>; // from 1

    explicit ReportPainter(RenderedReport report) : report_(std::move(report)) {}

    const RenderedReport& report() const { return report_; }

    // Gives the device the report's paper, orientation and margins.
    void applyPageSetup(QPagedPaintDevice& device) const;

    // Paints every page on the device with the page layout it has now (the user may
    // have changed it in the printer setup). Returns the number of pages. Throws
    // ReportError when the device cannot be painted on.
    int paint(QPagedPaintDevice& device, const PageStarted& pageStarted = {}) const;

    // A4 or whatever the report says, DejaVu text embedded. Throws ReportError.
    void writePdf(const QString& path, const PageStarted& pageStarted = {}) const;

    // The document text as laid out, for checks that need no pixels.
    QString plainText() const;
    // The pages the report takes on its own paper.
    int pageCount() const;

  private:
    RenderedReport report_;
};

} // namespace kelvarn
