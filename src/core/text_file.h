#pragma once

#include <QByteArray>
#include <QString>

namespace kelvarn {

// Every file the program reads or writes is 8-bit code page 1250 text.

// Characters code page 1250 cannot hold become "?" (one per character).
QByteArray toCp1250(const QString& text);
QString fromCp1250(const QByteArray& bytes);

// Reads a whole file. Fails (with a reason in *error) when the file cannot be read
// or is evidently not text, rather than handing back garbage. Line ends are kept.
bool readCp1250File(const QString& path, QString& text, QString* error = nullptr);

// Replaces the file atomically: either the whole new text is there or the old file
// is untouched. Lone LF line ends are written as CR LF; existing CR LF stay.
bool writeCp1250File(const QString& path, const QString& text, QString* error = nullptr);

// Appends the text as it is (no line end conversion, no terminator), creating the
// file when needed. False when the file cannot be opened or written.
bool appendCp1250(const QString& path, const QString& text);

// Turns every LF not preceded by CR into CR LF.
QString withCrLf(const QString& text);

} // namespace kelvarn
