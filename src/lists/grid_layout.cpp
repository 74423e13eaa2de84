#include "lists/grid_layout.h"

#include "core/diagnostic_log.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

namespace kelvarn {

namespace {

const QByteArray kMagic = QByteArrayLiteral("KELVARN-GRID ");
const QByteArray kVersion = QByteArrayLiteral("1");
constexpr int kFieldCount = 5;
constexpr int kMaxWidth = 100000;
// Far above any real grid; keeps a stray large file from being read whole.
constexpr qint64 kMaxFileSize = 1024 * 1024;

// Column names are case-insensitive in every supported database, and some drivers report
// them upper-cased, so a saved column must still be recognised then.
QString fieldKey(const QString& field) {
    return field.toLower();
}

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool unescaped(const QString& text, QString& out) {
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\')) {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i].unicode()) {
        case '\\':
            out += QLatin1Char('\\');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        default:
            return false;
        }
    }
    return true;
}

QString alignmentText(ColumnAlignment alignment) {
    switch (alignment) {
    case ColumnAlignment::Right:
        return QStringLiteral("right");
    case ColumnAlignment::Center:
        return QStringLiteral("center");
    case ColumnAlignment::Left:
        break;
    }
    return QStringLiteral("left");
}

std::optional<ColumnAlignment> parseAlignment(const QString& text) {
    if (text == QLatin1String("left"))
        return ColumnAlignment::Left;
    if (text == QLatin1String("right"))
        return ColumnAlignment::Right;
    if (text == QLatin1String("center"))
        return ColumnAlignment::Center;
    return std::nullopt;
}

// "" when the line is sound, else what is wrong with it.
QString parseColumn(const QString& line, GridColumn& column) {
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() != kFieldCount)
        return QStringLiteral("má %1 polí oddělených tabulátorem místo %2")
            .arg(fields.size())
            .arg(kFieldCount);
    if (!unescaped(fields[0], column.field) || !unescaped(fields[1], column.title))
        return QStringLiteral("obsahuje neplatnou sekvenci se zpětným lomítkem");
    if (column.field.isEmpty())
        return QStringLiteral("nemá název sloupce");
    bool ok = false;
    column.width = fields[2].toInt(&ok);
    if (!ok || column.width < 0 || column.width > kMaxWidth)
        return QStringLiteral("má neplatnou šířku \"%1\"").arg(fields[2]);
    if (fields[3] != QLatin1String("0") && fields[3] != QLatin1String("1"))
        return QStringLiteral("má neplatnou viditelnost \"%1\"").arg(fields[3]);
    column.visible = fields[3] == QLatin1String("1");
    const std::optional<ColumnAlignment> alignment = parseAlignment(fields[4]);
    if (!alignment)
        return QStringLiteral("má neplatné zarovnání \"%1\"").arg(fields[4]);
    column.alignment = *alignment;
    return {};
}

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

int GridLayout::indexOf(const QString& field) const {
    const QString key = fieldKey(field);
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (fieldKey(columns[i].field) == key)
            return int(i);
    return -1;
}

QString gridLayoutPath(const QString& appDir, const QString& userName, const QString& gridName) {
    QString user = userName;
    user.replace(QLatin1Char('/'), QLatin1Char('_'));
    return appDir + user + QStringLiteral("_save_") + gridName + QStringLiteral(".sav");
}

bool saveGridLayout(const QString& path, const GridLayout& layout, QString* error) {
    // Refuse what loading would refuse, so every file we write can be read back.
    QSet<QString> seen;
    for (const GridColumn& column : layout.columns) {
        QString fault;
        if (column.field.isEmpty())
            fault = QStringLiteral("sloupec bez názvu");
        else if (seen.contains(fieldKey(column.field)))
            fault = QStringLiteral("sloupec %1 je uveden dvakrát").arg(column.field);
        else if (column.width < 0 || column.width > kMaxWidth)
            fault = QStringLiteral("sloupec %1 má neplatnou šířku %2").arg(column.field).arg(column.width);
        if (!fault.isEmpty()) {
            setError(error,
                     QStringLiteral("Rozložení mřížky nelze uložit do souboru %1: %2").arg(path, fault));
            return false;
        }
        seen.insert(fieldKey(column.field));
    }

    QByteArray data = kMagic + kVersion + '\n';
    for (const GridColumn& column : layout.columns) {
        const QString line = escaped(column.field) + QLatin1Char('\t') + escaped(column.title) +
                             QLatin1Char('\t') + QString::number(column.width) + QLatin1Char('\t') +
                             (column.visible ? QLatin1Char('1') : QLatin1Char('0')) + QLatin1Char('\t') +
                             alignmentText(column.alignment);
        data += line.toUtf8() + '\n';
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        setError(
            error,
            QStringLiteral("Rozložení mřížky nelze uložit do souboru %1: %2").arg(path, file.errorString()));
        file.cancelWriting();
        return false;
    }
    return true;
}

