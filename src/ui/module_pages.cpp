#include "ui/module_pages.h"

#include "app/date_entry.h"
#include "core/formatting.h"
#include "core/prompts.h"
#include "db/dataset_table_model.h"
#include "db/db_error.h"
#include "db/field_refusal.h"
#include "ui/detail_scroll_area.h"
#include "ui/empty_detail_notice.h"
#include "ui/field_text.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvarn {

namespace {

// "datum_zaevidovani" → "Datum zaevidovani": good enough until each panel gets
// its own captions.
QString readableName(const QString& column) {
    QString text = column;
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// Focus that comes back with the window, or goes to a popup, is no move between controls.
bool movedBetweenControls(const QFocusEvent* event) {
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

} // namespace

// ---- BoundForm ----------------------------------------------------------------

namespace {

bool isNumber(ColumnType type) {
    return type == ColumnType::Integer || type == ColumnType::Float;
}

} // namespace

BoundForm::BoundForm(Dataset* dataset, Options options, QWidget* parent)
    : QWidget(parent), dataset_(dataset), options_(std::move(options)) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    auto refresh = [this] { reload(); };
    connect(dataset, &Dataset::reset, this, refresh);
    connect(dataset, &Dataset::currentRowChanged, this, refresh);
    connect(dataset, &Dataset::stateChanged, this, refresh);
    connect(dataset, &Dataset::rowChanged, this, [this](int row) {
        if (dataset_ && row == dataset_->currentRow())
            reload();
    });
}

QWidget* BoundForm::makeEditor(const DetailField& spec, int c, std::size_t index) {
    const DatasetColumn& column = dataset_->column(c);
    QWidget* editor = nullptr;
    if (!spec.choices.isEmpty()) {
        auto* combo = new QComboBox(this);
        combo->setEditable(spec.freeText);
        offerChoices(combo, spec.choices);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // Long choices must not widen the whole panel; the list shows them in full.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(6);
        combo->setEnabled(!spec.readOnly);
        connect(combo, &QComboBox::activated, this, [this, index] { typed(fields_[index]); });
        if (QLineEdit* line = combo->lineEdit())
            connect(line, &QLineEdit::textEdited, this, [this, index] { typed(fields_[index]); });
        editor = combo;
    } else if (column.type == ColumnType::Memo) {
        auto* box = new QPlainTextEdit(this);
        box->setTabChangesFocus(true);
        box->setReadOnly(spec.readOnly);
        box->setMinimumHeight(fontMetrics().lineSpacing() * 3 + 12);
        if (options_.memoLines > 0)
            box->setMaximumHeight(fontMetrics().lineSpacing() * options_.memoLines + 12);
        connect(box, &QPlainTextEdit::textChanged, this, [this, index] {
            if (!loading_)
                typed(fields_[index]);
        });
        editor = box;
    } else {
        auto* line = new QLineEdit(this);
        line->setReadOnly(spec.readOnly);
        if (isNumber(column.type))
            line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(line, &QLineEdit::textEdited, this, [this, index] { typed(fields_[index]); });
        editor = line;
    }
    editor->setObjectName(spec.control.isEmpty() ? column.name : spec.control);
    editor->setAccessibleName(spec.caption);
    if (!spec.hint.isEmpty())
        editor->setToolTip(spec.hint);
    editor->installEventFilter(this);
    return editor;
}

QWidget* BoundForm::addGroup(const DetailGroup& group) {
    auto* box = new QGroupBox(group.title, this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    const int pairs = std::max(group.pairsPerRow, 1);
    const int tableCells = static_cast<int>(group.columnTitles.size() * group.rowTitles.size());
    for (int t = 0; t < group.columnTitles.size(); ++t) {
        auto* head = new QLabel(group.columnTitles[t], box);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, t + 1);
    }
    for (int r = 0; tableCells > 0 && r < group.rowTitles.size(); ++r)
        grid->addWidget(new QLabel(group.rowTitles[r], box), r + 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    int row = tableCells > 0 ? static_cast<int>(group.rowTitles.size()) + 1 : 0;
    int slot = 0;
    int cellIndex = -1;
    for (const DetailField& spec : group.fields) {
        ++cellIndex;
        const int c = dataset_->columnIndex(spec.column);
        if (c < 0)
            continue;
        const std::size_t index = fields_.size();
        const DatasetColumn& col = dataset_->column(c);
        fields_.push_back(
            {col.name, spec.caption, nullptr, spec.readOnly, false,
             col.type == ColumnType::Float ? amountDecimals().value(col.name.toLower(), -1) : -1});
        QWidget* editor = makeEditor(spec, c, index);
        fields_[index].editor = editor;
        const bool memo = qobject_cast<QPlainTextEdit*>(editor) != nullptr;
        // Only the dates the picker serves get its button.
        const bool date = dataset_->column(c).type == ColumnType::DateTime &&
                          isChooserDateField(dataset_->name(), dataset_->column(c).name);
        if (memo && slot > 0) {
            ++row;
            slot = 0;
        }
        auto* label = new QLabel(spec.caption, box);
        label->setBuddy(editor);
        // A memo alone in a box titled like it needs no second caption.
        const bool titled = memo && group.fields.size() == 1 && group.title == spec.caption;
        label->setVisible(!titled);
        label->setAlignment(memo ? Qt::AlignRight | Qt::AlignTop : Qt::AlignRight | Qt::AlignVCenter);
        editor->setParent(box);
        QWidget* cell = editor;
        if (date && !spec.readOnly) {
            // The picker is also reached by F4 and a double click; the button shows it exists.
            cell = new QWidget(box);
            auto* line = new QHBoxLayout(cell);
            line->setContentsMargins(0, 0, 0, 0);
            line->setSpacing(2);
            editor->setParent(cell);
            line->addWidget(editor, 1);
            auto* pick = new QToolButton(cell);
            pick->setText(QStringLiteral("…"));
            pick->setToolTip(QStringLiteral("Vybrat datum (F4)"));
            pick->setAccessibleName(QStringLiteral("Vybrat datum: ") + spec.caption);
            pick->setFocusPolicy(Qt::NoFocus);
            connect(pick, &QToolButton::clicked, this, [this, index] {
                const Field& f = fields_[index];
                Q_EMIT datePickRequested(f.column, editorText(f.editor));
            });
            line->addWidget(pick);
        }
        if (cellIndex < tableCells) {
            // In the table the row and column titles say what the field is.
            label->hide();
            const int across = static_cast<int>(group.columnTitles.size());
            grid->addWidget(cell, cellIndex / across + 1, cellIndex % across + 1);
            continue;
        }
        if (!titled) {
            grid->addWidget(label, row, slot * 2);
            grid->addWidget(cell, row, slot * 2 + 1, 1, memo ? pairs * 2 - 1 : 1);
        } else {
            grid->addWidget(cell, row, 0, 1, pairs * 2);
        }
        if (memo || ++slot == pairs) {
            ++row;
            slot = 0;
        }
    }
    for (int p = 0; p < pairs; ++p)
        grid->setColumnStretch(p * 2 + 1, 1);
    for (int t = 0; t < group.columnTitles.size(); ++t)
        grid->setColumnStretch(t + 1, 1);
    return box;
}

void BoundForm::build() {
    if (!fields_.empty() || !dataset_ || !dataset_->isActive())
        return;
    std::vector<DetailGroup> groups(options_.layout.groups.begin(), options_.layout.groups.end());
    if (options_.showRest) {
        DetailGroup rest{options_.layout.restTitle, {}, 2, true};
        for (int c = 0; c < dataset_->columnCount(); ++c) {
            const QString name = dataset_->column(c).name;
            bool named = options_.layout.hidden.contains(name, Qt::CaseInsensitive);
            for (const DetailGroup& g : options_.layout.groups)
                for (const DetailField& f : g.fields)
                    named = named || f.column.compare(name, Qt::CaseInsensitive) == 0;
            if (named)
                continue;
            DetailField f;
            f.column = name;
            f.caption = options_.titles ? options_.titles(name) : QString();
            if (f.caption.isEmpty())
                f.caption = readableName(name);
            rest.fields << f;
        }
        if (!rest.fields.isEmpty()) {
            // Bookkeeping stays last.
            const bool lastIsRecord = !groups.empty() && groups.back().title == QStringLiteral("Záznam");
            groups.insert(lastIsRecord ? groups.end() - 1 : groups.end(), rest);
        }
    }
    auto* grid = static_cast<QGridLayout*>(layout());
    int row = 0;
    int side = 0;
    bool memoGrows = false;
    for (const DetailGroup& group : groups) {
        QWidget* box = addGroup(group);
        if (group.wide) {
            if (side > 0)
                ++row;
            grid->addWidget(box, row++, 0, 1, 2);
            side = 0;
        } else {
            grid->addWidget(box, row, side, Qt::AlignTop);
            if (++side == 2) {
                ++row;
                side = 0;
            }
        }
        memoGrows = memoGrows || (options_.memoLines == 0 && box->findChild<QPlainTextEdit*>());
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    if (!memoGrows)
        grid->setRowStretch(row + (side > 0 ? 1 : 0), 1);
}

QWidget* BoundForm::editorFor(const QString& column) const {
    for (const Field& f : fields_)
        if (f.column.compare(column, Qt::CaseInsensitive) == 0)
            return f.editor;
    return nullptr;
}

QString BoundForm::captionOf(const QString& column) const {
    for (const Field& f : fields_)
        if (f.column.compare(column, Qt::CaseInsensitive) == 0)
            return f.caption;
    return {};
}

bool BoundForm::write(Field& field) {
    const QString text = editorText(field.editor);
    writing_ = true;
    bool written = true;
    try {
        dataset_->setValue(field.column, text.isEmpty() ? QVariant() : QVariant(text));
    } catch (const DbError&) {
        written = false;
    }
    writing_ = false;
    return written;
}

void BoundForm::typed(Field& field) {
    if (!dataset_ || !dataset_->isActive() || field.readOnly)
        return;
    try {
        if (!dataset_->isEditing()) {
            writing_ = true;
            dataset_->edit();
            writing_ = false;
        }
    } catch (const DbError&) {
        // A read-only or empty list has no row to take the text.
        writing_ = false;
        return;
    }
    // A half-typed number is no error yet; the save tells about it.
    field.pending = !write(field);
}

bool BoundForm::applyPending(Prompts& prompts) {
    for (Field& f : fields_) {
        if (!f.pending || !dataset_ || !dataset_->isEditing())
            continue;
        const QString text = editorText(f.editor);
        try {
            dataset_->setValue(f.column, text.isEmpty() ? QVariant() : QVariant(text));
            f.pending = false;
        } catch (const DbError& e) {
            const int c = dataset_->columnIndex(f.column);
            prompts.message(QStringLiteral("Chyba"),
                            c >= 0 ? fieldRefusalText(dataset_->column(c), f.caption, text, e.text())
                                   : f.caption + QStringLiteral(": ") + e.text(),
                            MessageStyle::Error);
            f.editor->setFocus();
            return false;
        }
    }
    return true;
}

void BoundForm::reload() {
    if (writing_ || !dataset_)
        return;
    build();
    const bool hasRow = dataset_->isActive() && dataset_->currentRow() >= 0;
    loading_ = true;
    for (Field& f : fields_) {
        QString text;
        if (hasRow) {
            try {
                text = dataset_->asString(f.column);
                if (f.decimals >= 0 && !text.isEmpty())
                    text = formatGrouped(dataset_->value(f.column).toDouble(), f.decimals);
            } catch (const DbError&) {
            }
        }
        f.pending = false;
        const QSignalBlocker quiet(f.editor);
        // No length limit on the editor: it would cut a pasted text silently. A text
        // longer than the column holds waits, and the save says how much fits.
        showEditorText(f.editor, text);
        const bool enabled = hasRow || dataset_->isEditing();
        f.editor->setEnabled(enabled && !(f.readOnly && qobject_cast<QComboBox*>(f.editor)));
    }
    loading_ = false;
    const int shown = hasRow || dataset_->isEditing() ? 1 : 0;
    if (shown != shown_) {
        shown_ = shown;
        Q_EMIT recordShown(shown == 1);
    }
}

QString BoundForm::columnOf(const QObject* editor) const {
    for (const Field& f : fields_)
        if (f.editor == editor ||
            (f.editor && editor && f.editor->isAncestorOf(qobject_cast<const QWidget*>(editor))))
            return f.column;
    return {};
}

bool BoundForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        // The wheel scrolls the form; a selector it merely passes over would
        // otherwise take the next value and write it into the record.
        auto* combo = qobject_cast<QComboBox*>(watched);
        if (combo && !combo->hasFocus()) {
            for (QWidget* w = parentWidget(); w; w = w->parentWidget())
                if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
                    QCoreApplication::sendEvent(area->viewport(), event);
                    break;
                }
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick && dataset_) {
        const QString column = columnOf(watched);
        const int c = column.isEmpty() ? -1 : dataset_->columnIndex(column);
        if (c >= 0 && dataset_->column(c).type == ColumnType::DateTime &&
            isChooserDateField(dataset_->name(), column)) {
            Q_EMIT datePickRequested(column, editorText(static_cast<QWidget*>(watched)));
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn && movedBetweenControls(static_cast<QFocusEvent*>(event)))
        Q_EMIT focusEntered();
    else if (event->type() == QEvent::FocusOut && movedBetweenControls(static_cast<QFocusEvent*>(event)))
        Q_EMIT focusLeft();
    return QWidget::eventFilter(watched, event);
}

// ---- ModulePages --------------------------------------------------------------

ModulePages::ModulePages(DatasetLookup datasets, CaptionLookup captions)
    : datasets_(std::move(datasets)), captions_(std::move(captions)) {}

QWidget* ModulePages::addContainer(QWidget* page, const char* name) {
    auto* container = new QWidget(page);
    container->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    page->layout()->addWidget(container);
    containers_.insert(QLatin1String(name), container);
    return container;
}

DatasetGrid* ModulePages::addGrid(QWidget* parent, int tab, const char* dataset, const char* name,
                                  const QString& title, bool editable, bool hasDetail) {
    auto* grid = new DatasetGrid(datasets_(QLatin1String(dataset)), QLatin1String(name), title, editable,
                                 !hasDetail, parent);
    grid->tableModel()->setDecimals(amountDecimals());
    const QList<GridColumnTitle> own = gridColumns(QLatin1String(name));
    if (own.isEmpty()) {
        grid->setColumnTitles([this, tab](const QString& column) { return captions_(tab, column); });
    } else {
        QHash<QString, QString> titles;
        QStringList order;
        for (const GridColumnTitle& c : own) {
            titles.insert(c.column, c.title);
            order << c.column;
        }
        grid->setColumnTitles([titles](const QString& column) { return titles.value(column.toLower()); });
        grid->setColumnOrder(order);
    }
    grid->tableModel()->setReadOnlyColumns({QStringLiteral("id")});
    grid->setHiddenColumns({QStringLiteral("id_tbl_doklad"), QStringLiteral("id_tbl_majetek"),
                            QStringLiteral("id_tbl_zbozi"), QStringLiteral("dateTS0"),
                            QStringLiteral("dateTS1")});
    parent->layout()->addWidget(grid);
    grids_.insert(QLatin1String(name), grid);
    controls_.insert(QLatin1String(name), grid);
    return grid;
}

BoundForm* ModulePages::addForm(QWidget* parent, int tab, const char* dataset) {
    BoundForm::Options options;
    options.layout = detailLayout(parent->objectName());
    options.titles = [this, tab](const QString& column) { return captions_(tab, column); };
    auto* form = new BoundForm(datasets_(QLatin1String(dataset)), std::move(options));
    auto* notice = new EmptyDetailNotice(parent);
    static_cast<QBoxLayout*>(parent->layout())->addWidget(notice, 1);
    QObject::connect(form, &BoundForm::recordShown, notice, &EmptyDetailNotice::recordShown);
    // Documents have more fields than a window is high.
    static_cast<QBoxLayout*>(parent->layout())->addWidget(new DetailScrollArea(form, parent), 3);
    forms_.insert(parent->objectName(), form);
    notices_.insert(parent->objectName(), notice);
    return form;
}

QWidget* ModulePages::addTotalsStrip(QWidget* parent, const QList<StripField>& fields) {
    auto* strip = new QWidget(parent);
    auto* row = new QGridLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->setVerticalSpacing(1);
    int column = 0;
    for (const StripField& f : fields) {
        auto* label = new QLabel(f.label, strip);
        auto* figure = new QLineEdit(strip);
        figure->setObjectName(f.name);
        figure->setReadOnly(true);
        figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figure->setFocusPolicy(Qt::ClickFocus);
        figure->setAccessibleName(f.label);
        figure->setToolTip(f.hint);
        label->setBuddy(figure);
        // Captions above the figures keep long captions from squeezing the figures.
        row->addWidget(label, 0, column);
        row->addWidget(figure, 1, column);
        row->setColumnStretch(column++, 1);
        controls_.insert(f.name, figure);
    }
    parent->layout()->addWidget(strip);
    return strip;
}

QWidget* ModulePages::buildPage(int tab, const QString& caption, QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setAccessibleName(caption);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);

    struct Master {
        const char* dataset;
        const char* listContainer;
        const char* grid;
        const char* detailContainer;
    };
    static const Master masters[] = {
        {"ADOFormHlavniKniha", "PanelHlavniKniha", "DBGridHlavniKniha", nullptr},
        {nullptr, nullptr, nullptr, nullptr},
        {"ADOFormFAV", "PanelFVseznam", "DBGridFAV", "PanelFAV"},
        {"ADOFormFAP", "PanelFPseznam", "DBGridFAP", "PanelFAP"},
        {"ADOFormPPD", "PanelPPDseznam", "DBGridPPD", "PanelPPD"},
        {"ADOFormVPD", "PanelVPDseznam", "DBGridVPD", "PanelVPD"},
        {"ADOFormMajetek", "PanelMajetekseznam", "DBGridMajetek", "PanelMajetek"},
        {"ADOFormKnihaJizd", "PanelKnihaJizd", "DBGridKnihaJizd", nullptr},
        {"ADOFormZbozi", "PanelZboziSeznam", "DBGridZbozi", "PanelZbozi"},
        {"ADOFormPartneri", "PanelPartneriSeznam", "DBGridPartneri", "PanelPartneri"},
        {"ADOFormZakazky", "PanelZakazkySeznam", "DBGridZakazky", "PanelZakazky"},
    };

    if (tab == 2) {
        QWidget* container = addContainer(page, "PanelDPH");
        auto* split = new QSplitter(Qt::Vertical, container);
        container->layout()->addWidget(split);
        const struct {
            const char* dataset;
            const char* grid;
            const char* title;
            const char* suffix;
        } vat[] = {{"ADOFormDPHvstup", "DBGridDPHvstup", "Přijatá plnění", "1"},
                   {"ADOFormDPHvystup", "DBGridDPHvystup", "Uskutečněná plnění", "2"}};
        for (const auto& v : vat) {
            auto* box = new QGroupBox(QString::fromUtf8(v.title), split);
            box->setLayout(new QVBoxLayout);
            addGrid(box, tab, v.dataset, v.grid, box->title(), false, false);
            const QString n = QLatin1String(v.suffix);
            addTotalsStrip(
                box, {{QStringLiteral("Edit_zaklad5") + n, QStringLiteral("Základ daně (snížená)"), {}},
                      {QStringLiteral("Edit_dph5") + n, QStringLiteral("DPH  (snížená sazba)"), {}},
                      {QStringLiteral("Edit_zaklad19") + n, QStringLiteral("Základ daně (základní)"), {}},
                      {QStringLiteral("Edit_dph19") + n, QStringLiteral("DPH (základní sazba)"), {}},
                      {QStringLiteral("Edit_zaklad0") + n, QStringLiteral("Základ daně (0%)"), {}}});
        }
        return page;
    }
    if (tab < 1 || tab > 11)
        return page;

    const Master& m = masters[tab - 1];
    QWidget* list = addContainer(page, m.listContainer);
    addGrid(list, tab, m.dataset, m.grid, caption, true, m.detailContainer != nullptr);
    if (tab == 1)
        addTotalsStrip(list,
                       {{QStringLiteral("Edit_prijem_danovy"), QStringLiteral("Příjem"), {}},
                        {QStringLiteral("Edit_prijem_nedanovy"), QStringLiteral("Příjem (nedaňový)"), {}},
                        {QStringLiteral("Edit_vydaj_danovy"), QStringLiteral("Výdaj"), {}},
                        {QStringLiteral("Edit_vydaj_nedanovy"), QStringLiteral("Výdaj (nedaňový)"), {}},
                        {QStringLiteral("Edit_zustatek"), QStringLiteral("Rozdíl"),
                         QStringLiteral("Rozdíl mezi všemi příjmy a výdaji")}});
    if (!m.detailContainer)
        return page;

    QWidget* detail = addContainer(page, m.detailContainer);
    detail->hide();
    addForm(detail, tab, m.dataset);
    if (tab == 3) {
        auto* box = new QGroupBox(QStringLiteral("Položky vydané faktury"), detail);
        box->setLayout(new QVBoxLayout);
        addGrid(box, tab, "ADOFormFAVpol", "DBGridFAVpol", box->title(), true, false);
        static_cast<QBoxLayout*>(detail->layout())->addWidget(box, 2);
    } else if (tab == 7) {
        auto* box = new QGroupBox(QStringLiteral("Odpisy v jednotlivých letech"), detail);
        auto* boxLayout = new QHBoxLayout(box);
        auto* rows = new QWidget(box);
        rows->setLayout(new QVBoxLayout);
        rows->layout()->setContentsMargins(0, 0, 0, 0);
        addGrid(rows, tab, "ADOFormOdpisy", "DBGridOdpisy", box->title(), true, false);
        boxLayout->addWidget(rows, 3);
        BoundForm::Options memo;
        DetailField calculation;
        calculation.column = QStringLiteral("vypocet");
        calculation.caption = QStringLiteral("Výpočet odpisu");
        calculation.control = QStringLiteral("DBMemoOdpis");
        memo.layout.groups << DetailGroup{QStringLiteral("Výpočet odpisu"), {calculation}, 1, true};
        memo.showRest = false;
        memo.memoLines = 0;
        auto* calc = new BoundForm(datasets_(QStringLiteral("ADOFormOdpisy")), memo, box);
        boxLayout->addWidget(calc, 2);
        forms_.insert(QStringLiteral("DBMemoOdpis"), calc);
        static_cast<QBoxLayout*>(detail->layout())->addWidget(box, 2);
    }
    return page;
}

} // namespace kelvarn
