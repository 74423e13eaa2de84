#pragma once

#include <QString>
#include <QStringList>

namespace kelvarn {

class DbContext;

// Who files: the entrepreneur record's data plus what the tax forms need that the
// database does not hold (tax office, workplace, CZ-NACE, the filer's name split
// into first and last name). The extra values are asked for once and remembered in
// a file beside the configuration.
struct FilingIdentity {
    QString dic;            // digits only
    QString taxOffice;      // c_ufo, three digits
    QString workplace;      // c_pracufo, four digits
    QString activityCode;   // c_okec (CZ-NACE), for the return
    QString personType = QStringLiteral("F"); // "F" natural person, "P" legal person
    QString firstName;
    QString lastName;
    QString companyName;    // legal persons
    QString street;
    QString city;
    QString postalCode;
    QString email;
    QString phone;

    // The remembered values that are still missing, by their Czech labels.
    QStringList missing(bool forReturn) const;
};

// The entrepreneur record (name, DIČ, address, contacts) with the remembered
// values from `file` laid over it.
FilingIdentity loadFilingIdentity(DbContext& db, const QString& file);

// Remembers the values the database does not hold (atomically, code page 1250).
bool saveFilingIdentity(const FilingIdentity& identity, const QString& file, QString* error = nullptr);

// Where the values are remembered: beside the configuration file.
QString filingIdentityFile(const QString& appDir);

} // namespace kelvarn
