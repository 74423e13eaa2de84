#include "exchange/gpc_reader.h"

#include "core/text_file.h"

#include <QStringList>

namespace kelvarn {

namespace {

// GPC knows numeric currency codes (ISO 4217 with a leading zero) in its items.
QString currencyFromCode(const QString& code) {
    const int n = code.toInt();
    switch (n) {
    case 203: return QStringLiteral("CZK");
    case 978: return QStringLiteral("EUR");
    case 840: return QStringLiteral("USD");
    case 826: return QStringLiteral("GBP");
    case 756: return QStringLiteral("CHF");
    case 985: return QStringLiteral("PLN");
    case 348: return QStringLiteral("HUF");
    default: return {};
    }
}

class LineReader {
  public:
    LineReader(const QString& text, int lineNumber) : text_(text), line_(lineNumber) {}

    // Columns as the format counts them: 1-based, inclusive.
    QString field(int from, int to) const { return text_.mid(from - 1, to - from + 1); }

    bool digits(int from, int to, qint64& value, const QString& what, QString& error) const {
        const QString f = field(from, to);
        if (f.size() != to - from + 1) {
            error = message(QStringLiteral("je příliš krátký (chybí %1)").arg(what));
            return false;
        }
        for (QChar c : f) {
            if (c < u'0' || c > u'9') {
                error = message(QStringLiteral("má v poli %1 jiné znaky než číslice").arg(what));
                return false;
            }
        }
        value = f.toLongLong();
        return true;
    }

    bool date(int from, QDate& value, const QString& what, QString& error, bool optional) const {
        const QString f = field(from, from + 5);
        if (optional && (f.trimmed().isEmpty() || f == QLatin1String("000000"))) {
            value = {};
            return true;
        }
        qint64 dummy = 0;
        if (!digits(from, from + 5, dummy, what, error))
            return false;
        const int day = f.left(2).toInt(), month = f.mid(2, 2).toInt(), year = 2000 + f.mid(4, 2).toInt();
        value = QDate(year, month, day);
        if (!value.isValid()) {
            error = message(QStringLiteral("má neplatné datum v poli %1 (%2)").arg(what, f));
            return false;
        }
        return true;
    }

    bool sign(int at, qint64& value, const QString& what, QString& error) const {
        const QString f = field(at, at);
        if (f == QLatin1String("-"))
            value = -value;
        else if (f != QLatin1String("+") && f != QLatin1String("0") && f != QLatin1String(" ")) {
            error = message(QStringLiteral("má neplatné znaménko v poli %1").arg(what));
            return false;
        }
        return true;
    }

    QString message(const QString& what) const {
        return QStringLiteral("Řádek %1 výpisu GPC %2.").arg(line_).arg(what);
    }

