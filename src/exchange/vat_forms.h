#pragma once

#include "exchange/vat_filing.h"

#include <QByteArray>
#include <QDate>

namespace kelvarn {

struct FilingIdentity;

// The tax portal's control statement (DPHKH1): documents over the threshold with a
// Czech DIČ one by one (A.4 supplies made, B.2 received), the rest summed (A.5,
// B.3), amounts to the haléř. `filed` is the filing date written in the header.
QByteArray writeControlStatement(const VatFilingData& data, const VatPeriod& period, const FilingIdentity& who,
                                 const QDate& filed);

// The figures of the VAT return, whole crowns (each sum rounded half away from zero).
struct VatReturnFigures {
    qint64 outputBase[2] = {0, 0}; // basic, reduced (both reduced rates)
    qint64 outputTax[2] = {0, 0};
    qint64 inputBase[2] = {0, 0};
    qint64 inputTax[2] = {0, 0};
    qint64 taxTotal() const { return outputTax[0] + outputTax[1]; }
    qint64 deductionTotal() const { return inputTax[0] + inputTax[1]; }
    qint64 taxDue() const { return taxTotal() > deductionTotal() ? taxTotal() - deductionTotal() : 0; }
    qint64 excessDeduction() const { return deductionTotal() > taxTotal() ? deductionTotal() - taxTotal() : 0; }
};

VatReturnFigures vatReturnFigures(const VatFilingData& data);

// The tax portal's VAT return (DPHDP3): rows 1 and 2 (supplies made at the basic and
// reduced rate), 40 and 41 (received, full deduction), 46, and 62 to 65.
QByteArray writeVatReturn(const VatFilingData& data, const VatPeriod& period, const FilingIdentity& who,
                          const QDate& filed);

} // namespace kelvarn
