#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <vector>

namespace kelvarn {
class DatabaseSession;
}

namespace kelvarn::test {

// One item line of a sample document, computed the way the item save does.
struct SampleLine {
    QString code;
    QString description;
    double quantity = 1;
    QString unit = QStringLiteral("ks");
    double unitPrice = 0;
    double rate = 21;
    double discount = 0;
};

// A sample document: its number decides its kind, like the program's.
struct SampleDocument {
    int id = 0;
    int type = 1; // doklad_typ
    QString number;
    QString variableSymbol;
    QString paymentMethod = QStringLiteral("bank. převodem");
    QDate issued{2026, 3, 2};
    QDate due{2026, 3, 16};
    bool vatDates = true;
    QString partner = QStringLiteral("Stavebniny Řehoř s.r.o.");
    QString partnerAddition = QStringLiteral("Velkoobchod se dřevem");
    QString partnerStreet = QStringLiteral("Nádražní 15");
    QString partnerTown = QStringLiteral("Jihlava");
    QString partnerPostcode = QStringLiteral("586 01");
    QString partnerIco = QStringLiteral("45198306");
    QString partnerDic = QStringLiteral("CZ45198306");
    QString deliveryName;
    std::vector<SampleLine> lines;
    std::vector<double> deposits; // gross amounts of #ZAL lines (negative: deducted)
    bool cashRounding = false;    // whole units, the difference in the zero slot
    double typedGross = 0;        // vouchers and received documents without lines: gross at 21 %
    QString text;                 // poznamka2
    QString note;                 // poznamka
    double remaining = -1;        // zbyva_uhradit; -1: the gross total less deposits
};

// The demo entrepreneur's documents, cash book, assets and trips the printed forms
// are tried with; ids from 1001 up. Returns the documents as written.
std::vector<SampleDocument> fillPrintSamples(DatabaseSession& session);

// Writes one document with its lines (header totals summed from them, VAT per slot
// from the slot's net amount as "Sečíst" does).
void writeSampleDocument(DatabaseSession& session, const SampleDocument& document);

// A text with the characters markup and quoting stumble over, and Czech letters.
inline const QString kAwkwardText = QStringLiteral("<b>Š&amp; \"Ďábel\" & 'Žluťoučký' kůň</b>");

} // namespace kelvarn::test
