// The statement composer: a value quoted by SqlDialect::quoteText reaches the
// statement unchanged whatever the filter and order around it hold, and a date
// typed after a "datum" column becomes the platform's literal of that same date.

#include "db/db_platform.h"
#include "db/sql_dialect.h"
#include "fuzz_support.h"

#include <QDate>

using namespace kelvarn;
using namespace kelvarn::fuzz;

namespace {

const DbPlatform kPlatforms[] = {DbPlatform::Jet, DbPlatform::MsSql, DbPlatform::Oracle, DbPlatform::MySql,
                                 DbPlatform::Firebird};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const DbPlatform platform = kPlatforms[in.byte() % 5];
    const QString value = withoutNul(in.text());
    const QString filter = in.text();
    const QString extra = in.text();
    const QString orderBy = in.text();
    const QString select = QStringLiteral("SELECT * FROM t");

    const QString condition = QStringLiteral("(c=") + SqlDialect::quoteText(value, platform) + QLatin1Char(')');
    const QString where = extra.isEmpty() ? condition : condition + QStringLiteral(" AND (") + extra + QLatin1Char(')');
    const QString out = composeStatement(select, filter, where, orderBy, platform);
    FUZZ_CHECK(out.startsWith(select), out);
    FUZZ_CHECK(out.contains(condition), QStringLiteral("value [%1]\n%2").arg(value, out));
    if (filter.isEmpty() && extra.isEmpty() && orderBy.isEmpty())
        FUZZ_CHECK(out == SqlDialect::translateFunctions(select + QStringLiteral(" WHERE ") + condition, platform), out);

    // A date literal after a "datum" column, as the filters write them.
    const int day = 1 + in.byte() % 31;
    const int month = 1 + in.byte() % 12;
    const int year = 1000 + (in.byte() << 8 | in.byte()) % 9000;
    if (QDate::isValid(year, month, day)) {
        const QString typed = QStringLiteral("%1.%2.%3").arg(day).arg(month).arg(year);
        const QString dated = composeStatement(select, {}, QStringLiteral("(datum_x='") + typed + QStringLiteral("')"),
                                               {}, platform);
        const QLatin1Char zero('0');
        const QString expected = SqlDialect::dateLiteral(QStringLiteral("%1").arg(day, 2, 10, zero),
                                                         QStringLiteral("%1").arg(month, 2, 10, zero),
                                                         QString::number(year), platform);
        FUZZ_CHECK(dated == select + QStringLiteral(" WHERE (datum_x=") + expected + QLatin1Char(')'), dated);
    }
    return 0;
}
