// kelvarn.ini: whatever the file holds, reading it never fails hard, and the options
// read, written back as a plain file, read back the same.

#include "core/app_state.h"
#include "core/ini_reader.h"
#include "core/text_file.h"
#include "fuzz_support.h"

#include <QFile>

using namespace kelvarn;
using namespace kelvarn::fuzz;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        broken("the scratch file can be written", path);
}

QString yesNo(bool on) {
    return on ? QStringLiteral("YES") : QStringLiteral("NO");
}

QString describe(const AppState& s) {
    return QStringLiteral("cs=[%1] platform=[%2] tips=[%3] criteria=%4 save=%5 asc=%6 refresh=%7 debug=%8")
        .arg(s.connectionString, s.platform, s.showTips)
        .arg(s.updateCriteria)
        .arg(s.saveWithoutPrompt)
        .arg(s.ascendingOrder)
        .arg(s.refreshAfterSave)
        .arg(s.debug);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = scratchPath(QStringLiteral("kelvarn.ini"));
    writeBytes(path, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    AppState first;
    const IniReadResult result = readIniFile(path, first);
    FUZZ_CHECK(result.status != IniReadStatus::CannotOpen, result.detail);
    FUZZ_CHECK(first.platform.size() == 1, describe(first));
    FUZZ_CHECK(first.updateCriteria >= 0 && first.updateCriteria <= 9, describe(first));
    FUZZ_CHECK(first.oracleAutoInc == (first.platform == QLatin1String("3")), describe(first));
    FUZZ_CHECK(first.firebirdAutoInc == (first.platform == QLatin1String("5")), describe(first));

    // The same options written the plain way must read back unchanged.
    const QString crlf = QStringLiteral("\r\n");
    const QString canonical = QStringLiteral("[database string]") + crlf + first.connectionString + crlf +
                              QStringLiteral("[database platform]") + crlf + first.platform + crlf +
                              QStringLiteral("[save without promt]") + crlf + yesNo(first.saveWithoutPrompt) + crlf +
                              QStringLiteral("[default orderby ASC]") + crlf + yesNo(first.ascendingOrder) + crlf +
                              QStringLiteral("[refresh after save]") + crlf + yesNo(first.refreshAfterSave) + crlf +
                              QStringLiteral("[update criteria]") + crlf + QString::number(first.updateCriteria) +
                              crlf + QStringLiteral("[show tips]") + crlf + first.showTips + crlf +
                              QStringLiteral("[debug]") + crlf + yesNo(first.debug) + crlf;
    writeBytes(path, toCp1250(canonical));
    AppState second;
    const IniReadResult again = readIniFile(path, second);
    FUZZ_CHECK(again.ok(), again.detail + QStringLiteral("\n") + describe(first));
    FUZZ_CHECK(describe(first) == describe(second), describe(first) + QStringLiteral("\n") + describe(second));
    return 0;
}
