#include "exchange/isdoc_reader.h"

#include <QStringList>
#include <QXmlStreamReader>

#include <cmath>

namespace kelvarn {

namespace {

const QString kNamespace = QStringLiteral("http://isdoc.cz/namespace/2013");

bool parseAmount(const QString& text, double& value) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) >= 1e13)
        return false;
    const double cents = std::round(v * 100.0);
    if (std::fabs(v * 100.0 - cents) > 1e-6)
        return false;
    value = cents / 100.0;
    return true;
}

qint64 cents(double v) {
    return std::llround(v * 100.0);
}

struct RateDraft {
    IsdocRateTotal total;
    bool haveDifferenceNet = false, haveDifferenceVat = false, haveDifferenceGross = false;
    double differenceNet = 0, differenceVat = 0, differenceGross = 0;
};

} // namespace

IsdocReadResult readIsdoc(const QByteArray& bytes) {
    IsdocReadResult result;
    IsdocDocument& d = result.document;
    d = IsdocDocument{};
    d.lines.clear();
    if (bytes.trimmed().isEmpty()) {
        result.error = QStringLiteral("Soubor je prázdný.");
        return result;
    }
    QXmlStreamReader xml(bytes);
    QStringList path;
    bool rootSeen = false;
    int payments = 0;
    RateDraft rate;
    IsdocLine line;
    double taxTotal = 0, differenceNet = 0, differenceGross = 0;
    bool haveDifferenceNet = false, haveDifferenceGross = false, haveDocumentType = false;

    auto fail = [&](const QString& why) {
        result.ok = false;
        result.error = QStringLiteral("Řádek %1 souboru ISDOC: %2").arg(xml.lineNumber()).arg(why);
        return result;
    };

    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString();
            if (!rootSeen) {
                rootSeen = true;
                if (name != QLatin1String("Invoice") || xml.namespaceUri() != kNamespace)
                    return fail(QStringLiteral("soubor není faktura ISDOC (kořen %1 v oboru názvů „%2“).")
                                    .arg(name, xml.namespaceUri().toString()));
                const QString version = xml.attributes().value(QLatin1String("version")).toString();
                if (!version.startsWith(QLatin1String("6.")))
                    return fail(QStringLiteral("verze ISDOC „%1“ není podporována (čte se verze 6).").arg(version));
            }
            path << name;
            const QString joined = path.mid(1).join(u'/');
            if (joined == QLatin1String("InvoiceLines/InvoiceLine"))
                line = IsdocLine{};
            else if (joined == QLatin1String("TaxTotal/TaxSubTotal"))
                rate = RateDraft{};
            else if (joined == QLatin1String("InvoiceLines/InvoiceLine/InvoicedQuantity"))
                line.unit = xml.attributes().value(QLatin1String("unitCode")).toString();
            else if (joined == QLatin1String("PaymentMeans/Payment"))
                ++payments;
            continue;
        }
        if (xml.isEndElement()) {
            const QString joined = path.mid(1).join(u'/');
            if (joined == QLatin1String("InvoiceLines/InvoiceLine")) {
                d.lines.push_back(line);
            } else if (joined == QLatin1String("TaxTotal/TaxSubTotal")) {
                IsdocRateTotal t = rate.total;
                if (cents(t.net) + cents(t.vat) != cents(t.gross))
                    return fail(QStringLiteral("v sazbě %1 % nedává základ %2 a daň %3 částku s daní %4.")
                                    .arg(t.rate)
                                    .arg(t.net, 0, 'f', 2)
                                    .arg(t.vat, 0, 'f', 2)
                                    .arg(t.gross, 0, 'f', 2));
                if (rate.haveDifferenceNet)
                    t.net = rate.differenceNet;
                if (rate.haveDifferenceVat)
                    t.vat = rate.differenceVat;
                if (rate.haveDifferenceGross)
                    t.gross = rate.differenceGross;
                if (cents(t.net) + cents(t.vat) != cents(t.gross))
                    return fail(QStringLiteral("v sazbě %1 % nedává základ %2 a daň %3 částku s daní %4.")
                                    .arg(t.rate)
                                    .arg(t.net, 0, 'f', 2)
                                    .arg(t.vat, 0, 'f', 2)
                                    .arg(t.gross, 0, 'f', 2));
                d.rates.push_back(t);
            }
            if (!path.isEmpty())
                path.removeLast();
            continue;
        }
        if (!xml.isCharacters() || xml.isWhitespace())
            continue;
        const QString text = xml.text().toString().trimmed();
        const QString joined = path.mid(1).join(u'/');
        double value = 0;
        auto money = [&](double& target) {
            if (!parseAmount(text, value))
                return false;
            target = value;
            return true;
        };
        auto partyField = [&](IsdocParty& p, const QString& rest) {
            if (rest == QLatin1String("PartyIdentification/ID"))
                p.ico = text;
            else if (rest == QLatin1String("PartyName/Name"))
                p.name = text;
            else if (rest == QLatin1String("PostalAddress/StreetName"))
                p.street = text;
            else if (rest == QLatin1String("PostalAddress/BuildingNumber"))
                p.street = (p.street + u' ' + text).trimmed();
            else if (rest == QLatin1String("PostalAddress/CityName"))
                p.city = text;
            else if (rest == QLatin1String("PostalAddress/PostalZone"))
                p.postalCode = text;
            else if (rest == QLatin1String("PostalAddress/Country/IdentificationCode"))
                p.countryCode = text;
            else if (rest == QLatin1String("PostalAddress/Country/Name"))
                p.countryName = text;
            else if (rest == QLatin1String("PartyTaxScheme/CompanyID") && p.dic.isEmpty())
                p.dic = text;
        };
        bool bad = false;
        if (joined == QLatin1String("DocumentType")) {
            d.documentType = text.toInt();
            haveDocumentType = true;
        } else if (joined == QLatin1String("ID"))
            d.number = text;
        else if (joined == QLatin1String("UUID"))
            d.uuid = text;
        else if (joined == QLatin1String("IssueDate"))
            d.issueDate = QDate::fromString(text, Qt::ISODate), bad = !d.issueDate.isValid();
        else if (joined == QLatin1String("TaxPointDate"))
            d.taxPointDate = QDate::fromString(text, Qt::ISODate), bad = !d.taxPointDate.isValid();
        else if (joined == QLatin1String("VATApplicable"))
            d.vatApplicable = text == QLatin1String("true");
        else if (joined == QLatin1String("Note"))
            d.note = text;
        else if (joined == QLatin1String("LocalCurrencyCode"))
            d.currency = text;
        else if (joined.startsWith(QLatin1String("AccountingSupplierParty/Party/")))
            partyField(d.supplier, joined.mid(30));
        else if (joined.startsWith(QLatin1String("AccountingCustomerParty/Party/")))
            partyField(d.customer, joined.mid(30));
        else if (joined == QLatin1String("OriginalDocumentReferences/OriginalDocumentReference/ID") &&
                 d.originalNumber.isEmpty())
            d.originalNumber = text;
        else if (joined.startsWith(QLatin1String("InvoiceLines/InvoiceLine/"))) {
            const QString rest = joined.mid(25);
            if (rest == QLatin1String("ID"))
                line.id = text;
            else if (rest == QLatin1String("InvoicedQuantity"))
                line.quantity = text.toDouble(&bad), bad = !bad;
            else if (rest == QLatin1String("LineExtensionAmount"))
                bad = !money(line.net);
            else if (rest == QLatin1String("LineExtensionAmountTaxInclusive"))
                bad = !money(line.gross);
            else if (rest == QLatin1String("LineExtensionTaxAmount"))
                bad = !money(line.vat);
            else if (rest == QLatin1String("UnitPrice"))
                line.unitPrice = text.toDouble(&bad), bad = !bad;
            else if (rest == QLatin1String("ClassifiedTaxCategory/Percent"))
                line.rate = text.toDouble(&bad), bad = !bad;
            else if (rest == QLatin1String("Item/Description"))
                line.description = text;
        } else if (joined.startsWith(QLatin1String("TaxTotal/TaxSubTotal/"))) {
            const QString rest = joined.mid(21);
            if (rest == QLatin1String("TaxableAmount"))
                bad = !money(rate.total.net);
            else if (rest == QLatin1String("TaxAmount"))
                bad = !money(rate.total.vat);
            else if (rest == QLatin1String("TaxInclusiveAmount"))
                bad = !money(rate.total.gross);
            else if (rest == QLatin1String("DifferenceTaxableAmount"))
                bad = !money(rate.differenceNet), rate.haveDifferenceNet = true;
            else if (rest == QLatin1String("DifferenceTaxAmount"))
                bad = !money(rate.differenceVat), rate.haveDifferenceVat = true;
            else if (rest == QLatin1String("DifferenceTaxInclusiveAmount"))
                bad = !money(rate.differenceGross), rate.haveDifferenceGross = true;
            else if (rest == QLatin1String("TaxCategory/Percent"))
                rate.total.rate = text.toDouble(&bad), bad = !bad;
        } else if (joined == QLatin1String("TaxTotal/TaxAmount"))
            bad = !money(taxTotal);
        else if (joined == QLatin1String("LegalMonetaryTotal/TaxExclusiveAmount"))
            bad = !money(d.totalNet);
        else if (joined == QLatin1String("LegalMonetaryTotal/TaxInclusiveAmount"))
            bad = !money(d.totalGross);
        else if (joined == QLatin1String("LegalMonetaryTotal/DifferenceTaxExclusiveAmount"))
            bad = !money(differenceNet), haveDifferenceNet = true;
        else if (joined == QLatin1String("LegalMonetaryTotal/DifferenceTaxInclusiveAmount"))
            bad = !money(differenceGross), haveDifferenceGross = true;
        else if (joined == QLatin1String("LegalMonetaryTotal/PaidDepositsAmount"))
            bad = !money(d.paidDeposits);
        else if (joined == QLatin1String("LegalMonetaryTotal/PayableAmount"))
            bad = !money(d.payable);
        else if (payments == 1 && joined.startsWith(QLatin1String("PaymentMeans/Payment/"))) {
            const QString rest = joined.mid(21);
            if (rest == QLatin1String("PaymentMeansCode"))
                d.paymentMeansCode = text.toInt();
            else if (rest == QLatin1String("Details/PaymentDueDate"))
                d.dueDate = QDate::fromString(text, Qt::ISODate), bad = !d.dueDate.isValid();
            else if (rest == QLatin1String("Details/ID"))
                d.accountNumber = text;
            else if (rest == QLatin1String("Details/BankCode"))
                d.bankCode = text;
            else if (rest == QLatin1String("Details/IBAN"))
                d.iban = text;
            else if (rest == QLatin1String("Details/BIC"))
                d.bic = text;
            else if (rest == QLatin1String("Details/VariableSymbol"))
                d.variableSymbol = text;
        }
        if (bad)
            return fail(QStringLiteral("hodnota „%1“ v elementu %2 není platné číslo, částka v haléřích ani datum.")
                            .arg(text.left(40), path.value(path.size() - 1)));
    }
    if (xml.hasError())
        return fail(QStringLiteral("XML nelze přečíst (%1).").arg(xml.errorString()));
    if (!rootSeen) {
        result.error = QStringLiteral("Soubor je prázdný.");
        return result;
    }
    if (!haveDocumentType || d.number.isEmpty() || !d.issueDate.isValid() || d.rates.empty()) {
        result.error = QStringLiteral("Soubor ISDOC neobsahuje typ dokladu, číslo, datum vystavení nebo daňovou "
                                      "rekapitulaci.");
        return result;
    }
    if (haveDifferenceNet)
        d.totalNet = differenceNet;
    if (haveDifferenceGross)
        d.totalGross = differenceGross;
    qint64 net = 0, vat = 0;
    for (const IsdocRateTotal& r : d.rates) {
        net += cents(r.net);
        vat += cents(r.vat);
    }
    d.totalVat = taxTotal;
    if (net != cents(d.totalNet) || vat != cents(taxTotal) || net + vat != cents(d.totalGross)) {
        result.error = QStringLiteral("Soubor ISDOC %1: daňová rekapitulace (základ %2, daň %3) nesouhlasí s "
                                      "celkovými částkami (%4, %5, s daní %6).")
                           .arg(d.number)
                           .arg(net / 100.0, 0, 'f', 2)
                           .arg(vat / 100.0, 0, 'f', 2)
                           .arg(d.totalNet, 0, 'f', 2)
                           .arg(taxTotal, 0, 'f', 2)
                           .arg(d.totalGross, 0, 'f', 2);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace kelvarn
