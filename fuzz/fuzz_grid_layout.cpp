// Saved grid layouts: a damaged file is refused rather than half read, a layout
// that is read is written and read back the same, and fitting it to the grid's
// columns gives each current column exactly once.

#include "core/diagnostic_log.h"
#include "fuzz_support.h"
#include "lists/grid_layout.h"

#include <QFile>
#include <QSet>

using namespace kelvarn;
using namespace kelvarn::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const QStringList current = in.text().split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QByteArray content = in.rest();
    const QString path = scratchPath(QStringLiteral("grid.sav"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate), path);
        file.write(content);
    }
    QString error;
    const std::optional<GridLayout> layout = loadGridLayout(path, &error);
    if (!layout) {
        FUZZ_CHECK(!error.isEmpty(), path);
        return 0;
    }
    FUZZ_CHECK(saveGridLayout(path, *layout, &error), error);
    const std::optional<GridLayout> again = loadGridLayout(path, &error);
    FUZZ_CHECK(again && *again == *layout, error);

    QSet<QString> distinct;
    for (const QString& c : current)
        distinct.insert(c.toLower());
    if (distinct.size() != current.size())
        return 0; // a grid never has two columns of one name
    const GridLayout fitted = applyGridLayout(*layout, current);
    FUZZ_CHECK(fitted.columns.size() == current.size(), current.join(QLatin1Char(',')));
    QSet<QString> seen;
    for (const GridColumn& column : fitted.columns) {
        FUZZ_CHECK(distinct.contains(column.field.toLower()), column.field);
        FUZZ_CHECK(!seen.contains(column.field.toLower()), column.field);
        seen.insert(column.field.toLower());
    }
    return 0;
}
