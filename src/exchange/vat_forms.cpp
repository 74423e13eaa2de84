#include "exchange/vat_forms.h"

#include "core/money.h"
#include "exchange/filing_identity.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

#include <cmath>

namespace kelvarn {

namespace {

QString money(double v) {
    const QString s = QString::number(v, 'f', 2);
    return s == QLatin1String("-0.00") ? QStringLiteral("0.00") : s;
}

QString date(const QDate& d) {
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

qint64 wholeCrowns(double v) {
    return std::llround(v); // halves away from zero, as the forms round
}

void periodAttributes(QXmlStreamWriter& w, const VatPeriod& p) {
    w.writeAttribute(QStringLiteral("rok"), QString::number(p.year));
    if (p.month > 0)
        w.writeAttribute(QStringLiteral("mesic"), QString::number(p.month));
    else
        w.writeAttribute(QStringLiteral("ctvrt"), QString::number(p.quarter));
}

// The portal refuses a whole file for one over-long value; an address part is cut
// rather than the filing lost (the DIČ identifies the filer).
QString fitted(const QString& value, qsizetype length) {
    return value.left(length).trimmed();
}

// "Dlouhá 1234/5a" is the street, the house number (at most 6 digits) and the
// orientation number (at most 4 characters), which the form keeps apart.
struct StreetAddress {
    QString street;
    QString houseNumber;
    QString orientation;
};

StreetAddress splitStreet(const QString& text) {
    static const QRegularExpression numbered(QStringLiteral(R"(^(.*?\S)\s+([0-9]{1,6})(?:\s*/\s*(\w{1,4}))?$)"));
    const QRegularExpressionMatch m = numbered.match(text.trimmed());
    if (!m.hasMatch())
        return {text.trimmed(), {}, {}};
    return {m.captured(1), m.captured(2), m.captured(3)};
}

void filer(QXmlStreamWriter& w, const FilingIdentity& who) {
    auto optional = [&w](const char* name, const QString& value) {
        if (!value.isEmpty())
            w.writeAttribute(QLatin1String(name), value);
    };
    w.writeStartElement(QStringLiteral("VetaP"));
    w.writeAttribute(QStringLiteral("c_ufo"), who.taxOffice);
    w.writeAttribute(QStringLiteral("c_pracufo"), who.workplace);
    w.writeAttribute(QStringLiteral("dic"), who.dic);
    w.writeAttribute(QStringLiteral("typ_ds"), who.personType);
    if (who.personType == QLatin1String("P")) {
        w.writeAttribute(QStringLiteral("zkrobchjm"), fitted(who.companyName, 255));
    } else {
        w.writeAttribute(QStringLiteral("jmeno"), fitted(who.firstName, 20));
        w.writeAttribute(QStringLiteral("prijmeni"), fitted(who.lastName, 36));
    }
    const StreetAddress address = splitStreet(who.street);
    optional("ulice", fitted(address.street, 38));
    optional("c_pop", address.houseNumber);
    optional("c_orient", address.orientation);
    optional("naz_obce", fitted(who.city, 48));
    optional("psc", fitted(who.postalCode, 10));
    w.writeAttribute(QStringLiteral("stat"), QStringLiteral("ČESKÁ REPUBLIKA"));
    optional("email", fitted(who.email, 255));
    // Blanks do not count; a number still too long is left out rather than cut wrong.
    QString phone = who.phone;
    phone.remove(QRegularExpression(QStringLiteral(R"(\s)")));
    optional("c_telef", phone.size() <= 14 ? phone : QString());
    w.writeEndElement();
}

void rateAttributes(QXmlStreamWriter& w, const double base[3], const double tax[3]) {
    static const char* const bases[] = {"zakl_dane1", "zakl_dane2", "zakl_dane3"};
    static const char* const taxes[] = {"dan1", "dan2", "dan3"};
    for (int i = 0; i < 3; ++i) {
        if (base[i] == 0 && tax[i] == 0)
            continue;
        w.writeAttribute(QString::fromLatin1(bases[i]), money(base[i]));
        w.writeAttribute(QString::fromLatin1(taxes[i]), money(tax[i]));
    }
}

bool listedAlone(const VatDocument& d) {
    return std::fabs(d.gross) > kControlStatementThreshold && !d.partnerDic.isEmpty();
}

// The envelope of a form up to its open record D, which the caller completes.
void openForm(QXmlStreamWriter& w, const char* form, const char* version, const char* document) {
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("Pisemnost"));
    w.writeAttribute(QStringLiteral("nazevSW"), QStringLiteral("Kelvarn"));
    w.writeAttribute(QStringLiteral("verzeSW"), QStringLiteral("1.70"));
    w.writeStartElement(QLatin1String(form));
    w.writeAttribute(QStringLiteral("verzePis"), QLatin1String(version));
    w.writeStartElement(QStringLiteral("VetaD"));
    w.writeAttribute(QStringLiteral("dokument"), QLatin1String(document));
    w.writeAttribute(QStringLiteral("k_uladis"), QStringLiteral("DPH"));
}

// One side of the control statement: the documents listed one by one, then the
// rest summed into the aggregate row.
struct Section {
    bool output;
    const char* listed;
    const char* partner;   // the partner's DIČ attribute
    const char* flag;      // the one-letter code the listed rows need besides zdph_44
    const char* flagValue; // no special regime / no proportional deduction
    const char* aggregate;
};

void writeSection(QXmlStreamWriter& w, const VatFilingData& data, const Section& s) {
    double base[3] = {0, 0, 0}, tax[3] = {0, 0, 0};
    int row = 0;
    for (const VatDocument& d : data.documents) {
        if (d.output != s.output)
            continue;
        if (!listedAlone(d)) {
            for (int i = 0; i < 3; ++i) {
                base[i] += d.base[i];
                tax[i] += d.tax[i];
            }
            continue;
        }
        w.writeStartElement(QLatin1String(s.listed));
        w.writeAttribute(QStringLiteral("c_radku"), QString::number(++row));
        w.writeAttribute(QLatin1String(s.partner), d.partnerDic);
        w.writeAttribute(QStringLiteral("c_evid_dd"), d.evidenceNumber);
        w.writeAttribute(QStringLiteral("dppd"), date(d.taxPointDate));
        rateAttributes(w, d.base, d.tax);
        w.writeAttribute(QLatin1String(s.flag), QLatin1String(s.flagValue));
        w.writeAttribute(QStringLiteral("zdph_44"), QStringLiteral("N"));
        w.writeEndElement();
    }
    bool any = false;
    for (int i = 0; i < 3; ++i) {
        base[i] = roundPlaces(base[i], 2);
        tax[i] = roundPlaces(tax[i], 2);
        any = any || base[i] != 0 || tax[i] != 0;
    }
    if (any) {
        w.writeStartElement(QLatin1String(s.aggregate));
        rateAttributes(w, base, tax);
        w.writeEndElement();
    }
}

} // namespace

QByteArray writeControlStatement(const VatFilingData& data, const VatPeriod& period, const FilingIdentity& who,
                                 const QDate& filed) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    openForm(w, "DPHKH1", "03.01", "KH1");
    w.writeAttribute(QStringLiteral("khdph_forma"), QStringLiteral("B"));
    periodAttributes(w, period);
    w.writeAttribute(QStringLiteral("d_poddp"), date(filed));
    w.writeEndElement();
    filer(w, who);

