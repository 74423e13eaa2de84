#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace kelvarn {

class DbContext;

// The month or quarter a VAT filing covers.
struct VatPeriod {
    int year = 0;
    int month = 0;   // 1-12, or 0 for a quarter
    int quarter = 0; // 1-4, or 0 for a month

    QDate first() const;
    QDate last() const;
    bool valid() const;
};

// The rate classes the tax forms know.
enum class VatRateClass { Basic, FirstReduced, SecondReduced, Unknown };

// Basic 21 % (19 and 20 % of earlier years), first reduced 12 % (14, 15 %), second
// reduced 10 %; anything else the forms cannot take.
VatRateClass classifyRate(double rate);

// One document of the VAT lists as the forms see it: its bases and taxes by rate
// class (a credit note's are negative).
struct VatDocument {
    QString id;
    QString number;         // our number
    QString evidenceNumber; // the number the forms list: ours for supplies made, the supplier's for supplies received
    bool output = true;     // a supply made (the output list), else received (input list)
    QString partnerDic;     // digits only; "" when the partner has none or a foreign one
    bool foreignDic = false;
    QDate taxPointDate;
    double gross = 0;       // the document's total with VAT
    double base[3] = {0, 0, 0}; // by VatRateClass Basic, FirstReduced, SecondReduced
    double tax[3] = {0, 0, 0};
    double zeroRated = 0;   // the zero slot: not part of these forms
};

// Why a document cannot go into the forms (blocking), or what is left out (not).
struct VatIssue {
    QString number;
    QString text;
    bool blocking = true;
};

// The documents of both VAT lists whose claim date falls into the period, with the
// problems that keep them from the forms. Read as the VAT module's lists read them.
struct VatFilingData {
    std::vector<VatDocument> documents;
    std::vector<VatIssue> issues;

    bool blocked() const;
};

VatFilingData collectVatFilingData(DbContext& db, const VatPeriod& period);

// A single document listed on its own in the control statement: over 10,000 Kč
// including VAT, with the partner's Czech DIČ.
inline constexpr double kControlStatementThreshold = 10000.0;

// The "DIČ as digits only" of a Czech VAT number ("CZ12345678" -> "12345678"); ""
// with *foreign set for another country's number.
QString czechDicDigits(const QString& dic, bool* foreign = nullptr);

} // namespace kelvarn
