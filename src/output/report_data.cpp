#include "output/report_data.h"

#include "core/formatting.h"
#include "core/money.h"
#include "db/dataset.h"
#include "output/payment_qr.h"
#include "output/qr_code.h"
#include "output/report_values.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <regex>
#include <vector>

namespace kelvarn::report_template::detail {
namespace {

namespace mu = kainjow::mustache;
using report_values::Variant;

std::string utf8(const QString& text) {
    return text.toStdString();
}

// An empty text is false to the template, so {{#ic}}IČ {{ic}}{{/ic}} leaves out the
// label of a missing value. It still hides a same-named value of an enclosing
// section (an item's empty note does not print its document's note).
mu::data textValue(const QString& text) {
    return text.isEmpty() ? mu::data(false) : mu::data(utf8(text));
}

QString connectionName(int index) {
    return QStringLiteral("RvDataSetConnection%1").arg(index);
}

constexpr Variant kVariants[] = {Variant::Plain,   Variant::Fixed0, Variant::Fixed2,
                                 Variant::Fixed4,  Variant::Price,  Variant::Date,
                                 Variant::NonZero, Variant::Words,  Variant::Iban};

// What one key of a row object holds.
struct Key {
    std::string key;
    int column;
    Variant variant;
};

// The rows of connection M whose link column equals a row's id.
struct Detail {
    std::string key; // RvDataSetConnectionM_by_col
    const Dataset* dataset = nullptr;
    std::map<QString, std::vector<int>> rowsByLink;
    class RowBuilder* builder = nullptr;
};

// Builds the row objects of one dataset with the keys a layout asks for.
class RowBuilder {
  public:
    RowBuilder(const Dataset& dataset, int connection, const NameSet& names, Images& images)
        : ds_(dataset), connection_(connection), images_(images) {
        for (int c = 0; c < ds_.columnCount(); ++c) {
            const QString name = ds_.column(c).name.toLower();
            for (const Variant v : kVariants) {
                const std::string key = utf8(name + report_values::suffixOf(v));
                if (names.wants(key))
                    keys_.push_back({key, c, v});
            }
        }
        idColumn_ = ds_.columnIndex(QStringLiteral("id"));
        qr_ = names.wants("_qr_platba") || names.wants("_qr_platba_text");
    }

    void addDetail(Detail* detail) { details_.push_back(detail); }
    const std::vector<Key>& keys() const { return keys_; }

    // Detail rows carry no details of their own: an id that happened to equal its own
    // link would otherwise nest rows without end.
    mu::data row(int r, bool withDetails = true) {
        mu::data object(mu::data::type::object);
        object[std::string("_row")] = mu::data(utf8(QString::number(r + 1)));
        for (const Key& k : keys_) {
            const QString text = k.variant == Variant::Plain
                                     ? ds_.textAt(r, k.column)
                                     : report_values::variantText(ds_.valueAt(r, k.column), k.variant);
            object[k.key] = textValue(text);
        }
        if (qr_)
            addPaymentCode(object, r);
        if (withDetails && idColumn_ >= 0 && !details_.empty()) {
            const QString id = ds_.textAt(r, idColumn_);
            for (Detail* d : details_) {
                mu::data list(mu::data::type::list);
                const auto it = d->rowsByLink.find(id);
                if (it != d->rowsByLink.end() && !id.isEmpty())
                    for (const int detailRow : it->second)
                        list.push_back(d->builder->row(detailRow, false));
                object[d->key] = std::move(list);
            }
        }
        return object;
    }

  private:
    QVariant value(int r, const char* column) const {
        const int c = ds_.columnIndex(QLatin1String(column));
        return c < 0 ? QVariant() : ds_.valueAt(r, c);
    }
    QString text(int r, const char* column) const {
        const int c = ds_.columnIndex(QLatin1String(column));
        return c < 0 ? QString() : ds_.textAt(r, c);
    }