    // Supplies made (A.4, A.5), then supplies received (B.2, B.3).
    writeSection(w, data, {true, "VetaA4", "dic_odb", "kod_rezim_pl", "0", "VetaA5"});
    writeSection(w, data, {false, "VetaB2", "dic_dod", "pomer", "N", "VetaB3"});
    double outBase[3] = {0, 0, 0}, inBase[3] = {0, 0, 0};
    for (const VatDocument& d : data.documents)
        for (int i = 0; i < 3; ++i)
            (d.output ? outBase : inBase)[i] += d.base[i];
    // Control rows tying the statement to the return's rows 1, 2, 40 and 41.
    w.writeStartElement(QStringLiteral("VetaC"));
    w.writeAttribute(QStringLiteral("obrat23"), money(roundPlaces(outBase[0], 2)));
    w.writeAttribute(QStringLiteral("obrat5"), money(roundPlaces(outBase[1] + outBase[2], 2)));
    w.writeAttribute(QStringLiteral("pln23"), money(roundPlaces(inBase[0], 2)));
    w.writeAttribute(QStringLiteral("pln5"), money(roundPlaces(inBase[1] + inBase[2], 2)));
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

VatReturnFigures vatReturnFigures(const VatFilingData& data) {
    double outBase[2] = {0, 0}, outTax[2] = {0, 0}, inBase[2] = {0, 0}, inTax[2] = {0, 0};
    for (const VatDocument& d : data.documents) {
        double* base = d.output ? outBase : inBase;
        double* tax = d.output ? outTax : inTax;
        base[0] += d.base[0];
        tax[0] += d.tax[0];
        base[1] += d.base[1] + d.base[2];
        tax[1] += d.tax[1] + d.tax[2];
    }
    VatReturnFigures f;
    for (int i = 0; i < 2; ++i) {
        // The sums are rounded to cents first, so that 0.1 + 0.2 does not tip a half.
        f.outputBase[i] = wholeCrowns(roundPlaces(outBase[i], 2));
        f.outputTax[i] = wholeCrowns(roundPlaces(outTax[i], 2));
        f.inputBase[i] = wholeCrowns(roundPlaces(inBase[i], 2));
        f.inputTax[i] = wholeCrowns(roundPlaces(inTax[i], 2));
    }
    return f;
}

QByteArray writeVatReturn(const VatFilingData& data, const VatPeriod& period, const FilingIdentity& who,
                          const QDate& filed) {
    const VatReturnFigures f = vatReturnFigures(data);
    QByteArray out;
    QXmlStreamWriter w(&out);
    openForm(w, "DPHDP3", "01.02", "DP3");
    w.writeAttribute(QStringLiteral("dapdph_forma"), QStringLiteral("B"));
    w.writeAttribute(QStringLiteral("typ_platce"), QStringLiteral("P"));
    periodAttributes(w, period);
    w.writeAttribute(QStringLiteral("d_poddp"), date(filed));
    w.writeAttribute(QStringLiteral("c_okec"), who.activityCode);
    const bool any = f.taxTotal() != 0 || f.deductionTotal() != 0 || f.outputBase[0] || f.outputBase[1] ||
                     f.inputBase[0] || f.inputBase[1];
    w.writeAttribute(QStringLiteral("trans"), any ? QStringLiteral("A") : QStringLiteral("N"));
    w.writeEndElement();
    filer(w, who);
    auto n = [](qint64 v) { return QString::number(v); };
    w.writeStartElement(QStringLiteral("Veta1"));
    w.writeAttribute(QStringLiteral("obrat23"), n(f.outputBase[0]));
    w.writeAttribute(QStringLiteral("dan23"), n(f.outputTax[0]));
    w.writeAttribute(QStringLiteral("obrat5"), n(f.outputBase[1]));
    w.writeAttribute(QStringLiteral("dan5"), n(f.outputTax[1]));
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("Veta4"));
    w.writeAttribute(QStringLiteral("pln23"), n(f.inputBase[0]));
    w.writeAttribute(QStringLiteral("odp_tuz23_nar"), n(f.inputTax[0]));
    w.writeAttribute(QStringLiteral("pln5"), n(f.inputBase[1]));
    w.writeAttribute(QStringLiteral("odp_tuz5_nar"), n(f.inputTax[1]));
    w.writeAttribute(QStringLiteral("odp_sum_nar"), n(f.deductionTotal()));
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("Veta6"));
    w.writeAttribute(QStringLiteral("dan_zocelk"), n(f.taxTotal()));
    w.writeAttribute(QStringLiteral("odp_zocelk"), n(f.deductionTotal()));
    if (f.taxDue() > 0)
        w.writeAttribute(QStringLiteral("dano_da"), n(f.taxDue()));
    if (f.excessDeduction() > 0)
        w.writeAttribute(QStringLiteral("dano_no"), n(f.excessDeduction()));
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

} // namespace kelvarn
