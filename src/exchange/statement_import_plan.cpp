#include "exchange/statement_import_plan.h"

#include "db/db_context.h"
#include "core/czech_account.h"

#include <QCryptographicHash>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>

namespace kelvarn {

namespace {

qint64 toCents(const QVariant& value) {
    return value.isNull() ? 0 : std::llround(value.toDouble() * 100.0);
}

QString symbolText(const QVariant& value) {
    QString s = value.toString().trimmed();
    qsizetype i = 0;
    while (i < s.size() && s[i] == u'0')
        ++i;
    return s.mid(i);
}

// The 16 digits of prefix and number of an account given as text or as an IBAN.
QString ownDigits(const QString& account, const QString& iban) {
    if (const auto a = parseCzechAccount(account))
        return a->digits16();
    if (const auto b = czechAccountFromIban(iban))
        return b->digits16();
    return {};
}

QString sortedDigits(QString s) {
    std::sort(s.begin(), s.end());
    return s;
}

} // namespace

QString statementFingerprint(const BankStatement& st) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    auto add = [&hash](const QString& s) { hash.addData(s.toUtf8()); hash.addData(QByteArrayView("\x1f", 1)); };
    add(st.accountDigits);
    add(normalizeIban(st.iban));
    add(st.number);
    add(st.date.toString(Qt::ISODate));
    add(QString::number(st.openingCents));
    add(QString::number(st.closingCents));
    for (const StatementItem& i : st.items) {
        add(QString::number(i.signedCents()));
        add(i.date.toString(Qt::ISODate));
        add(i.counterAccount);
        add(i.variableSymbol);
        add(i.specificSymbol);
        add(i.transactionId);
        add(i.message);
    }
    return QString::fromLatin1(hash.result().toHex().left(8)).toUpper();
}

QString statementVoucherPrefix(const QString& fingerprint) {
    return QStringLiteral("BV-") + fingerprint + u'/';
}

bool statementAlreadyImported(DbContext& db, const QString& fingerprint) {
    QSqlQuery q = db.session().query(QStringLiteral("SELECT count(*) FROM tbl_hlavnikniha WHERE doklad LIKE ?"),
                                     {statementVoucherPrefix(fingerprint) + u'%'});
    return q.next() && q.value(0).toLongLong() > 0;
}

bool isOwnAccount(const BankStatement& st, const QString& ownAccount, const QString& ownIban, QString* problem) {
    const QString own = ownDigits(ownAccount, ownIban);
    QString ownIbanCompact = normalizeIban(ownIban);
    if (ownIbanCompact.isEmpty())
        if (const auto a = parseCzechAccount(ownAccount))
            ownIbanCompact = czechAccountToIban(*a);
    auto refuse = [problem](const QString& text) {
        if (problem)
            *problem = text;
        return false;
    };
    if (own.isEmpty() && ownIbanCompact.isEmpty())
        return refuse(QStringLiteral("V záznamu podnikatele není vyplněno číslo účtu ani IBAN, s nímž by šlo výpis "
                                     "porovnat. Doplňte je na záložce „Podnikatel“."));
    QString stated;
    if (!st.iban.isEmpty()) {
        const QString iban = normalizeIban(st.iban);
        if (iban == ownIbanCompact)
            return true;
        if (const auto a = czechAccountFromIban(iban); a && a->digits16() == own)
            return true;
        stated = iban;
    } else {
        const QString digits = st.accountDigits.trimmed();
        if (digits == own)
            return true;
        // Some banks write the account's digits in another order (their internal
        // form); accept that only when the digits as written are no valid account.
        const CzechAccount written =
            parseCzechAccount(digits.left(6) + u'-' + digits.mid(6)).value_or(CzechAccount{{}, digits, {}});
        if (digits.size() == 16 && !own.isEmpty() && sortedDigits(digits) == sortedDigits(own) &&
            !hasValidChecksum(written))
            return true;
        stated = written.text();
    }
    return refuse(QStringLiteral("Výpis je z účtu %1, ne z účtu podnikatele (%2). Import nelze provést.")
                      .arg(stated, ownAccount.trimmed().isEmpty() ? ownIban.trimmed() : ownAccount.trimmed()));
}

StatementImportPlan StatementImportPlan::prepare(DbContext& db, const BankStatement& statement) {
    StatementImportPlan plan;
    plan.statement_ = statement;
    plan.fingerprint_ = statementFingerprint(statement);

    QSqlQuery own = db.session().query(
        QStringLiteral("SELECT cislo_uctu, cislo_uctu_IBAN FROM tbl_podnikatel WHERE id=1"));
    QString ownAccount, ownIban;
    if (own.next()) {
        ownAccount = own.value(0).toString();
        ownIban = own.value(1).toString();
    }
    QString problem;
    if (!statement.currency.isEmpty() && statement.currency != QLatin1String("CZK"))
        plan.refusal_ = QStringLiteral("Výpis je v měně %1; peněžní deník vede částky v korunách. Import nelze "
                                       "provést.")
                            .arg(statement.currency);
    else if (!isOwnAccount(statement, ownAccount, ownIban, &problem))
        plan.refusal_ = problem;
    else if (statementAlreadyImported(db, plan.fingerprint_))
        plan.refusal_ = QStringLiteral("Tento výpis (č. %1 ze dne %2) už byl do příjmů a výdajů importován "
                                       "(doklady %3…).")
                            .arg(statement.number, statement.date.toString(QStringLiteral("d.M.yyyy")),
                                 statementVoucherPrefix(plan.fingerprint_));

    QSqlQuery q = db.session().query(QStringLiteral(
        "SELECT id, cislo_dokladu, variabilni_symbol, doklad_typ, zbyva_uhradit FROM tbl_doklad "
        "WHERE doklad_typ IN (1, 2)"));
    while (q.next()) {
        OpenDocument d;
        d.number = q.value(1).toString();
        // Deposits and unnumbered documents are never settled by a payment.
        if (d.number.isEmpty() || d.number.contains(QLatin1String("ZL")))
            continue;
        d.id = q.value(0).toString();
        d.symbol = symbolText(q.value(2));
        d.type = q.value(3).toInt();
        d.remainingCents = toCents(q.value(4));
        const int index = static_cast<int>(plan.documents_.size());
        plan.documents_.push_back(d);
        plan.byId_.insert(d.id, index);
        plan.byNumber_[d.number].push_back(index);
        if (!d.symbol.isEmpty())
            plan.bySymbol_[d.symbol].push_back(index);
        if (d.remainingCents > 0)
            plan.byAmount_[d.remainingCents].push_back(index);
    }
    plan.items_.reserve(statement.items.size());
    for (const StatementItem& item : statement.items)
        plan.items_.push_back(PlannedItem{item});
    plan.pairAll();
    return plan;
}

