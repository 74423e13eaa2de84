#pragma once

#include "lists/column_caption_map.h"

#include <QList>
#include <QString>

namespace kelvarn {

// A filter definition as the user wrote it (captions in brackets, possibly over
// several lines) on its way to the list statement.
namespace filter_translation {

// The definition as one line: line feeds dropped, carriage returns become blanks.
// This is the text the status bar and the printed lists show.
QString oneLine(const QString& definition);

// Every caption of the map, in map order and ignoring letter case, replaced by its
// column name; then flattened like oneLine. Captions the map does not hold stay
// as they are (checkCondition finds them).
QString translate(const QString& definition, const QList<CaptionEntry>& captions);

enum class Fault {
    None,
    UnknownCaption,  // a bracketed name no caption of the module translated
    OpenQuote,       // an apostrophe (or double quote) without its partner
    SecondStatement, // a ";" outside quotes: a second statement would follow
};

struct Check {
    Fault fault = Fault::None;
    QString detail; // the unknown caption with its brackets
    bool ok() const { return fault == Fault::None; }
};

// What stops a translated condition from being handed to the database: the first
// fault from the left. Quoted texts are skipped, so "LIKE '[a]%;'" is fine.
Check check(const QString& condition);

// The message telling the user what to correct.
QString faultText(const Check& check);

} // namespace filter_translation
} // namespace kelvarn
