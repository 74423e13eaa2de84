#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kelvarn {

// doklad_typ of tbl_doklad.
enum class DocumentType { Issued = 1, Received = 2, Receipt = 3, Expense = 4 };

// A kind of issued or received document as its selector offers it.
struct DocumentKind {
    QString prefix;      // "FAV", "PH", …
    QString caption;     // "Faktura vydaná (FAV)"
    int index = 0;       // position in the selector
    bool variableSymbol; // the save makes one from the number
};

// The kinds a type's selector lists, in selector order; empty for vouchers.
const std::vector<DocumentKind>& kindsOf(DocumentType type);
QStringList kindCaptions(DocumentType type);
// The type whose new rows the panel enters ("FormFAV-detail" -> Issued); nothing for
// other panels.
std::optional<DocumentType> documentTypeOfPanel(const QString& panelId);

// A selector position the save can use: 0 to 4, anything else counts as the last
// kind (internal documents).
int effectiveKindIndex(int index);
// The number prefix of a kind; vouchers have one each ("PPD", "VPD").
QString kindPrefix(DocumentType type, int index);
bool kindMakesVariableSymbol(DocumentType type, int index);

// The values a kind gives a document being entered. Texts are set as given (an
// empty text empties the column); the due date only when asked.
struct KindValues {
    QString vatBasis;      // podklad_dph
    QString receivable;    // pohledavka_zavazek
    QString paymentMethod; // zpusob_uhrady
    enum class Due { Keep, IssueDate, IssuePlusTerm } due = Due::Keep;
};

// What choosing the kind at `index` sets on a new issued or received document.
// entrepreneurPayment is the entrepreneur's default payment method.
KindValues kindValues(DocumentType type, int index, bool vatPayer, const QString& entrepreneurPayment);

// The year a new document's number belongs to: a VAT payer's document by its date
// of taxable supply when there is one, otherwise by its issue date, without either
// the current year.
int numberYear(bool vatPayer, const std::optional<QDate>& taxableSupply, const std::optional<QDate>& issue,
               const QDate& today);

// The variable symbol of an issued document: selector digit, year, serial.
QString variableSymbol(int kindIndex, int year, const QString& serial);

// The widest serial a number holds: five digits keep the variable symbol within
// its ten characters.
constexpr int kSerialDigits = 5;

} // namespace kelvarn
