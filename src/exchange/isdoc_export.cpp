#include "exchange/isdoc_export.h"

#include "core/money.h"
#include "db/db_context.h"
#include "core/czech_account.h"
#include "exchange/isdoc_writer.h"

#include <QDir>
#include <QSaveFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <cmath>

namespace kelvarn {

namespace {

QDate dateOf(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return v.toDate();
    const QString s = v.toString();
    QDate d = QDate::fromString(s.left(10), Qt::ISODate);
    return d;
}

double money(const QSqlRecord& r, const char* column) {
    return roundPlaces(r.value(QString::fromLatin1(column)).toDouble(), 2);
}

QString textOf(const QSqlRecord& r, const char* column) {
    const QVariant v = r.value(QString::fromLatin1(column));
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray()).trimmed();
    return v.toString().trimmed();
}

qint64 cents(double v) {
    return std::llround(v * 100.0);
}

bool isCrowns(const QString& currency) {
    const QString c = currency.trimmed().toUpper();
    return c.isEmpty() || c == QLatin1String("CZK") || c == QLatin1String("KČ");
}

int paymentMeansOf(const QString& method) {
    const QString m = method.trimmed().toLower();
    if (m.startsWith(QLatin1String("hotově")))
        return 10;
    if (m.startsWith(QLatin1String("platební kartou")))
        return 48;
    return 42;
}

} // namespace

