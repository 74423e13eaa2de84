#include "output/export_table.h"

#include "core/text_file.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kelvarn {

void ExportTable::setHeader(const QStringList& captions, bool trailingSeparator) {
    header_ = captions;
    trailingSeparator_ = trailingSeparator;
}

void ExportTable::addRow() {
    rowEnds_.push_back(fieldEnds_.size());
}

void ExportTable::addField(const QString& value) {
    data_ += value;
    fieldEnds_.push_back(data_.size());
    rowEnds_.back() = fieldEnds_.size();
}

void ExportTable::expectRows(int total) {
    const auto rows = static_cast<qsizetype>(rowEnds_.size());
    if (rows == 0 || total <= rows)
        return;
    data_.reserve(data_.size() / rows * total * 11 / 10 + 64);
    fieldEnds_.reserve(fieldEnds_.size() / static_cast<size_t>(rows) * static_cast<size_t>(total) + 1);
    rowEnds_.reserve(static_cast<size_t>(total));
}

namespace {

// A line break inside a value must not end the row's line.
void appendFlattened(QString& out, QStringView value) {
    qsizetype from = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        out += value.mid(from, i - from);
        out += QLatin1String("<enter>");
        if (c == QLatin1Char('\r') && i + 1 < value.size() && value[i + 1] == QLatin1Char('\n'))
            ++i;
        from = i + 1;
    }
    out += value.mid(from);
}

QString withoutBrackets(const QString& caption) {
    if (caption.size() >= 2 && caption.startsWith(QLatin1Char('[')) && caption.endsWith(QLatin1Char(']')))
        return caption.mid(1, caption.size() - 2);
    return caption;
}

void appendQuoted(QString& out, QStringView value) {
    out += QLatin1Char('"');
    qsizetype from = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('"'))
            continue;
        out += value.mid(from, i + 1 - from);
        out += QLatin1Char('"');
        from = i + 1;
    }
    out += value.mid(from);
    out += QLatin1Char('"');
}

} // namespace

QByteArray ExportTable::toText(const QString& separator) const {
    QString text;
    text.reserve(data_.size() + static_cast<qsizetype>(fieldEnds_.size()) * (separator.size()) +
                 static_cast<qsizetype>(rowEnds_.size()) * 2 + 256);
    for (qsizetype i = 0; i < header_.size(); ++i) {
        appendFlattened(text, header_[i]);
        if (trailingSeparator_ || i + 1 < header_.size())
            text += separator;
    }
    text += QLatin1String("\r\n");
    const QStringView data(data_);
    size_t field = 0;
    qsizetype start = 0;
    for (const size_t rowEnd : rowEnds_) {
        for (; field < rowEnd; ++field) {
            const qsizetype end = fieldEnds_[field];
            appendFlattened(text, data.mid(start, end - start));
            text += separator;
            start = end;
        }
        text += QLatin1String("\r\n");
    }
    return toCp1250(text);
}

QByteArray ExportTable::toCsv(QChar separator) const {
    QString text;
    text.reserve(data_.size() + static_cast<qsizetype>(fieldEnds_.size()) * 3 + 256);
    for (qsizetype i = 0; i < header_.size(); ++i) {
        if (i > 0)
            text += separator;
        appendQuoted(text, withoutBrackets(header_[i]));
    }
    text += QLatin1String("\r\n");
    const QStringView data(data_);
    size_t field = 0;
    qsizetype start = 0;
    for (const size_t rowEnd : rowEnds_) {
        for (bool firstField = true; field < rowEnd; ++field, firstField = false) {
            if (!firstField)
                text += separator;
            const qsizetype end = fieldEnds_[field];
            appendQuoted(text, data.mid(start, end - start));
            start = end;
        }
        text += QLatin1String("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

namespace export_file {

QStringList saveFilters() {
    return {QStringLiteral("všechny soubory (*.*)"), QStringLiteral("jen txt (*.txt)"), QStringLiteral("CSV (*.csv)")};
}

Format formatOfPath(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0 ? Format::Csv
                                                                                            : Format::Text;
}

QChar csvSeparator(const QString& typed) {
    return typed == QLatin1String(",") ? QLatin1Char(',') : QLatin1Char(';');
}

void writeAtomically(const QString& path, const QByteArray& bytes, const ChunkWriter& writeChunk) {
    auto fail = [&path](const QString& reason) {
        throw WriteError(QStringLiteral("Soubor \"%1\" nelze zapsat: %2").arg(path, reason));
    };
    QSaveFile file(path);
    // Never fall back to writing into the file itself: that is what leaves half a file.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    constexpr qint64 kChunk = 1 << 20;
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 size = std::min(kChunk, bytes.size() - done);
        const qint64 written =
            writeChunk ? writeChunk(file, bytes.constData() + done, size) : file.write(bytes.constData() + done, size);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            fail(reason.isEmpty() || reason == QLatin1String("Unknown error") ? QStringLiteral("zápis selhal")
                                                                              : reason);
        }
        done += written;
    }
    if (!file.commit())
        fail(file.errorString());
}

} // namespace export_file
} // namespace kelvarn