std::optional<GridLayout> loadGridLayout(const QString& path, QString* error) {
    QFile file(path);
    if (!file.exists()) {
        setError(error, QStringLiteral("Soubor %1 neexistuje.").arg(path));
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("Soubor %1 nelze otevřít: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    if (file.size() > kMaxFileSize) {
        setError(error, QStringLiteral("Soubor %1 je na rozložení mřížky příliš velký.").arg(path));
        return std::nullopt;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, QStringLiteral("Soubor %1 nelze přečíst: %2").arg(path, file.errorString()));
        return std::nullopt;
    }

    qsizetype headerEnd = data.indexOf('\n');
    if (headerEnd < 0)
        headerEnd = data.size();
    const QByteArray header = data.left(headerEnd).chopped(data.left(headerEnd).endsWith('\r') ? 1 : 0);
    if (!header.startsWith(kMagic)) {
        setError(error, QStringLiteral("Soubor %1 není rozložení mřížky programu Kelvarn.").arg(path));
        return std::nullopt;
    }
    const QByteArray version = header.mid(kMagic.size());
    if (version != kVersion) {
        setError(error,
                 QStringLiteral("Soubor %1 je rozložení mřížky ve verzi %2; tento program čte jen verzi %3.")
                     .arg(path, QString::fromUtf8(version).left(20), QString::fromLatin1(kVersion)));
        return std::nullopt;
    }

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString body = decoder(data.mid(headerEnd + 1));
    if (decoder.hasError()) {
        setError(error, QStringLiteral("Soubor %1 není platný text v kódování UTF-8.").arg(path));
        return std::nullopt;
    }

    GridLayout layout;
    QSet<QString> seen;
    const QStringList lines = body.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        GridColumn column;
        QString fault = parseColumn(line, column);
        if (fault.isEmpty() && seen.contains(fieldKey(column.field)))
            fault = QStringLiteral("uvádí sloupec %1 podruhé").arg(column.field);
        if (!fault.isEmpty()) {
            // The header is line 1.
            setError(error, QStringLiteral("Soubor %1, řádek %2: %3.").arg(path).arg(i + 2).arg(fault));
            return std::nullopt;
        }
        seen.insert(fieldKey(column.field));
        layout.columns.append(column);
    }
    return layout;
}

GridLayout applyGridLayout(const GridLayout& saved, const QStringList& currentColumns) {
    QHash<QString, QString> current; // key -> the spelling the grid uses now
    for (const QString& name : currentColumns)
        if (!current.contains(fieldKey(name)))
            current.insert(fieldKey(name), name);

    GridLayout fitted;
    QSet<QString> taken;
    for (const GridColumn& column : saved.columns) {
        const QString key = fieldKey(column.field);
        if (!current.contains(key) || taken.contains(key))
            continue;
        GridColumn kept = column;
        kept.field = current.value(key);
        fitted.columns.append(kept);
        taken.insert(key);
    }
    for (const QString& name : currentColumns) {
        const QString key = fieldKey(name);
        if (taken.contains(key))
            continue;
        GridColumn added;
        added.field = name;
        fitted.columns.append(added);
        taken.insert(key);
    }
    return fitted;
}

std::vector<std::optional<GridLayout>> restoreGridLayouts(const QString& appDir, const QString& userName,
                                                          const QList<GridColumns>& grids,
                                                          DiagnosticLog& log) {
    std::vector<std::optional<GridLayout>> layouts;
    layouts.reserve(grids.size());
    for (const GridColumns& grid : grids) {
        const QString path = gridLayoutPath(appDir, userName, grid.gridName);
        // No file yet is the normal state of a new user, not an error.
        if (!QFileInfo::exists(path)) {
            layouts.emplace_back(std::nullopt);
            continue;
        }
        QString error;
        const std::optional<GridLayout> saved = loadGridLayout(path, &error);
        if (!saved) {
            log.append(error);
            layouts.emplace_back(std::nullopt);
            continue;
        }
        // Without the columns (the list is not open yet) the grid fits the layout later.
        layouts.emplace_back(grid.columns.isEmpty() ? *saved : applyGridLayout(*saved, grid.columns));
    }
    return layouts;
}

bool saveGridLayouts(const QString& appDir, const QString& userName, const QList<NamedGridLayout>& grids,
                     DiagnosticLog& log) {
    bool allSaved = true;
    for (const NamedGridLayout& grid : grids) {
        QString error;
        if (!saveGridLayout(gridLayoutPath(appDir, userName, grid.gridName), grid.layout, &error)) {
            log.append(error);
            allSaved = false;
        }
    }
    return allSaved;
}

} // namespace kelvarn
