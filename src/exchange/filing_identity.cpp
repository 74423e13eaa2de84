#include "exchange/filing_identity.h"

#include "core/text_file.h"
#include "db/db_context.h"
#include "exchange/vat_filing.h"

#include <QSqlQuery>

#include <algorithm>

namespace kelvarn {

namespace {

bool digits(const QString& s, qsizetype from, qsizetype to) {
    return s.size() >= from && s.size() <= to &&
           std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QStringList FilingIdentity::missing(bool forReturn) const {
    QStringList m;
    if (dic.isEmpty())
        m << QStringLiteral("DIČ (v záznamu podnikatele)");
    if (!digits(taxOffice, 3, 3))
        m << QStringLiteral("Kód finančního úřadu (3 číslice)");
    if (!digits(workplace, 4, 4))
        m << QStringLiteral("Kód územního pracoviště (4 číslice)");
    if (forReturn && !digits(activityCode, 2, 6))
        m << QStringLiteral("Kód převažující činnosti CZ-NACE (2 až 6 číslic)");
    if (personType == QLatin1String("F") && (firstName.isEmpty() || lastName.isEmpty()))
        m << QStringLiteral("Jméno a příjmení");
    return m;
}

QString filingIdentityFile(const QString& appDir) {
    return appDir + QStringLiteral("kelvarn_dph.txt");
}

FilingIdentity loadFilingIdentity(DbContext& db, const QString& file) {
    FilingIdentity id;
    QSqlQuery q = db.session().query(
        QStringLiteral("SELECT nazev, dic, ulice, mesto, psc, email, telefon FROM tbl_podnikatel WHERE id=1"));
    if (q.next()) {
        id.companyName = q.value(0).toString().trimmed();
        id.dic = czechDicDigits(q.value(1).toString());
        id.street = q.value(2).toString().trimmed();
        id.city = q.value(3).toString().trimmed();
        id.postalCode = q.value(4).toString().remove(u' ').trimmed();
        id.email = q.value(5).toString().trimmed();
        id.phone = q.value(6).toString().trimmed();
        // A sole trader's business name is usually "First Last"; the user may correct it.
        const QStringList words = id.companyName.split(u' ', Qt::SkipEmptyParts);
        if (words.size() >= 2) {
            id.firstName = words.first();
            id.lastName = words.mid(1).join(u' ');
        }
    }
    QString text;
    if (!readCp1250File(file, text))
        return id;
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("c_ufo"))
            id.taxOffice = value;
        else if (key == QLatin1String("c_pracufo"))
            id.workplace = value;
        else if (key == QLatin1String("c_okec"))
            id.activityCode = value;
        else if (key == QLatin1String("typ_ds") && (value == QLatin1String("F") || value == QLatin1String("P")))
            id.personType = value;
        else if (key == QLatin1String("jmeno") && !value.isEmpty())
            id.firstName = value;
        else if (key == QLatin1String("prijmeni") && !value.isEmpty())
            id.lastName = value;
    }
    return id;
}

bool saveFilingIdentity(const FilingIdentity& id, const QString& file, QString* error) {
    auto clean = [](QString s) { return s.remove(u'\n').remove(u'\r').trimmed(); };
    const QString text = QStringLiteral("c_ufo=%1\nc_pracufo=%2\nc_okec=%3\ntyp_ds=%4\njmeno=%5\nprijmeni=%6\n")
                             .arg(clean(id.taxOffice), clean(id.workplace), clean(id.activityCode), clean(id.personType),
                                  clean(id.firstName), clean(id.lastName));
    return writeCp1250File(file, text, error);
}

} // namespace kelvarn
