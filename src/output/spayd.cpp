#include "output/spayd.h"

#include "core/money.h"

namespace kelvarn {

QString latin1Text(const QString& text) {
    // Letters lose their accents (ř → r, á → a): the format allows ISO-8859-1 only, and
    // a name half with and half without accents reads worse than one without any.
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar ch : decomposed) {
        if (ch.category() == QChar::Mark_NonSpacing)
            continue;
        if (ch.unicode() < 0x80)
            out += ch;
        else if (ch.category() == QChar::Punctuation_Dash)
            out += u'-';
        else if (ch.isSpace())
            out += u' ';
        else if (ch.unicode() <= 0xFF && ch.isPrint())
            out += ch;
        else
            out += u'?';
    }
    return out;
}

QString escapeSpaydValue(const QString& value, int maxLength) {
    QString out;
    out.reserve(value.size());
    for (const QChar ch : latin1Text(value).trimmed()) {
        const QString piece =
            ch == u'*' ? QStringLiteral("%2A") : QString(ch.category() == QChar::Other_Control ? u' ' : ch);
        if (maxLength >= 0 && out.size() + piece.size() > maxLength)
            break;
        out += piece;
    }
    return out.trimmed();
}

namespace {

QString amountText(double amount) {
    const double rounded = roundPlaces(amount, 2);
    if (!(rounded > 0))
        return {};
    const QString text = QString::number(rounded, 'f', 2);
    return text.size() <= spayd::kMaxAmountLength ? text : QString();
}

bool isVariableSymbol(const QString& text) {
    if (text.isEmpty() || text.size() > spayd::kMaxVariableSymbolLength)
        return false;
    for (const QChar ch : text)
        if (ch < u'0' || ch > u'9')
            return false;
    return true;
}

} // namespace

QString buildSpayd(const SpaydPayment& payment) {
    QString text = QStringLiteral("SPD*1.0");
    auto add = [&text](const char* key, const QString& value) {
        if (!value.isEmpty())
            text += u'*' + QLatin1String(key) + u':' + value;
    };
    add("ACC", escapeSpaydValue(payment.account));
    if (payment.amount)
        add("AM", amountText(*payment.amount));
    add("CC", escapeSpaydValue(payment.currency.toUpper(), 3));
    const QString symbol = payment.variableSymbol.trimmed();
    if (isVariableSymbol(symbol))
        add("X-VS", symbol);
    add("MSG", escapeSpaydValue(payment.message, spayd::kMaxMessageLength));
    if (payment.dueDate && payment.dueDate->isValid())
        add("DT", payment.dueDate->toString(QStringLiteral("yyyyMMdd")));
    add("RN", escapeSpaydValue(payment.recipientName, spayd::kMaxRecipientLength));
    return text;
}

} // namespace kelvarn
