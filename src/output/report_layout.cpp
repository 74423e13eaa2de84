#include "output/report_layout.h"

#include "output/report_html_table.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace kelvarn {
namespace {

using report_html::Cell;
using report_html::ListTable;
using report_html::Row;

QFont reportFont(const ReportPageSetup& page) {
    QFont font(page.fontFamily);
    font.setPointSizeF(page.fontSizePt);
    return font;
}

bool isContainer(const QString& name) {
    static const char* const names[] = {"table", "div", "blockquote", "ul", "ol", "dl", "center", "pre"};
    return std::any_of(std::begin(names), std::end(names),
                       [&](const char* n) { return name == QLatin1String(n); });
}

bool breaksPageBefore(const report_html::Tag& tag) {
    const auto it = tag.attributes.find(QStringLiteral("style"));
    if (it == tag.attributes.end())
        return false;
    const auto style = report_html::parseStyle(it->second);
    const auto pb = style.find(QStringLiteral("page-break-before"));
    return pb != style.end() && pb->second == QLatin1String("always");
}

struct Segment {
    enum class Kind { Html, Table, PageBreak } kind = Kind::Html;
    QString html;
    std::optional<ListTable> table;
};

// The top level of the HTML in pieces: rich text, list tables, page breaks.
std::vector<Segment> split(const QString& html) {
    std::vector<Segment> segments;
    qsizetype cut = 0;
    qsizetype pos = 0;
    int nest = 0;
    QString pendingTag; // the tag that began the current piece, without its page break
    auto emitHtml = [&](qsizetype from, qsizetype to, qsizetype skip) {
        QString text = pendingTag + html.mid(from + skip, to - from - skip);
        pendingTag.clear();
        if (!text.trimmed().isEmpty())
            segments.push_back({Segment::Kind::Html, std::move(text), std::nullopt});
    };
    qsizetype skip = 0; // characters of the piece's first tag already in pendingTag
    while (const std::optional<report_html::Tag> tag = report_html::nextTag(html, pos)) {
        pos = tag->end;
        if (nest == 0 && !tag->closing) {
            if (report_html::isListTable(*tag)) {
                // The matching end tag, nested tables counted.
                int depth = 0;
                qsizetype end = -1;
                qsizetype p = tag->begin;
                while (const std::optional<report_html::Tag> t = report_html::nextTag(html, p)) {
                    p = t->end;
                    if (t->name == QLatin1String("table"))
                        depth += t->closing ? -1 : 1;
                    if (depth == 0) {
                        end = t->end;
                        break;
                    }
                }
                if (end > 0) {
                    if (auto table = report_html::parseListTable(
                            QStringView(html).mid(tag->begin, end - tag->begin))) {
                        emitHtml(cut, tag->begin, skip);
                        skip = 0;
                        segments.push_back({Segment::Kind::Table, {}, std::move(table)});
                        cut = pos = end;
                        continue;
                    }
                }
            }
            if (breaksPageBefore(*tag) && tag->begin > cut) {
                emitHtml(cut, tag->begin, skip);
                segments.push_back({Segment::Kind::PageBreak, {}, std::nullopt});
                cut = tag->begin;
                // Qt would break the page again at the start of the piece.
                pendingTag = html.mid(tag->begin, tag->end - tag->begin);
                pendingTag.replace(QLatin1String("page-break-before"), QLatin1String("x-page-break-before"),
                                   Qt::CaseInsensitive);
                skip = tag->end - tag->begin;
            } else if (breaksPageBefore(*tag) && tag->begin == cut && !segments.empty()) {
                segments.push_back({Segment::Kind::PageBreak, {}, std::nullopt});
            }
        }
        if (isContainer(tag->name) && !tag->selfClosing)
            nest = std::max(0, nest + (tag->closing ? -1 : 1));
    }
    emitHtml(cut, html.size(), skip);
    return segments;
}

} // namespace