  private:
    const QString& text_;
    int line_;
};

QString printable(const QString& s) {
    QString out;
    for (QChar c : s)
        out += c.isPrint() ? c : QChar(u'?');
    return out;
}

QString symbol(const QString& field) {
    QString s = field.trimmed();
    qsizetype i = 0;
    while (i < s.size() && s[i] == u'0')
        ++i;
    return s.mid(i);
}

QString accountText(const QString& digits16, const QString& bank) {
    const QString prefix = symbol(digits16.left(6));
    const QString number = symbol(digits16.mid(6));
    if (number.isEmpty() && prefix.isEmpty())
        return {};
    QString s = prefix.isEmpty() ? number : prefix + u'-' + number;
    if (!bank.isEmpty() && bank != QLatin1String("0000"))
        s += u'/' + bank;
    return s;
}

} // namespace

StatementReadResult readGpcStatement(const QByteArray& bytes) {
    StatementReadResult result;
    BankStatement& st = result.statement;
    st.format = QStringLiteral("GPC");
    const QString text = fromCp1250(bytes);
    const QStringList lines = text.split(u'\n');

    qint64 debitTurnover = 0, creditTurnover = 0, blockOpening = 0, blockClosing = 0;
    // Banks post a reversal either against its own side (a negative amount there) or
    // on the opposite side; the turnovers may follow either habit.
    qint64 ownSideDebits = 0, ownSideCredits = 0, otherSideDebits = 0, otherSideCredits = 0;
    bool inBlock = false;
    int blocks = 0;
    auto closeBlock = [&](int lineNumber, QString& error) {
        if (!inBlock)
            return true;
        const bool ownSide = ownSideDebits == debitTurnover && ownSideCredits == creditTurnover;
        const bool otherSide = otherSideDebits == debitTurnover && otherSideCredits == creditTurnover;
        if (!ownSide && !otherSide) {
            error = QStringLiteral("Výpis GPC před řádkem %1: součet položek (příjmy %2, výdaje %3 haléřů) "
                                   "nesouhlasí s obraty v hlavičce (%4, %5).")
                        .arg(lineNumber)
                        .arg(ownSideCredits)
                        .arg(ownSideDebits)
                        .arg(creditTurnover)
                        .arg(debitTurnover);
            return false;
        }
        if (blockOpening + ownSideCredits - ownSideDebits != blockClosing) {
            error = QStringLiteral("Výpis GPC před řádkem %1: nový zůstatek nesouhlasí se starým zůstatkem a "
                                   "obraty.")
                        .arg(lineNumber);
            return false;
        }
        return true;
    };

    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        LineReader r(line, lineNumber);
        const QString kind = line.left(3);
        QString& error = result.error;
        if (kind == QLatin1String("074")) {
            if (line.size() < 114) {
                error = r.message(QStringLiteral("(hlavička 074) je příliš krátký: %1 znaků místo 128").arg(line.size()));
                return result;
            }
            if (!closeBlock(lineNumber, error))
                return result;
            qint64 account = 0, opening = 0, closing = 0, debit = 0, credit = 0, seq = 0;
            QDate oldDate, date;
            if (!r.digits(4, 19, account, QStringLiteral("číslo účtu"), error) ||
                !r.date(40, oldDate, QStringLiteral("datum starého zůstatku"), error, true) ||
                !r.digits(46, 59, opening, QStringLiteral("starý zůstatek"), error) ||
                !r.sign(60, opening, QStringLiteral("znaménko starého zůstatku"), error) ||
                !r.digits(61, 74, closing, QStringLiteral("nový zůstatek"), error) ||
                !r.sign(75, closing, QStringLiteral("znaménko nového zůstatku"), error) ||
                !r.digits(76, 89, debit, QStringLiteral("obrat debet"), error) ||
                !r.sign(90, debit, QStringLiteral("znaménko obratu debet"), error) ||
                !r.digits(91, 104, credit, QStringLiteral("obrat kredit"), error) ||
                !r.sign(105, credit, QStringLiteral("znaménko obratu kredit"), error) ||
                !r.digits(106, 108, seq, QStringLiteral("pořadové číslo výpisu"), error) ||
                !r.date(109, date, QStringLiteral("datum výpisu"), error, false))
                return result;
            const QString digits = r.field(4, 19);
            if (blocks > 0 && digits != st.accountDigits) {
                error = r.message(QStringLiteral("začíná výpis jiného účtu (%1) než předchozí (%2)")
                                      .arg(accountText(digits, {}), accountText(st.accountDigits, {})));
                return result;
            }
            if (blocks == 0) {
                st.accountDigits = digits;
                st.accountName = r.field(20, 39).trimmed();
                st.openingCents = opening;
                st.number = QString::number(seq);
            }
            st.closingCents = closing;
            st.date = date;
            // A debit turnover written with a minus sign is still a turnover.
            debitTurnover = qAbs(debit);
            creditTurnover = qAbs(credit);
            blockOpening = opening;
            blockClosing = closing;
            ownSideDebits = ownSideCredits = otherSideDebits = otherSideCredits = 0;
            inBlock = true;
            ++blocks;
        } else if (kind == QLatin1String("075")) {
            if (!inBlock) {
                error = r.message(QStringLiteral("obsahuje položku 075 před hlavičkou 074"));
                return result;
            }
            if (line.size() < 97) {
                error = r.message(QStringLiteral("(položka 075) je příliš krátký: %1 znaků místo 128").arg(line.size()));
                return result;
            }
            StatementItem item;
            item.line = lineNumber;
            qint64 own = 0, counter = 0, amount = 0, code = 0;
            if (!r.digits(4, 19, own, QStringLiteral("číslo účtu"), error) ||
                !r.digits(20, 35, counter, QStringLiteral("protiúčet"), error) ||
                !r.digits(49, 60, amount, QStringLiteral("částka"), error) ||
                !r.digits(61, 61, code, QStringLiteral("kód účtování"), error) ||
                !r.date(92, item.date, QStringLiteral("datum valuty"), error, true))
                return result;
            if (r.field(4, 19) != st.accountDigits) {
                error = r.message(QStringLiteral("patří k jinému účtu než hlavička výpisu"));
                return result;
            }
            switch (code) {
            case 1: item.credit = false; break;
            case 2: item.credit = true; break;
            case 4: item.credit = false; item.reversal = true; break;
            case 5: item.credit = true; item.reversal = true; break;
            default:
                error = r.message(QStringLiteral("má neznámý kód účtování %1 (známé jsou 1, 2, 4 a 5)").arg(code));
                return result;
            }
            // Constant-symbol field: the counter-account's bank code, then the symbol.
            const QString ksField = r.field(72, 81);
            const QString bank = ksField.mid(2, 4);
            item.constantSymbol = symbol(ksField.mid(6, 4));
            item.counterAccount = accountText(r.field(20, 35), bank.trimmed());
            item.transactionId = r.field(36, 48).trimmed();
            item.amountCents = amount;
            item.variableSymbol = symbol(r.field(62, 71));
            item.specificSymbol = symbol(r.field(82, 91));
            item.counterName = r.field(98, 117).trimmed();
            if (line.size() >= 122) {
                const QString currency = currencyFromCode(r.field(119, 122));
                if (!currency.isEmpty()) {
                    if (!st.currency.isEmpty() && st.currency != currency) {
                        error = r.message(QStringLiteral("je v jiné měně (%1) než předchozí položky (%2)")
                                              .arg(currency, st.currency));
                        return result;
                    }
                    st.currency = currency;
                }
            }
            if (!item.date.isValid())
                item.date = st.date;
            // Reversals are posted against the turnover of their own side.
            (item.credit ? ownSideCredits : ownSideDebits) += item.reversal ? -amount : amount;
            if (item.reversal)
                (item.credit ? otherSideDebits : otherSideCredits) += amount;
            else
                (item.credit ? otherSideCredits : otherSideDebits) += amount;
            st.items.push_back(item);
        } else if (kind == QLatin1String("076") || kind == QLatin1String("078") ||
                   kind == QLatin1String("079")) {
            if (st.items.empty() || !inBlock) {
                error = r.message(QStringLiteral("obsahuje doplňující řádek %1 bez předchozí položky 075").arg(kind));
                return result;
            }
            StatementItem& item = st.items.back();
            QString extra;
            if (kind == QLatin1String("076")) {
                // Transaction id, booking date and the counter-party's name.
                extra = line.mid(35).trimmed();
                if (item.counterName.isEmpty())
                    item.counterName = extra;
                continue;
            }
            // Two 35-character message fields each.
            extra = (line.mid(3, 35).trimmed() + u' ' + line.mid(38, 35).trimmed()).trimmed();
            if (!extra.isEmpty())
                item.message = item.message.isEmpty() ? extra : item.message + u' ' + extra;
        } else {
            error = r.message(QStringLiteral("má neznámý typ „%1“ (očekává se 074, 075, 076, 078 nebo 079)")
                                  .arg(printable(kind)));
            return result;
        }
    }
    if (blocks == 0) {
        result.error = QStringLiteral("Soubor není výpis ve formátu GPC: chybí hlavička 074.");
        return result;
    }
    if (!closeBlock(lines.size() + 1, result.error))
        return result;
    result.ok = true;
    return result;
}

} // namespace kelvarn
