#include "core/ini_reader.h"

#include "core/text_file.h"

#include <QFile>
#include <QList>

namespace kelvarn {

namespace {

// The file has always been read through a 2048-byte line buffer: a longer line
// arrives in pieces, and every piece counts as a line of its own.
constexpr qsizetype kMaxPiece = 2047;

enum class Key {
    None,
    DatabaseString,
    Platform,
    SaveWithoutPrompt,
    AscendingOrder,
    RefreshAfterSave,
    UpdateCriteria,
    ShowTips,
    Debug
};

Key keyOf(const QString& line) {
    struct Prefix {
        QLatin1String text;
        Key key;
    };
    static const Prefix prefixes[] = {
        {QLatin1String("[database string]"), Key::DatabaseString},
        {QLatin1String("[databse string]"), Key::DatabaseString},
        {QLatin1String("[database platform]"), Key::Platform},
        {QLatin1String("[save without promt]"), Key::SaveWithoutPrompt},
        {QLatin1String("[default orderby"), Key::AscendingOrder},
        {QLatin1String("[refresh after save]"), Key::RefreshAfterSave},
        {QLatin1String("[update criteria]"), Key::UpdateCriteria},
        {QLatin1String("[show tips]"), Key::ShowTips},
        {QLatin1String("[debug]"), Key::Debug},
    };
    const QString lower = line.toLower();
    for (const Prefix& prefix : prefixes)
        if (lower.startsWith(prefix.text))
            return prefix.key;
    return Key::None;
}

// The option is a keyword compared as "YES": only its ASCII letters change case, so
// a stray byte in it stays a character the file can hold.
QString asciiUpper(QString text) {
    for (QChar& c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return text;
}

QList<QByteArray> pieces(const QByteArray& bytes) {
    QList<QByteArray> out;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        const qsizetype lineEnd = newline < 0 ? bytes.size() : newline + 1;
        const qsizetype length = qMin(lineEnd - start, kMaxPiece);
        out.append(bytes.mid(start, length));
        start += length;
    }
    return out;
}

bool isYes(const QString& value) {
    return value.compare(QLatin1String("YES"), Qt::CaseInsensitive) == 0;
}

void setPlatform(AppState& state, const QString& platform) {
    state.platform = platform;
    state.oracleAutoInc = platform == QLatin1String("3");
    state.firebirdAutoInc = platform == QLatin1String("5");
}

// Applies one value; false when the value cannot be used and reading must stop.
bool apply(Key key, const QString& value, AppState& state, QString& detail) {
    switch (key) {
    case Key::DatabaseString:
        state.connectionString = value;
        break;
    case Key::Platform: {
        // An empty value would leave nothing to take the first character of; the
        // platform chosen so far is kept rather than inventing one.
        if (value.isEmpty())
            break;
        const QChar first = value.at(0);
        if (first == QLatin1Char('n') || first == QLatin1Char('N'))
            setPlatform(state, QStringLiteral("1"));
        else if (first == QLatin1Char('y') || first == QLatin1Char('Y'))
            setPlatform(state, QStringLiteral("3"));
        else
            setPlatform(state, QString(first));
        break;
    }
    case Key::SaveWithoutPrompt:
        state.saveWithoutPrompt = isYes(value);
        break;
    case Key::AscendingOrder:
        state.ascendingOrder = isYes(value);
        break;
    case Key::RefreshAfterSave:
        state.refreshAfterSave = isYes(value);
        break;
    case Key::UpdateCriteria:
        if (value.isEmpty() || value.at(0) < QLatin1Char('0') || value.at(0) > QLatin1Char('9')) {
            detail = QStringLiteral("[update criteria]: \"%1\" není číslo").arg(value);
            return false;
        }
        state.updateCriteria = value.at(0).digitValue();
        break;
    case Key::ShowTips:
        state.showTips = asciiUpper(value);
        break;
    case Key::Debug:
        state.debug = isYes(value);
        break;
    case Key::None:
        break;
    }
    return true;
}

} // namespace

IniReadResult readIniFile(const QString& path, AppState& state) {
    IniReadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = IniReadStatus::CannotOpen;
        result.detail = file.errorString();
        return result;
    }
    setPlatform(state, QStringLiteral("1"));
    state.showTips = QStringLiteral("YES");

    Key pending = Key::None;
    for (const QByteArray& piece : pieces(file.readAll())) {
        const QString line = fromCp1250(piece);
        if (pending == Key::None) {
            pending = keyOf(line);
            continue;
        }
        const Key key = pending;
        pending = Key::None;
        if (!apply(key, line.trimmed(), state, result.detail)) {
            result.status = IniReadStatus::BadValue;
            return result;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        result.status = IniReadStatus::BadValue;
        result.detail = file.errorString();
    }
    return result;
}

} // namespace kelvarn
