#include "app/date_entry.h"

#include "core/formatting.h"
#include "db/dataset.h"

#include <QDateTime>
#include <QStringList>

namespace kelvarn {
namespace {

struct DateFields {
    const char* dataset;
    const char* keyColumn;
    QStringList columns;
};

const std::vector<DateFields>& dateFields() {
    static const std::vector<DateFields> fields = {
        {"ADOFormFAV",
         "cislo_dokladu",
         {QStringLiteral("datum_vystaveni"), QStringLiteral("datum_spatnosti"),
          QStringLiteral("datum_zdanitelne_plneni")}},
        {"ADOFormFAP",
         "cislo_dokladu",
         {QStringLiteral("datum_vystaveni"), QStringLiteral("datum_spatnosti"),
          QStringLiteral("datum_zdanitelne_plneni"), QStringLiteral("datum_uplatneni_plneni")}},
        {"ADOFormPPD", "cislo_dokladu", {QStringLiteral("datum_vystaveni")}},
        {"ADOFormVPD", "cislo_dokladu", {QStringLiteral("datum_vystaveni")}},
        {"ADOFormMajetek", "id", {QStringLiteral("datum_zarazeni"), QStringLiteral("datum_vyrazeni")}},
        {"ADOFormZakazky",
         "id",
         {QStringLiteral("datum_ukonceni"), QStringLiteral("datum_fakturace"),
          QStringLiteral("datum_zaevidovani"), QStringLiteral("datum_pozadovane")}},
    };
    return fields;
}

const DateFields* findFields(const QString& datasetName) {
    for (const DateFields& f : dateFields())
        if (datasetName.compare(QLatin1String(f.dataset), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QString notADate(const QString& text) {
    return QStringLiteral("'%1' není platné datum.").arg(text);
}

bool hasCurrentRecord(const Dataset& dataset) {
    if (!dataset.isActive() || dataset.currentRow() < 0)
        return false;
    const QString key = recordKeyColumn(dataset.name());
    return dataset.hasColumn(key) && !dataset.asString(key).isEmpty();
}

} // namespace

bool isChooserDateField(const QString& datasetName, const QString& column) {
    const DateFields* f = findFields(datasetName);
    return f && f->columns.contains(column, Qt::CaseInsensitive);
}

QString recordKeyColumn(const QString& datasetName) {
    const DateFields* f = findFields(datasetName);
    return f ? QLatin1String(f->keyColumn) : QStringLiteral("id");
}

QString pickDate(const QString& current, const DateChooser& choose, const QDate& today) {
    // The field may show a time as well; the chooser only deals in days.
    QDateTime initial(today, QTime(0, 0));
    if (!current.isEmpty() && !parseDateTime(current, initial))
        throw DateTextError(notADate(current));
    const std::optional<QDate> chosen = choose(initial.date());
    if (!chosen || !chosen->isValid())
        return {};
    const QString text = formatDateTime(QDateTime(*chosen, QTime(0, 0)));
    return text == current ? QString() : text;
}

DateFieldOutcome editDateField(Dataset& dataset, const QString& column, const QString& fieldText,
                               const DateChooser& choose, const QDate& today) {
    if (!isChooserDateField(dataset.name(), column))
        return DateFieldOutcome::NotServed;
    // A closed dataset has no columns yet, which is no reason to call the field foreign.
    if (dataset.isActive() && !dataset.hasColumn(column))
        return DateFieldOutcome::NotServed;
    bool startedEdit = false;
    if (!dataset.isEditing()) {
        // Dataset::edit() would refuse with an error; for a double click there is
        // simply nothing to edit.
        if (!hasCurrentRecord(dataset) || dataset.isReadOnly())
            return DateFieldOutcome::NoRecord;
        dataset.edit();
        startedEdit = true;
    }
    try {
        const QString chosen = pickDate(fieldText, choose, today);
        if (!chosen.isEmpty()) {
            dataset.setValue(column, chosen);
            return DateFieldOutcome::Written;
        }
    } catch (...) {
        if (startedEdit)
            dataset.cancel();
        throw;
    }
    if (startedEdit)
        dataset.cancel();
    return DateFieldOutcome::Unchanged;
}

ThreeMonths threeMonthsAround(const QDate& today) {
    const int month = today.month();
    const int year = today.year();
    // Built from the numbers, not from a day-month-year text, so that every locale
    // gets the right months.
    ThreeMonths m;
    m.previous = month == 1 ? QDate(year - 1, 12, 1) : QDate(year, month - 1, 1);
    m.current = today;
    m.next = month == 12 ? QDate(year + 1, 1, 1) : QDate(year, month + 1, 1);
    return m;
}

} // namespace kelvarn
