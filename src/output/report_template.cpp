#include "output/report_template.h"

#include "db/dataset.h"
#include "output/report_error.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <kainjow/mustache.hpp>

#include <algorithm>
#include <string>

namespace kelvarn::report_template {
namespace {

namespace mu = kainjow::mustache;

std::string utf8(const QString& text) {
    return text.toStdString();
}

// An empty text is false to the template, so {{#ic}}IČ {{ic}}{{/ic}} leaves out the
// label of a missing value. It still hides a same-named value of an enclosing
// section (an item's empty note does not print its document's note).
mu::data textValue(const QString& text) {
    return text.isEmpty() ? mu::data(false) : mu::data(utf8(text));
}

// The library's own escape writes &apos;, which the Qt HTML reader does not know.
std::string escapeHtml(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

// The library reports byte offsets in English; the user gets a line and Czech.
Problem translate(const std::string& message, const std::string& source) {
    static const QRegularExpression pattern(QStringLiteral("^(.*) at (\\d+)$"));
    const QString text = QString::fromStdString(message);
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return {text, 1};

    const std::size_t offset = std::min<std::size_t>(m.captured(2).toULongLong(), source.size());
    const int line = 1 + static_cast<int>(std::count(source.begin(), source.begin() + offset, '\n'));
    const QString what = m.captured(1);
    static const QRegularExpression section(QStringLiteral("^(Unclosed|Unopened) section \"(.*)\"$"));
    const QRegularExpressionMatch s = section.match(what);
    if (s.hasMatch())
        return {s.captured(1) == QLatin1String("Unclosed")
                    ? QStringLiteral("sekce „%1“ není uzavřena").arg(s.captured(2))
                    : QStringLiteral("sekce „%1“ nebyla otevřena").arg(s.captured(2)),
                line};
    if (what == QLatin1String("Unclosed tag"))
        return {QStringLiteral("značka „{{“ není uzavřena"), line};
    if (what == QLatin1String("Invalid set delimiter tag"))
        return {QStringLiteral("chybná změna oddělovačů značek"), line};
    return {what, line};
}

mu::data rowObject(const Dataset& dataset, const QStringList& keys, int row) {
    mu::data object(mu::data::type::object);
    object[std::string("_row")] = mu::data(utf8(QString::number(row + 1)));
    for (int c = 0; c < keys.size(); ++c)
        object[utf8(keys[c])] = textValue(dataset.textAt(row, c));
    return object;
}

void addConnection(mu::data& root, const QString& name, const Dataset* dataset) {
    const int rows = dataset ? dataset->recordCount() : 0;
    mu::data list(mu::data::type::list);
    if (rows > 0) {
        QStringList keys;
        for (int c = 0; c < dataset->columnCount(); ++c)
            keys << dataset->column(c).name.toLower();
        for (int r = 0; r < rows; ++r)
            list.push_back(rowObject(*dataset, keys, r));
        const int current = dataset->currentRow();
        if (current >= 0 && current < rows)
            root[utf8(name + QStringLiteral("_current"))] = rowObject(*dataset, keys, current);
    }
    root[utf8(name)] = std::move(list);
    root[utf8(name + QStringLiteral("_count"))] = mu::data(utf8(QString::number(rows)));
}

mu::data buildData(const QString& layout, const Context& context) {
    mu::data root(mu::data::type::object);
    for (auto it = context.parameters.cbegin(); it != context.parameters.cend(); ++it) {
        root[utf8(it.key())] = textValue(it.value());
        const QString& value = it.value();
        if (QDir::isAbsolutePath(value) && QFileInfo(value).isFile())
            root[utf8(it.key() + QStringLiteral("_url"))] =
                mu::data(utf8(QUrl::fromLocalFile(value).toString(QUrl::FullyEncoded)));
    }
    for (int i = 0; i < kConnectionCount; ++i) {
        const QString name = QStringLiteral("RvDataSetConnection%1").arg(i + 1);
        // A list of a hundred thousand rows costs real time to copy into the template
        // data, so only connections the layout can name are served (connection 1 also
        // for a layout naming 12: too many is harmless, too few is not).
        if (layout.contains(name))
            addConnection(root, name, context.connections[static_cast<std::size_t>(i)].data());
    }
    root[std::string("_report")] = mu::data(utf8(context.reportName));
    return root;
}

} // namespace

std::optional<Problem> check(const QString& layout) {
    const std::string source = utf8(layout);
    const mu::mustache compiled(source);
    if (compiled.is_valid())
        return std::nullopt;
    return translate(compiled.error_message(), source);
}

QString render(const QString& layout, const Context& context) {
    const std::string source = utf8(layout);
    mu::mustache compiled(source);
    if (!compiled.is_valid()) {
        const Problem problem = translate(compiled.error_message(), source);
        throw ReportError(QStringLiteral("Sestava „%1“, řádek %2 předlohy: %3")
                              .arg(context.reportName)
                              .arg(problem.line)
                              .arg(problem.message));
    }
    compiled.set_custom_escape(escapeHtml);
    return QString::fromStdString(compiled.render(buildData(layout, context)));
}

} // namespace kelvarn::report_template
