#pragma once

#include "output/report_output.h"

#include <QFont>
#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;

namespace kelvarn {

// A generated report cut into pages. Most of a layout is laid out by Qt's rich-text
// document; tables of the class "list" at the top level of a layout are laid out here
// row by row, their header rows repeated at the top of every page they reach, so a
// list of a hundred thousand rows takes seconds rather than hours. An element whose
// style says "page-break-before: always" at the top level starts a new page.
class ReportLayout {
  public:
    // area: what a page holds, in layout pixels (96 per inch); metrics: a device of
    // that resolution the text is measured on.
    ReportLayout(const RenderedReport& report, QSizeF area, QPaintDevice* metrics);
    ~ReportLayout();
    ReportLayout(const ReportLayout&) = delete;
    ReportLayout& operator=(const ReportLayout&) = delete;

    int pageCount() const { return static_cast<int>(pages_.size()); }
    // Paints a page (from 0) with the painter's origin at the top left of the area and
    // its units layout pixels.
    void paintPage(QPainter& painter, int page) const;
    // The text of every part in order; table cells separated by tabs, rows by lines.
    QString plainText() const;

  private:
    struct Piece;
    struct Placement {
        int piece = 0;
        double y = 0;        // on the page
        double sliceTop = 0; // within a piece Qt cut into pages
        double height = 0;
        int rowFrom = 0; // table rows [rowFrom, rowTo), header rows apart
        int rowTo = 0;
        bool withHead = false;
    };
    using Page = std::vector<Placement>;

    void paginate();
    void placeHtml(int index);
    void placeTable(int index);
    Page& newPage();
    // Paints table rows [from, to) from y down; returns the y below them.
    double paintRows(QPainter& painter, const Piece& piece, int from, int to, double y) const;

    QSizeF area_;
    QPaintDevice* metrics_;
    QFont font_;
    std::vector<std::unique_ptr<Piece>> pieces_;
    std::vector<Page> pages_;
    double y_ = 0;
};

} // namespace kelvarn