    void addPaymentCode(mu::data& object, int r) {
        auto cached = codes_.find(r);
        if (cached == codes_.end()) {
            InvoicePaymentFields fields;
            fields.number = text(r, "cislo_dokladu");
            fields.paymentMethod = text(r, "zpusob_uhrady");
            fields.account = text(r, "dod_cislo_uctu");
            fields.iban = text(r, "dod_cislo_uctu_IBAN");
            fields.amountToPay = report_values::numberOf(value(r, "zbyva_uhradit"));
            fields.currency = text(r, "mena");
            fields.variableSymbol = text(r, "variabilni_symbol");
            const QVariant due = value(r, "datum_spatnosti");
            if (due.typeId() == QMetaType::QDateTime)
                fields.dueDate = due.toDateTime().date();
            fields.supplierName = text(r, "dod_nazev_firmy");
            PaymentCode code;
            if (const std::optional<SpaydPayment> payment = invoicePayment(fields)) {
                code.text = buildSpayd(*payment);
                code.image = QStringLiteral("qr-platba-%1-%2.png").arg(connection_).arg(r + 1);
                images_.emplace_back(code.image, qrCodeImage(code.text.toLatin1()));
            }
            cached = codes_.emplace(r, code).first;
        }
        if (!cached->second.image.isEmpty()) {
            object[std::string("_qr_platba")] = mu::data(utf8(cached->second.image));
            object[std::string("_qr_platba_text")] = mu::data(utf8(cached->second.text));
        }
    }

    struct PaymentCode {
        QString text;
        QString image;
    };

    const Dataset& ds_;
    int connection_;
    Images& images_;
    std::vector<Key> keys_;
    int idColumn_ = -1;
    bool qr_ = false;
    std::vector<Detail*> details_;
    std::map<int, PaymentCode> codes_;
};

// The sums of the number columns of every row, with the variants a layout asks for
// after "RvDataSetConnectionN_sum.".
mu::data sumObject(const Dataset& ds, const std::vector<Key>& keys) {
    std::map<int, double> sums;
    std::map<int, bool> fractional;
    for (const Key& k : keys)
        sums.emplace(k.column, 0.0);
    for (auto& [column, sum] : sums) {
        bool any = false;
        for (int r = 0; r < ds.recordCount(); ++r) {
            const QVariant v = ds.valueAt(r, column);
            if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QDateTime)
                continue; // only stored numbers add up
            if (const std::optional<double> n = report_values::numberOf(v)) {
                sum += *n;
                any = true;
                fractional[column] = fractional[column] || v.typeId() == QMetaType::Double;
            }
        }
        if (!any)
            sum = std::numeric_limits<double>::quiet_NaN();
    }
    mu::data object(mu::data::type::object);
    for (const Key& k : keys) {
        const double sum = sums[k.column];
        if (std::isnan(sum))
            continue;
        // Money adds up to whole hundredths; the binary leftovers of the addition are not money.
        const QVariant value = fractional[k.column] ? QVariant(roundPlaces(sum, 2)) : QVariant(qint64(sum));
        object[k.key] = textValue(report_values::variantText(value, k.variant));
    }
    return object;
}

struct ConnectionState {
    const Dataset* dataset = nullptr;
    std::unique_ptr<RowBuilder> builder;
};

} // namespace

