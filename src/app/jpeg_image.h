#pragma once

#include <QImage>
#include <QString>

namespace kelvarn {

// Decodes a JPEG file (grayscale or RGB) with libjpeg. On failure image is left as
// it was, error holds a Czech sentence naming the file and the reason, and false is
// returned; a damaged file never ends the process.
// A picture whose header declares more pixels than a splash picture could ever
// need, or more than the file's data could describe, is refused before anything is
// allocated for it.
bool loadJpeg(const QString& path, QImage& image, QString& error);

// The same for JPEG data in memory; reason is the Czech reason alone (no file name).
bool decodeJpeg(const QByteArray& data, QImage& image, QString& reason);

// Limits of what is decoded at all: the splash picture is 988 × 586 points.
inline constexpr int kJpegMaxSide = 16384;
inline constexpr qint64 kJpegMaxPixels = 50'000'000;
// Huffman-coded data spends at least one bit on every 8 × 8 block of the image, so
// a file of n bytes describes at most 512·n pixels.
inline constexpr qint64 kJpegMaxPixelsPerByte = 512;

} // namespace kelvarn
