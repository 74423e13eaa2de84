#pragma once

// Compact in-memory rows of a Dataset snapshot; private to the db layer.

#include "db/dataset.h"

#include <QByteArray>
#include <QVariant>

#include <memory>

namespace kelvarn {

enum class CellKind : quint8 { Null, Integer, Float, Text, DateTime };

struct DatasetCell {
    CellKind kind = CellKind::Null;
    quint32 length = 0; // text bytes
    union {
        qint64 integer;
        double real;
        quint32 offset; // into Row::text
        qint64 stamp;   // DateTime: julian day * 86400000 + msecs of the day
    };
    DatasetCell() : integer(0) {}
};

struct DatasetRow {
    quint64 serial = 0;
    std::unique_ptr<DatasetCell[]> cells;
    QByteArray text; // UTF-8 of all text cells, back to back
};

namespace rows {

qint64 stampOf(const QDateTime& value);
QDateTime dateTimeOf(qint64 stamp);
// The canonical text of the embedded database, "yyyy-MM-dd HH:mm:ss"; false on junk.
bool parseCanonicalDate(const char* text, int length, qint64& stamp);

// Builds a cell from a driver value for a column of the given type.
void setCell(DatasetCell& cell, QByteArray& arena, ColumnType type, const QVariant& value);
QVariant cellToVariant(const DatasetRow& row, int column);

} // namespace rows
} // namespace kelvarn
