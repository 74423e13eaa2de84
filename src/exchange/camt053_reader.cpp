#include "exchange/camt053_reader.h"

#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

namespace kelvarn {

namespace {

const QString kNamespacePrefix = QStringLiteral("urn:iso:std:iso:20022:tech:xsd:camt.053.001.");

QString withoutLeadingZeros(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == u'0')
        ++i;
    return s.mid(i);
}

// A Czech payment symbol named by its tag in a reference text.
QString symbolIn(const QString& text, const QString& tag) {
    const QRegularExpression re(QStringLiteral("(?:^|[^A-Z])") + tag + QStringLiteral("[:/ ]?(\\d{1,10})(?!\\d)"));
    const auto m = re.match(text.toUpper());
    return m.hasMatch() ? withoutLeadingZeros(m.captured(1)) : QString();
}

QDate dateOf(const QString& text) {
    return QDate::fromString(text.left(10), Qt::ISODate);
}

struct EntryDraft {
    StatementItem item;
    QString status = QStringLiteral("BOOK");
    QString amountCurrency;
    QString creditorReference, endToEnd, instructionId;
    QString debtorName, creditorName, debtorAccount, creditorAccount;
    QStringList unstructured;
};

} // namespace

bool parseDecimalCents(const QString& text, qint64& cents) {
    static const QRegularExpression shape(QStringLiteral("^\\s*(-?)(\\d{1,15})(?:\\.(\\d{1,2}))?\\s*$"));
    const auto m = shape.match(text);
    if (!m.hasMatch())
        return false;
    const QString fraction = m.captured(3).leftJustified(2, u'0');
    cents = m.captured(2).toLongLong() * 100 + fraction.toLongLong();
    if (!m.captured(1).isEmpty())
        cents = -cents;
    return true;
}