struct ReportLayout::Piece {
    Segment::Kind kind = Segment::Kind::Html;
    // Html
    std::unique_ptr<QTextDocument> doc;
    double height = 0;
    // Table
    std::optional<ListTable> table;
    std::vector<double> columnX; // column edges, columnCount + 1
    std::vector<float> rowHeights;
    double headHeight = 0;
};

namespace {

struct TableFonts {
    QFont normal;
    QFont bold;
    QFont italic;
    QFont boldItalic;
    const QFont& of(bool b, bool i) const { return b ? (i ? boldItalic : bold) : (i ? italic : normal); }
};

TableFonts tableFonts(const QFont& base) {
    TableFonts f{base, base, base, base};
    f.bold.setBold(true);
    f.italic.setItalic(true);
    f.boldItalic.setBold(true);
    f.boldItalic.setItalic(true);
    return f;
}

// The text of one cell laid out in its width; nothing is painted.
void layOutCell(QTextLayout& layout, const Cell& cell, const Row& row, double width) {
    QTextOption option(cell.align | Qt::AlignTop);
    option.setWrapMode(cell.noWrap ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    if (!cell.formats.isEmpty())
        layout.setFormats(cell.formats);
    (void)row;
    layout.beginLayout();
    double y = 0;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max(1.0, width));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
}

double textHeight(const QTextLayout& layout) {
    double h = 0;
    for (int i = 0; i < layout.lineCount(); ++i)
        h = std::max(h, layout.lineAt(i).rect().bottom());
    return h;
}

} // namespace

ReportLayout::ReportLayout(const RenderedReport& report, QSizeF area, QPaintDevice* metrics)
    : area_(area), metrics_(metrics), font_(reportFont(report.page)) {
    const QFont& font = font_;
    for (Segment& segment : split(report.html)) {
        auto piece = std::make_unique<Piece>();
        piece->kind = segment.kind;
        if (segment.kind == Segment::Kind::Html) {
            piece->doc = std::make_unique<QTextDocument>();
            piece->doc->documentLayout()->setPaintDevice(metrics_);
            piece->doc->setDefaultFont(font);
            // The page margins are the report's; the document's own would add to them.
            piece->doc->setDocumentMargin(0);
            for (const auto& [name, image] : report.images)
                piece->doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
            piece->doc->setHtml(segment.html);
            piece->doc->setTextWidth(area_.width());
            piece->height = piece->doc->documentLayout()->documentSize().height();
        } else if (segment.kind == Segment::Kind::Table) {
            piece->table = std::move(segment.table);
        }
        pieces_.push_back(std::move(piece));
    }
    // Tables are measured with the font of the report.
    const TableFonts fonts = tableFonts(font);
    for (auto& piece : pieces_) {
        if (piece->kind != Segment::Kind::Table)
            continue;
        const ListTable& t = *piece->table;
        const int columns = t.columnCount();
        const double tableWidth = area_.width() * t.widthPercent / 100.0;
        // Widths from the first row that gives them (the header, as a rule).
        std::vector<double> widths(static_cast<std::size_t>(columns), -1);
        static const Row kNoRow;
        const Row& first = t.rowCount() > 0 ? t.row(0) : kNoRow;
        int col = 0;
        for (const Cell& c : first.cells) {
            if (c.colspan == 1 && col < columns) {
                if (c.widthPercent > 0)
                    widths[static_cast<std::size_t>(col)] = tableWidth * c.widthPercent / 100.0;
                else if (c.widthPx > 0)
                    widths[static_cast<std::size_t>(col)] = c.widthPx;
            }
            col += c.colspan;
        }
        double given = 0;
        int open = 0;
        for (const double w : widths) {
            if (w > 0)
                given += w;
            else
                ++open;
        }
        const double rest = open > 0 ? std::max(10.0, (tableWidth - given) / open) : 0;
        for (double& w : widths)
            if (w <= 0)
                w = rest;
        double total = 0;
        for (const double w : widths)
            total += w;
        const double scale = total > tableWidth ? tableWidth / total : 1.0;
        piece->columnX.assign(1, 0.0);
        for (const double w : widths)
            piece->columnX.push_back(piece->columnX.back() + w * scale);

        const double pad = t.padding + (t.border > 0 ? 0.5 : 0);
        piece->rowHeights.reserve(static_cast<std::size_t>(t.rowCount()));
        const double lineHeight = QFontMetricsF(fonts.normal, metrics_).height();
        for (int r = 0; r < t.rowCount(); ++r) {
            const Row& row = t.row(r);
            double h = lineHeight;
            int c = 0;
            for (const Cell& cell : row.cells) {
                const int to = std::min(columns, c + cell.colspan);
                const double width = piece->columnX[static_cast<std::size_t>(to)] -
                                     piece->columnX[static_cast<std::size_t>(c)] - 2 * pad;
                c = to;
                if (cell.text.isEmpty())
                    continue;
                const QFont& f = fonts.of(cell.bold || row.bold, cell.italic);
                if (cell.formats.isEmpty() && !cell.text.contains(QChar::LineSeparator) &&
                    QFontMetricsF(f, metrics_).horizontalAdvance(cell.text) <= width)
                    continue; // one line
                QTextLayout layout(cell.text, f, metrics_);
                layOutCell(layout, cell, row, width);
                h = std::max(h, textHeight(layout));
            }
            piece->rowHeights.push_back(static_cast<float>(h + 2 * pad));
        }
        for (std::size_t r = 0; r < t.head.size(); ++r)
            piece->headHeight += piece->rowHeights[r];
    }
    paginate();
}

