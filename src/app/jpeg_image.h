#pragma once

#include <QImage>
#include <QString>

namespace kelvarn {

// Decodes a JPEG file (grayscale or RGB) with libjpeg. On failure image is left as
// it was, error holds a Czech sentence naming the file and the reason, and false is
// returned; a damaged file never ends the process.
bool loadJpeg(const QString& path, QImage& image, QString& error);

} // namespace kelvarn
