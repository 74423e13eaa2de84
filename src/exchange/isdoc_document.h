#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace kelvarn {

// The parts of an ISDOC 6.0.2 invoice the program writes and reads. Amounts are in
// the local currency (crowns), already rounded as the document holds them.
struct IsdocParty {
    QString ico;
    QString dic;
    QString name;
    QString street;
    QString city;
    QString postalCode;
    QString countryCode = QStringLiteral("CZ");
    QString countryName = QStringLiteral("Česká republika");
};

struct IsdocLine {
    QString id;
    QString description;
    QString unit;
    double quantity = 1;
    double unitPrice = 0;
    double net = 0;
    double vat = 0;
    double gross = 0;
    double rate = 0;
};

// One VAT recapitulation row: the totals of one rate.
struct IsdocRateTotal {
    double rate = 0;
    double net = 0;
    double vat = 0;
    double gross = 0;
};

struct IsdocDocument {
    int documentType = 1; // 1 invoice, 2 credit note (ISDOC codes)
    QString number;
    QString uuid;
    QString originalNumber; // credit notes: the corrected invoice
    QDate issueDate;
    QDate taxPointDate;
    QDate dueDate;
    bool vatApplicable = true;
    QString currency = QStringLiteral("CZK");
    QString note;
    IsdocParty supplier;
    IsdocParty customer;
    std::vector<IsdocLine> lines;
    std::vector<IsdocRateTotal> rates;
    double totalNet = 0;
    double totalVat = 0;
    double totalGross = 0;
    double paidDeposits = 0;
    double payable = 0;
    int paymentMeansCode = 42; // 42 transfer to an account, 10 cash, 48 card
    QString accountNumber;     // without the bank code
    QString bankCode;
    QString iban;
    QString bic;
    QString variableSymbol;
};

} // namespace kelvarn
