#include "app/jpeg_image.h"

#include <QFile>
#include <QFileInfo>

#include <csetjmp>
#include <cstddef>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jerror.h>
#include <jpeglib.h>

namespace kelvarn {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return. We jump
// back to decode(), whose frame holds no objects with destructors; the library state
// lives in the caller's Decoder so nothing in the jumping frame changes after setjmp.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
    int code;
};

void failDecoding(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = err->pub.msg_code;
    (*err->pub.format_message)(cinfo, err->text);
    std::longjmp(err->jump, 1);
}

// A truncated file would otherwise come out "successfully" with a grey lower part;
// a splash picture like that is better reported than shown.
void emitMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        failDecoding(cinfo);
    if (level < 0)
        ++cinfo->err->num_warnings;
}

enum class Outcome { Ok, LibraryError, UnsupportedColors, OutOfMemory, TooLarge, TooLittleData };

// Memory libjpeg may take for its own buffers (a progressive picture keeps all its
// coefficients); past it the library fails cleanly instead of the process dying.
constexpr long kLibraryMemory = 512L * 1024 * 1024;

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    QImage* image;
    qint64 size; // bytes of the file
    qint64 width;  // as the header declares them
    qint64 height;
};

// Separate from QImage creation so the frame holding setjmp has only trivial locals.
unsigned char* allocateRows(Decoder& d, bool gray) {
    *d.image = QImage(static_cast<int>(d.cinfo.output_width), static_cast<int>(d.cinfo.output_height),
                      gray ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    return d.image->isNull() ? nullptr : d.image->bits();
}

qsizetype bytesPerLine(const Decoder& d) {
    return d.image->bytesPerLine();
}

Outcome decode(const unsigned char* data, std::size_t size, Decoder& d) {
    d.cinfo.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = failDecoding;
    d.err.pub.emit_message = emitMessage;
    d.err.code = 0;
    d.err.text[0] = '\0';

    if (setjmp(d.err.jump)) {
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::LibraryError;
    }
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.cinfo, TRUE);

    // Checked before anything is allocated for the picture: a few changed header
    // bytes must not make the program ask for gigabytes.
    d.width = d.cinfo.image_width;
    d.height = d.cinfo.image_height;
    if (d.width > kJpegMaxSide || d.height > kJpegMaxSide || d.width * d.height > kJpegMaxPixels) {
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::TooLarge;
    }
    if (!d.cinfo.arith_code && d.width * d.height > kJpegMaxPixelsPerByte * d.size) {
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::TooLittleData;
    }
    d.cinfo.mem->max_memory_to_use = kLibraryMemory;

    const bool gray = d.cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (!gray && d.cinfo.jpeg_color_space != JCS_RGB && d.cinfo.jpeg_color_space != JCS_YCbCr) {
        // CMYK and YCCK would need colour management to look right on screen.
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::UnsupportedColors;
    }
    d.cinfo.out_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;

    jpeg_start_decompress(&d.cinfo);
    unsigned char* bits = allocateRows(d, gray);
    if (!bits) {
        jpeg_destroy_decompress(&d.cinfo);
        return Outcome::OutOfMemory;
    }
    const qsizetype stride = bytesPerLine(d);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = bits + static_cast<qsizetype>(d.cinfo.output_scanline) * stride;
        jpeg_read_scanlines(&d.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&d.cinfo);
    jpeg_destroy_decompress(&d.cinfo);
    return Outcome::Ok;
}

QString libraryReason(const ErrorManager& err) {
    switch (err.code) {
    case JERR_NO_SOI:
        return QStringLiteral("soubor není ve formátu JPEG");
    case JWRN_JPEG_EOF:
        return QStringLiteral("soubor je neúplný (data obrázku předčasně končí)");
    case JERR_OUT_OF_MEMORY:
        return QStringLiteral("nedostatek paměti");
    default:
        return QStringLiteral("poškozená data JPEG (%1)").arg(QString::fromLocal8Bit(err.text));
    }
}

} // namespace

bool decodeJpeg(const QByteArray& data, QImage& image, QString& reason) {
    if (data.isEmpty()) {
        reason = QStringLiteral("soubor je prázdný");
        return false;
    }
    QImage decoded;
    Decoder decoder{};
    decoder.image = &decoded;
    decoder.size = data.size();
    switch (decode(reinterpret_cast<const unsigned char*>(data.constData()), static_cast<std::size_t>(data.size()),
                   decoder)) {
    case Outcome::Ok:
        break;
    case Outcome::LibraryError:
        reason = libraryReason(decoder.err);
        return false;
    case Outcome::UnsupportedColors:
        reason = QStringLiteral("barevný prostor CMYK a YCCK není podporován, uložte obrázek v RGB");
        return false;
    case Outcome::OutOfMemory:
        reason = QStringLiteral("obrázek je příliš velký");
        return false;
    case Outcome::TooLarge:
        reason = QStringLiteral("obrázek je příliš velký (%1 × %2 bodů; úvodní obrázek má 988 × 586 bodů)")
                     .arg(decoder.width)
                     .arg(decoder.height);
        return false;
    case Outcome::TooLittleData:
        reason = QStringLiteral("poškozená data JPEG (hlavička udává %1 × %2 bodů, na které %3 bajtů souboru nestačí)")
                     .arg(decoder.width)
                     .arg(decoder.height)
                     .arg(data.size());
        return false;
    }
    image = decoded;
    reason.clear();
    return true;
}

bool loadJpeg(const QString& path, QImage& image, QString& error) {
    const auto fail = [&](const QString& reason) {
        error = QStringLiteral("Obrázek \"%1\" nelze načíst: %2").arg(path, reason);
        return false;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("soubor neexistuje"));
    if (info.isDir())
        return fail(QStringLiteral("jde o složku, ne o soubor"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("soubor nelze otevřít (%1)").arg(file.errorString()));
    // A picture file, not a whole disk image: nothing sensible is bigger.
    if (file.size() > 256 * 1024 * 1024)
        return fail(QStringLiteral("soubor je příliš velký"));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("chyba při čtení souboru (%1)").arg(file.errorString()));
    QString reason;
    if (!decodeJpeg(data, image, reason))
        return fail(reason);
    error.clear();
    return true;
}

} // namespace kelvarn
