#include "core/iban.h"

#include <gtest/gtest.h>

namespace kelvarn {
namespace {

TEST(Iban, ElectronicFormHasNoBlanksAndCapitals) {
    EXPECT_EQ(normalizeIban(QStringLiteral(" cz65 0800 0000 1920 0014 5399 ")),
              QStringLiteral("CZ6508000000192000145399"));
    EXPECT_EQ(normalizeIban(QString()), QString());
}

TEST(Iban, TheCheckDigitsCatchTypingErrors) {
    const struct {
        const char* iban;
        bool valid;
    } cases[] = {
        {"CZ6508000000192000145399", true},
        {"cz65 0800 0000 1920 0014 5399", true},
        {"CZ7301000000000000273850", true},
        {"DE89370400440532013000", true},
        {"GB82WEST12345698765432", true},
        {"CZ6508000000192000145398", false}, // one digit wrong
        {"CZ6508000000192000145939", false}, // two digits swapped
        {"CZ5608000000192000145399", false}, // check digits swapped
        {"CZ6608000000192000145399", false}, // a check digit off
        {"CZ650800000019200014539", false},  // one character short of a Czech IBAN
        {"GB82WEST12345698765433", false},
        {"CZ65080000001920001453", false},   // a digit missing … still long enough, wrong check
        {"CZ65", false},
        {"CZ", false},
        {"", false},
        {"6508000000192000145399CZ", false},
        {"CZ65-0800-0000-1920-0014-5399", false},
        {"CZ650800000019200014539912345678901234", false}, // longer than any IBAN
    };
    for (const auto& c : cases)
        EXPECT_EQ(isValidIban(QString::fromLatin1(c.iban)), c.valid) << c.iban;
}

} // namespace
} // namespace kelvarn
