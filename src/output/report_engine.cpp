#include "output/report_engine.h"

#include "output/report_error.h"

namespace kelvarn {
namespace {

const QString kConnectionPrefix = QStringLiteral("RvDataSetConnection");

} // namespace

void ReportEngine::bindConnection(const QString& connectionName, Dataset* dataset) {
    const int index = connectionIndex(connectionName);
    if (index == 0)
        throw ReportError(
            QStringLiteral("Datové spojení „%1“ tiskové sestavy neexistuje.").arg(connectionName));
    bindConnection(index, dataset);
}

QString ReportEngine::connectionName(int index) {
    return kConnectionPrefix + QString::number(index);
}

int ReportEngine::connectionIndex(const QString& connectionName) {
    if (!connectionName.startsWith(kConnectionPrefix))
        return 0;
    const QString digits = connectionName.mid(kConnectionPrefix.size());
    bool ok = false;
    const int index = digits.toInt(&ok);
    // "RvDataSetConnection01" or "+1" would parse; only the canonical spelling counts.
    if (!ok || index < 1 || index > kConnectionCount || digits != QString::number(index))
        return 0;
    return index;
}

} // namespace kelvarn
