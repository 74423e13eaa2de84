#pragma once

#include <QByteArray>
#include <QString>

// Fixed-width GPC lines for tests, composed field by field so that every column
// sits where a bank puts it.
namespace kelvarn::test {

inline QString digitsField(qint64 value, int width) {
    return QString::number(value).rightJustified(width, u'0');
}

inline QString textField(const QString& text, int width) {
    return text.leftJustified(width, u' ', true);
}

struct GpcHeader {
    QString account = QStringLiteral("0000192000145399");
    QString name = QStringLiteral("Jan Novák");
    qint64 opening = 1000000;
    qint64 closing = 0;
    qint64 debit = 0;
    qint64 credit = 0;
    int number = 7;
    QString date = QStringLiteral("310125");
};

inline QString gpcHeader(const GpcHeader& h) {
    auto signedField = [](qint64 v) { return digitsField(qAbs(v), 14) + (v < 0 ? u'-' : u'+'); };
    return QStringLiteral("074") + h.account + textField(h.name, 20) + QStringLiteral("300125") +
           signedField(h.opening) + signedField(h.closing) + digitsField(h.debit, 14) + u'0' +
           digitsField(h.credit, 14) + u'0' + digitsField(h.number, 3) + h.date + QString(14, u' ');
}

struct GpcItem {
    QString account = QStringLiteral("0000192000145399");
    QString counter = QStringLiteral("0000000123456789");
    QString id = QStringLiteral("0000000000001");
    qint64 cents = 0;
    int code = 2;
    QString vs = QStringLiteral("0");
    QString bank = QStringLiteral("0100");
    QString ks = QStringLiteral("0308");
    QString ss = QStringLiteral("0");
    QString valueDate = QStringLiteral("310125");
    QString name = QStringLiteral("Firma s.r.o.");
    QString currency = QStringLiteral("0203");
};

inline QString gpcItem(const GpcItem& i) {
    return QStringLiteral("075") + i.account + i.counter + i.id + digitsField(i.cents, 12) +
           QString::number(i.code) + i.vs.rightJustified(10, u'0') + QStringLiteral("00") + i.bank + i.ks +
           i.ss.rightJustified(10, u'0') + i.valueDate + textField(i.name, 20) + u'0' + i.currency +
           QStringLiteral("310125");
}

} // namespace kelvarn::test