StatementReadResult readCamt053Statement(const QByteArray& bytes) {
    StatementReadResult result;
    BankStatement& st = result.statement;
    st.format = QStringLiteral("camt.053");
    QXmlStreamReader xml(bytes);
    QStringList path;
    bool rootSeen = false, inStatement = false, statementDone = false;
    bool haveOpening = false, haveClosing = false;
    qint64 balanceCents = 0;
    QString balanceCode, balanceSign;
    EntryDraft entry;
    bool inEntry = false;
    qint64 sum = 0;

    auto fail = [&](const QString& why) {
        result.error = QStringLiteral("Řádek %1 výpisu camt.053: %2").arg(xml.lineNumber()).arg(why);
        return result;
    };

    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString();
            if (!rootSeen) {
                rootSeen = true;
                if (name != QLatin1String("Document") || !xml.namespaceUri().startsWith(kNamespacePrefix))
                    return fail(QStringLiteral("soubor není výpis camt.053 (kořen %1 v oboru názvů „%2“).")
                                    .arg(name, xml.namespaceUri().toString()));
            }
            path << name;
            if (name == QLatin1String("Stmt")) {
                if (statementDone) {
                    // Further statements of the file are left for another import.
                    xml.skipCurrentElement();
                    path.removeLast();
                    continue;
                }
                inStatement = true;
            } else if (inStatement && name == QLatin1String("Ntry") && path.size() == 4) {
                inEntry = true;
                entry = EntryDraft{};
                entry.item.line = static_cast<int>(xml.lineNumber());
            } else if (name == QLatin1String("Amt") && inEntry && path.size() == 5) {
                entry.amountCurrency = xml.attributes().value(QLatin1String("Ccy")).toString();
            } else if (name == QLatin1String("Amt") && inStatement && !inEntry &&
                       path.value(path.size() - 2) == QLatin1String("Bal")) {
                const QString ccy = xml.attributes().value(QLatin1String("Ccy")).toString();
                if (!st.currency.isEmpty() && !ccy.isEmpty() && ccy != st.currency)
                    return fail(QStringLiteral("zůstatek je v měně %1, účet v měně %2.").arg(ccy, st.currency));
            }
            continue;
        }
        if (xml.isCharacters() && !xml.isWhitespace() && inStatement) {
            const QString text = xml.text().toString().trimmed();
            const QString leaf = path.value(path.size() - 1);
            const QString parent = path.value(path.size() - 2);
            const QString joined = path.mid(2).join(u'/'); // below BkToCstmrStmt
            if (!inEntry) {
                if (joined == QLatin1String("Stmt/Id"))
                    st.number = text;
                else if (joined == QLatin1String("Stmt/CreDtTm"))
                    st.date = dateOf(text);
                else if (joined == QLatin1String("Stmt/Acct/Id/IBAN"))
                    st.iban = text;
                else if (joined == QLatin1String("Stmt/Acct/Id/Othr/Id"))
                    st.accountDigits = text;
                else if (joined == QLatin1String("Stmt/Acct/Ccy"))
                    st.currency = text;
                else if (joined == QLatin1String("Stmt/Acct/Nm") ||
                         (joined == QLatin1String("Stmt/Acct/Ownr/Nm") && st.accountName.isEmpty()))
                    st.accountName = text;
                else if (joined == QLatin1String("Stmt/Bal/Tp/CdOrPrtry/Cd"))
                    balanceCode = text;
                else if (joined == QLatin1String("Stmt/Bal/Amt")) {
                    if (!parseDecimalCents(text, balanceCents))
                        return fail(QStringLiteral("zůstatek „%1“ není částka.").arg(text));
                } else if (joined == QLatin1String("Stmt/Bal/CdtDbtInd"))
                    balanceSign = text;
                continue;
            }
            const QString inEntryPath = path.mid(4).join(u'/'); // below Ntry
            if (inEntryPath == QLatin1String("Amt")) {
                if (!parseDecimalCents(text, entry.item.amountCents) || entry.item.amountCents < 0)
                    return fail(QStringLiteral("částka položky „%1“ není kladné číslo s nejvýše dvěma "
                                               "desetinnými místy.")
                                    .arg(text));
            } else if (inEntryPath == QLatin1String("CdtDbtInd")) {
                if (text != QLatin1String("CRDT") && text != QLatin1String("DBIT"))
                    return fail(QStringLiteral("neznámý směr platby „%1“ (CRDT nebo DBIT).").arg(text));
                entry.item.credit = text == QLatin1String("CRDT");
            } else if (inEntryPath == QLatin1String("RvslInd")) {
                entry.item.reversal = text == QLatin1String("true") || text == QLatin1String("1");
            } else if (inEntryPath == QLatin1String("Sts") || inEntryPath == QLatin1String("Sts/Cd")) {
                entry.status = text;
            } else if (inEntryPath == QLatin1String("ValDt/Dt") || inEntryPath == QLatin1String("ValDt/DtTm")) {
                entry.item.date = dateOf(text);
            } else if ((inEntryPath == QLatin1String("BookgDt/Dt") ||
                        inEntryPath == QLatin1String("BookgDt/DtTm")) &&
                       !entry.item.date.isValid()) {
                entry.item.date = dateOf(text);
            } else if (inEntryPath == QLatin1String("AcctSvcrRef")) {
                entry.item.transactionId = text;
            } else if (leaf == QLatin1String("Ref") && parent == QLatin1String("CdtrRefInf")) {
                entry.creditorReference = text;
            } else if (leaf == QLatin1String("EndToEndId")) {
                entry.endToEnd = text;
            } else if (leaf == QLatin1String("InstrId")) {
                entry.instructionId = text;
            } else if (leaf == QLatin1String("Ustrd")) {
                entry.unstructured << text;
            } else if (leaf == QLatin1String("Nm") && parent == QLatin1String("Dbtr")) {
                entry.debtorName = text;
            } else if (leaf == QLatin1String("Nm") && parent == QLatin1String("Cdtr")) {
                entry.creditorName = text;
            } else if (inEntryPath.contains(QLatin1String("DbtrAcct/Id/")) &&
                       (leaf == QLatin1String("IBAN") || leaf == QLatin1String("Id"))) {
                entry.debtorAccount = text;
            } else if (inEntryPath.contains(QLatin1String("CdtrAcct/Id/")) &&
                       (leaf == QLatin1String("IBAN") || leaf == QLatin1String("Id"))) {
                entry.creditorAccount = text;
            }
            continue;
        }
        if (xml.isEndElement()) {
            const QString name = xml.name().toString();
            if (name == QLatin1String("Bal") && inStatement && !inEntry) {
                qint64 cents = balanceSign == QLatin1String("DBIT") ? -balanceCents : balanceCents;
                if (balanceCode == QLatin1String("OPBD") || balanceCode == QLatin1String("PRCD")) {
                    st.openingCents = cents;
                    haveOpening = true;
                } else if (balanceCode == QLatin1String("CLBD")) {
                    st.closingCents = cents;
                    haveClosing = true;
                }
                balanceCode.clear();
                balanceSign.clear();
                balanceCents = 0;
            } else if (name == QLatin1String("Ntry") && inEntry && path.size() == 4) {
                inEntry = false;
                if (!entry.amountCurrency.isEmpty() && !st.currency.isEmpty() && entry.amountCurrency != st.currency)
                    return fail(QStringLiteral("položka je v měně %1, účet v měně %2.")
                                    .arg(entry.amountCurrency, st.currency));
                if (st.currency.isEmpty())
                    st.currency = entry.amountCurrency;
                if (entry.status != QLatin1String("BOOK")) {
                    path.removeLast();
                    continue; // pending or informative entries are not movements yet
                }
                StatementItem& item = entry.item;
                const QString references = entry.creditorReference + u' ' + entry.endToEnd + u' ' +
                                           entry.instructionId + u' ' + entry.unstructured.join(u' ');
                static const QRegularExpression digitsOnly(QStringLiteral("^\\d{1,10}$"));
                item.variableSymbol = digitsOnly.match(entry.creditorReference).hasMatch()
                                          ? withoutLeadingZeros(entry.creditorReference)
                                          : symbolIn(references, QStringLiteral("VS"));
                item.specificSymbol = symbolIn(references, QStringLiteral("SS"));
                item.constantSymbol = symbolIn(references, QStringLiteral("KS"));
                item.message = entry.unstructured.join(u' ');
                const bool in = item.credit != item.reversal;
                item.counterName = in ? entry.debtorName : entry.creditorName;
                item.counterAccount = in ? entry.debtorAccount : entry.creditorAccount;
                if (!item.date.isValid())
                    item.date = st.date;
                sum += item.signedCents();
                st.items.push_back(item);
            } else if (name == QLatin1String("Stmt") && inStatement) {
                inStatement = false;
                statementDone = true;
            }
            if (!path.isEmpty())
                path.removeLast();
        }
    }
    if (xml.hasError())
        return fail(QStringLiteral("XML nelze přečíst (%1).").arg(xml.errorString()));
    if (!statementDone) {
        result.error = QStringLiteral("Soubor camt.053 neobsahuje žádný výpis (element Stmt).");
        return result;
    }
    if (st.iban.isEmpty() && st.accountDigits.isEmpty()) {
        result.error = QStringLiteral("Výpis camt.053 neuvádí číslo účtu (Acct/Id).");
        return result;
    }
    if (haveOpening && haveClosing && st.openingCents + sum != st.closingCents) {
        result.error = QStringLiteral("Výpis camt.053: počáteční zůstatek %1 a položky (součet %2) nedávají "
                                      "konečný zůstatek %3 (v haléřích).")
                           .arg(st.openingCents)
                           .arg(sum)
                           .arg(st.closingCents);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace kelvarn
