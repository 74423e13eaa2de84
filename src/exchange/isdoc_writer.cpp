#include "exchange/isdoc_writer.h"

#include <QXmlStreamWriter>

namespace kelvarn {

namespace {

QString amount(double value) {
    // Two places, a dot, and never "-0.00".
    const QString s = QString::number(value, 'f', 2);
    return s == QLatin1String("-0.00") ? QStringLiteral("0.00") : s;
}

QString decimal(double value, int places) {
    QString s = QString::number(value, 'f', places);
    if (s.contains(u'.')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

void text(QXmlStreamWriter& w, const char* name, const QString& value) {
    w.writeTextElement(QString::fromLatin1(name), value);
}

void party(QXmlStreamWriter& w, const IsdocParty& p) {
    w.writeStartElement(QStringLiteral("Party"));
    w.writeStartElement(QStringLiteral("PartyIdentification"));
    text(w, "ID", p.ico);
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("PartyName"));
    text(w, "Name", p.name);
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("PostalAddress"));
    // The street and the building number stay together in the street, as typed.
    text(w, "StreetName", p.street);
    text(w, "BuildingNumber", QString());
    text(w, "CityName", p.city);
    text(w, "PostalZone", p.postalCode);
    w.writeStartElement(QStringLiteral("Country"));
    text(w, "IdentificationCode", p.countryCode);
    text(w, "Name", p.countryName);
    w.writeEndElement();
    w.writeEndElement();
    if (!p.dic.trimmed().isEmpty()) {
        w.writeStartElement(QStringLiteral("PartyTaxScheme"));
        text(w, "CompanyID", p.dic.trimmed());
        text(w, "TaxScheme", QStringLiteral("VAT"));
        w.writeEndElement();
    }
    w.writeEndElement();
}

void line(QXmlStreamWriter& w, const IsdocLine& l, bool vatApplicable) {
    w.writeStartElement(QStringLiteral("InvoiceLine"));
    text(w, "ID", l.id);
    w.writeStartElement(QStringLiteral("InvoicedQuantity"));
    if (!l.unit.trimmed().isEmpty())
        w.writeAttribute(QStringLiteral("unitCode"), l.unit.trimmed());
    w.writeCharacters(decimal(l.quantity, 4));
    w.writeEndElement();
    text(w, "LineExtensionAmount", amount(l.net));
    text(w, "LineExtensionAmountTaxInclusive", amount(l.gross));
    text(w, "LineExtensionTaxAmount", amount(l.vat));
    text(w, "UnitPrice", decimal(l.unitPrice, 4));
    const double unitGross = l.quantity != 0 ? l.gross / l.quantity : l.gross;
    text(w, "UnitPriceTaxInclusive", decimal(unitGross, 4));
    w.writeStartElement(QStringLiteral("ClassifiedTaxCategory"));
    text(w, "Percent", decimal(l.rate, 2));
    text(w, "VATCalculationMethod", QStringLiteral("0"));
    text(w, "VATApplicable", vatApplicable ? QStringLiteral("true") : QStringLiteral("false"));
    w.writeEndElement();
    if (!l.description.isEmpty()) {
        w.writeStartElement(QStringLiteral("Item"));
        text(w, "Description", l.description);
        w.writeEndElement();
    }
    w.writeEndElement();
}

} // namespace

QByteArray writeIsdoc(const IsdocDocument& d) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("Invoice"));
    w.writeDefaultNamespace(QStringLiteral("http://isdoc.cz/namespace/2013"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("6.0.2"));
    text(w, "DocumentType", QString::number(d.documentType));
    text(w, "ID", d.number);
    text(w, "UUID", d.uuid);
    text(w, "IssuingSystem", QStringLiteral("Kelvarn"));
    text(w, "IssueDate", d.issueDate.toString(Qt::ISODate));
    if (d.taxPointDate.isValid())
        text(w, "TaxPointDate", d.taxPointDate.toString(Qt::ISODate));
    text(w, "VATApplicable", d.vatApplicable ? QStringLiteral("true") : QStringLiteral("false"));
    text(w, "ElectronicPossibilityAgreementReference", QString());
    if (!d.note.isEmpty())
        text(w, "Note", d.note);
    text(w, "LocalCurrencyCode", d.currency);
    text(w, "CurrRate", QStringLiteral("1"));
    text(w, "RefCurrRate", QStringLiteral("1"));
    w.writeStartElement(QStringLiteral("AccountingSupplierParty"));
    party(w, d.supplier);
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("AccountingCustomerParty"));
    party(w, d.customer);
    w.writeEndElement();
    if (!d.originalNumber.isEmpty()) {
        w.writeStartElement(QStringLiteral("OriginalDocumentReferences"));
        w.writeStartElement(QStringLiteral("OriginalDocumentReference"));
        w.writeAttribute(QStringLiteral("id"), QStringLiteral("original"));
        text(w, "ID", d.originalNumber);
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeStartElement(QStringLiteral("InvoiceLines"));
    if (!d.lines.empty()) {
        for (const IsdocLine& l : d.lines)
            line(w, l, d.vatApplicable);
    } else {
        int n = 0;
        for (const IsdocRateTotal& r : d.rates)
            line(w, IsdocLine{QString::number(++n), d.note, QString(), 1, r.net, r.net, r.vat, r.gross, r.rate},
                 d.vatApplicable);
    }
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("TaxTotal"));
    for (const IsdocRateTotal& r : d.rates) {
        w.writeStartElement(QStringLiteral("TaxSubTotal"));
        text(w, "TaxableAmount", amount(r.net));
        text(w, "TaxAmount", amount(r.vat));
        text(w, "TaxInclusiveAmount", amount(r.gross));
        text(w, "AlreadyClaimedTaxableAmount", amount(0));
        text(w, "AlreadyClaimedTaxAmount", amount(0));
        text(w, "AlreadyClaimedTaxInclusiveAmount", amount(0));
        text(w, "DifferenceTaxableAmount", amount(r.net));
        text(w, "DifferenceTaxAmount", amount(r.vat));
        text(w, "DifferenceTaxInclusiveAmount", amount(r.gross));
        w.writeStartElement(QStringLiteral("TaxCategory"));
        text(w, "Percent", decimal(r.rate, 2));
        text(w, "VATApplicable", d.vatApplicable ? QStringLiteral("true") : QStringLiteral("false"));
        w.writeEndElement();
        w.writeEndElement();
    }
    text(w, "TaxAmount", amount(d.totalVat));
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("LegalMonetaryTotal"));
    text(w, "TaxExclusiveAmount", amount(d.totalNet));
    text(w, "TaxInclusiveAmount", amount(d.totalGross));
    text(w, "AlreadyClaimedTaxExclusiveAmount", amount(0));
    text(w, "AlreadyClaimedTaxInclusiveAmount", amount(0));
    text(w, "DifferenceTaxExclusiveAmount", amount(d.totalNet));
    text(w, "DifferenceTaxInclusiveAmount", amount(d.totalGross));
    text(w, "PaidDepositsAmount", amount(d.paidDeposits));
    text(w, "PayableAmount", amount(d.payable));
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("PaymentMeans"));
    w.writeStartElement(QStringLiteral("Payment"));
    text(w, "PaidAmount", amount(d.payable));
    text(w, "PaymentMeansCode", QString::number(d.paymentMeansCode));
    const bool transfer = d.paymentMeansCode == 42 || d.paymentMeansCode == 31;
    if (transfer && d.dueDate.isValid()) {
        w.writeStartElement(QStringLiteral("Details"));
        text(w, "PaymentDueDate", d.dueDate.toString(Qt::ISODate));
        text(w, "ID", d.accountNumber);
        text(w, "BankCode", d.bankCode);
        text(w, "Name", QString());
        text(w, "IBAN", d.iban);
        text(w, "BIC", d.bic);
        if (!d.variableSymbol.isEmpty())
            text(w, "VariableSymbol", d.variableSymbol);
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

} // namespace kelvarn
