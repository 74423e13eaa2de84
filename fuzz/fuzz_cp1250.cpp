// Code page 1250 files: bytes read and written again come back as they were, a text
// the code page cannot hold is written with one "?" per character, and the atomic
// file writer keeps what it was given.

#include "core/text_file.h"
#include "fuzz_support.h"

#include <QFile>

using namespace kelvarn;
using namespace kelvarn::fuzz;

namespace {

qsizetype codePoints(const QString& s) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            ++i;
        ++n;
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const QByteArray bytes = in.chunk();
    const QString decoded = fromCp1250(bytes);
    FUZZ_CHECK(decoded.size() == bytes.size(), decoded);
    FUZZ_CHECK(toCp1250(decoded) == bytes, QString::fromLatin1(bytes.toHex()));

    const QString text = QString::fromUtf8(in.chunk());
    const QByteArray encoded = toCp1250(text);
    FUZZ_CHECK(encoded.size() == codePoints(text), text);
    FUZZ_CHECK(toCp1250(fromCp1250(encoded)) == encoded, text);

    // The file writer: what is read back is the text with CR LF line ends.
    const QString path = scratchPath(QStringLiteral("export.txt"));
    QString error;
    FUZZ_CHECK(writeCp1250File(path, text, &error), error);
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly), path);
    FUZZ_CHECK(file.readAll() == toCp1250(withCrLf(text)), text);
    QString read;
    if (readCp1250File(path, read, &error))
        FUZZ_CHECK(read == fromCp1250(toCp1250(withCrLf(text))), text);
    return 0;
}
