#pragma once

#include <QDateTime>
#include <QImage>
#include <QMap>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace kelvarn {

class Dataset;

// The Mustache side of the report engine; the template library stays behind this
// header.
namespace report_template {

inline constexpr int kConnectionCount = 14;

// What a layout sees when it is rendered:
//   {{name}}                 every parameter, by its name, as text
//   {{name_url}}             for a parameter naming an existing file, its file URL
//                            (absent otherwise, so {{#p_logo01_url}}…{{/p_logo01_url}}
//                            shows a logo only when there is one)
//   {{#RvDataSetConnectionN}}…{{/RvDataSetConnectionN}}
//                            once per row of the bound dataset, in its current order;
//                            fields by lower-case column name as plain text, {{_row}}
//                            the row's number from 1
//   {{RvDataSetConnectionN_count}}    the number of rows ("0" when unbound)
//   {{#RvDataSetConnectionN_current}}…{{/RvDataSetConnectionN_current}}
//                            the dataset's current row (absent when it has none)
//   {{_report}}              the name of the report being run
//   {{_date}}                the day the report is run
// In a row, a column name with a suffix asks for a variant of its value (see
// report_values.h): {{castka__2}} "1 234,50", {{cena__price}}, {{datum__date}},
// {{#castka__nonzero}}, {{castka__words}}. Further names a row offers:
//   {{#RvDataSetConnectionN_any}}…{{/RvDataSetConnectionN_any}}
//                            shown when the connection has rows
//   {{RvDataSetConnectionN_sum.col}} (and its variants)
//                            the sum of a number column over all rows of connection N
//   {{#RvDataSetConnectionM_by_col}}…{{/RvDataSetConnectionM_by_col}}
//                            inside a row: the rows of connection M whose column col
//                            equals this row's id (an asset's depreciation rows)
//   {{_qr_platba}}           in a document row that carries a payment code: the
//                            name of its QR code image, for <img src="…">
// An empty value is false in a section: {{#ic}}IČ {{ic}}{{/ic}} prints nothing for a
// partner without IČ.
struct Context {
    using Connections = std::array<QPointer<Dataset>, kConnectionCount>; // [0] is connection 1

    QString reportName;
    QMap<QString, QString> parameters;
    Connections connections;
    QDate today = QDate::currentDate();
    // The shared parts of the project, by name, for {{>Name}}.
    QMap<QString, QString> partials;
};

// Pictures a rendered layout refers to by name (payment codes), in creation order.
using Images = std::vector<std::pair<QString, QImage>>;

struct Rendered {
    QString html;
    Images images;
};

struct Problem {
    QString message; // Czech, for the user
    int line = 1;    // within the layout, from 1
};

// Empty when the layout is a well-formed template.
std::optional<Problem> check(const QString& layout);

// Renders the layout to HTML. Every substituted value is HTML-escaped ({{{x}}} and
// {{&x}} excepted, which layouts use only for text they trust). Throws ReportError
// when the layout is not a well-formed template or a value cannot be made.
Rendered render(const QString& layout, const Context& context);

} // namespace report_template
} // namespace kelvarn
