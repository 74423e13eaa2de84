#pragma once

#include <QColor>
#include <QString>
#include <QStringView>
#include <QTextLayout>

#include <map>
#include <optional>
#include <vector>

// The rendered HTML of a report, read just far enough to lay out long lists without
// the rich-text document: Qt's table layout and painting grow with the square of the
// rows, so a list of ten thousand rows would take minutes. Our layouts produce the
// HTML themselves and every value in it is escaped, so each "<" is a tag.
namespace kelvarn::report_html {

struct Tag {
    QString name; // lower case, without "/"
    bool closing = false;
    bool selfClosing = false;
    std::map<QString, QString> attributes; // names lower case, entities decoded
    qsizetype begin = 0;                   // of "<"
    qsizetype end = 0;                     // after ">"
};

// The next tag at or after `from` (comments are skipped); nothing when none is left.
std::optional<Tag> nextTag(QStringView html, qsizetype from);
// Text between tags with its entities decoded (&amp; &lt; &gt; &quot; &#39; &nbsp;
// and numeric references).
QString decodeEntities(QStringView text);
// "text-align: right; font-weight: bold" → {"text-align": "right", …}, lower case.
std::map<QString, QString> parseStyle(const QString& style);

struct Cell {
    QString text;                            // lines separated by QChar::LineSeparator
    QList<QTextLayout::FormatRange> formats; // bold and italic runs
    int colspan = 1;
    Qt::Alignment align = Qt::AlignLeft;
    bool bold = false;
    bool italic = false;
    bool noWrap = false;
    QColor color;      // invalid: the row's or black
    QColor background; // invalid: the row's or none
    double widthPercent = -1;
    double widthPx = -1;
};

struct Row {
    std::vector<Cell> cells;
    QColor background;
    QColor color;
    bool bold = false;
};

// A table of the class "list": column headers, rows and closing rows (sums).
struct ListTable {
    std::vector<Row> head; // <thead>: repeated on every page the table reaches
    std::vector<Row> body;
    std::vector<Row> foot; // <tfoot>: once, after the last row
    double widthPercent = 100;
    double border = 0; // px; a grid of thin lines when above 0
    double padding = 2;
    QColor borderColor{0x80, 0x80, 0x80};

    int columnCount() const;
    const Row& row(int index) const; // head, then body, then foot
    int rowCount() const { return static_cast<int>(head.size() + body.size() + foot.size()); }
};

// The table from its "<table" to the end of its "</table>"; nothing when it holds
// anything this reader does not lay out itself (pictures, nested tables, paragraphs),
// so that Qt lays it out instead.
std::optional<ListTable> parseListTable(QStringView html);

// Whether a tag opens a list table ("<table class="list …">").
bool isListTable(const Tag& tag);

} // namespace kelvarn::report_html
