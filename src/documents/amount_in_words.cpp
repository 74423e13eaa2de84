#include "documents/amount_in_words.h"

#include <array>

namespace kelvarn {

namespace {

using Words = std::array<const char*, 10>;

constexpr Words kUnitsFeminine = {"", "jedna", "dvě", "tři", "čtyři", "pět", "šest", "sedm", "osm", "devět"};
constexpr Words kUnitsMasculine = {"", "jeden", "dva", "tři", "čtyři", "pět", "šest", "sedm", "osm", "devět"};
constexpr Words kTens = {"",        "",        "dvacet",    "třicet",   "čtyřicet",
                         "padesát", "šedesát", "sedmdesát", "osmdesát", "devadesát"};
constexpr Words kTeens = {"deset",   "jedenáct", "dvanáct",  "třináct", "čtrnáct",
                          "patnáct", "šestnáct", "sedmnáct", "osmnáct", "devatenáct"};
constexpr Words kHundreds = {"",       "sto",     "dvěstě",  "třista", "čtyřista",
                             "pětset", "šestset", "sedmset", "osmset", "devětset"};

enum class Gender { Feminine, Masculine };

// The name a group takes after its words. Thousands, millions and the thousands
// of billions decline by their last two digits, billions by the whole group.
enum class Declension { ByLastDigits, ByWholeGroup };

struct GroupName {
    const char* one;
    const char* twoToFour;
    const char* many;
    Gender gender;
    Declension declension;
};

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

QString groupWords(int group, Gender gender) {
    const int u = group % 10;
    const int t = group / 10 % 10;
    const int h = group / 100;
    QString words = u8(kHundreds[h]);
    if (t == 1)
        words += u8(kTeens[u]);
    else
        words += u8(kTens[t]) + u8(gender == Gender::Feminine ? kUnitsFeminine[u] : kUnitsMasculine[u]);
    return words;
}

QString groupName(int group, const GroupName& name) {
    if (name.declension == Declension::ByWholeGroup) {
        if (group == 1)
            return u8(name.one);
        return u8(group >= 2 && group <= 4 ? name.twoToFour : name.many);
    }
    const int u = group % 10;
    const int t = group / 10 % 10;
    if (t != 1 && u == 1)
        return u8(name.one);
    if (t != 1 && u >= 2 && u <= 4)
        return u8(name.twoToFour);
    return u8(name.many);
}

} // namespace

std::optional<QString> amountInWords(qint64 amount) {
    if (amount < 0)
        return QString();
    if (amount > kLargestAmountInWords)
        return std::nullopt;
    if (amount == 0)
        return QStringLiteral("Nula");

    // From the highest group down; the units group has no name.
    static const std::array<GroupName, 5> kGroups = {{
        {"bilion", "biliony", "bilionů", Gender::Masculine, Declension::ByLastDigits},
        {"miliarda", "miliardy", "miliard", Gender::Feminine, Declension::ByWholeGroup},
        {"milion", "miliony", "milionů", Gender::Masculine, Declension::ByLastDigits},
        {"tisíc", "tisíce", "tisíc", Gender::Masculine, Declension::ByLastDigits},
        {"", "", "", Gender::Feminine, Declension::ByLastDigits},
    }};
    qint64 divisor = 1'000'000'000'000;
    QString text;
    for (const GroupName& name : kGroups) {
        const int group = static_cast<int>(amount / divisor % 1000);
        divisor /= 1000;
        if (group == 0)
            continue;
        text += groupWords(group, name.gender) + groupName(group, name);
    }
    // "sto" alone reads as a noun; at the start it needs its number.
    if (text.startsWith(QLatin1String("sto")))
        text.prepend(QLatin1String("jedno"));
    text[0] = text[0].toUpper();
    return text;
}

} // namespace kelvarn
