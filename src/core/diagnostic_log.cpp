#include "core/diagnostic_log.h"

#include "core/text_file.h"

namespace kelvarn {

void DiagnosticLog::append(const QString& entry) {
    text_ += QStringLiteral("\r\n-----\r\n");
    text_ += entry;
}

bool DiagnosticLog::appendToFile(const QString& path) const {
    return appendCp1250(path, text_);
}

} // namespace kelvarn
