#include "documents/document_save.h"

#include "core/message_catalogue.h"
#include "core/money.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/number_series.h"
#include "documents/amount_limits.h"
#include "documents/document_row.h"
#include "documents/kind_selector.h"

#include <QDateTime>

namespace kelvarn {

namespace {

const QString kIssue = QStringLiteral("datum_vystaveni");
const QString kDue = QStringLiteral("datum_spatnosti");
const QString kSupply = QStringLiteral("datum_zdanitelne_plneni");
const QString kClaim = QStringLiteral("datum_uplatneni_plneni");
const QString kNumber = QStringLiteral("cislo_dokladu");

// A changed date loses its time of day. True when the date is set and changed.
bool cutIfChanged(Dataset& ds, const QString& column) {
    if (ds.isNull(column) || !changedFromStored(ds, column))
        return false;
    ds.setValue(column, QDateTime(ds.asDateTime(column).date(), QTime(0, 0)));
    return true;
}

bool clearedNow(const Dataset& ds, const QString& column) {
    return ds.isNull(column) && !ds.oldValue(column).isNull();
}

void copyDate(Dataset& ds, const QString& from, const QString& to) {
    if (ds.isNull(from))
        ds.setNull(to);
    else
        ds.setValue(to, ds.value(from));
}

// Typed amounts and percentages a document can hold; the first that does not fit
// is named to the user.
bool typedValuesFit(const Dataset& ds, Prompts& prompts) {
    QStringList amounts;
    for (int s = 0; s < 3; ++s)
        amounts << netColumn(s) << vatColumn(s) << grossColumn(s);
    amounts << QStringLiteral("celkem_doklad") << QStringLiteral("celkem_doklad_dph")
            << QStringLiteral("celkem_doklad_s_dph") << QStringLiteral("zbyva_uhradit");
    for (const QString& column : std::as_const(amounts)) {
        const std::optional<double> v = optionalNumber(ds, column);
        if (v && !amountFits(*v)) {
            showFieldProblem(prompts, {column, amountTooLargeReason()});
            return false;
        }
    }
    const std::optional<double> rate = optionalNumber(ds, QStringLiteral("kurz"));
    if (rate && (!amountFits(*rate) || *rate < 0)) {
        showFieldProblem(prompts,
                         {QStringLiteral("kurz"),
                          QStringLiteral("nesmí být záporná a musí být menší než 100 000 000 000.")});
        return false;
    }
    for (const QString& column : {QStringLiteral("doklad_dsazba5"), QStringLiteral("doklad_dsazba19")}) {
        const std::optional<double> v = optionalNumber(ds, column);
        if (v && !percentFits(*v)) {
            showFieldProblem(prompts, {column, percentOutOfRangeReason()});
            return false;
        }
    }
    return true;
}

void showSeriesExhausted(Prompts& prompts, const QString& key, const QString& serial) {
    prompts.message(
        QStringLiteral("Číselná řada"),
        QStringLiteral("Číselná řada \"%1\" dospěla k číslu %2. Pořadové číslo dokladu má nejvýše "
                       "%3 číslic (jinak by se číslo dokladu a variabilní symbol nevešly do svých polí), "
                       "proto doklad nebyl uložen. Prosím spusťte QueryAnalyzer, zadejte "
                       "\"SELECT * from tbl_rady;\" a příslušnou řadu opravte.")
            .arg(key, serial)
            .arg(kSerialDigits),
        MessageStyle::Warning);
}

// Draws the serial inside the post's transaction. Nothing when the post must stop.
std::optional<QString> drawSerial(Dataset& ds, DbContext& db, const QString& key) {
    ds.beginPostTransaction();
    const std::optional<QString> serial = nextNumber(db, key);
    if (!serial)
        return std::nullopt;
    if (serial->size() > kSerialDigits) {
        showSeriesExhausted(db.prompts(), key, *serial);
        return std::nullopt;
    }
    return serial;
}

void roundRateOfExchange(Dataset& ds) {
    const QString column = QStringLiteral("kurz");
    if (ds.isNull(column) || changedFromStored(ds, column))
        ds.setValue(column, roundPlaces(ds.asFloat(column), 6));
}

bool numberRequired(const Dataset& ds, DbContext& db) {
    if (!ds.asString(kNumber).trimmed().isEmpty())
        return true;
    showMessageCode(db.prompts(), db.state(), 19, QStringLiteral("Číslo dokladu"));
    return false;
}

bool saveInvoice(Dataset& ds, DocumentType type, const SaveSource& src) {
    DbContext& db = src.db;
    const bool issued = type == DocumentType::Issued;
    const bool inserting = ds.state() == Dataset::State::Insert;
    db.preparePost(ds, false);

    cutIfChanged(ds, kIssue);
    cutIfChanged(ds, kDue);
    const bool supplyChanged = cutIfChanged(ds, kSupply);
    if (issued) {
        // The VAT is claimed when the supply is taxed.
        if (supplyChanged)
            ds.setValue(kClaim, ds.value(kSupply));
        else if (clearedNow(ds, kSupply))
            ds.setNull(kClaim);
    } else {
        cutIfChanged(ds, kClaim);
    }

    if (!typedValuesFit(ds, db.prompts()))
        return false;
    const DocumentRates rates = resolveRates(optionalNumber(ds, QStringLiteral("doklad_dsazba5")),
                                             optionalNumber(ds, QStringLiteral("doklad_dsazba19")),
                                             db.state().vatReduced, db.state().vatBasic);
    const HeaderDerivation derivation = deriveHeader(readHeaderFields(ds), rates);
    if (!headerTotalsFit(derivation.totals, db.prompts()))
        return false;

    if (!db.confirmSave())
        return false;
    if (!inserting && !numberRequired(ds, db))
        return false;
    db.preparePost(ds, inserting);
    db.stampRow(ds);

    if (inserting) {
        const bool payer = src.entrepreneur.isVatPayer();
        int index = src.selector ? src.selector->index() : 0;
        if (index != effectiveKindIndex(index)) {
            index = effectiveKindIndex(index);
            if (src.selector)
                src.selector->setIndex(index);
        }
        const QString prefix = kindPrefix(type, index);
        int year = numberYear(payer, optionalDate(ds, kSupply), optionalDate(ds, kIssue), src.today);
        if (!issued && prefix == QLatin1String("ZLP")) {
            // A deposit received is no taxable supply: it belongs to no VAT list.
            ds.setNull(kSupply);
            ds.setNull(kClaim);
            year = numberYear(false, std::nullopt, optionalDate(ds, kIssue), src.today);
        }
        const QString key = prefix + QLatin1Char('-') + QString::number(year);
        const std::optional<QString> serial = drawSerial(ds, db, key);
        if (!serial)
            return false;
        if (issued && kindMakesVariableSymbol(type, index))
            ds.setValue(QStringLiteral("variabilni_symbol"), variableSymbol(index, year, *serial));
        ds.setValue(kNumber, key + QLatin1Char('-') + *serial);
        if (issued)
            copyDate(ds, kSupply, kClaim);
    }

    roundRateOfExchange(ds);
    writeHeaderTotals(ds, derivation.totals);
    return true;
}

bool saveVoucher(Dataset& ds, DocumentType type, const SaveSource& src) {
    DbContext& db = src.db;
    const bool inserting = ds.state() == Dataset::State::Insert;
    db.preparePost(ds, false);

    // A voucher is paid when it is issued.
    if (cutIfChanged(ds, kIssue))
        ds.setValue(kDue, ds.value(kIssue));
    else if (clearedNow(ds, kIssue))
        ds.setNull(kDue);

    if (!typedValuesFit(ds, db.prompts()))
        return false;
    const HeaderTotals totals = roundVoucher(readHeaderFields(ds));

    if (!db.confirmSave())
        return false;
    if (!inserting && !numberRequired(ds, db))
        return false;
    db.preparePost(ds, inserting);
    db.stampRow(ds);

    if (inserting) {
        const int year = numberYear(false, std::nullopt, optionalDate(ds, kIssue), src.today);
        const QString key = kindPrefix(type, 0) + QLatin1Char('-') + QString::number(year);
        const std::optional<QString> serial = drawSerial(ds, db, key);
        if (!serial)
            return false;
        ds.setValue(kNumber, key + QLatin1Char('-') + *serial);
        copyDate(ds, kIssue, kDue);
    }

    roundRateOfExchange(ds);
    writeHeaderTotals(ds, totals);
    return true;
}

} // namespace

bool saveDocument(Dataset& document, DocumentType type, const SaveSource& source) {
    if (type == DocumentType::Issued || type == DocumentType::Received)
        return saveInvoice(document, type, source);
    return saveVoucher(document, type, source);
}

} // namespace kelvarn
