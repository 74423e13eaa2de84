#include "ui/entrepreneur_panel.h"

#include "db/dataset.h"
#include "db/db_error.h"
#include "registers/entrepreneur_record.h"
#include "ui/business_overview_box.h"
#include "ui/field_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvarn {

namespace {

QGroupBox* group(const QString& title, QGridLayout*& grid) {
    auto* box = new QGroupBox(title);
    box->setAccessibleName(title);
    grid = new QGridLayout(box);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(10);
    return box;
}

} // namespace

EntrepreneurPanel::EntrepreneurPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelPodnikatel"));
    setAccessibleName(QStringLiteral("Podnikatel"));

    QGridLayout* g = nullptr;
    QGroupBox* identity = group(QStringLiteral("Podnikatelský subjekt"), g);
    // Name and IČ are written when the database is created and read once per run;
    // the panel shows them only.
    addField(g, QStringLiteral("nazev"), QStringLiteral("Název"), true);
    addField(g, QStringLiteral("nazev_upresneni"), QStringLiteral("Upřesněný název"));
    addField(g, QStringLiteral("ico"), QStringLiteral("IČ"), true);
    addField(g, QStringLiteral("dic"), QStringLiteral("DIČ"));
    addField(g, QStringLiteral("spisova_znacka"), QStringLiteral("Spisová značka"));

    QGroupBox* address = group(QStringLiteral("Adresa"), g);
    addField(g, QStringLiteral("ulice"), QStringLiteral("Ulice"));
    addField(g, QStringLiteral("mesto"), QStringLiteral("Město"));
    addField(g, QStringLiteral("psc"), QStringLiteral("PSČ"));
    addField(g, QStringLiteral("okres"), QStringLiteral("Okres"));
    addField(g, QStringLiteral("kraj"), QStringLiteral("Kraj"));
    addField(g, QStringLiteral("stat"), QStringLiteral("Stát"));

    QGroupBox* contact = group(QStringLiteral("Kontakt"), g);
    addField(g, QStringLiteral("telefon"), QStringLiteral("Telefon"));
    addField(g, QStringLiteral("email"), QStringLiteral("E-mail"));
    addField(g, QStringLiteral("www"), QStringLiteral("WWW"));

    QGroupBox* payment = group(QStringLiteral("Platby a doklady"), g);
    addField(g, QStringLiteral("cislo_uctu"), QStringLiteral("Číslo účtu"));
    addField(g, QStringLiteral("cislo_uctu_IBAN"), QStringLiteral("IBAN"));
    addField(g, QStringLiteral("splatnost_fa"), QStringLiteral("Splatnost [dny]"));
    addField(g, QStringLiteral("zpusob_uhrady"), QStringLiteral("Způsob úhrady"), false,
             {QStringLiteral("bank. převodem"), QStringLiteral("hotově"), QStringLiteral("hotově (dobírka)"),
              QStringLiteral("hotově (pokladna)"), QStringLiteral("hotově (předem)"),
              QStringLiteral("platební kartou")});
    addField(g, QStringLiteral("mena"), QStringLiteral("Měna systému"));
    addField(g, QStringLiteral("kod_haler"), QStringLiteral("Zaokrouhlovat na"), false,
             {QStringLiteral("0.50"), QStringLiteral("1")});
    addField(g, QStringLiteral("podpis"), QStringLiteral("Doklady vystavuje"));

    QGroupBox* vat = group(QStringLiteral("DPH"), g);
    addField(g, QStringLiteral("platce_dph"), QStringLiteral("Plátce DPH"), false,
             {QStringLiteral("Ano"), QStringLiteral("Ne")}, true);
    addField(g, QStringLiteral("dph5"), QStringLiteral("Snížená sazba DPH"));
    addField(g, QStringLiteral("dph19"), QStringLiteral("Základní sazba DPH"));

    QGroupBox* other = group(QStringLiteral("Kniha jízd a databáze"), g);
    addField(g, QStringLiteral("spz"), QStringLiteral("SPZ"));
    addField(g, QStringLiteral("ridic"), QStringLiteral("Řidič"));
    addField(g, QStringLiteral("test"), QStringLiteral("TEST"));
    addField(g, QStringLiteral("dateTS0"), QStringLiteral("Vytvořeno"), true);
    addField(g, QStringLiteral("dateTS1"), QStringLiteral("Naposledy uloženo"), true);

    auto* content = new QWidget;
    auto* columns = new QHBoxLayout(content);
    auto* left = new QVBoxLayout;
    left->addWidget(identity);
    left->addWidget(address);
    left->addWidget(contact);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(payment);
    right->addWidget(vat);
    right->addWidget(other);
    right->addStretch();
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    // Fields stacked in one column line up even when they sit in different boxes.
    for (const auto& column : {std::vector<QGroupBox*>{identity, address, contact},
                               std::vector<QGroupBox*>{payment, vat, other}}) {
        int width = 0;
        for (QGroupBox* box : column)
            for (QLabel* label : box->findChildren<QLabel*>())
                width = std::max(width, label->sizeHint().width());
        for (QGroupBox* box : column)
            static_cast<QGridLayout*>(box->layout())->setColumnMinimumWidth(0, width);
    }

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    overview_ = new BusinessOverviewBox(this);
    layout->addWidget(overview_);
}

