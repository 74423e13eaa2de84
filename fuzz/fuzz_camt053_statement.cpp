// camt.053 statements: any bytes give either a statement whose entries lead from
// the opening to the closing balance or a refusal with a reason.

#include "exchange/camt053_reader.h"
#include "fuzz_support.h"

using namespace kelvarn;
using namespace kelvarn::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const StatementReadResult r = readCamt053Statement(bytes);
    FUZZ_CHECK(r.ok == r.error.isEmpty(), r.error);
    if (!r.ok)
        return 0;
    FUZZ_CHECK(!r.statement.iban.isEmpty() || !r.statement.accountDigits.isEmpty(), QString());
    for (const StatementItem& item : r.statement.items)
        FUZZ_CHECK(item.amountCents >= 0, QString::number(item.amountCents));
    return 0;
}
