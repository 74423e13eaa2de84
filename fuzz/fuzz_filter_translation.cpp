// User filter definitions: whatever the user types, the translation gives one line,
// a definition without captions passes unchanged, captions of the module become
// their columns, and a condition the check lets through composes into a statement
// with no second statement after a ";" and no quoted text left open.

#include "core/app_state.h"
#include "db/db_platform.h"
#include "db/sql_dialect.h"
#include "fuzz_support.h"
#include "lists/column_caption_map.h"
#include "lists/filter_translation.h"

using namespace kelvarn;
using namespace kelvarn::fuzz;
using namespace kelvarn::filter_translation;

namespace {

const DbPlatform kPlatforms[] = {DbPlatform::Jet, DbPlatform::MsSql, DbPlatform::Oracle, DbPlatform::MySql,
                                 DbPlatform::Firebird};

// A ";" outside '...' and "..." texts, or such a text never closed.
bool unsafe(const QString& statement) {
    QChar open;
    for (qsizetype i = 0; i < statement.size(); ++i) {
        const QChar c = statement[i];
        if (!open.isNull()) {
            if (c == open) {
                if (i + 1 < statement.size() && statement[i + 1] == open)
                    ++i;
                else
                    open = QChar();
            }
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            open = c;
        } else if (c == QLatin1Char(';')) {
            return true;
        }
    }
    return !open.isNull();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const int tab = 1 + in.byte() % 11;
    const DbPlatform platform = kPlatforms[in.byte() % 5];
    const QString definition = withoutNul(in.text());
    static const std::array<QString, kCaptionMapCount> maps = [] {
        AppState state;
        state.vatReduced = 12;
        state.vatBasic = 21;
        return buildCaptionMaps(state);
    }();
    const QList<CaptionEntry> captions = ColumnCaptionMap::read(maps[tab]);

    const QString line = oneLine(definition);
    const QString condition = translate(definition, captions);
    FUZZ_CHECK(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')), line);
    FUZZ_CHECK(!condition.contains(QLatin1Char('\n')) && !condition.contains(QLatin1Char('\r')), condition);
    if (!definition.contains(QLatin1Char('[')))
        FUZZ_CHECK(condition == line, condition);

    const Check result = check(condition);
    FUZZ_CHECK(result.ok() == faultText(result).isEmpty(), condition);
    if (result.fault == Fault::UnknownCaption)
        FUZZ_CHECK(result.detail.startsWith(QLatin1Char('[')) && condition.contains(result.detail), result.detail);
    if (result.ok()) {
        FUZZ_CHECK(!unsafe(condition), condition);
        const QString statement = composeStatement(QStringLiteral("SELECT * FROM tbl_doklad"), condition,
                                                   QStringLiteral("(doklad_typ=1)"), QStringLiteral("id"), platform);
        FUZZ_CHECK(!unsafe(statement), condition + QStringLiteral("\n=> ") + statement);
    }

    // The module's captions, picked by the input and written in any letter case,
    // leave nothing but their columns.
    if (!captions.isEmpty()) {
        QString typed;
        QString expected;
        while (!in.empty()) {
            const CaptionEntry& entry = captions[in.byte() % captions.size()];
            const bool upper = in.byte() & 1;
            typed += (upper ? entry.caption.toUpper() : entry.caption.toLower()) + QStringLiteral(" = 1\r\nAND ");
            expected += entry.column + QStringLiteral(" = 1 AND ");
        }
        const QString translated = translate(typed, captions);
        FUZZ_CHECK(translated == expected, translated + QStringLiteral(" <> ") + expected);
        FUZZ_CHECK(check(translated).ok(), translated);
    }
    return 0;
}
