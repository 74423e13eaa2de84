#pragma once

#include "core/app_state.h"

#include <QString>
#include <QStringList>

namespace kelvarn {

struct CommandLine {
    StartMode mode = StartMode::Normal;
    QString scriptPath; // Install and Reinstall only, with "~dp0" resolved
};

// `arguments` excludes the program name. Arguments are compared case-sensitively.
CommandLine parseCommandLine(const QStringList& arguments, const QString& appDir);

// The answer to "-ver": the application version and a line end, in code page 1250.
bool writeVersionFile(const QString& path, const QString& appVersion, QString* error = nullptr);

} // namespace kelvarn
