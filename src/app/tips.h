#pragma once

#include <QString>

#include <functional>

namespace kelvarn {

inline constexpr int kTipCount = 11;

// The eleven tips of the day, each ended by "^". Tip 0 holds one variant per
// database platform (JET, MS SQL 2005, Oracle, MySQL, Firebird), each ended by "#".
QString tipsText();

// The tip at tipIndex; a tip with platform variants gives the variant of
// platformCode ("1".."5"). Empty for an index or platform that has no tip.
QString tipText(const QString& tipsText, int tipIndex, const QString& platformCode);

// The tip after tipIndex, from the last back to the first.
int nextTipIndex(int tipIndex);

// The first tip to show at start. random(low, high) draws an integer from the closed
// range. Tip 0 (the default login) is kept for the very first run, which is the run
// without "firstlogin.txt".
int chooseTipIndex(bool firstLoginFileExists, const std::function<int(int, int)>& random);

// Draws from the closed range [low, high] with the application's random generator.
int randomInRange(int low, int high);

} // namespace kelvarn
