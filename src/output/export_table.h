#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>
#include <vector>

class QIODevice;

namespace kelvarn {

// The rows of one exported list held as plain texts until the user has chosen
// where (and in which form) they go: the delimited text other programs of the
// business read, byte for byte, or CSV for spreadsheets.
class ExportTable {
  public:
    // trailingSeparator: list files end the header with the separator too; the
    // item-line and depreciation files have it only between captions.
    void setHeader(const QStringList& captions, bool trailingSeparator);
    void addRow(); // then addField for each column
    void addField(const QString& value);
    // After the first rows: room for all of them, judged by those (no regrowing).
    void expectRows(int total);
    int rowCount() const { return static_cast<int>(rowEnds_.size()); }
    const QStringList& header() const { return header_; }

    // Code page 1250, CR LF after every line: the header, then one line per row with
    // each value followed by the separator and every line break inside it written
    // as "<enter>". Values are not quoted, so a separator inside one shifts its row.
    QByteArray toText(const QString& separator) const;
    // RFC 4180 in UTF-8 with a byte order mark: every field quoted (quotes doubled),
    // line breaks kept inside their quotes, CR LF between records, captions without
    // their brackets. separator is "," or ";".
    QByteArray toCsv(QChar separator) const;

  private:
    QStringList header_;
    bool trailingSeparator_ = true;
    QString data_;
    std::vector<qsizetype> fieldEnds_;
    std::vector<size_t> rowEnds_; // index into fieldEnds_ past the row's last field
};

namespace export_file {

// A file that could not be written; the text is shown to the user as it stands.
class WriteError : public std::runtime_error {
  public:
    explicit WriteError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

  private:
    QString text_;
};

enum class Format { Text, Csv };

// The file types of the save dialog, the CSV one last.
QStringList saveFilters();
// Chosen by the name's extension: ".csv" (any letter case) is CSV.
Format formatOfPath(const QString& path);
// The CSV separator for what the user typed: "," stays, anything else is ";"
// (the usual one where the decimal separator is a comma).
QChar csvSeparator(const QString& typed);

// Writes the bytes to a temporary file beside path and renames it over path once
// everything is on disk; on any error the temporary file goes and an earlier file
// of that name is left as it was. writeChunk stands in for the device's write in
// tests (a full disk); empty: QIODevice::write. Throws WriteError.
using ChunkWriter = std::function<qint64(QIODevice& device, const char* data, qint64 size)>;
void writeAtomically(const QString& path, const QByteArray& bytes, const ChunkWriter& writeChunk = {});

} // namespace export_file
} // namespace kelvarn
