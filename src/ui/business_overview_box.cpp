#include "ui/business_overview_box.h"

#include "ui/figure_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kelvarn {

BusinessOverviewBox::BusinessOverviewBox(QWidget* parent)
    : QGroupBox(QStringLiteral("Informace o hospodaření"), parent) {
    setObjectName(QStringLiteral("GroupBoxHospodareni"));
    setAccessibleName(title());
    // One row under the entrepreneur's fields, captions above the figures, so that it
    // stays in sight whatever the window's height.
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(1);
    const struct {
        const char* name;
        const char* label;
        const char* hint;
    } rows[] = {
        {"Memo6", "Neuhrazené závazky", "Suma \"zbývá uhradit\" za doklady kde závazek = Ano"},
        {"Memo7", "Neuhrazené pohledávky", "Suma \"zbývá uhradit\" za doklady kde pohledávka = Ano"},
        {"Memo8", "DPH (aktuální rok)", "Předpokládaná částka pro odvod DPH"},
        {"Memo9", "Základ DzP (aktuální rok)",
         "Předpokládaný základ daně (rozdíl mezi daňovými příjmy a výdaji)"},
    };
    int column = 0;
    for (const auto& r : rows) {
        const QString label = QString::fromUtf8(r.label);
        auto* caption = new QLabel(label, this);
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(r.name));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setFocusPolicy(Qt::ClickFocus);
        box->setAccessibleName(label);
        box->setToolTip(QString::fromUtf8(r.hint));
        caption->setBuddy(box);
        caption->setToolTip(box->toolTip());
        grid->addWidget(caption, 0, column);
        grid->addWidget(box, 1, column);
        grid->setColumnStretch(column++, 1);
        fields_.insert(box->objectName(), box);
    }
    refresh_ = new QPushButton(QStringLiteral("  Aktualizovat"), this);
    refresh_->setObjectName(QStringLiteral("BitBtnRefresh"));
    refresh_->setAccessibleName(QStringLiteral("Aktualizovat"));
    grid->addWidget(refresh_, 1, column);
    connect(refresh_, &QPushButton::clicked, this, &BusinessOverviewBox::refreshRequested);
}

void BusinessOverviewBox::showFigures(const std::vector<Figure>& figures) {
    for (const Figure& f : figures)
        showFigure(fields_.value(f.control), f);
}

} // namespace kelvarn
