#include "ui/document_pages.h"

#include "db/dataset.h"
#include "db/dataset_table_model.h"
#include "documents/document_kinds.h"
#include "ui/module_pages.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <memory>

namespace kelvarn {

namespace {

struct DocumentModule {
    const char* dataset;
    const char* listContainer;
    const char* grid;
    const char* detailContainer;
};

const DocumentModule& moduleOf(int tab) {
    static const DocumentModule modules[] = {
        {"ADOFormFAV", "PanelFVseznam", "DBGridFAV", "PanelFAV"},
        {"ADOFormFAP", "PanelFPseznam", "DBGridFAP", "PanelFAP"},
        {"ADOFormPPD", "PanelPPDseznam", "DBGridPPD", "PanelPPD"},
        {"ADOFormVPD", "PanelVPDseznam", "DBGridVPD", "PanelVPD"},
    };
    return modules[tab - 3];
}

QToolButton* smallButton(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    // The document field keeps the focus; the buttons are reached by mouse and F4.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

DocumentPages::LinkButtons DocumentPages::linkButtons(int tab) {
    switch (tab) {
    case 3:
        return {"Button13", "Button14", "Button15", "Button16"};
    case 4:
        return {"Button9", "Button10", "Button11", "Button12"};
    case 5:
        return {"Button5", "Button6", "Button7", "Button8"};
    default:
        return {"Button1", "Button2", "Button3", "Button4"};
    }
}

QString DocumentPages::amountInWordsButton(int tab) {
    return tab == 5 ? QStringLiteral("BitBtn2") : QStringLiteral("BitBtn1");
}

void DocumentPages::made(int tab, QWidget* control) {
    pages_.controls_.insert(control->objectName(), control);
    if (made_)
        made_(tab, control->objectName(), control);
}

QComboBox* DocumentPages::kindSelector(int tab) const {
    return qobject_cast<QComboBox*>(
        pages_.control(tab == 3 ? QStringLiteral("ComboBoxFAV") : QStringLiteral("ComboBoxFAP")));
}

void DocumentPages::build(int tab, const QString& caption, QWidget* page) {
    const DocumentModule& m = moduleOf(tab);
    QWidget* list = pages_.addContainer(page, m.listContainer);
    pages_.addGrid(list, tab, m.dataset, m.grid, caption, true, true);
    QWidget* detail = pages_.addContainer(page, m.detailContainer);
    detail->hide();
    pages_.addForm(detail, tab, m.dataset,
                   [this, tab](const QString& column, QWidget* editor, QLabel* label, QWidget* parent) {
                       return decorate(tab, column, editor, label, parent);
                   });
    if (tab == 3)
        addItems(detail);
}

QWidget* DocumentPages::withButtons(int tab, QWidget* editor, QWidget* parent, const char* clearName,
                                    const char* pickName, const QString& what) {
    auto* cell = new QWidget(parent);
    auto* line = new QHBoxLayout(cell);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(2);
    editor->setParent(cell);
    line->addWidget(editor, 1);
    QToolButton* clear = smallButton(cell, clearName, QStringLiteral("x"), QStringLiteral("Vymazat ") + what);
    QToolButton* pick = smallButton(cell, pickName, QStringLiteral("..."),
                                    QStringLiteral("Vybrat ") + what + QStringLiteral(" (F4)"));
    line->addWidget(clear);
    line->addWidget(pick);
    made(tab, clear);
    made(tab, pick);
    return cell;
}

QWidget* DocumentPages::decorate(int tab, const QString& column, QWidget* editor, QLabel* label,
                                 QWidget* parent) {
    const LinkButtons buttons = linkButtons(tab);
    if (column == QLatin1String("odb_nazev_firmy"))
        return withButtons(tab, editor, parent, buttons.clearPartner, buttons.pickPartner,
                           QStringLiteral("obchodního partnera"));
    if (column == QLatin1String("zakazka"))
        return withButtons(tab, editor, parent, buttons.clearOrder, buttons.pickOrder,
                           QStringLiteral("zakázku"));
    if (column == QLatin1String("cislo_dokladu") && (tab == 3 || tab == 4)) {
        // While a new document is entered its kind is chosen here; the number comes
        // with the first save.
        auto* cell = new QWidget(parent);
        auto* line = new QHBoxLayout(cell);
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(0);
        editor->setParent(cell);
        line->addWidget(editor, 1);
        auto* kinds = new QComboBox(cell);
        kinds->setObjectName(tab == 3 ? QStringLiteral("ComboBoxFAV") : QStringLiteral("ComboBoxFAP"));
        kinds->addItems(kindCaptions(tab == 3 ? DocumentType::Issued : DocumentType::Received));
        kinds->setAccessibleName(QStringLiteral("Druh dokladu"));
        kinds->setToolTip(QStringLiteral("Druh dokladu určuje jeho číselnou řadu"));
        kinds->hide();
        line->addWidget(kinds, 1);
        numberBoxes_[tab - 3] = editor;
        numberLabels_[tab - 3] = label;
        made(tab, kinds);
        return cell;
    }
    if (column == QLatin1String("poznamka") && (tab == 5 || tab == 6)) {
        auto* cell = new QWidget(parent);
        auto* line = new QHBoxLayout(cell);
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(4);
        editor->setParent(cell);
        line->addWidget(editor, 1);
        auto* words = new QPushButton(QStringLiteral("Částka slovy"), cell);
        words->setObjectName(amountInWordsButton(tab));
        words->setAccessibleName(QStringLiteral("Částka slovy"));
        words->setToolTip(QStringLiteral("Zapíše celkovou částku dokladu slovy"));
        line->addWidget(words);
        made(tab, words);
        return cell;
    }
    return nullptr;
}

void DocumentPages::addItems(QWidget* detail) {
    auto* box = new QGroupBox(QStringLiteral("Položky vydané faktury"), detail);
    box->setLayout(new QVBoxLayout);
    DatasetGrid* items = pages_.addGrid(box, 3, "ADOFormFAVpol", "DBGridFAVpol", box->title(), true, false);
    // An empty grid sizes its columns by their titles; code and description need room
    // for what is typed into them.
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(items->tableModel(), &QAbstractItemModel::modelReset, items, [items, once] {
        Dataset* lines = items->dataset();
        if (!lines || !lines->isActive() || lines->columnCount() == 0)
            return;
        QObject::disconnect(*once);
        for (const auto& [column, width] : {std::pair{"kod_zbozi", 110}, std::pair{"popis", 260}})
            if (const int c = lines->columnIndex(QLatin1String(column));
                c >= 0 && items->columnWidth(c) < width)
                items->setColumnWidth(c, width);
    });
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    const struct {
        const char* name;
        const char* caption;
        const char* hint;
    } sums[] = {{"BitBtnSumOnly", "Sečíst", "Použití: Bezhotovostní platba"},
                {"BitBtnSum", "Zaokrouhlit", "Použití: Platba v hotovosti"}};
    for (const auto& s : sums) {
        auto* button = new QPushButton(QString::fromUtf8(s.caption), box);
        button->setObjectName(QLatin1String(s.name));
        button->setToolTip(QString::fromUtf8(s.hint));
        button->setAccessibleName(button->text());
        button->setAccessibleDescription(button->toolTip());
        row->addWidget(button);
        made(3, button);
    }
    static_cast<QBoxLayout*>(box->layout())->addLayout(row);
    static_cast<QBoxLayout*>(detail->layout())->addWidget(box, 2);
}

} // namespace kelvarn