NameSet NameSet::of(const std::string& layout) {
    NameSet set;
    // A layout that changes the tag delimiters cannot be read for names here.
    if (layout.find("{{=") != std::string::npos) {
        set.all_ = true;
        return set;
    }
    static const std::regex tag(R"(\{\{\{?\s*[#^/&>!]?\s*([^}\s]+)\s*\}?\}\})");
    for (auto it = std::sregex_iterator(layout.begin(), layout.end(), tag); it != std::sregex_iterator();
         ++it) {
        const std::string name = (*it)[1].str();
        std::size_t start = 0;
        while (true) {
            const std::size_t dot = name.find('.', start);
            set.names_.insert(name.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
            if (dot == std::string::npos)
                break;
            start = dot + 1;
        }
    }
    return set;
}

mu::data buildData(const NameSet& names, const Context& context, Images& images) {
    mu::data root(mu::data::type::object);
    for (auto it = context.parameters.cbegin(); it != context.parameters.cend(); ++it) {
        root[utf8(it.key())] = textValue(it.value());
        const QString& value = it.value();
        if (QDir::isAbsolutePath(value) && QFileInfo(value).isFile())
            root[utf8(it.key() + QStringLiteral("_url"))] =
                mu::data(utf8(QUrl::fromLocalFile(value).toString(QUrl::FullyEncoded)));
    }

    std::array<ConnectionState, kConnectionCount> connections;
    auto wantsConnection = [&names](const QString& name) {
        if (names.all())
            return true;
        for (const std::string& n : names.names())
            if (n.rfind(utf8(name), 0) == 0) {
                // "RvDataSetConnection1" must not count for "RvDataSetConnection12".
                const std::string rest = n.substr(static_cast<std::size_t>(name.size()));
                if (rest.empty() || rest[0] == '_')
                    return true;
            }
        return false;
    };
    for (int i = 0; i < kConnectionCount; ++i) {
        const Dataset* ds = context.connections[static_cast<std::size_t>(i)].data();
        if (ds && ds->isActive() && wantsConnection(connectionName(i + 1))) {
            connections[static_cast<std::size_t>(i)].dataset = ds;
            connections[static_cast<std::size_t>(i)].builder =
                std::make_unique<RowBuilder>(*ds, i + 1, names, images);
        }
    }

    // Detail rows: RvDataSetConnectionM_by_col inside the rows of any connection.
    std::vector<std::unique_ptr<Detail>> details;
    static const std::regex detailName(R"(RvDataSetConnection(\d+)_by_(\w+))");
    for (const std::string& n : names.names()) {
        std::smatch m;
        if (!std::regex_match(n, m, detailName))
            continue;
        const int index = std::stoi(m[1].str());
        if (index < 1 || index > kConnectionCount ||
            !connections[static_cast<std::size_t>(index - 1)].dataset)
            continue;
        ConnectionState& target = connections[static_cast<std::size_t>(index - 1)];
        const int link = target.dataset->columnIndex(QString::fromStdString(m[2].str()));
        if (link < 0)
            continue;
        auto detail = std::make_unique<Detail>();
        detail->key = n;
        detail->dataset = target.dataset;
        detail->builder = target.builder.get();
        for (int r = 0; r < target.dataset->recordCount(); ++r)
            detail->rowsByLink[target.dataset->textAt(r, link)].push_back(r);
        for (ConnectionState& c : connections)
            if (c.builder && c.dataset != target.dataset)
                c.builder->addDetail(detail.get());
        details.push_back(std::move(detail));
    }

    for (int i = 0; i < kConnectionCount; ++i) {
        const QString name = connectionName(i + 1);
        ConnectionState& c = connections[static_cast<std::size_t>(i)];
        mu::data list(mu::data::type::list);
        const int rows = c.dataset ? c.dataset->recordCount() : 0;
        for (int r = 0; r < rows; ++r)
            list.push_back(c.builder->row(r));
        if (c.dataset) {
            const int current = c.dataset->currentRow();
            if (current >= 0 && current < rows)
                root[utf8(name + QStringLiteral("_current"))] = c.builder->row(current);
            if (names.wants(utf8(name + QStringLiteral("_sum"))))
                root[utf8(name + QStringLiteral("_sum"))] = sumObject(*c.dataset, c.builder->keys());
        }
        root[utf8(name)] = std::move(list);
        root[utf8(name + QStringLiteral("_count"))] = mu::data(utf8(QString::number(rows)));
        root[utf8(name + QStringLiteral("_any"))] = mu::data(rows > 0);
    }
    for (auto it = context.partials.cbegin(); it != context.partials.cend(); ++it) {
        const std::string text = utf8(it.value());
        root[utf8(it.key())] = mu::data(mu::partial([text] { return text; }));
    }
    root[std::string("_report")] = mu::data(utf8(context.reportName));
    root[std::string("_date")] = mu::data(utf8(formatDate(context.today)));
    return root;
}

} // namespace kelvarn::report_template::detail
