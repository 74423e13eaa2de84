#include "output/report_html_table.h"

#include <QTextCharFormat>

#include <algorithm>

namespace kelvarn::report_html {
namespace {

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u':';
}

QColor colorOf(const QString& text) {
    const QColor color = QColor::fromString(text.trimmed());
    return color.isValid() ? color : QColor();
}

Qt::Alignment alignmentOf(const QString& text) {
    const QString a = text.trimmed().toLower();
    if (a == QLatin1String("right"))
        return Qt::AlignRight;
    if (a == QLatin1String("center"))
        return Qt::AlignHCenter;
    if (a == QLatin1String("justify"))
        return Qt::AlignJustify;
    return Qt::AlignLeft;
}

// "20%" or "120" (px); false for anything else.
bool readWidth(const QString& text, Cell& cell) {
    QString t = text.trimmed();
    bool ok = false;
    if (t.endsWith(u'%')) {
        const double v = t.chopped(1).toDouble(&ok);
        if (ok && v > 0)
            cell.widthPercent = v;
        return ok;
    }
    if (t.endsWith(QLatin1String("px")))
        t.chop(2);
    const double v = t.toDouble(&ok);
    if (ok && v > 0)
        cell.widthPx = v;
    return ok;
}

bool boldWeight(const QString& value) {
    const QString v = value.trimmed().toLower();
    return v == QLatin1String("bold") || v == QLatin1String("bolder") || v.toInt() >= 600;
}

QString attribute(const Tag& tag, const char* name) {
    const auto it = tag.attributes.find(QLatin1String(name));
    return it == tag.attributes.end() ? QString() : it->second;
}

void applyCellAttributes(const Tag& tag, Cell& cell) {
    if (tag.name == QLatin1String("th")) {
        cell.bold = true;
        cell.align = Qt::AlignHCenter;
    }
    if (const QString a = attribute(tag, "align"); !a.isEmpty())
        cell.align = alignmentOf(a);
    if (const QString w = attribute(tag, "width"); !w.isEmpty())
        readWidth(w, cell);
    if (const QString span = attribute(tag, "colspan"); !span.isEmpty())
        cell.colspan = std::clamp(span.toInt(), 1, 100);
    if (const QString bg = attribute(tag, "bgcolor"); !bg.isEmpty())
        cell.background = colorOf(bg);
    if (tag.attributes.count(QStringLiteral("nowrap")))
        cell.noWrap = true;
    for (const auto& [key, value] : parseStyle(attribute(tag, "style"))) {
        if (key == QLatin1String("text-align"))
            cell.align = alignmentOf(value);
        else if (key == QLatin1String("font-weight"))
            cell.bold = boldWeight(value);
        else if (key == QLatin1String("font-style"))
            cell.italic = value.contains(QLatin1String("italic"));
        else if (key == QLatin1String("color"))
            cell.color = colorOf(value);
        else if (key == QLatin1String("background-color") || key == QLatin1String("background"))
            cell.background = colorOf(value);
        else if (key == QLatin1String("white-space"))
            cell.noWrap = value == QLatin1String("nowrap") || value == QLatin1String("pre");
        else if (key == QLatin1String("width"))
            readWidth(value, cell);
    }
}

void applyRowAttributes(const Tag& tag, Row& row) {
    if (const QString bg = attribute(tag, "bgcolor"); !bg.isEmpty())
        row.background = colorOf(bg);
    for (const auto& [key, value] : parseStyle(attribute(tag, "style"))) {
        if (key == QLatin1String("background-color") || key == QLatin1String("background"))
            row.background = colorOf(value);
        else if (key == QLatin1String("font-weight"))
            row.bold = boldWeight(value);
        else if (key == QLatin1String("color"))
            row.color = colorOf(value);
    }
}

// Inline markup a cell may hold; anything else makes the table Qt's.
bool isInline(const QString& name) {
    static const char* const names[] = {"b", "strong", "i", "em", "span", "font", "br", "small", "nobr", "u"};
    return std::any_of(std::begin(names), std::end(names),
                       [&](const char* n) { return name == QLatin1String(n); });
}

class TableReader {
  public:
    explicit TableReader(QStringView html) : html_(html) {}

    std::optional<ListTable> read() {
        std::optional<Tag> tag = nextTag(html_, 0);
        if (!tag || tag->name != QLatin1String("table") || tag->closing)
            return std::nullopt;
        readTableAttributes(*tag);
        qsizetype pos = tag->end;
        while (true) {
            const std::optional<Tag> t = nextTag(html_, pos);
            if (!t)
                return std::nullopt; // never closed
            if (!inCell() && !html_.mid(pos, t->begin - pos).trimmed().isEmpty())
                return std::nullopt; // text between rows: Qt puts it somewhere; so do we not
            if (inCell())
                addText(html_.mid(pos, t->begin - pos));
            pos = t->end;
            if (!handle(*t))
                return std::nullopt;
            if (done_)
                break;
        }
        if (table_.columnCount() == 0)
            return std::nullopt;
        return std::move(table_);
    }

