#include "app/os_release.h"

#include <QFile>
#include <QStringList>
#include <QSysInfo>

namespace kelvarn {
namespace {

// os-release values follow shell quoting, without expansion.
QString unquote(QStringView value) {
    QString out;
    QChar quote;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (quote.isNull()) {
            if (c == QLatin1Char('"') || c == QLatin1Char('\''))
                quote = c;
            else if (c == QLatin1Char('\\') && i + 1 < value.size())
                out += value[++i];
            else
                out += c;
        } else if (c == quote) {
            quote = QChar();
        } else if (quote == QLatin1Char('"') && c == QLatin1Char('\\') && i + 1 < value.size() &&
                   QStringView(u"\"\\$`").contains(value[i + 1])) {
            out += value[++i];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QMap<QString, QString> parseOsRelease(const QString& text) {
    QMap<QString, QString> fields;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        fields.insert(key, unquote(QStringView(line).mid(eq + 1)));
    }
    return fields;
}

QString osReleaseDescription(const QMap<QString, QString>& fields) {
    const QString pretty = fields.value(QStringLiteral("PRETTY_NAME")).trimmed();
    if (!pretty.isEmpty())
        return pretty;
    const QString name = fields.value(QStringLiteral("NAME")).trimmed();
    if (name.isEmpty())
        return {};
    const QString version = fields.value(QStringLiteral("VERSION")).trimmed();
    return version.isEmpty() ? name : name + QStringLiteral(" (") + version + QLatin1Char(')');
}

QString operatingSystemDescription(const QString& osReleasePath) {
    QFile file(osReleasePath);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QString description = osReleaseDescription(parseOsRelease(QString::fromUtf8(file.readAll())));
        if (!description.isEmpty())
            return description;
    }
    QString fallback = QSysInfo::prettyProductName();
    if (fallback.isEmpty() || fallback == QLatin1String("Unknown"))
        fallback = QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion();
    return fallback;
}

} // namespace kelvarn
