#include "output/qr_code.h"

#include "output/report_error.h"

#include <qrencode.h>

#include <memory>

namespace kelvarn {
namespace {

constexpr int kQuietZone = 4;

struct QrFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

} // namespace

QImage qrCodeImage(const QByteArray& data, int moduleSize) {
    // Version 0: the smallest symbol the data fits.
    const std::unique_ptr<QRcode, QrFree> code(
        QRcode_encodeData(static_cast<int>(data.size()),
                          reinterpret_cast<const unsigned char*>(data.constData()), 0, QR_ECLEVEL_M));
    if (!code)
        throw ReportError(
            QStringLiteral("Kód QR nelze vytvořit: %1 bajtů se do něj nevejde.").arg(data.size()));

    const int modules = code->width;
    const int side = (modules + 2 * kQuietZone) * moduleSize;
    QImage image(side, side, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    for (int y = 0; y < modules; ++y)
        for (int x = 0; x < modules; ++x) {
            // The lowest bit of each module says whether it is dark.
            if (!(code->data[y * modules + x] & 1))
                continue;
            const int left = (x + kQuietZone) * moduleSize;
            const int top = (y + kQuietZone) * moduleSize;
            for (int py = top; py < top + moduleSize; ++py)
                for (int px = left; px < left + moduleSize; ++px)
                    image.setPixel(px, py, 1);
        }
    return image;
}

} // namespace kelvarn
