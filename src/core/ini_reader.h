#pragma once

#include "core/app_state.h"

#include <QString>

namespace kelvarn {

enum class IniReadStatus {
    Ok,
    CannotOpen, // nothing was read; the defaults stay
    BadValue,   // reading stopped at a bad value; what was read before stays
};

struct IniReadResult {
    IniReadStatus status = IniReadStatus::Ok;
    QString detail; // why reading failed, for the log; message 1 is what the user sees
    bool ok() const { return status == IniReadStatus::Ok; }
};

// Reads the configuration file (kelvarn.ini) into the options of `state`. Every
// key line announces that the next line holds its value; the last occurrence wins.
IniReadResult readIniFile(const QString& path, AppState& state);

} // namespace kelvarn
