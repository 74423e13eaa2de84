#include "output/report_template.h"

#include "output/report_data.h"
#include "output/report_error.h"

#include <QRegularExpression>

#include <kainjow/mustache.hpp>

#include <algorithm>
#include <string>

namespace kelvarn::report_template {
namespace {

namespace mu = kainjow::mustache;

std::string utf8(const QString& text) {
    return text.toStdString();
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

} // namespace

std::optional<Problem> check(const QString& layout) {
    const std::string source = utf8(layout);
    const mu::mustache compiled(source);
    if (compiled.is_valid())
        return std::nullopt;
    return translate(compiled.error_message(), source);
}

Rendered render(const QString& layout, const Context& context) {
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
    Rendered result;
    // Names a part of the project asks for count as the layout's own.
    std::string everything = source;
    for (const QString& part : context.partials)
        everything += utf8(part);
    const mu::data data = detail::buildData(detail::NameSet::of(everything), context, result.images);
    result.html = QString::fromStdString(compiled.render(data));
    return result;
}

} // namespace kelvarn::report_template