QWidget* EntrepreneurPanel::addField(QGridLayout* grid, const QString& column, const QString& caption,
                                     bool readOnly, const QStringList& choices, bool choicesOnly) {
    auto* label = new QLabel(caption);
    QWidget* editor = nullptr;
    if (choices.isEmpty()) {
        auto* line = new QLineEdit;
        line->setReadOnly(readOnly);
        connect(line, &QLineEdit::textEdited, this, &EntrepreneurPanel::userEdited);
        editor = line;
    } else {
        auto* combo = new QComboBox;
        combo->setEditable(!choicesOnly);
        offerChoices(combo, choices);
        if (choicesOnly)
            connect(combo, &QComboBox::activated, this, &EntrepreneurPanel::userEdited);
        else
            connect(combo, &QComboBox::editTextChanged, this, [this] {
                if (!loading_)
                    userEdited();
            });
        editor = combo;
    }
    editor->setObjectName(column);
    editor->setAccessibleName(caption);
    label->setBuddy(editor);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(editor, row, 1);
    fields_.push_back({column, caption, editor, readOnly});
    return editor;
}

void EntrepreneurPanel::bind(Dataset* dataset) {
    if (dataset_ == dataset)
        return;
    if (dataset_)
        disconnect(dataset_, nullptr, this, nullptr);
    dataset_ = dataset;
    if (dataset_) {
        connect(dataset_, &Dataset::reset, this, &EntrepreneurPanel::reload);
        connect(dataset_, &Dataset::currentRowChanged, this, &EntrepreneurPanel::reload);
        connect(dataset_, &Dataset::stateChanged, this, &EntrepreneurPanel::datasetStateChanged);
    }
    reload();
}

QWidget* EntrepreneurPanel::editorFor(const QString& column) const {
    for (const Field& f : fields_)
        if (f.column == column)
            return f.editor;
    return nullptr;
}

void EntrepreneurPanel::reload() {
    loading_ = true;
    const bool hasRow = dataset_ && dataset_->isActive() && dataset_->currentRow() >= 0;
    for (const Field& f : fields_) {
        QString text;
        if (hasRow) {
            try {
                text = dataset_->asString(f.column);
            } catch (const DbError&) {
                // A database without this column shows the field empty.
            }
        }
        showEditorText(f.editor, text);
        f.editor->setEnabled(hasRow);
    }
    loading_ = false;
}

void EntrepreneurPanel::datasetStateChanged() {
    if (dataset_ && !dataset_->isEditing())
        reload();
}

void EntrepreneurPanel::userEdited() {
    if (loading_ || !dataset_ || !dataset_->isActive() || dataset_->isEditing())
        return;
    try {
        dataset_->edit();
    } catch (const DbError&) {
        // The row cannot be edited now; the save reports why.
    }
}

bool EntrepreneurPanel::applyEdits(Prompts& prompts) {
    if (!dataset_ || !dataset_->isActive())
        return true;
    std::vector<FieldEdit> edits;
    std::vector<QWidget*> editors;
    for (const Field& f : fields_) {
        if (f.readOnly || !dataset_->hasColumn(f.column))
            continue;
        edits.push_back({f.column, f.caption, editorText(f.editor)});
        editors.push_back(f.editor);
    }
    const int bad = applyFieldEdits(*dataset_, edits, prompts);
    if (bad < 0)
        return true;
    QWidget* editor = editors[static_cast<std::size_t>(bad)];
    editor->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->selectAll();
    return false;
}

} // namespace kelvarn
