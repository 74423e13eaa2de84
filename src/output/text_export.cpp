#include "output/text_export.h"

#include "core/prompts.h"
#include "core/text_file.h"

namespace kelvarn::text_export {

QString separatorFromAnswer(const QString& answer) {
    // Only these exact spellings; "<Tab>" is meant literally.
    static const QStringList tabSpellings = {QStringLiteral("<tab>"), QStringLiteral("<TAB>"),
                                             QStringLiteral("chr(9)"), QStringLiteral("Chr(9)"),
                                             QStringLiteral("CHR(9)")};
    if (tabSpellings.contains(answer))
        return QStringLiteral("\t");
    return answer;
}

bool askSeparator(Prompts& prompts, QString& separator) {
    QString answer = kDefaultSeparator;
    if (!prompts.inputText(QStringLiteral("Export - oddělovací znak"),
                           QStringLiteral("Zadejte prosím znak, který bude použit jako oddělovač sloupců:"),
                           answer))
        return false;
    separator = separatorFromAnswer(answer);
    return true;
}

QString flattenLine(const QString& line) {
    QString out = line;
    out.replace(QLatin1String("\r\n"), QLatin1String("<enter>"));
    // Text typed on this system breaks lines with a bare LF; a lone CR or LF left
    // in the line would split the row just the same.
    out.replace(QLatin1Char('\n'), QLatin1String("<enter>"));
    out.replace(QLatin1Char('\r'), QLatin1String("<enter>"));
    return out;
}

void writeLines(const QString& path, const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    QString reason;
    if (!writeCp1250File(path, text, &reason))
        throw WriteError(QStringLiteral("Soubor \"%1\" nelze zapsat: %2").arg(path, reason));
}

bool saveLines(Prompts& prompts, const QString& presetName, const QStringList& lines) {
    const QString path = prompts.saveFileName(
        QStringLiteral("Export do souboru (uložit jako...)"), presetName,
        {QStringLiteral("všechny soubory (*.*)"), QStringLiteral("jen txt (*.txt)")}, QStringLiteral("txt"));
    if (path.isEmpty())
        return false;
    writeLines(path, lines);
    return true;
}

} // namespace kelvarn::text_export