  private:
    enum class Part { Head, Body, Foot };

    bool inCell() const { return cell_ != nullptr; }

    void readTableAttributes(const Tag& tag) {
        if (const QString w = attribute(tag, "width"); w.endsWith(u'%'))
            table_.widthPercent = std::clamp(w.chopped(1).toDouble(), 1.0, 100.0);
        bool ok = false;
        if (const double b = attribute(tag, "border").toDouble(&ok); ok && b >= 0)
            table_.border = std::min(b, 10.0);
        if (const double p = attribute(tag, "cellpadding").toDouble(&ok); ok && p >= 0)
            table_.padding = std::min(p, 40.0);
        if (const QString c = attribute(tag, "bordercolor"); !c.isEmpty() && colorOf(c).isValid())
            table_.borderColor = colorOf(c);
        const auto style = parseStyle(attribute(tag, "style"));
        if (const auto it = style.find(QStringLiteral("border-color"));
            it != style.end() && colorOf(it->second).isValid())
            table_.borderColor = colorOf(it->second);
    }

    std::vector<Row>& rows() {
        return part_ == Part::Head ? table_.head : part_ == Part::Foot ? table_.foot : table_.body;
    }

    void addText(QStringView raw) {
        // Blanks and line ends of the template collapse as in HTML; &nbsp; stays.
        for (const QChar c : decodeEntities(raw)) {
            if (c == u' ' || c == u'\n' || c == u'\r' || c == u'\t') {
                if (!cell_->text.isEmpty() && !cell_->text.endsWith(u' ') &&
                    !cell_->text.endsWith(QChar::LineSeparator))
                    cell_->text += u' ';
            } else {
                cell_->text += c;
            }
        }
    }

    void closeRun() {
        if (runStart_ < 0)
            return;
        const int length = static_cast<int>(cell_->text.size()) - runStart_;
        if (length > 0) {
            QTextCharFormat format;
            if (boldDepth_ > 0)
                format.setFontWeight(QFont::Bold);
            if (italicDepth_ > 0)
                format.setFontItalic(true);
            cell_->formats.append({runStart_, length, format});
        }
        runStart_ = -1;
    }

    void restartRun() {
        closeRun();
        if (boldDepth_ > 0 || italicDepth_ > 0)
            runStart_ = static_cast<int>(cell_->text.size());
    }

    void finishCell() {
        if (!cell_)
            return;
        closeRun();
        while (cell_->text.endsWith(u' '))
            cell_->text.chop(1);
        const auto length = static_cast<int>(cell_->text.size());
        for (QTextLayout::FormatRange& range : cell_->formats)
            range.length = std::max(0, std::min(range.length, length - range.start));
        cell_ = nullptr;
        boldDepth_ = italicDepth_ = 0;
    }

    bool handle(const Tag& t) {
        const QString& n = t.name;
        if (inCell() && isInline(n)) {
            if (n == QLatin1String("br")) {
                while (cell_->text.endsWith(u' '))
                    cell_->text.chop(1);
                cell_->text += QChar::LineSeparator;
            } else if (n == QLatin1String("b") || n == QLatin1String("strong")) {
                boldDepth_ = std::max(0, boldDepth_ + (t.closing ? -1 : 1));
                restartRun();
            } else if (n == QLatin1String("i") || n == QLatin1String("em")) {
                italicDepth_ = std::max(0, italicDepth_ + (t.closing ? -1 : 1));
                restartRun();
            }
            return true;
        }
        if (n == QLatin1String("td") || n == QLatin1String("th")) {
            finishCell();
            if (t.closing)
                return true;
            if (!row_)
                return false;
            row_->cells.emplace_back();
            cell_ = &row_->cells.back();
            applyCellAttributes(t, *cell_);
            return true;
        }
        if (n == QLatin1String("tr")) {
            finishCell();
            if (t.closing) {
                row_ = nullptr;
                return true;
            }
            rows().emplace_back();
            row_ = &rows().back();
            applyRowAttributes(t, *row_);
            return true;
        }
        if (n == QLatin1String("thead") || n == QLatin1String("tbody") || n == QLatin1String("tfoot")) {
            finishCell();
            row_ = nullptr;
            if (t.closing)
                part_ = Part::Body;
            else
                part_ = n == QLatin1String("thead")   ? Part::Head
                        : n == QLatin1String("tfoot") ? Part::Foot
                                                      : Part::Body;
            return true;
        }
        if (n == QLatin1String("table") && t.closing) {
            finishCell();
            done_ = true;
            return true;
        }
        if (n == QLatin1String("col") || n == QLatin1String("colgroup"))
            return true;
        return false; // pictures, nested tables, paragraphs …
    }

    QStringView html_;
    ListTable table_;
    Part part_ = Part::Body;
    Row* row_ = nullptr;
    Cell* cell_ = nullptr;
    int boldDepth_ = 0;
    int italicDepth_ = 0;
    int runStart_ = -1;
    bool done_ = false;
};

} // namespace