ReportLayout::~ReportLayout() = default;

ReportLayout::Page& ReportLayout::newPage() {
    pages_.emplace_back();
    y_ = 0;
    return pages_.back();
}

void ReportLayout::paginate() {
    newPage();
    for (int i = 0; i < static_cast<int>(pieces_.size()); ++i) {
        switch (pieces_[static_cast<std::size_t>(i)]->kind) {
        case Segment::Kind::Html:
            placeHtml(i);
            break;
        case Segment::Kind::Table:
            placeTable(i);
            break;
        case Segment::Kind::PageBreak:
            if (y_ > 0 || !pages_.back().empty())
                newPage();
            break;
        }
    }
}

void ReportLayout::placeHtml(int index) {
    Piece& piece = *pieces_[static_cast<std::size_t>(index)];
    const double h = piece.height;
    if (y_ + h <= area_.height() + 0.5) {
        pages_.back().push_back({index, y_, 0, h});
        y_ += h;
        return;
    }
    if (h <= area_.height()) {
        newPage().push_back({index, 0, 0, h});
        y_ = h;
        return;
    }
    // Longer than a page: Qt cuts it into pages, from the top of one.
    if (y_ > 0 || !pages_.back().empty())
        newPage();
    piece.doc->setPageSize(area_);
    const int count = piece.doc->pageCount();
    const double total = piece.doc->documentLayout()->documentSize().height();
    for (int p = 0; p < count; ++p) {
        if (p > 0)
            newPage();
        const double top = p * area_.height();
        const double height = std::min(area_.height(), total - top);
        pages_.back().push_back({index, 0, top, height});
        y_ = height;
    }
}

void ReportLayout::placeTable(int index) {
    const Piece& piece = *pieces_[static_cast<std::size_t>(index)];
    const ListTable& t = *piece.table;
    const int headRows = static_cast<int>(t.head.size());
    const int rows = t.rowCount();
    if (rows == headRows) { // only the header: it still shows
        if (y_ + piece.headHeight > area_.height() && y_ > 0)
            newPage();
        pages_.back().push_back({index, y_, 0, piece.headHeight, headRows, headRows, true});
        y_ += piece.headHeight;
        return;
    }
    auto rowHeight = [&piece](int r) {
        return static_cast<double>(piece.rowHeights[static_cast<std::size_t>(r)]);
    };
    int r = headRows;
    // The header never stands alone at the foot of a page.
    if (y_ > 0 && y_ + piece.headHeight + rowHeight(r) > area_.height())
        newPage();
    while (r < rows) {
        Placement place{index, y_, 0, piece.headHeight, r, r, headRows > 0};
        double y = y_ + piece.headHeight;
        // At least one row a page, however tall: it is cut rather than lost forever.
        do {
            y += rowHeight(r);
            ++r;
        } while (r < rows && y + rowHeight(r) <= area_.height() + 0.01);
        place.rowTo = r;
        place.height = y - y_;
        pages_.back().push_back(place);
        y_ = y;
        if (r < rows)
            newPage();
    }
}