std::optional<IsdocDocument> isdocFromDocument(DbContext& db, const QString& id, QString* why) {
    auto refuse = [why](const QString& text) -> std::optional<IsdocDocument> {
        if (why)
            *why = text;
        return std::nullopt;
    };
    QSqlQuery q = db.session().query(QStringLiteral("SELECT * FROM tbl_doklad WHERE id=?"), {id.toLongLong()});
    if (!q.next())
        return refuse(QStringLiteral("Doklad %1 nebyl nalezen.").arg(id));
    const QSqlRecord r = q.record();
    const QString number = textOf(r, "cislo_dokladu");
    if (r.value(QStringLiteral("doklad_typ")).toInt() != 1)
        return refuse(QStringLiteral("Doklad %1 není vydaný doklad; do ISDOC se vyvážejí jen faktury vydané.").arg(number));
    if (number.startsWith(QLatin1String("ZL")))
        return refuse(QStringLiteral("Doklad %1 je záloha; ISDOC se vyváží jen u faktur a dobropisů.").arg(number));
    if (!isCrowns(textOf(r, "mena")))
        return refuse(QStringLiteral("Doklad %1 je v měně %2; ISDOC se vyváží jen u dokladů v korunách.")
                          .arg(number, textOf(r, "mena")));

    IsdocDocument d;
    d.number = number;
    d.uuid = QUuid::createUuidV5(QUuid(QStringLiteral("{7c1f62a4-3c1e-4f55-9a55-6b1d1f0a2e11}")),
                                 QStringLiteral("%1/%2").arg(id, number))
                 .toString(QUuid::WithoutBraces)
                 .toUpper();
    d.issueDate = dateOf(r.value(QStringLiteral("datum_vystaveni")));
    if (!d.issueDate.isValid())
        return refuse(QStringLiteral("Doklad %1 nemá datum vystavení.").arg(number));
    d.taxPointDate = dateOf(r.value(QStringLiteral("datum_zdanitelne_plneni")));
    d.dueDate = dateOf(r.value(QStringLiteral("datum_spatnosti")));
    d.vatApplicable = textOf(r, "podklad_dph").compare(QLatin1String("ano"), Qt::CaseInsensitive) == 0;
    d.note = textOf(r, "poznamka2");
    d.originalNumber = textOf(r, "cislo_dokladu_puvodni");
    d.supplier = IsdocParty{textOf(r, "dod_ic"), textOf(r, "dod_dic"), textOf(r, "dod_nazev_firmy"),
                            textOf(r, "dod_ulice"), textOf(r, "dod_mesto"), textOf(r, "dod_psc")};
    d.customer = IsdocParty{textOf(r, "odb_ic"), textOf(r, "odb_dic"), textOf(r, "odb_nazev_firmy"),
                            textOf(r, "odb_ulice"), textOf(r, "odb_mesto"), textOf(r, "odb_psc")};

    // The three slots, with the document's own rates (the start-up rates stand in
    // for an empty one, as when the document was summed).
    QSqlQuery rates = db.session().query(QStringLiteral("SELECT dph5, dph19 FROM tbl_podnikatel WHERE id=1"));
    double reduced = 0, basic = 0;
    if (rates.next()) {
        reduced = roundPlaces(rates.value(0).toDouble(), 2);
        basic = roundPlaces(rates.value(1).toDouble(), 2);
    }
    if (const double own = money(r, "doklad_dsazba5"); own != 0)
        reduced = own;
    if (const double own = money(r, "doklad_dsazba19"); own != 0)
        basic = own;
    const IsdocRateTotal rateSlots[] = {
        {0, money(r, "celkem_bez_dph_0"), 0, money(r, "celkem_s_dph_0")},
        {reduced, money(r, "celkem_bez_dph_5"), money(r, "celkem_dph_5"), money(r, "celkem_s_dph_5")},
        {basic, money(r, "celkem_bez_dph_19"), money(r, "celkem_dph_19"), money(r, "celkem_s_dph_19")},
    };
    qint64 net = 0, vat = 0, gross = 0;
    for (const IsdocRateTotal& s : rateSlots) {
        if (s.net == 0 && s.vat == 0 && s.gross == 0)
            continue;
        if (cents(s.net) + cents(s.vat) != cents(s.gross))
            return refuse(QStringLiteral("Doklad %1: v sazbě %2 % nedává základ a DPH částku s DPH. Sečtěte doklad "
                                         "znovu.")
                              .arg(number)
                              .arg(s.rate));
        d.rates.push_back(s);
        net += cents(s.net);
        vat += cents(s.vat);
        gross += cents(s.gross);
    }
    if (d.rates.empty())
        d.rates.push_back(IsdocRateTotal{});
    if (net != cents(money(r, "celkem_doklad")) || vat != cents(money(r, "celkem_doklad_dph")) ||
        gross != cents(money(r, "celkem_doklad_s_dph")))
        return refuse(QStringLiteral("Doklad %1: součty sazeb nesouhlasí s celkovými částkami dokladu. Sečtěte doklad "
                                     "znovu.")
                          .arg(number));
    d.totalNet = net / 100.0;
    d.totalVat = vat / 100.0;
    d.totalGross = gross / 100.0;
    d.documentType = gross < 0 ? 2 : 1;

    QSqlQuery lines = db.session().query(
        QStringLiteral("SELECT kod_zbozi, popis, mnozstvi, mj, cena_jednotka, cena_celkem_bez_dph, dph, dph_celkem, "
                       "cena_celkem_s_dph FROM tbl_polozky WHERE id_tbl_doklad=? ORDER BY cislo_radku, id"),
        {id.toLongLong()});
    qint64 deposits = 0;
    int n = 0;
    while (lines.next()) {
        const QString code = lines.value(0).toString();
        const double lineGross = roundPlaces(lines.value(8).toDouble(), 2);
        if (code.startsWith(QLatin1String("#ZAL"), Qt::CaseInsensitive)) {
            deposits += cents(lineGross);
            continue;
        }
        IsdocLine l;
        l.id = QString::number(++n);
        l.description = lines.value(1).toString();
        l.quantity = lines.value(2).isNull() ? 1 : lines.value(2).toDouble();
        l.unit = lines.value(3).toString();
        l.unitPrice = lines.value(4).toDouble();
        l.net = roundPlaces(lines.value(5).toDouble(), 2);
        l.rate = lines.value(6).toDouble();
        l.vat = roundPlaces(lines.value(7).toDouble(), 2);
        l.gross = roundPlaces(l.net + l.vat, 2);
        d.lines.push_back(l);
    }
    // A deposit already received is a negative line; the standard wants it positive.
    d.paidDeposits = -deposits / 100.0;
    d.payable = (gross + deposits) / 100.0;
    d.paymentMeansCode = paymentMeansOf(textOf(r, "zpusob_uhrady"));
    if (const auto account = parseCzechAccount(textOf(r, "dod_cislo_uctu"))) {
        d.accountNumber = account->prefix.isEmpty() ? account->number : account->prefix + u'-' + account->number;
        d.bankCode = account->bankCode;
    }
    d.iban = paymentIban(textOf(r, "dod_cislo_uctu"), textOf(r, "dod_cislo_uctu_IBAN"));
    d.variableSymbol = textOf(r, "variabilni_symbol");
    return d;
}

QStringList exportIsdocFiles(DbContext& db, const QStringList& ids, const QString& folder, int* written) {
    QStringList problems;
    int count = 0;
    for (const QString& id : ids) {
        QString why;
        const auto document = isdocFromDocument(db, id, &why);
        if (!document) {
            problems << why;
            continue;
        }
        QString name = document->number;
        for (QChar& c : name)
            if (c == u'/' || c == u'\\' || c == u':')
                c = u'_';
        QSaveFile file(QDir(folder).filePath(name + QStringLiteral(".isdoc")));
        if (!file.open(QIODevice::WriteOnly) || file.write(writeIsdoc(*document)) < 0 || !file.commit()) {
            problems << QStringLiteral("Soubor %1 nelze zapsat: %2").arg(file.fileName(), file.errorString());
            continue;
        }
        ++count;
    }
    if (written)
        *written = count;
    return problems;
}

} // namespace kelvarn