std::optional<Tag> nextTag(QStringView html, qsizetype from) {
    qsizetype pos = from;
    while (true) {
        const qsizetype lt = html.indexOf(u'<', pos);
        if (lt < 0)
            return std::nullopt;
        if (html.mid(lt, 4) == QLatin1String("<!--")) {
            const qsizetype close = html.indexOf(QLatin1String("-->"), lt + 4);
            if (close < 0)
                return std::nullopt;
            pos = close + 3;
            continue;
        }
        Tag tag;
        tag.begin = lt;
        qsizetype i = lt + 1;
        if (i < html.size() && html[i] == u'/') {
            tag.closing = true;
            ++i;
        }
        const qsizetype nameStart = i;
        while (i < html.size() && isNameChar(html[i]))
            ++i;
        if (i == nameStart) { // "<" that starts no tag: text
            pos = lt + 1;
            continue;
        }
        tag.name = html.mid(nameStart, i - nameStart).toString().toLower();
        // Attributes up to ">", quotes respected.
        while (i < html.size() && html[i] != u'>') {
            if (html[i] == u'/') {
                tag.selfClosing = true;
                ++i;
                continue;
            }
            if (!isNameChar(html[i])) {
                ++i;
                continue;
            }
            const qsizetype an = i;
            while (i < html.size() && isNameChar(html[i]))
                ++i;
            const QString name = html.mid(an, i - an).toString().toLower();
            QString value;
            while (i < html.size() && html[i].isSpace())
                ++i;
            if (i < html.size() && html[i] == u'=') {
                ++i;
                while (i < html.size() && html[i].isSpace())
                    ++i;
                if (i < html.size() && (html[i] == u'"' || html[i] == u'\'')) {
                    const QChar quote = html[i];
                    const qsizetype close = html.indexOf(quote, i + 1);
                    const qsizetype stop = close < 0 ? html.size() : close;
                    value = decodeEntities(html.mid(i + 1, stop - i - 1));
                    i = close < 0 ? html.size() : close + 1;
                } else {
                    const qsizetype vs = i;
                    while (i < html.size() && !html[i].isSpace() && html[i] != u'>')
                        ++i;
                    value = decodeEntities(html.mid(vs, i - vs));
                }
            }
            tag.attributes[name] = value;
        }
        tag.end = i < html.size() ? i + 1 : html.size();
        return tag;
    }
}

QString decodeEntities(QStringView text) {
    if (!text.contains(u'&'))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        const qsizetype semi = text.indexOf(u';', i);
        if (semi < 0 || semi - i > 10) {
            out += text[i];
            continue;
        }
        const QStringView entity = text.mid(i + 1, semi - i - 1);
        QString decoded;
        if (entity == QLatin1String("amp"))
            decoded = QStringLiteral("&");
        else if (entity == QLatin1String("lt"))
            decoded = QStringLiteral("<");
        else if (entity == QLatin1String("gt"))
            decoded = QStringLiteral(">");
        else if (entity == QLatin1String("quot"))
            decoded = QStringLiteral("\"");
        else if (entity == QLatin1String("apos"))
            decoded = QStringLiteral("'");
        else if (entity == QLatin1String("nbsp"))
            decoded = QChar(0x00A0);
        else if (entity.startsWith(u'#')) {
            bool ok = false;
            const uint code = entity.size() > 1 && (entity[1] == u'x' || entity[1] == u'X')
                                  ? entity.mid(2).toUInt(&ok, 16)
                                  : entity.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF)
                decoded = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        }
        if (decoded.isNull()) {
            out += text[i];
            continue;
        }
        out += decoded;
        i = semi;
    }
    return out;
}

std::map<QString, QString> parseStyle(const QString& style) {
    std::map<QString, QString> values;
    for (const QString& part : style.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype colon = part.indexOf(u':');
        if (colon > 0)
            values[part.left(colon).trimmed().toLower()] = part.mid(colon + 1).trimmed().toLower();
    }
    return values;
}

int ListTable::columnCount() const {
    int count = 0;
    for (const auto* part : {&head, &body, &foot})
        for (const Row& r : *part) {
            int columns = 0;
            for (const Cell& c : r.cells)
                columns += c.colspan;
            count = std::max(count, columns);
        }
    return count;
}

const Row& ListTable::row(int index) const {
    const auto h = static_cast<int>(head.size());
    const auto b = static_cast<int>(body.size());
    if (index < h)
        return head[static_cast<std::size_t>(index)];
    if (index < h + b)
        return body[static_cast<std::size_t>(index - h)];
    return foot[static_cast<std::size_t>(index - h - b)];
}

std::optional<ListTable> parseListTable(QStringView html) {
    return TableReader(html).read();
}

bool isListTable(const Tag& tag) {
    if (tag.closing || tag.name != QLatin1String("table"))
        return false;
    const auto it = tag.attributes.find(QStringLiteral("class"));
    return it != tag.attributes.end() &&
           it->second.split(u' ', Qt::SkipEmptyParts).contains(QLatin1String("list"));
}

} // namespace kelvarn::report_html
