// ISDOC invoices: what is read is written and read again to the same figures;
// anything else is refused with a reason.

#include "exchange/isdoc_reader.h"
#include "exchange/isdoc_writer.h"
#include "fuzz_support.h"

#include <cmath>

using namespace kelvarn;
using namespace kelvarn::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const IsdocReadResult r = readIsdoc(bytes);
    FUZZ_CHECK(r.ok == r.error.isEmpty(), r.error);
    if (!r.ok)
        return 0;
    const IsdocReadResult again = readIsdoc(writeIsdoc(r.document));
    FUZZ_CHECK(again.ok, again.error);
    FUZZ_CHECK(again.document.rates.size() == r.document.rates.size(), QString());
    FUZZ_CHECK(std::llround(again.document.totalGross * 100) == std::llround(r.document.totalGross * 100),
               QString::number(r.document.totalGross));
    FUZZ_CHECK(std::llround(again.document.payable * 100) == std::llround(r.document.payable * 100),
               QString::number(r.document.payable));
    return 0;
}
