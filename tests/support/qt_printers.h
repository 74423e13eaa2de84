#pragma once

// Readable Qt values in test failure messages.

#include <QString>
#include <QVariant>

#include <ostream>

inline void PrintTo(const QString& value, std::ostream* os) {
    *os << '"' << value.toStdString() << '"';
}

inline void PrintTo(const QVariant& value, std::ostream* os) {
    *os << "QVariant(" << value.typeName() << ", " << value.toString().toStdString() << ')';
}