void StatementImportPlan::pairAll() {
    QHash<QString, int> claimed; // documents already taken by an amount match
    for (PlannedItem& p : items_) {
        const qint64 cents = p.item.signedCents();
        const int side = cents >= 0 ? 1 : 2;
        const QString& vs = p.item.variableSymbol;
        if (!vs.isEmpty()) {
            const auto found = bySymbol_.constFind(vs);
            std::vector<int> matches;
            if (found != bySymbol_.constEnd())
                for (int i : *found)
                    if (documents_[i].type == side)
                        matches.push_back(i);
            if (matches.size() == 1) {
                const OpenDocument& d = documents_[matches.front()];
                p.action = ItemAction::Pair;
                p.documentId = d.id;
                p.documentNumber = d.number;
                p.bySymbol = true;
                if (d.remainingCents <= 0)
                    p.note = QStringLiteral("doklad je už uhrazen");
                claimed.insert(d.id, 1);
            } else {
                p.note = matches.empty() ? QStringLiteral("žádný doklad s tímto variabilním symbolem")
                                         : QStringLiteral("variabilní symbol má více dokladů");
            }
            continue;
        }
        const auto found = byAmount_.constFind(qAbs(cents));
        std::vector<int> matches;
        if (found != byAmount_.constEnd())
            for (int i : *found)
                if (documents_[i].type == side && !claimed.contains(documents_[i].id))
                    matches.push_back(i);
        if (matches.size() == 1) {
            const OpenDocument& d = documents_[matches.front()];
            p.action = ItemAction::Pair;
            p.documentId = d.id;
            p.documentNumber = d.number;
            p.note = QStringLiteral("podle částky");
            claimed.insert(d.id, 1);
        } else {
            p.note = matches.empty() ? QStringLiteral("bez symbolu, částce neodpovídá žádný doklad")
                                     : QStringLiteral("bez symbolu, částce odpovídá více dokladů");
        }
    }
}

const OpenDocument* StatementImportPlan::documentById(const QString& id) const {
    const auto it = byId_.constFind(id);
    return it == byId_.constEnd() ? nullptr : &documents_[*it];
}

bool StatementImportPlan::pairByHand(int index, const QString& typed, QString* why) {
    if (index < 0 || index >= static_cast<int>(items_.size()))
        return false;
    const QString text = typed.trimmed();
    auto fail = [why](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    std::vector<int> matches;
    if (const auto n = byNumber_.constFind(text); n != byNumber_.constEnd())
        matches = *n;
    if (matches.size() != 1) {
        matches.clear();
        QString symbol = text;
        while (symbol.startsWith(u'0'))
            symbol.remove(0, 1);
        if (const auto s = bySymbol_.constFind(symbol); s != bySymbol_.constEnd())
            matches = *s;
    }
    if (matches.empty())
        return fail(QStringLiteral("Nelze najít fakturu vydanou ani přijatou s číslem nebo variabilním symbolem "
                                   "„%1“.")
                        .arg(text));
    if (matches.size() > 1)
        return fail(QStringLiteral("Číslu nebo symbolu „%1“ odpovídá více dokladů; zadejte číslo dokladu.").arg(text));
    PlannedItem& p = items_[index];
    const OpenDocument& d = documents_[matches.front()];
    p.action = ItemAction::Pair;
    p.documentId = d.id;
    p.documentNumber = d.number;
    p.bySymbol = false;
    p.note = QStringLiteral("spárováno ručně");
    return true;
}

void StatementImportPlan::setSkipped(int index, bool skipped) {
    if (index < 0 || index >= static_cast<int>(items_.size()))
        return;
    PlannedItem& p = items_[index];
    if (skipped)
        p.action = ItemAction::Skip;
    else
        p.action = p.documentId.isEmpty() ? ItemAction::Book : ItemAction::Pair;
}

void StatementImportPlan::unpair(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size()))
        return;
    PlannedItem& p = items_[index];
    p.documentId.clear();
    p.documentNumber.clear();
    p.bySymbol = false;
    p.note = QStringLiteral("párování zrušeno");
    if (p.action == ItemAction::Pair)
        p.action = ItemAction::Book;
}

QString StatementImportPlan::voucherOf(int index) const {
    return statementVoucherPrefix(fingerprint_) + QString::number(index + 1);
}

int StatementImportPlan::pairedCount() const {
    return static_cast<int>(std::count_if(items_.begin(), items_.end(),
                                          [](const PlannedItem& p) { return p.action == ItemAction::Pair; }));
}

} // namespace kelvarn
