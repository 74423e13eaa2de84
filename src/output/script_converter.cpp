#include "output/script_converter.h"

#include "core/text_utils.h"

#include <utility>
#include <vector>

namespace kelvarn {

namespace {

using Rewrite = std::pair<const char*, const char*>;

// The order matters: " INTO" is parked as " XXXX" so that the " INT" rewrite after it
// cannot reach the keyword, and is put back last.
const std::vector<Rewrite>& rewritesOf(ConversionMode mode) {
    static const std::vector<Rewrite> none = {{"#ACCESS_ONLY ", ""},
                                              {"#SQL2005_ONLY ", "//"},
                                              {"#MYSQL_ONLY ", "//"},
                                              {"#ORACLE_ONLY ", "//"},
                                              {"#FIREBIRD_ONLY ", "//"}};
    static const std::vector<Rewrite> msSql = {{"#SQL2005_ONLY ", ""},    {"#ACCESS_ONLY ", "//"},
                                               {"#MYSQL_ONLY ", "//"},    {"#ORACLE_ONLY ", "//"},
                                               {"#FIREBIRD_ONLY ", "//"}, {" COUNTER", " INT IDENTITY(1,1)"},
                                               {" WITH COMPRESSION", ""}, {" MEMO", " TEXT"}};
    static const std::vector<Rewrite> mySql = {{"#MYSQL_ONLY ", ""},      {"#ACCESS_ONLY ", "//"},
                                               {"#ORACLE_ONLY ", "//"},   {"#SQL2005_ONLY ", "//"},
                                               {"#FIREBIRD_ONLY ", "//"}, {" COUNTER", " INT AUTO_INCREMENT"},
                                               {" FLOAT", " DOUBLE"},     {" WITH COMPRESSION", ""}};
    static const std::vector<Rewrite> oracle = {
        {"#ORACLE_ONLY ", ""},       {"#MYSQL_ONLY ", "//"},      {"#ACCESS_ONLY ", "//"},
        {"#SQL2005_ONLY ", "//"},    {"#FIREBIRD_ONLY ", "//"},   {" INTO", " XXXX"},
        {" varchar(", " varchar2("}, {" SMALLINT", " NUMBER(4)"}, {" INT", " NUMBER(9)"},
        {" COUNTER", " NUMBER(9)"},  {" DATETIME", " DATE"},      {" WITH COMPRESSION", ""},
        {" MEMO", " LONG"},          {" XXXX", " INTO"}};
    static const std::vector<Rewrite> firebird = {{"#ORACLE_ONLY ", "//"},
                                                  {"#MYSQL_ONLY ", "//"},
                                                  {"#ACCESS_ONLY ", "//"},
                                                  {"#SQL2005_ONLY ", "//"},
                                                  {"#FIREBIRD_ONLY ", ""},
                                                  {" INTO", " XXXX"},
                                                  {" DROP COLUMN ", " DROP "},
                                                  {" WITH COMPRESSION", ""},
                                                  {" INT", " INTEGER"},
                                                  {" COUNTER", " INTEGER"},
                                                  {" FLOAT", " DOUBLE PRECISION"},
                                                  {" DATETIME", " TIMESTAMP"},
                                                  {" MEMO", " BLOB SUB_TYPE TEXT"},
                                                  {" XXXX", " INTO"}};
    switch (mode) {
    case ConversionMode::MsSql:
        return msSql;
    case ConversionMode::Oracle:
        return oracle;
    case ConversionMode::MySql:
        return mySql;
    case ConversionMode::Firebird:
        return firebird;
    case ConversionMode::None:
        break;
    }
    return none;
}

} // namespace

ConversionMode modeForPlatform(const QString& platformCode) {
    if (platformCode == QLatin1String("2"))
        return ConversionMode::MsSql;
    if (platformCode == QLatin1String("3"))
        return ConversionMode::Oracle;
    if (platformCode == QLatin1String("4"))
        return ConversionMode::MySql;
    if (platformCode == QLatin1String("5"))
        return ConversionMode::Firebird;
    return ConversionMode::None;
}

QString modeCaption(ConversionMode mode) {
    switch (mode) {
    case ConversionMode::MsSql:
        return QStringLiteral("  Access -> Microsoft S&QL");
    case ConversionMode::Oracle:
        return QStringLiteral("  Access -> Oracle");
    case ConversionMode::MySql:
        return QStringLiteral("  Access -> MySQL");
    case ConversionMode::Firebird:
        return QStringLiteral("  Access -> Firebird");
    case ConversionMode::None:
        break;
    }
    return QStringLiteral("  Nekonvertovat");
}

QString convertStatement(const QString& statement, ConversionMode mode) {
    QString out = statement;
    for (const auto& [what, with] : rewritesOf(mode))
        out = replaceAllNoCase(out, QLatin1String(what), QLatin1String(with));
    return out;
}

} // namespace kelvarn
