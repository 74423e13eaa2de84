#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace kelvarn::sql_scan {

// Opens a quoted section: a string literal or a quoted name.
inline bool isQuote(QChar c) {
    return c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[');
}

// Index just past the quoted section starting at pos ('...', "...", `...` or [...]);
// a doubled closing quote stands for itself. -1 when the section is not closed.
inline qsizetype quotedEnd(const QString& text, qsizetype pos) {
    const QChar open = text[pos];
    const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
    for (qsizetype i = pos + 1; i < text.size(); ++i) {
        if (text[i] != close)
            continue;
        if (close != QLatin1Char(']') && i + 1 < text.size() && text[i + 1] == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

using Range = std::pair<qsizetype, qsizetype>; // [begin, end)

// The comma-separated elements of the parenthesised list whose "(" is at open;
// *closeAt receives the index of its ")". Commas inside quotes or nested parentheses
// do not separate. False when the list or a quoted section in it is not closed.
inline bool splitList(const QString& text, qsizetype open, QList<Range>& items, qsizetype* closeAt) {
    int depth = 0;
    qsizetype begin = open + 1;
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isQuote(c)) {
            const qsizetype end = quotedEnd(text, i);
            if (end < 0)
                return false;
            i = end - 1;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            if (depth == 0) {
                items.append({begin, i});
                *closeAt = i;
                return true;
            }
            --depth;
        } else if (c == QLatin1Char(',') && depth == 0) {
            items.append({begin, i});
            begin = i + 1;
        }
    }
    return false;
}

} // namespace kelvarn::sql_scan
