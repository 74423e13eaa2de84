#include "core/text_file.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>

#include <array>

namespace kelvarn {

namespace {

const char* const kCodePage = "windows-1250";

// Code page 1250 maps each byte to one character; the table is read once from the
// conversion library, so a file of many lines does not open a converter per line.
const std::array<char16_t, 256>& decodingTable() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> map{};
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);
        QStringDecoder decoder(kCodePage);
        const QString decoded = decoder.isValid() ? decoder.decode(all) : QString();
        for (int i = 0; i < 256; ++i)
            map[i] = decoded.size() == 256 ? decoded.at(i).unicode() : static_cast<char16_t>(i);
        return map;
    }();
    return table;
}

// The encoder of the conversion library substitutes an unencodable character with
// a control byte (SUB); the files must show "?" instead, so the encoding is done
// through the inverse of the decoder's table.
const QHash<char16_t, char>& encodingTable() {
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> map;
        const std::array<char16_t, 256>& decoded = decodingTable();
        for (int i = 0; i < 256; ++i)
            if (decoded[i] != QChar::ReplacementCharacter)
                map.insert(decoded[i], static_cast<char>(i));
        return map;
    }();
    return table;
}

bool looksLikeText(const QByteArray& bytes) {
    return !bytes.contains('\0');
}

} // namespace

QByteArray toCp1250(const QString& text) {
    const QHash<char16_t, char>& table = encodingTable();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // a character outside the basic plane is one "?", not two
        const auto found = table.constFind(c.unicode());
        out.append(found != table.constEnd() ? found.value() : '?');
    }
    return out;
}

QString fromCp1250(const QByteArray& bytes) {
    const std::array<char16_t, 256>& table = decodingTable();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const char byte : bytes)
        *to++ = QChar(table[static_cast<unsigned char>(byte)]);
    return out;
}

bool readCp1250File(const QString& path, QString& text, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!looksLikeText(bytes)) {
        if (error)
            *error = QStringLiteral("Soubor %1 není textový.").arg(path);
        return false;
    }
    text = fromCp1250(bytes);
    return true;
}

bool writeCp1250File(const QString& path, const QString& text, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = toCp1250(withCrLf(text));
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool appendCp1250(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes = toCp1250(text);
    return file.write(bytes) == bytes.size() && file.flush();
}

QString withCrLf(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n') && (i == 0 || text.at(i - 1) != QLatin1Char('\r')))
            out += QLatin1Char('\r');
        out += c;
    }
    return out;
}

} // namespace kelvarn
