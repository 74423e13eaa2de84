#pragma once

#include <QString>

namespace kelvarn {

// The program folder: KELVARN_APPDIR when set (so tests and packaged installs can
// keep the data files apart from the binary), else the executable's folder.
// Always absolute and ending in "/".
QString resolveAppDir(const QString& executableDir);

} // namespace kelvarn
