#include "ui/filter_help.h"

#include <QTextBrowser>
#include <QVBoxLayout>

namespace kelvarn {

namespace {

QString rows(std::initializer_list<std::pair<const char*, const char*>> items) {
    QString out;
    for (const auto& [left, right] : items)
        out += QStringLiteral("<tr><td>%1</td><td style='white-space:pre-wrap'>%2</td></tr>")
                   .arg(QString::fromUtf8(left).toHtmlEscaped(), QString::fromUtf8(right).toHtmlEscaped());
    return out;
}

} // namespace

QString FilterHelp::helpPage() {
    // Blanks and line breaks of the rules stand as written.
    QString page = QStringLiteral("<div style='white-space:pre-wrap'>");
    page += QStringLiteral(
                "Typ atributu:\n- desetinné číslo\n- celé číslo\n- řetězec\n- datum\n\n"
                "Čtyři klíčové zásady:\n"
                "1. Číselné atributy se nedávají do uvozovek ani apostrofů. Jako oddělovač desetin musíte použít \n"
                "tečku, nikdy ne čárku.\n"
                "      [Zbývá uhradit] > 0.00\n"
                "2. Řetězcové a datumové atributy musí být obaleny apostrofem (klávesová zkratka ALT+39).\n"
                "      [Odběratel - název]  LIKE 'Korvan%'\n"
                "3. Datum musí být uváděn ve tvaru 'den.měsíc.rok'\n"
                "      [Datum splatnosti] > '9.11.2007'\n"
                "4. Je třeba počítat s NULL hodnotami, pokud je v podmínce atribut, který může obsahovat NULL \n"
                "(prázdnou) hodnotu.\n"
                "      [Odběratel - název] NOT LIKE 'abcd%'    ...toto je špatně, budou chybět řádky s NULL dodav.\n"
                "      [Odběratel - název] NOT LIKE 'abcd%' OR [Odběratel - název] IS NULL    ...toto je správně\n\n"
                "Porovnávání:")
                .toHtmlEscaped();
    page += QStringLiteral("</div><table cellspacing='0' cellpadding='1'>");
    page += rows({{"=", "rovná se"},
                  {"<>", "nerovná se"},
                  {"<", "menší"},
                  {"<=", "menší nebo rovno"},
                  {">", "větší"},
                  {">=", "větší nebo rovno"},
                  {"LIKE", "odpovídá (v hledaném řetězci pak figuruje většinou i % což symbolizuje  libovolný "
                           "text,\nanebo  _  což symbolizuje jeden libovolný znak)"},
                  {"IS", "je (používá se ve spojení s NULL nebo NOT NULL)"}});
    page += QStringLiteral("</table><p></p><table cellspacing='0' cellpadding='1'><tr><td colspan='2'>Operátory:</td>"
                           "<td width='40'></td><td colspan='2'>Speciální výrazy a funkce:</td></tr>");
    const char* const operators[][4] = {{"AND", "a zároveň", "NULL", "prázdná (nevyplněná) hodnota"},
                                        {"OR", "nebo", "UPPER/LOWER", "převod na velká/malá písmena"},
                                        {"NOT", "negace", "DATE()", "aktuální datum (čas není zahrnut)"}};
    for (const auto& row : operators)
        page += QStringLiteral("<tr><td>%1</td><td>%2</td><td></td><td>%3</td><td>%4</td></tr>")
                    .arg(QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString::fromUtf8(row[2]),
                         QString::fromUtf8(row[3]));
    page += QStringLiteral("</table><p>Při vyhodnocování výrazu se akceptují také závorky. Jejich význam je stejný "
                           "jako v matematice.</p>");
    return QStringLiteral("<div style='font-weight:bold; color:#000080'>") + page + QStringLiteral("</div>");
}

FilterHelp::FilterHelp(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(" Rychlá nápověda k vytvoření SQL výrazu"));
    setAccessibleName(windowTitle().trimmed());
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("Memo1"));
    text_->setAccessibleName(windowTitle().trimmed());
    text_->setOpenLinks(false);
    QPalette palette = text_->palette();
    palette.setColor(QPalette::Base, QColor(0xf4, 0xf7, 0xff));
    text_->setPalette(palette);
    text_->setHtml(helpPage());
    layout->addWidget(text_);
    const QFontMetrics metrics(text_->font());
    QFont bold = text_->font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    const int widest = boldMetrics.horizontalAdvance(QStringLiteral(
        "      [Odběratel - název] NOT LIKE 'abcd%' OR [Odběratel - název] IS NULL    ...toto je správně"));
    setFixedSize(widest + 48, metrics.lineSpacing() * 40);
}

} // namespace kelvarn
