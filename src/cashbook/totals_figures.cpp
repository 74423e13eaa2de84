#include "cashbook/totals_figures.h"

#include "core/formatting.h"

namespace kelvarn {

namespace {

// Groups of three digits from the right, separated by a space; the fifth group
// takes whatever digits are left.
QString groupDigits(const QString& digits) {
    QString out;
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        const int fromRight = n - i; // digits left including this one
        out += digits.at(i);
        const int after = fromRight - 1;
        if (after > 0 && after % 3 == 0 && after <= 12)
            out += u' ';
    }
    return out;
}

Figure figure(const QString& control, double value, const QString& separator) {
    return Figure{control, formatAmount(value, separator), isNegativeFigure(value)};
}

} // namespace

QString formatAmount(double value, const QString& decimalSeparator) {
    const QString separator = decimalSeparator.isEmpty() ? QStringLiteral(",") : decimalSeparator;
    const QString localeSeparator = LocaleConventions::current().decimalSeparator;
    QString general = formatGeneral(value);
    if (general.contains(u'e') || general.contains(u'E')) {
        // Beyond fifteen digits the general format turns to an exponent, which the
        // steps below would cut into a wrong small number; whole digits instead.
        general = formatGrouped(value, 2);
        if (localeSeparator != separator)
            general.replace(localeSeparator, separator);
        return general;
    }
    if (localeSeparator != separator)
        general.replace(localeSeparator, separator);

    QString integer = general;
    QString fraction = QStringLiteral("00");
    if (const qsizetype at = general.indexOf(separator); at >= 0) {
        integer = general.left(at);
        fraction = general.mid(at + separator.size(), 4);
        if (fraction.size() == 1)
            fraction += u'0';
    }
    const bool negative = integer.startsWith(u'-');
    if (negative)
        integer.remove(0, 1);
    return (negative ? QStringLiteral("-") : QString()) + groupDigits(integer) + separator + fraction;
}

bool isNegativeFigure(double value) {
    return formatGeneral(value).startsWith(u'-');
}

std::vector<Figure> cashBookFigures(const CashBookTotals& t, const QString& separator) {
    return {figure(QStringLiteral("Edit_prijem_danovy"), t.incomeTaxable, separator),
            figure(QStringLiteral("Edit_prijem_nedanovy"), t.incomeNonTaxable, separator),
            figure(QStringLiteral("Edit_vydaj_danovy"), t.expenseTaxable, separator),
            figure(QStringLiteral("Edit_vydaj_nedanovy"), t.expenseNonTaxable, separator),
            figure(QStringLiteral("Edit_zustatek"), t.balance, separator)};
}

std::vector<Figure> vatFigures(const VatTotals& t, bool output, const QString& separator) {
    const QString n = output ? QStringLiteral("2") : QStringLiteral("1");
    return {figure(QStringLiteral("Edit_zaklad5") + n, t.reducedBase, separator),
            figure(QStringLiteral("Edit_dph5") + n, t.reducedVat, separator),
            figure(QStringLiteral("Edit_zaklad19") + n, t.basicBase, separator),
            figure(QStringLiteral("Edit_dph19") + n, t.basicVat, separator),
            figure(QStringLiteral("Edit_zaklad0") + n, t.zeroBase, separator)};
}

std::vector<Figure> overviewFigures(const BusinessOverview& o, const QString& separator) {
    return {figure(QStringLiteral("Memo6"), o.payables, separator),
            figure(QStringLiteral("Memo7"), o.receivables, separator),
            figure(QStringLiteral("Memo8"), o.vat, separator),
            figure(QStringLiteral("Memo9"), o.taxBase, separator)};
}

} // namespace kelvarn
