#pragma once

#include <QList>
#include <QString>

#include <array>

namespace kelvarn {

struct AppState;

// One column a user may name in a filter or see as an export header.
struct CaptionEntry {
    QString column;  // "zbyva_uhradit", "tbl_polozky.kod_zbozi"
    QString caption; // with its brackets: "[Zbývá uhradit]"
};

// The caption map of one module tab: "column,[caption],#" repeated. Reading follows the
// shared delimited-item routine, so whatever it stops at is where filters stop too.
class ColumnCaptionMap {
  public:
    ColumnCaptionMap() = default;
    explicit ColumnCaptionMap(const QString& text);

    // Entries up to the first empty one; an entry without "," names no column and is skipped.
    static QList<CaptionEntry> read(const QString& text);

    const QString& text() const { return text_; }
    const QList<CaptionEntry>& entries() const { return entries_; }
    bool isEmpty() const { return entries_.isEmpty(); }

    // Exact, case-sensitive; the brackets may be given or left off. "" when unknown.
    QString columnOf(const QString& caption) const;
    // The bracketed caption of a column; "" when the column is not in the map.
    QString captionOf(const QString& column) const;

  private:
    QString text_;
    QList<CaptionEntry> entries_;
};

// Indexed by the tab index of the module tab bar; 0 and 12..14 stay empty.
inline constexpr int kCaptionMapCount = 15;
inline constexpr int kIssuedDocumentsTab = 3;
inline constexpr int kReceivedDocumentsTab = 4;

// A VAT rate as it stands inside a caption: the general number format, but a ","
// becomes "." because "," separates column and caption in the map.
QString captionRate(double rate);

// The documents map of tab 3 (issued) or tab 4 (received) for the given rates.
QString documentsCaptionMap(bool issued, double reducedRate, double basicRate);

// Every map, built once after login from the rates read then.
std::array<QString, kCaptionMapCount> buildCaptionMaps(const AppState& state);

} // namespace kelvarn
