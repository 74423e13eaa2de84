#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace kelvarn::test {

// The schema an environment variable names, for the checks of written files against a
// standard's own schema. Those schemas are not ours to ship: a run given one (a path
// to the file, or to the folder holding `file`) checks, others skip.
inline std::optional<QString> schemaFromEnvironment(const char* variable, const QString& file = {}) {
    const QString value = qEnvironmentVariable(variable);
    if (value.isEmpty())
        return std::nullopt;
    return file.isEmpty() ? value : value + QLatin1Char('/') + file;
}

// What xmllint says against the XML under the schema; "" when it is valid.
inline QString schemaErrors(const QByteArray& xml, const QString& schema) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("checked.xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size())
        return QStringLiteral("the file to check cannot be written");
    file.close();
    QProcess lint;
    lint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), QStringLiteral("--schema"), schema, path});
    if (!lint.waitForFinished(60000))
        return QStringLiteral("xmllint did not run: ") + lint.errorString();
    if (lint.exitStatus() == QProcess::NormalExit && lint.exitCode() == 0)
        return {};
    return QString::fromUtf8(lint.readAllStandardError());
}

} // namespace kelvarn::test
