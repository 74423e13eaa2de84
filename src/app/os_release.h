#pragma once

#include <QMap>
#include <QString>

namespace kelvarn {

// The KEY=value lines of an os-release file. Values may be quoted with " or ' and
// use backslash escapes inside double quotes; comments and malformed lines are
// skipped.
QMap<QString, QString> parseOsRelease(const QString& text);

// The operating system as the about window shows it: PRETTY_NAME, else NAME with
// VERSION in parentheses, else NAME; empty when the fields name no system.
QString osReleaseDescription(const QMap<QString, QString>& fields);

// Reads the os-release file at path (UTF-8); when it is missing or names no system,
// describes the system as Qt sees it.
QString operatingSystemDescription(const QString& osReleasePath = QStringLiteral("/etc/os-release"));

} // namespace kelvarn
