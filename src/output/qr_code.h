#pragma once

#include <QByteArray>
#include <QImage>

namespace kelvarn {

// The QR code of the bytes (byte mode, error correction level M as payment codes
// use), black on white, moduleSize pixels per module and the four-module quiet zone
// around it. Throws ReportError when the data does not fit a QR code.
QImage qrCodeImage(const QByteArray& data, int moduleSize = 8);

} // namespace kelvarn
