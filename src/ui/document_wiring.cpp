#include "ui/document_wiring.h"

#include "app/module_datasets.h"
#include "app/selection_mode.h"
#include "core/app_state.h"
#include "core/prompts.h"
#include "db/db_error.h"
#include "documents/document_rules.h"
#include "ui/document_pages.h"
#include "ui/module_pages.h"
#include "ui/selection_hint.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSignalBlocker>

namespace kelvarn {

namespace {

DocumentType typeOfTab(int tab) {
    return static_cast<DocumentType>(tab - 2);
}

QString detailOf(int tab) {
    switch (tab) {
    case 3:
        return QStringLiteral("PanelFAV");
    case 4:
        return QStringLiteral("PanelFAP");
    case 5:
        return QStringLiteral("PanelPPD");
    default:
        return QStringLiteral("PanelVPD");
    }
}

const QString kItemGrid = QStringLiteral("DBGridFAVpol");

} // namespace

DocumentWiring::DocumentWiring(QWidget* mainWindow, ModulePages& pages, ModuleDatasets& datasets,
                               Prompts& prompts, const AppState& state,
                               std::function<void(int tab)> switchTab)
    : QObject(mainWindow), pages_(pages), datasets_(datasets), prompts_(prompts) {
    SelectionMode& selection = datasets_.selection();
    hint_ = new SelectionHint(
        mainWindow, [&selection] { return selection.isActive(); },
        [&state] { return state.themeActive == 1; });
    selection.hooks().placeHint = [this] { hint_->place(); };
    selection.hooks().switchTab = std::move(switchTab);

    for (int tab : {3, 4}) {
        KindSelector& kinds = datasets_.documents().selector(typeOfTab(tab));
        connect(&kinds, &KindSelector::changed, this, [this, tab] { followSelector(tab); });
    }
    pages_.documentPages().setControlMade(
        [this](int tab, const QString& name, QWidget* control) { attach(tab, name, control); });
    for (const char* name : {"BitBtnSumOnly", "BitBtnSum"})
        if (QWidget* control = pages_.control(QLatin1String(name)))
            attach(3, QLatin1String(name), control);

    if (DatasetGrid* items = pages_.grid(kItemGrid)) {
        auto column = [&selection, items] { selection.itemColumnEntered(items->currentColumnName()); };
        connect(items->selectionModel(), &QItemSelectionModel::currentChanged, this, column);
        connect(items, &DatasetGrid::focusEntered, this, column);
        connect(items, &DatasetGrid::focusLeft, this, [&selection] { selection.itemColumnEntered({}); });
    }
    const std::pair<const char*, int> lists[] = {
        {"DBGridZbozi", 9}, {"DBGridPartneri", 10}, {"DBGridZakazky", 11}};
    for (const auto& [name, tab] : lists)
        if (DatasetGrid* grid = pages_.grid(QLatin1String(name)))
            connect(grid, &QAbstractItemView::doubleClicked, this, [this, &selection, tab] {
                run([&selection, tab] { selection.listDoubleClicked(tab); });
            });
}

DocumentWiring::~DocumentWiring() {
    // The hint asks selection mode whether to show; it must not outlive the rules.
    delete hint_;
}

bool DocumentWiring::picksFrom(const QString& gridName) {
    return gridName == QLatin1String("DBGridZbozi") || gridName == QLatin1String("DBGridPartneri") ||
           gridName == QLatin1String("DBGridZakazky");
}

void DocumentWiring::run(const std::function<void()>& command) {
    try {
        command();
    } catch (const DbError& e) {
        prompts_.message(QStringLiteral("Chyba"), e.text(), MessageStyle::Error);
    }
}

void DocumentWiring::attach(int tab, const QString& name, QWidget* control) {
    SelectionMode& selection = datasets_.selection();
    if (auto* kinds = qobject_cast<QComboBox*>(control)) {
        connect(kinds, &QComboBox::activated, this, [this, tab](int index) {
            bool taken = false;
            run([&] { taken = datasets_.documents().kindChosen(typeOfTab(tab), index); });
            if (!taken)
                followSelector(tab);
        });
        followSelector(tab);
        return;
    }
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (!button)
        return;
    if (name == QLatin1String("BitBtnSumOnly") || name == QLatin1String("BitBtnSum")) {
        const bool rounded = name == QLatin1String("BitBtnSum");
        connect(button, &QAbstractButton::clicked, this, [this, rounded] { sum(rounded); });
        return;
    }
    if (name == DocumentPages::amountInWordsButton(tab)) {
        connect(button, &QAbstractButton::clicked, this, [this, tab] { amountInWords(tab); });
        return;
    }
    const DocumentPages::LinkButtons links = DocumentPages::linkButtons(tab);
    const std::pair<const char*, void (SelectionMode::*)()> actions[] = {
        {links.clearPartner, &SelectionMode::clearPartner},
        {links.pickPartner, &SelectionMode::pickPartner},
        {links.clearOrder, &SelectionMode::clearOrder},
        {links.pickOrder, &SelectionMode::pickOrder},
    };
    for (const auto& [buttonName, action] : actions)
        if (name == QLatin1String(buttonName))
            connect(button, &QAbstractButton::clicked, this, [this, tab, &selection, action = action] {
                beforeLinkButton(tab);
                run([&selection, action] { (selection.*action)(); });
            });
}

void DocumentWiring::followSelector(int tab) {
    DocumentPages& documents = pages_.documentPages();
    QComboBox* kinds = documents.kindSelector(tab);
    QWidget* number = documents.numberBox(tab);
    if (!kinds || !number)
        return;
    const KindSelector& selector = datasets_.documents().selector(typeOfTab(tab));
    const bool choosing = selector.isVisible();
    {
        const QSignalBlocker quiet(kinds);
        kinds->setCurrentIndex(selector.index() >= 0 && selector.index() < kinds->count() ? selector.index()
                                                                                          : -1);
    }
    const bool hadFocus = number->hasFocus() || kinds->hasFocus();
    kinds->setVisible(choosing);
    number->setVisible(!choosing);
    if (QLabel* label = documents.numberLabel(tab)) {
        label->setText(choosing ? QStringLiteral("Druh dokladu") : QStringLiteral("Číslo dokladu"));
        label->setBuddy(choosing ? static_cast<QWidget*>(kinds) : number);
    }
    if (hadFocus)
        (choosing ? static_cast<QWidget*>(kinds) : number)->setFocus(Qt::OtherFocusReason);
}

void DocumentWiring::sum(bool rounded) {
    // The line being typed is written and the header saved before anything is summed.
    if (DatasetGrid* items = pages_.grid(kItemGrid)) {
        if (!items->commitOpenEditor())
            return;
        items->setFocus(Qt::OtherFocusReason);
    }
    run([this, rounded] { datasets_.documents().sumLines(rounded ? Summing::CashRounded : Summing::Plain); });
}

void DocumentWiring::amountInWords(int tab) {
    BoundForm* form = pages_.form(detailOf(tab));
    if (form && !form->applyPending(prompts_))
        return;
    run([this, tab] { datasets_.documents().amountInWords(typeOfTab(tab)); });
    if (form)
        if (QWidget* words = form->editorFor(QStringLiteral("poznamka")))
            words->setFocus(Qt::OtherFocusReason);
}

void DocumentWiring::beforeLinkButton(int tab) {
    // What was typed into the document counts for the search.
    if (BoundForm* form = pages_.form(detailOf(tab)))
        form->applyPending(prompts_);
}

bool DocumentWiring::pickerKey() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return false;
    SelectionMode& selection = datasets_.selection();
    for (int tab = 3; tab <= 6; ++tab) {
        BoundForm* form = pages_.form(detailOf(tab));
        if (!form || !form->isVisible())
            continue;
        const QString column = form->columnOf(focus);
        if (column == QLatin1String("odb_nazev_firmy") || column == QLatin1String("zakazka")) {
            const bool partner = column == QLatin1String("odb_nazev_firmy");
            form->applyPending(prompts_);
            run([&selection, partner] { partner ? selection.pickPartner() : selection.pickOrder(); });
            return true;
        }
    }
    DatasetGrid* items = pages_.grid(kItemGrid);
    if (!items || !(items == focus || items->isAncestorOf(focus)))
        return false;
    // A cell still being typed into holds the text the search narrows by.
    if (!items->commitOpenEditor())
        return true;
    selection.itemColumnEntered(items->currentColumnName());
    bool searched = false;
    run([&selection, &searched] { searched = selection.searchGoods(); });
    return searched;
}

} // namespace kelvarn
