#include "ui/filter_help.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kelvarn {

QString FilterHelp::helpText() {
    return QStringLiteral(
        "Typ atributu:\n"
        "- desetinné číslo\n"
        "- celé číslo\n"
        "- řetězec\n"
        "- datum\n"
        "\n"
        "Čtyři klíčové zásady:\n"
        "1. Číselné atributy se nedávají do uvozovek ani apostrofů. Jako oddělovač desetin musíte použít \n"
        "tečku, nikdy ne čárku.\n"
        "    [Zbývá uhradit] > 0.00\n"
        "2. Řetězcové a datumové atributy musí být obaleny apostrofem (klávesová zkratka ALT+39).\n"
        "    [Odběratel - název]  LIKE 'Korvan%'\n"
        "3. Datum musí být uváděn ve tvaru 'den.měsíc.rok'\n"
        "    [Datum splatnosti] > '9.11.2007'\n"
        "4. Je třeba počítat s NULL hodnotami, pokud je v podmínce atribut, který může obsahovat NULL \n"
        "(prázdnou) hodnotu.\n"
        "    [Odběratel - název] NOT LIKE 'abcd%'    ...toto je špatně, budou chybět řádky s NULL dodav.\n"
        "    [Odběratel - název] NOT LIKE 'abcd%' OR [Odběratel - název] IS NULL    ...toto je správně\n"
        "\n"
        "Porovnávání:\n"
        "=\trovná se\n"
        "<>\tnerovná se\n"
        "<\tmenší\n"
        "<=\tmenší nebo rovno\n"
        ">\tvětší\n"
        ">=\tvětší nebo rovno\n"
        "LIKE\todpovídá (v hledaném řetězci pak figuruje většinou i % což symbolizuje  libovolný text,\n"
        "\tanebo  _  což symbolizuje jeden libovolný znak)\n"
        "IS\tje (používá se ve spojení s NULL nebo NOT NULL)\n"
        "\n"
        "Operátory:\t\t\tSpeciální výrazy a funkce:\n"
        "AND\ta zároveň\t\tNULL\tprázdná (nevyplněná) hodnota\n"
        "OR\tnebo\t\t\tUPPER/LOWER\tpřevod na velká/malá písmena\n"
        "NOT\tnegace\t\t\tDATE()\taktuální datum (čas není zahrnut)\n"
        "\n"
        "Při vyhodnocování výrazu se akceptují také závorky. Jejich význam je stejný jako v matematice.");
}

FilterHelp::FilterHelp(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(" Rychlá nápověda k vytvoření SQL výrazu"));
    setAccessibleName(windowTitle().trimmed());
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Memo1"));
    text_->setAccessibleName(windowTitle().trimmed());
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font = text_->font();
    font.setBold(true);
    text_->setFont(font);
    text_->setTabStopDistance(text_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 10);
    QPalette palette = text_->palette();
    palette.setColor(QPalette::Base, QColor(0xf4, 0xf7, 0xff));
    palette.setColor(QPalette::Text, QColor(0x00, 0x00, 0x80));
    text_->setPalette(palette);
    text_->setPlainText(helpText());
    layout->addWidget(text_);
    const QFontMetrics metrics(font);
    int width = 0;
    for (const QString& line : helpText().split(QLatin1Char('\n')))
        width = std::max(width, metrics.horizontalAdvance(line));
    setFixedSize(std::min(width + 80, 980), metrics.lineSpacing() * 38 + 16);
}

} // namespace kelvarn
