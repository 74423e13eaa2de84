#include "db/dataset_rows.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace kelvarn::rows {

namespace {
constexpr qint64 kMsPerDay = 86400000;
}

qint64 stampOf(const QDateTime& value) {
    return value.date().toJulianDay() * kMsPerDay + value.time().msecsSinceStartOfDay();
}

QDateTime dateTimeOf(qint64 stamp) {
    qint64 day = stamp / kMsPerDay;
    qint64 ms = stamp % kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
        --day;
    }
    return QDateTime(QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

bool parseCanonicalDate(const char* t, int n, qint64& stamp) {
    // yyyy-MM-dd, optionally followed by " HH:mm:ss" (or "T" as Qt itself writes).
    auto digits = [&](int from, int count, int& out) {
        if (from + count > n)
            return false;
        out = 0;
        for (int i = from; i < from + count; ++i) {
            if (t[i] < '0' || t[i] > '9')
                return false;
            out = out * 10 + (t[i] - '0');
        }
        return true;
    };
    int y, mo, d, h = 0, mi = 0, s = 0;
    if (n < 10 || !digits(0, 4, y) || t[4] != '-' || !digits(5, 2, mo) || t[7] != '-' || !digits(8, 2, d))
        return false;
    if (n >= 16 && (t[10] == ' ' || t[10] == 'T')) {
        if (!digits(11, 2, h) || t[13] != ':' || !digits(14, 2, mi))
            return false;
        if (n >= 19 && t[16] == ':' && !digits(17, 2, s))
            return false;
    }
    const QDate date(y, mo, d);
    if (!date.isValid() || h > 23 || mi > 59 || s > 59)
        return false;
    stamp = date.toJulianDay() * kMsPerDay + ((h * 60 + mi) * 60 + s) * 1000;
    return true;
}

namespace {

void setText(DatasetCell& cell, QByteArray& arena, const QByteArray& utf8) {
    cell.kind = CellKind::Text;
    cell.offset = static_cast<quint32>(arena.size());
    cell.length = static_cast<quint32>(utf8.size());
    arena.append(utf8);
}

} // namespace

void setCell(DatasetCell& cell, QByteArray& arena, ColumnType type, const QVariant& value) {
    cell = DatasetCell();
    if (!value.isValid() || value.isNull())
        return;
    const int id = value.typeId();
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        if (type == ColumnType::Float) {
            cell.kind = CellKind::Float;
            cell.real = value.toDouble();
        } else {
            cell.kind = CellKind::Integer;
            cell.integer = value.toLongLong();
        }
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        if (type == ColumnType::Integer) {
            cell.kind = CellKind::Integer;
            cell.integer = qRound64(value.toDouble());
        } else {
            cell.kind = CellKind::Float;
            cell.real = value.toDouble();
        }
        return;
    case QMetaType::QDateTime:
        cell.kind = CellKind::DateTime;
        cell.stamp = stampOf(value.toDateTime());
        return;
    case QMetaType::QDate:
        cell.kind = CellKind::DateTime;
        cell.stamp = stampOf(QDateTime(value.toDate(), QTime(0, 0)));
        return;
    case QMetaType::QByteArray:
        setText(cell, arena, value.toByteArray());
        return;
    default:
        break;
    }
    const QString text = value.toString();
    if (type == ColumnType::DateTime) {
        const QByteArray utf8 = text.toUtf8();
        qint64 stamp = 0;
        if (parseCanonicalDate(utf8.constData(), static_cast<int>(utf8.size()), stamp)) {
            cell.kind = CellKind::DateTime;
            cell.stamp = stamp;
            return;
        }
    }
    setText(cell, arena, text.toUtf8());
}

QVariant cellToVariant(const DatasetRow& row, int column) {
    const DatasetCell& c = row.cells[column];
    switch (c.kind) {
    case CellKind::Null:
        return {};
    case CellKind::Integer:
        return QVariant(c.integer);
    case CellKind::Float:
        return QVariant(c.real);
    case CellKind::Text:
        return QString::fromUtf8(row.text.constData() + c.offset, c.length);
    case CellKind::DateTime:
        return dateTimeOf(c.stamp);
    }
    return {};
}

} // namespace kelvarn::rows
