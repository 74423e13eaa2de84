#include "documents/document_commands.h"

#include "core/formatting.h"
#include "core/message_catalogue.h"
#include "core/money.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "documents/amount_in_words.h"
#include "documents/document_row.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QStringList>

#include <cmath>

namespace kelvarn {

namespace {

void showStrayRates(Prompts& prompts, const std::vector<double>& stray, DocumentRates rates) {
    QStringList listed;
    for (double r : stray)
        listed << formatGeneral(r) + QStringLiteral(" %");
    prompts.message(
        QStringLiteral("Sazby DPH položek"),
        QStringLiteral("Položky se sazbou DPH %1 nepatří k žádné sazbě dokladu (0 %, %2 % a %3 %), "
                       "a do součtů dokladu by se proto nedostaly. Opravte sazbu DPH u těchto položek "
                       "nebo sazby dokladu. Hlavička dokladu nebyla změněna.")
            .arg(listed.join(QStringLiteral(", ")), formatGeneral(rates.reduced), formatGeneral(rates.basic)),
        MessageStyle::Warning);
}

void showNoWords(Prompts& prompts, const QString& why) {
    prompts.message(QStringLiteral("Částka slovy"), why, MessageStyle::Warning);
}

// Posts on the user's behalf after the command's own question. A refused or
// failed save leaves the row as stored.
bool postWithoutQuestion(Dataset& ds, DbContext& db) {
    db.skipNextConfirmation();
    try {
        const bool saved = ds.post();
        db.resetSkipConfirmation();
        if (!saved)
            ds.cancel();
        return saved;
    } catch (...) {
        db.resetSkipConfirmation();
        ds.cancel();
        throw;
    }
}

QString documentText(const Dataset& ds, const char* column) {
    return ds.asString(QLatin1String(column));
}

} // namespace

LineSummary readLineSummary(DbContext& db, qint64 documentId, DocumentRates rates) {
    const QString id = QString::number(documentId);
    double deposits = 0;
    {
        QSqlQuery q = db.session().query(db.composeStatement(
            QStringLiteral("SELECT sum(cena_celkem_s_dph) As sumcelkem FROM tbl_polozky"), {},
            QStringLiteral("(UPPER(kod_zbozi) LIKE '#ZAL%' AND id_tbl_doklad=") + id + QStringLiteral(")"),
            {}));
        if (q.next())
            deposits = q.value(0).toDouble();
    }
    std::vector<RateGroup> groups;
    QSqlQuery q = db.session().query(db.composeStatement(
        QStringLiteral("SELECT dph, sum(cena_celkem_bez_dph) As sumcelkem, sum(dph_celkem) As sumdph, "
                       "sum(cena_celkem_s_dph) As sumcelkemsdph FROM tbl_polozky"),
        {},
        QStringLiteral("((kod_zbozi IS NULL OR UPPER(kod_zbozi) NOT LIKE '#ZAL%') AND id_tbl_doklad=") + id +
            QStringLiteral(") GROUP BY dph"),
        {}));
    while (q.next()) {
        RateGroup g;
        if (!q.value(0).isNull())
            g.rate = q.value(0).toDouble();
        g.net = q.value(1).toDouble();
        groups.push_back(g);
    }
    return summarizeLines(groups, deposits, rates);
}

bool sumDocumentLines(Dataset& issued, Dataset& items, DbContext& db, const EntrepreneurNow& entrepreneur,
                      Summing mode) {
    if (!issued.isActive() || issued.isEmpty())
        return false;
    if (issued.isEditing() || items.isEditing()) {
        showMessageCode(db.prompts(), db.state(), 4);
        return false;
    }
    if (showMessageCode(db.prompts(), db.state(), mode == Summing::Plain ? 10 : 11) != Answer::Yes)
        return false;
    const QVariant id = issued.value(QStringLiteral("id"));
    if (id.isNull())
        return false;

    const DocumentRates rates = resolveRates(optionalNumber(issued, QStringLiteral("doklad_dsazba5")),
                                             optionalNumber(issued, QStringLiteral("doklad_dsazba19")),
                                             db.state().vatReduced, db.state().vatBasic);
    const LineSummary summary = readLineSummary(db, id.toLongLong(), rates);
    if (!summary.strayRates.empty()) {
        showStrayRates(db.prompts(), summary.strayRates, rates);
        return false;
    }
    const HeaderTotals totals =
        mode == Summing::Plain
            ? sumWithoutRounding(summary, rates)
            : sumWithCashRounding(summary, rates, cashStepOf(entrepreneur.text(QStringLiteral("kod_haler"))));
    if (!headerTotalsFit(totals, db.prompts()))
        return false;

    issued.edit();
    try {
        writeHeaderTotals(issued, totals);
    } catch (...) {
        issued.cancel();
        throw;
    }
    return postWithoutQuestion(issued, db);
}

bool writeAmountInWords(Dataset& voucher, DbContext& db) {
    if (!voucher.isActive() || voucher.isEmpty())
        return false;
    const double gross = voucher.asFloat(QStringLiteral("celkem_doklad_s_dph"));
    const double whole = std::trunc(gross);
    const std::optional<QString> words = std::fabs(whole) <= static_cast<double>(kLargestAmountInWords)
                                             ? amountInWords(static_cast<qint64>(whole))
                                             : std::nullopt;
    if (!words) {
        showNoWords(db.prompts(),
                    QStringLiteral("Částka je příliš velká, než aby ji bylo možné zapsat slovy."));
        return false;
    }
    const QString column = QStringLiteral("poznamka");
    const QString text = *words + QStringLiteral("===");
    const int c = voucher.columnIndex(column);
    const int size = c >= 0 ? voucher.column(c).size : -1;
    if (size > 0 && text.size() > size) {
        showNoWords(db.prompts(), QStringLiteral("Částka slovy by byla delší než %1 znaků, které pole "
                                                 "\"Částka slovy\" pojme. Vyplňte je prosím ručně.")
                                      .arg(size));
        return false;
    }
    const bool atRest = !voucher.isEditing();
    if (atRest)
        voucher.edit();
    voucher.setValue(column, text);
    if (atRest)
        return postWithoutQuestion(voucher, db);
    return true;
}

bool offerReceiptVoucher(Dataset& receipt, Dataset& issued, Dataset& items, DbContext& db,
                         const QDate& today) {
    if (!issued.isActive() || issued.state() != Dataset::State::Browse || issued.isEmpty() ||
        items.isEditing())
        return false;
    const QString number = documentText(issued, "cislo_dokladu");
    if (!number.startsWith(QLatin1String("FAV")))
        return false;
    const QString id = documentText(issued, "id");
    const QString remainingText =
        db.lookupValue(QStringLiteral("tbl_doklad"), QStringLiteral("zbyva_uhradit"), id);
    // Without a stored remaining amount there is nothing to offer.
    if (remainingText.isEmpty())
        return false;
    const QString question = number + QStringLiteral(" (k úhradě ") + remainingText + QLatin1Char(' ') +
                             documentText(issued, "mena") + QLatin1Char(')');
    if (showMessageCode(db.prompts(), db.state(), 13, question) != Answer::Yes)
        return false;
    double remaining = 0;
    if (!parseNumber(db.lookupValue(QStringLiteral("tbl_doklad"), QStringLiteral("zbyva_uhradit"), id),
                     remaining))
        return false;

    receipt.setValue(QStringLiteral("celkem_doklad_s_dph"), roundPlaces(remaining, 2));
    for (const char* column : {"odb_nazev_firmy", "odb_nazev_upresneni", "odb_ulice", "odb_mesto", "odb_psc",
                               "odb_ic", "odb_dic", "odb_kontakt", "mena"}) {
        const QString value = documentText(issued, column);
        if (!value.isEmpty())
            receipt.setValue(QLatin1String(column), value);
    }
    receipt.setValue(QStringLiteral("kurz"), issued.value(QStringLiteral("kurz")));
    receipt.setValue(QStringLiteral("datum_vystaveni"), QDateTime(today, QTime(0, 0)));
    receipt.setValue(QStringLiteral("poznamka2"), QStringLiteral("Úhrada faktury č. ") +
                                                      documentText(issued, "variabilni_symbol") +
                                                      QStringLiteral(" (") + number + QLatin1Char(')'));
    writeAmountInWords(receipt, db);
    return true;
}

} // namespace kelvarn
