#include "exchange/isdoc_import.h"

#include "core/money.h"
#include "db/database_session.h"
#include "db/db_context.h"
#include "db/number_series.h"

#include <QDateTime>
#include <QSqlQuery>

#include <algorithm>

namespace kelvarn {

namespace {

QString digitsOnly(const QString& s) {
    QString out;
    for (QChar c : s)
        if (c.isDigit())
            out += c;
    return out;
}

QVariant textOrNull(const QString& s, int size) {
    const QString t = s.trimmed().left(size);
    return t.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(t);
}

QVariant dateOrNull(const QDate& d) {
    return d.isValid() ? QVariant(QDateTime(d, QTime(0, 0))) : QVariant(QMetaType(QMetaType::QDateTime));
}

QString paymentMethodOf(int code) {
    switch (code) {
    case 10: return QStringLiteral("hotově");
    case 48: return QStringLiteral("platební kartou");
    case 50: return QStringLiteral("hotově (dobírka)");
    default: return QStringLiteral("bank. převodem");
    }
}

struct Entrepreneur {
    QString name, nameAddition, street, city, postalCode, ico, dic, currency;
    bool vatPayer = false;
    double reduced = 0, basic = 0;
};

Entrepreneur readEntrepreneur(DbContext& db) {
    Entrepreneur e;
    QSqlQuery q = db.session().query(QStringLiteral(
        "SELECT nazev, nazev_upresneni, ulice, mesto, psc, ico, dic, mena, platce_dph, dph5, dph19 FROM tbl_podnikatel "
        "WHERE id=1"));
    if (q.next()) {
        e.name = q.value(0).toString();
        e.nameAddition = q.value(1).toString();
        e.street = q.value(2).toString();
        e.city = q.value(3).toString();
        e.postalCode = q.value(4).toString();
        e.ico = q.value(5).toString().trimmed();
        e.dic = q.value(6).toString();
        e.currency = q.value(7).toString();
        e.vatPayer = q.value(8).toString().trimmed().toLower() == QLatin1String("ano");
        e.reduced = roundPlaces(q.value(9).toDouble(), 2);
        e.basic = roundPlaces(q.value(10).toDouble(), 2);
    }
    return e;
}

} // namespace

IsdocImportResult importReceivedIsdoc(DbContext& db, const IsdocDocument& d) {
    IsdocImportResult result;
    auto refuse = [&result](const QString& text) {
        result.message = text;
        return result;
    };
    if (d.documentType != 1 && d.documentType != 2 && d.documentType != 3 && d.documentType != 7)
        return refuse(QStringLiteral("Doklad %1 je typu %2 (záloha); do závazků se načítají jen faktury a opravné "
                                     "doklady.")
                          .arg(d.number)
                          .arg(d.documentType));
    if (d.currency.compare(QLatin1String("CZK"), Qt::CaseInsensitive) != 0)
        return refuse(QStringLiteral("Doklad %1 vede částky v měně %2; načítají se jen doklady v korunách.")
                          .arg(d.number, d.currency));
    const Entrepreneur own = readEntrepreneur(db);
    const QString ownIco = digitsOnly(own.ico);
    const QString customerIco = digitsOnly(d.customer.ico);
    if (!ownIco.isEmpty() && !customerIco.isEmpty() && ownIco != customerIco)
        return refuse(QStringLiteral("Faktura %1 je vystavena odběrateli s IČ %2, ne podnikateli (IČ %3). Nebyla "
                                     "načtena.")
                          .arg(d.number, d.customer.ico, own.ico));

    // Rate slots: zero, then the non-zero rates from the lowest.
    std::vector<double> rates;
    for (const IsdocRateTotal& r : d.rates)
        if (r.rate != 0 && std::find(rates.begin(), rates.end(), r.rate) == rates.end())
            rates.push_back(r.rate);
    std::sort(rates.begin(), rates.end());
    if (rates.size() > 2)
        return refuse(QStringLiteral("Faktura %1 má plnění ve více než dvou nenulových sazbách DPH; doklad má jen "
                                     "sníženou a základní sazbu.")
                          .arg(d.number));
    double reducedRate = own.reduced, basicRate = own.basic;
    if (rates.size() == 2) {
        reducedRate = rates[0];
        basicRate = rates[1];
    } else if (rates.size() == 1) {
        if (rates[0] == own.reduced || (own.basic != 0 && rates[0] < own.basic))
            reducedRate = rates[0];
        else
            basicRate = rates[0];
    }
    double net[3] = {0, 0, 0}, vat[3] = {0, 0, 0}, gross[3] = {0, 0, 0};
    for (const IsdocRateTotal& r : d.rates) {
        const int slot = r.rate == 0 ? 0 : r.rate == reducedRate ? 1 : 2;
        net[slot] = roundPlaces(net[slot] + r.net, 2);
        vat[slot] = roundPlaces(vat[slot] + r.vat, 2);
        gross[slot] = roundPlaces(gross[slot] + r.gross, 2);
    }

    const QString supplierIco = d.supplier.ico.trimmed();
    const QString original = d.number.trimmed().left(20);
    Transaction unit(db.session());
    {
        QSqlQuery dup = supplierIco.isEmpty()
                            ? db.session().query(QStringLiteral("SELECT cislo_dokladu FROM tbl_doklad WHERE doklad_typ=2 "
                                                                "AND cislo_dokladu_puvodni=? AND odb_nazev_firmy=?"),
                                                 {original, d.supplier.name.trimmed().left(100)})
                            : db.session().query(QStringLiteral("SELECT cislo_dokladu FROM tbl_doklad WHERE doklad_typ=2 "
                                                                "AND cislo_dokladu_puvodni=? AND odb_ic=?"),
                                                 {original, supplierIco.left(20)});
        if (dup.next())
            return refuse(QStringLiteral("Faktura %1 od dodavatele %2 už je v závazcích jako doklad %3. Nebyla načtena "
                                         "znovu.")
                              .arg(d.number, d.supplier.name, dup.value(0).toString()));
    }

    const bool sequences = db.state().usesSequences();
    const QDateTime now = QDateTime::currentDateTime();
    QVariant partnerId;
    if (!supplierIco.isEmpty()) {
        QSqlQuery p = db.session().query(QStringLiteral("SELECT id FROM tbl_partner WHERE ic=? ORDER BY id"),
                                         {supplierIco.left(20)});
        if (p.next())
            partnerId = p.value(0).toLongLong();
    }
    const QString account =
        d.accountNumber.isEmpty() ? QString()
                                  : d.accountNumber + (d.bankCode.isEmpty() ? QString() : u'/' + d.bankCode);
    if (partnerId.isNull()) {
        QVariantList binds;
        qint64 id = 0;
        if (sequences)
            binds << (id = db.nextId(QStringLiteral("tbl_partner")));
        binds << textOrNull(d.supplier.name.isEmpty() ? d.number : d.supplier.name, 100)
              << textOrNull(d.supplier.street, 45) << textOrNull(d.supplier.city, 40)
              << textOrNull(d.supplier.postalCode, 6) << textOrNull(supplierIco, 20) << textOrNull(d.supplier.dic, 20)
              << textOrNull(account, 34) << textOrNull(d.iban, 34) << now << now;
        db.session().execute(
            QStringLiteral("INSERT INTO tbl_partner (%1nazev_firmy, ulice, mesto, psc, ic, dic, cislo_uctu, "
                           "cislo_uctu_IBAN, dateTS0, dateTS1) VALUES (%2?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(sequences ? QStringLiteral("id, ") : QString(), sequences ? QStringLiteral("?, ") : QString()),
            binds);
        if (!sequences) {
            QSqlQuery last = db.session().query(QStringLiteral("SELECT max(id) FROM tbl_partner"));
            last.next();
            id = last.value(0).toLongLong();
        }
        partnerId = id;
        result.partnerCreated = true;
    }

    const QDate yearDate = own.vatPayer && d.taxPointDate.isValid() ? d.taxPointDate : d.issueDate;
    const QString key = QStringLiteral("FAP-") + QString::number(yearDate.year());
    const auto serial = nextNumber(db, key);
    if (!serial)
        return refuse(QStringLiteral("Řada čísel %1 nevydala číslo dokladu; faktura nebyla načtena.").arg(key));
    const QString number = key + u'-' + *serial;

    QVariantList binds;
    if (sequences)
        binds << db.nextId(QStringLiteral("tbl_doklad"));
    binds << number << textOrNull(d.variableSymbol, 10) << textOrNull(original, 20) << dateOrNull(d.issueDate)
          << dateOrNull(d.taxPointDate) << dateOrNull(own.vatPayer ? d.taxPointDate : QDate())
          << dateOrNull(d.dueDate);
    for (int s = 0; s < 3; ++s)
        binds << net[s];
    binds << 0.0 << vat[1] << vat[2];
    for (int s = 0; s < 3; ++s)
        binds << gross[s];
    binds << roundPlaces(net[0] + net[1] + net[2], 2) << roundPlaces(vat[1] + vat[2], 2)
          << roundPlaces(gross[0] + gross[1] + gross[2], 2) << roundPlaces(d.payable, 2) << partnerId
          << textOrNull(d.note, 100) << textOrNull(d.supplier.name, 100) << textOrNull(d.supplier.street, 45)
          << textOrNull(d.supplier.city, 40) << textOrNull(d.supplier.postalCode, 6) << textOrNull(supplierIco, 20)
          << textOrNull(d.supplier.dic, 20) << textOrNull(account, 34) << textOrNull(d.iban, 34)
          << textOrNull(own.name, 100) << textOrNull(own.nameAddition, 100) << textOrNull(own.street, 45)
          << textOrNull(own.city, 40) << textOrNull(own.postalCode, 6) << textOrNull(own.ico, 20)
          << textOrNull(own.dic, 20) << textOrNull(own.currency.isEmpty() ? QStringLiteral("CZK") : own.currency, 5)
          << 1.0 << paymentMethodOf(d.paymentMeansCode)
          << (own.vatPayer ? QVariant(QStringLiteral("Ano")) : QVariant(QMetaType(QMetaType::QString)))
          << QStringLiteral("Ano") << 0 << reducedRate << basicRate << now << now;
    db.session().execute(
        QStringLiteral(
            "INSERT INTO tbl_doklad (%1cislo_dokladu, variabilni_symbol, cislo_dokladu_puvodni, doklad_typ, "
            "datum_vystaveni, datum_zdanitelne_plneni, datum_uplatneni_plneni, datum_spatnosti, celkem_bez_dph_0, "
            "celkem_bez_dph_5, celkem_bez_dph_19, celkem_dph_0, celkem_dph_5, celkem_dph_19, celkem_s_dph_0, "
            "celkem_s_dph_5, celkem_s_dph_19, celkem_doklad, celkem_doklad_dph, celkem_doklad_s_dph, zbyva_uhradit, "
            "id_tbl_partner, poznamka2, odb_nazev_firmy, odb_ulice, odb_mesto, odb_psc, odb_ic, odb_dic, "
            "odb_cislo_uctu, odb_cislo_uctu_IBAN, dod_nazev_firmy, dod_nazev_upresneni, dod_ulice, dod_mesto, dod_psc, "
            "dod_ic, dod_dic, mena, kurz, zpusob_uhrady, podklad_dph, pohledavka_zavazek, doklad_vytisknut, "
            "doklad_dsazba5, doklad_dsazba19, dateTS0, dateTS1) VALUES (%2?, ?, ?, 2, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(sequences ? QStringLiteral("id, ") : QString(), sequences ? QStringLiteral("?, ") : QString()),
        binds);
    unit.commit();
    result.ok = true;
    result.documentNumber = number;
    result.message = QStringLiteral("Faktura %1 od dodavatele %2 byla načtena jako doklad %3%4.")
                         .arg(d.number, d.supplier.name, number,
                              result.partnerCreated ? QStringLiteral(" (dodavatel založen mezi partnery)") : QString());
    return result;
}

} // namespace kelvarn
