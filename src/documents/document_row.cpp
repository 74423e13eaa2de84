#include "documents/document_row.h"

#include "core/prompts.h"
#include "db/dataset.h"
#include "documents/amount_limits.h"

#include <QHash>

namespace kelvarn {

namespace {

const char* const kSuffix[3] = {"0", "5", "19"};

} // namespace

QString netColumn(int slot) {
    return QStringLiteral("celkem_bez_dph_") + QLatin1String(kSuffix[slot]);
}

QString vatColumn(int slot) {
    return QStringLiteral("celkem_dph_") + QLatin1String(kSuffix[slot]);
}

QString grossColumn(int slot) {
    return QStringLiteral("celkem_s_dph_") + QLatin1String(kSuffix[slot]);
}

std::optional<double> optionalNumber(const Dataset& ds, const QString& column) {
    if (ds.isNull(column))
        return std::nullopt;
    return ds.asFloat(column);
}

std::optional<QDate> optionalDate(const Dataset& ds, const QString& column) {
    if (ds.isNull(column))
        return std::nullopt;
    const QDate date = ds.asDateTime(column).date();
    if (!date.isValid())
        return std::nullopt;
    return date;
}

bool changedFromStored(const Dataset& ds, const QString& column) {
    const QVariant now = ds.value(column);
    const QVariant stored = ds.oldValue(column);
    if (now.isNull() || stored.isNull())
        return now.isNull() != stored.isNull();
    return now != stored;
}

HeaderFields readHeaderFields(const Dataset& ds) {
    HeaderFields f;
    for (int s = 0; s < 3; ++s) {
        f.net[s] = optionalNumber(ds, netColumn(s));
        f.vat[s] = optionalNumber(ds, vatColumn(s));
        f.gross[s] = optionalNumber(ds, grossColumn(s));
    }
    f.totalNet = optionalNumber(ds, QStringLiteral("celkem_doklad"));
    f.totalVat = optionalNumber(ds, QStringLiteral("celkem_doklad_dph"));
    f.totalGross = optionalNumber(ds, QStringLiteral("celkem_doklad_s_dph"));
    f.remaining = optionalNumber(ds, QStringLiteral("zbyva_uhradit"));
    f.remainingChanged = changedFromStored(ds, QStringLiteral("zbyva_uhradit"));
    return f;
}

void writeHeaderTotals(Dataset& ds, const HeaderTotals& t, bool leaveRemaining) {
    for (int s = 0; s < 3; ++s)
        ds.setValue(netColumn(s), t.net[s]);
    for (int s = 0; s < 3; ++s)
        ds.setValue(vatColumn(s), t.vat[s]);
    for (int s = 0; s < 3; ++s)
        ds.setValue(grossColumn(s), t.gross[s]);
    ds.setValue(QStringLiteral("celkem_doklad"), t.totalNet);
    ds.setValue(QStringLiteral("celkem_doklad_dph"), t.totalVat);
    ds.setValue(QStringLiteral("celkem_doklad_s_dph"), t.totalGross);
    if (!leaveRemaining)
        ds.setValue(QStringLiteral("zbyva_uhradit"), t.remaining);
}

bool headerTotalsFit(const HeaderTotals& t, Prompts& prompts) {
    auto fits = [&](double v, const QString& column) {
        if (amountFits(v))
            return true;
        showFieldProblem(prompts, {column, amountTooLargeReason()});
        return false;
    };
    for (int s = 0; s < 3; ++s)
        if (!fits(t.net[s], netColumn(s)) || !fits(t.vat[s], vatColumn(s)) ||
            !fits(t.gross[s], grossColumn(s)))
            return false;
    return fits(t.totalNet, QStringLiteral("celkem_doklad")) &&
           fits(t.totalVat, QStringLiteral("celkem_doklad_dph")) &&
           fits(t.totalGross, QStringLiteral("celkem_doklad_s_dph")) &&
           fits(t.remaining, QStringLiteral("zbyva_uhradit"));
}

QString documentFieldCaption(const QString& column) {
    static const QHash<QString, QString> captions = [] {
        QHash<QString, QString> c;
        const char* const pairs[][2] = {
            {"celkem_bez_dph_0", "Základ daně (0%)"},
            {"celkem_dph_0", "Haléřové vyrovnání"},
            {"celkem_s_dph_0", "Celkem (0%)"},
            {"celkem_bez_dph_5", "Základ daně (snížená sazba)"},
            {"celkem_dph_5", "DPH (snížená sazba)"},
            {"celkem_s_dph_5", "Celkem s DPH (snížená sazba)"},
            {"celkem_bez_dph_19", "Základ daně (základní sazba)"},
            {"celkem_dph_19", "DPH (základní sazba)"},
            {"celkem_s_dph_19", "Celkem s DPH (základní sazba)"},
            {"celkem_doklad", "Celkem za doklad bez DPH"},
            {"celkem_doklad_dph", "Celkem DPH za doklad"},
            {"celkem_doklad_s_dph", "Celkem za doklad s DPH"},
            {"zbyva_uhradit", "Zbývá uhradit"},
            {"kurz", "Kurz"},
            {"doklad_dsazba5", "Snížená sazba DPH [%]"},
            {"doklad_dsazba19", "Základní sazba DPH [%]"},
            {"poznamka", "Částka slovy"},
            {"mnozstvi", "Množství"},
            {"sleva", "Sleva [%]"},
            {"cena_jednotka", "Cena za jednotku"},
            {"cena_celkem_bez_dph", "Cena celkem"},
            {"dph", "DPH [%]"},
            {"dph_celkem", "DPH celkem"},
            {"cena_celkem_s_dph", "Cena celkem s DPH"},
        };
        for (const auto& p : pairs)
            c.insert(QString::fromUtf8(p[0]), QString::fromUtf8(p[1]));
        return c;
    }();
    return captions.value(column, column);
}

void showFieldProblem(Prompts& prompts, const FieldProblem& problem) {
    prompts.message(QStringLiteral("Chybná hodnota"),
                    QStringLiteral("Hodnota v poli \"") + documentFieldCaption(problem.column) +
                        QStringLiteral("\" ") + problem.reason,
                    MessageStyle::Warning);
}

QString EntrepreneurNow::text(const QString& column) const {
    if (!ds_.isActive() || ds_.isEmpty() || !ds_.hasColumn(column))
        return {};
    return ds_.asString(column);
}

bool EntrepreneurNow::isVatPayer() const {
    return text(QStringLiteral("platce_dph")).toLower() == QLatin1String("ano");
}

int EntrepreneurNow::paymentTerm() const {
    if (!ds_.isActive() || ds_.isEmpty() || !ds_.hasColumn(QStringLiteral("splatnost_fa")))
        return 0;
    return static_cast<int>(ds_.asInteger(QStringLiteral("splatnost_fa")));
}

} // namespace kelvarn
