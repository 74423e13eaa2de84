// The splash picture decoder: damaged, truncated or tampered JPEG data is refused
// with a reason, never with a crash, and never by allocating more than the limits
// allow; what decodes has the size its header declares, within those limits.

#include "app/jpeg_image.h"
#include "fuzz_support.h"

using namespace kelvarn;
using namespace kelvarn::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QImage image;
    QString reason;
    if (!decodeJpeg(bytes, image, reason)) {
        FUZZ_CHECK(!reason.isEmpty(), QString());
        FUZZ_CHECK(image.isNull(), reason);
        return 0;
    }
    FUZZ_CHECK(reason.isEmpty(), reason);
    FUZZ_CHECK(!image.isNull(), QString());
    FUZZ_CHECK(image.width() <= kJpegMaxSide && image.height() <= kJpegMaxSide,
               QStringLiteral("%1 x %2").arg(image.width()).arg(image.height()));
    FUZZ_CHECK(qint64(image.width()) * image.height() <= kJpegMaxPixels, QString());
    return 0;
}
