#include "exchange/vat_filing.h"

#include "core/money.h"
#include "db/db_context.h"

#include <QSqlQuery>

#include <cmath>

namespace kelvarn {

namespace {

QDate dateOf(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

int classIndex(VatRateClass c) {
    return c == VatRateClass::Basic ? 0 : c == VatRateClass::FirstReduced ? 1 : 2;
}

QString rateText(double rate) {
    return QString::number(rate, 'g', 6);
}

} // namespace

QDate VatPeriod::first() const {
    if (month > 0)
        return QDate(year, month, 1);
    return QDate(year, (quarter - 1) * 3 + 1, 1);
}

QDate VatPeriod::last() const {
    const QDate start = first();
    return start.addMonths(month > 0 ? 1 : 3).addDays(-1);
}

bool VatPeriod::valid() const {
    return year >= 2000 && year <= 2099 && ((month >= 1 && month <= 12 && quarter == 0) ||
                                            (quarter >= 1 && quarter <= 4 && month == 0));
}

VatRateClass classifyRate(double rate) {
    const double r = roundPlaces(rate, 2);
    if (r == 21 || r == 20 || r == 19)
        return VatRateClass::Basic;
    if (r == 12 || r == 14 || r == 15)
        return VatRateClass::FirstReduced;
    if (r == 10)
        return VatRateClass::SecondReduced;
    return VatRateClass::Unknown;
}

QString czechDicDigits(const QString& dic, bool* foreign) {
    QString s = dic.trimmed().toUpper();
    s.remove(u' ');
    if (foreign)
        *foreign = false;
    if (s.isEmpty())
        return {};
    if (s.size() >= 2 && s[0].isLetter() && s[1].isLetter()) {
        if (!s.startsWith(QLatin1String("CZ"))) {
            if (foreign)
                *foreign = true;
            return {};
        }
        s = s.mid(2);
    }
    for (QChar c : s)
        if (!c.isDigit())
            return {};
    return s.size() >= 8 && s.size() <= 10 ? s : QString();
}

bool VatFilingData::blocked() const {
    for (const VatIssue& i : issues)
        if (i.blocking)
            return true;
    return false;
}

VatFilingData collectVatFilingData(DbContext& db, const VatPeriod& period) {
    VatFilingData data;
    double ownReduced = 0, ownBasic = 0;
    {
        QSqlQuery q = db.session().query(QStringLiteral("SELECT dph5, dph19 FROM tbl_podnikatel WHERE id=1"));
        if (q.next()) {
            ownReduced = roundPlaces(q.value(0).toDouble(), 2);
            ownBasic = roundPlaces(q.value(1).toDouble(), 2);
        }
    }
    QSqlQuery q = db.session().query(
        QStringLiteral("SELECT id, cislo_dokladu, cislo_dokladu_puvodni, doklad_typ, podklad_dph, "
                       "datum_uplatneni_plneni, datum_zdanitelne_plneni, odb_dic, celkem_doklad_s_dph, "
                       "celkem_bez_dph_0, celkem_bez_dph_5, celkem_dph_5, celkem_bez_dph_19, celkem_dph_19, "
                       "doklad_dsazba5, doklad_dsazba19 FROM tbl_doklad WHERE datum_uplatneni_plneni >= ? AND "
                       "datum_uplatneni_plneni < ? ORDER BY datum_uplatneni_plneni, cislo_dokladu"),
        {QDateTime(period.first(), QTime(0, 0)), QDateTime(period.last().addDays(1), QTime(0, 0))});
    while (q.next()) {
        if (q.value(4).toString().trimmed().toUpper() != QLatin1String("ANO"))
            continue;
        VatDocument d;
        d.id = q.value(0).toString();
        d.number = q.value(1).toString();
        const int type = q.value(3).toInt();
        const bool deposit = d.number.startsWith(QLatin1String("ZL"));
        // The lists: deposits fall on the side opposite to the rest of their type.
        if (type == 1 || type == 3)
            d.output = !(type == 1 && deposit);
        else if (type == 2 || type == 4)
            d.output = type == 2 && deposit;
        else
            continue;
        d.evidenceNumber = d.output ? d.number : q.value(2).toString().trimmed();
        d.partnerDic = czechDicDigits(q.value(7).toString(), &d.foreignDic);
        d.taxPointDate = dateOf(q.value(6));
        if (!d.taxPointDate.isValid())
            d.taxPointDate = dateOf(q.value(5));
        d.gross = roundPlaces(q.value(8).toDouble(), 2);
        d.zeroRated = roundPlaces(q.value(9).toDouble(), 2);
        double reducedRate = roundPlaces(q.value(14).toDouble(), 2);
        double basicRate = roundPlaces(q.value(15).toDouble(), 2);
        if (reducedRate == 0)
            reducedRate = ownReduced;
        if (basicRate == 0)
            basicRate = ownBasic;
        const struct {
            double base, tax, rate;
        } slotValues[] = {{roundPlaces(q.value(10).toDouble(), 2), roundPlaces(q.value(11).toDouble(), 2), reducedRate},
                          {roundPlaces(q.value(12).toDouble(), 2), roundPlaces(q.value(13).toDouble(), 2), basicRate}};
        bool classified = true;
        for (const auto& s : slotValues) {
            if (s.base == 0 && s.tax == 0)
                continue;
            const VatRateClass c = classifyRate(s.rate);
            if (c == VatRateClass::Unknown) {
                data.issues.push_back({d.number, QStringLiteral("sazba %1 % není základní ani snížená").arg(rateText(s.rate))});
                classified = false;
                continue;
            }
            d.base[classIndex(c)] = roundPlaces(d.base[classIndex(c)] + s.base, 2);
            d.tax[classIndex(c)] = roundPlaces(d.tax[classIndex(c)] + s.tax, 2);
        }
        if (d.zeroRated != 0)
            data.issues.push_back({d.number,
                                   QStringLiteral("částka %1 bez DPH (nulová sazba) se do přiznání ani kontrolního hlášení "
                                                  "nepřenáší")
                                       .arg(d.zeroRated, 0, 'f', 2),
                                   false});
        if (d.foreignDic)
            data.issues.push_back({d.number, QStringLiteral("DIČ partnera není české; plnění do jiného státu formuláře "
                                                            "neobsahují")});
        else if (std::fabs(d.gross) > kControlStatementThreshold && d.partnerDic.isEmpty())
            data.issues.push_back({d.number, QStringLiteral("doklad nad 10 000 Kč nemá DIČ partnera")});
        else if (std::fabs(d.gross) > kControlStatementThreshold && !d.output && d.evidenceNumber.isEmpty())
            data.issues.push_back({d.number, QStringLiteral("přijatý doklad nad 10 000 Kč nemá původní číslo dokladu "
                                                            "dodavatele")});
        if (classified)
            data.documents.push_back(d);
    }
    return data;
}

} // namespace kelvarn