double ReportLayout::paintRows(QPainter& painter, const Piece& piece, int from, int to, double y) const {
    const ListTable& t = *piece.table;
    const TableFonts fonts = tableFonts(font_);
    const int columns = static_cast<int>(piece.columnX.size()) - 1;
    const double pad = t.padding + (t.border > 0 ? 0.5 : 0);
    const QPen grid(t.borderColor, 0.75);
    for (int r = from; r < to; ++r) {
        const Row& row = t.row(r);
        const double h = piece.rowHeights[static_cast<std::size_t>(r)];
        int c = 0;
        for (const Cell& cell : row.cells) {
            if (c >= columns)
                break;
            const int end = std::min(columns, c + cell.colspan);
            const QRectF box(
                piece.columnX[static_cast<std::size_t>(c)], y,
                piece.columnX[static_cast<std::size_t>(end)] - piece.columnX[static_cast<std::size_t>(c)], h);
            c = end;
            const QColor background = cell.background.isValid() ? cell.background : row.background;
            if (background.isValid())
                painter.fillRect(box, background);
            if (!cell.text.isEmpty()) {
                QTextLayout layout(cell.text, fonts.of(cell.bold || row.bold, cell.italic), metrics_);
                layOutCell(layout, cell, row, box.width() - 2 * pad);
                const QColor color = cell.color.isValid()  ? cell.color
                                     : row.color.isValid() ? row.color
                                                           : QColor(Qt::black);
                painter.setPen(color);
                layout.draw(&painter, QPointF(box.left() + pad, box.top() + pad));
            }
            if (t.border > 0) {
                painter.setPen(grid);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(box);
            }
        }
        y += h;
    }
    return y;
}

void ReportLayout::paintPage(QPainter& painter, int page) const {
    if (page < 0 || page >= pageCount())
        return;
    QAbstractTextDocumentLayout::PaintContext context;
    // Paper is white whatever the desktop theme says.
    context.palette.setColor(QPalette::Text, Qt::black);
    for (const Placement& place : pages_[static_cast<std::size_t>(page)]) {
        const Piece& piece = *pieces_[static_cast<std::size_t>(place.piece)];
        painter.save();
        if (piece.kind == Segment::Kind::Html) {
            const QRectF view(0, place.sliceTop, area_.width(), place.height);
            painter.translate(0, place.y - place.sliceTop);
            painter.setClipRect(view);
            context.clip = view;
            piece.doc->documentLayout()->draw(&painter, context);
        } else if (piece.kind == Segment::Kind::Table) {
            const int headRows = static_cast<int>(piece.table->head.size());
            double y = place.y;
            if (place.withHead)
                y = paintRows(painter, piece, 0, headRows, y);
            paintRows(painter, piece, place.rowFrom, place.rowTo, y);
        }
        painter.restore();
    }
}

QString ReportLayout::plainText() const {
    QString text;
    for (const auto& piece : pieces_) {
        if (piece->kind == Segment::Kind::Html) {
            text += piece->doc->toPlainText() + u'\n';
        } else if (piece->kind == Segment::Kind::Table) {
            const ListTable& t = *piece->table;
            for (int r = 0; r < t.rowCount(); ++r) {
                QStringList cells;
                for (const Cell& c : t.row(r).cells)
                    cells << QString(c.text).replace(QChar::LineSeparator, u' ');
                text += cells.join(u'\t') + u'\n';
            }
        }
    }
    return text;
}

} // namespace kelvarn
