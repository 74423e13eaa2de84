#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace kelvarn {

// One bound field of a detail panel. The column's type decides between a line, a
// number, a date and a memo; a list of choices makes it a selector.
struct DetailField {
    QString column;
    QString caption;
    QStringList choices;   // empty: no selector
    bool freeText = false; // the selector also takes a typed text
    bool readOnly = false;
    QString hint;
    QString control; // the control's own name where other code looks it up (memos)
};

// A titled block of fields, laid out in `pairsPerRow` caption/field pairs per line.
struct DetailGroup {
    QString title;
    QList<DetailField> fields;
    int pairsPerRow = 1;
    bool wide = false; // spans both columns of the panel
    // A table of figures: the first rows × columns fields fill it row by row under
    // these titles; the fields after it follow as usual.
    QStringList columnTitles;
    QStringList rowTitles;
};

// How the fields of one detail panel are grouped, captioned and offered. Columns of
// the table that no group names are still shown, in a last group of their own, so a
// value is never out of the user's sight; `hidden` lists the exceptions.
struct DetailLayout {
    QList<DetailGroup> groups;
    QStringList hidden;
    QString restTitle = QStringLiteral("Další údaje");
};

// The layout of a detail container (PanelFAV, PanelFAP, PanelPPD, PanelVPD,
// PanelMajetek, PanelZbozi, PanelPartneri, PanelZakazky); empty for any other name.
DetailLayout detailLayout(const QString& container);

// A grid column whose place and title are fixed.
struct GridColumnTitle {
    QString column;
    QString title;
};

// The columns, in display order and with their titles, of the grids that have their
// own (DBGridFAVpol, DBGridOdpisy, DBGridHlavniKniha, DBGridKnihaJizd, DBGridZbozi,
// DBGridMajetek); empty for the others, which take their module's caption map. A
// saved arrangement of the user's still wins.
QList<GridColumnTitle> gridColumns(const QString& grid);

// Amount columns by lower-case name and the decimals they are shown with: money with
// 2 (grouped "1 234,50"), unit prices with 4. Other numbers show as stored.
const QHash<QString, int>& amountDecimals();

// Offered on documents, the entrepreneur record and wherever a payment method is typed.
QStringList paymentMethods();
QStringList yesNoChoices();

} // namespace kelvarn
