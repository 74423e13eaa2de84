#include "ui/module_pages.h"

#include "core/prompts.h"
#include "db/dataset_table_model.h"
#include "db/db_error.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvarn {

namespace {

constexpr int kWidestColumn = 260;

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

// ---- DatasetGrid --------------------------------------------------------------

DatasetGrid::DatasetGrid(Dataset* dataset, const QString& name, const QString& title, bool editable,
                         bool editOnDoubleClick, QWidget* parent)
    : QTableView(parent), dataset_(dataset), editable_(editable) {
    setObjectName(name);
    setAccessibleName(title);
    model_ = new DatasetTableModel(dataset, this);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAlternatingRowColors(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    triggers_ = QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
    if (editOnDoubleClick)
        triggers_ |= QAbstractItemView::DoubleClicked;
    setEditTriggers(editable_ ? triggers_ : QAbstractItemView::NoEditTriggers);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &DatasetGrid::rowEntered);
    connect(dataset, &Dataset::currentRowChanged, this, [this] { followDataset(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        configureColumns();
        followDataset();
    });
}

void DatasetGrid::configureColumns() {
    // Once: the columns of a list do not change between rereads, and the widths the
    // user set must survive them.
    if (configured_ || !dataset_ || !dataset_->isActive() || dataset_->columnCount() == 0)
        return;
    configured_ = true;
    QStringList columns;
    QStringList titles;
    for (int c = 0; c < dataset_->columnCount(); ++c) {
        const QString column = dataset_->column(c).name;
        setColumnHidden(c, hidden_.contains(column, Qt::CaseInsensitive));
        const QString title = titles_ ? titles_(column) : QString();
        if (!title.isEmpty()) {
            columns << column;
            titles << title;
        }
    }
    model_->setTitles(columns, titles);
    resizeColumnsToContents();
    for (int c = 0; c < model_->columnCount(); ++c)
        setColumnWidth(c, std::min(columnWidth(c), kWidestColumn));
    if (savedLayout_)
        applySavedLayout();
}

void DatasetGrid::setSavedLayout(const GridLayout& layout) {
    savedLayout_ = layout;
    if (configured_)
        applySavedLayout();
}

void DatasetGrid::applySavedLayout() {
    QStringList names;
    for (int c = 0; c < dataset_->columnCount(); ++c)
        names << dataset_->column(c).name;
    const GridLayout fitted = applyGridLayout(*savedLayout_, names);
    savedLayout_.reset();
    QStringList titleColumns;
    QStringList titles;
    for (int visual = 0; visual < fitted.columns.size(); ++visual) {
        const GridColumn& column = fitted.columns[visual];
        const int logical = dataset_->columnIndex(column.field);
        if (logical < 0)
            continue;
        horizontalHeader()->moveSection(horizontalHeader()->visualIndex(logical), visual);
        setColumnHidden(logical, !column.visible);
        if (column.width > 0)
            setColumnWidth(logical, column.width);
        titleColumns << column.field;
        titles << (column.title.isEmpty() ? model_->headerData(logical, Qt::Horizontal).toString()
                                          : column.title);
    }
    model_->setTitles(titleColumns, titles);
}

GridLayout DatasetGrid::currentLayout() const {
    GridLayout layout;
    if (!dataset_ || !configured_)
        return layout;
    const QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || logical >= dataset_->columnCount())
            continue;
        GridColumn column;
        column.field = dataset_->column(logical).name;
        column.title = model_->headerData(logical, Qt::Horizontal).toString();
        column.width = columnWidth(logical);
        column.visible = !isColumnHidden(logical);
        layout.columns.append(column);
    }
    return layout;
}

void DatasetGrid::setLocked(bool locked) {
    locked_ = locked;
    setEditTriggers(editable_ && !locked_ ? triggers_ : QAbstractItemView::NoEditTriggers);
}

QString DatasetGrid::currentColumnName() const {
    const QModelIndex index = currentIndex();
    if (!index.isValid() || !dataset_ || index.column() >= dataset_->columnCount())
        return {};
    return dataset_->column(index.column()).name;
}

void DatasetGrid::enterColumn(const QString& column) {
    if (!dataset_ || !dataset_->isActive())
        return;
    int c = column.isEmpty() ? -1 : dataset_->columnIndex(column);
    for (int visual = 0; column.isEmpty() && visual < horizontalHeader()->count() && c < 0; ++visual)
        if (!isColumnHidden(horizontalHeader()->logicalIndex(visual)))
            c = horizontalHeader()->logicalIndex(visual);
    if (c >= 0)
        column_ = dataset_->column(c).name;
    const int row = std::max(dataset_->currentRow(), 0);
    if (c < 0 || row >= model_->rowCount())
        return;
    following_ = true;
    selectionModel()->setCurrentIndex(model_->index(row, c),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    following_ = false;
}

QList<Dataset::Bookmark> DatasetGrid::selectedBookmarks() const {
    QList<Dataset::Bookmark> marks;
    if (!dataset_)
        return marks;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        if (const Dataset::Bookmark mark = dataset_->bookmarkAt(index.row()))
            marks << mark;
    return marks;
}

int DatasetGrid::columnToEnter() const {
    if (const int c = dataset_->columnIndex(column_); c >= 0 && !isColumnHidden(c))
        return c;
    for (int visual = 0; visual < horizontalHeader()->count(); ++visual)
        if (!isColumnHidden(horizontalHeader()->logicalIndex(visual)))
            return horizontalHeader()->logicalIndex(visual);
    return -1;
}

void DatasetGrid::followDataset() {
    if (following_ || !dataset_ || !dataset_->isActive())
        return;
    const int row = dataset_->currentRow();
    // The row is already current when the user moved there; keeping the selection
    // keeps the rows marked for deletion.
    if (row < 0 || row >= model_->rowCount() || currentIndex().row() == row)
        return;
    const int column = columnToEnter();
    if (column < 0)
        return;
    following_ = true;
    selectionModel()->setCurrentIndex(model_->index(row, column),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(currentIndex());
    following_ = false;
}

void DatasetGrid::rowEntered(const QModelIndex& current, const QModelIndex&) {
    if (current.isValid() && dataset_ && current.column() < dataset_->columnCount())
        column_ = dataset_->column(current.column()).name;
    if (following_ || !current.isValid() || !dataset_ || !dataset_->isActive() ||
        current.row() == dataset_->currentRow())
        return;
    try {
        dataset_->moveTo(current.row());
    } catch (const DbError& e) {
        Q_EMIT failed(e.text());
    }
    // A refused post keeps the cursor on the edited row; the grid goes back to it.
    if (dataset_ && dataset_->currentRow() != current.row())
        QTimer::singleShot(0, this, [this] { followDataset(); });
}

void DatasetGrid::keyPressEvent(QKeyEvent* event) {
    if (dataset_ && dataset_->isActive() && event->modifiers() == Qt::NoModifier) {
        try {
            if (event->key() == Qt::Key_Insert && editable_ && !locked_) {
                dataset_->insert();
                event->accept();
                return;
            }
            if (event->key() == Qt::Key_Escape && dataset_->isEditing()) {
                dataset_->cancel();
                event->accept();
                return;
            }
        } catch (const DbError& e) {
            Q_EMIT failed(e.text());
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void DatasetGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (movedBetweenControls(event))
        Q_EMIT focusEntered();
}

void DatasetGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    // The cell editor is part of the grid.
    if (movedBetweenControls(event) && !isAncestorOf(QApplication::focusWidget()))
        Q_EMIT focusLeft();
}

// ---- BoundForm ----------------------------------------------------------------

BoundForm::BoundForm(Dataset* dataset, Options options, QWidget* parent)
    : QWidget(parent), dataset_(dataset), options_(std::move(options)) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    auto refresh = [this] { reload(); };
    connect(dataset, &Dataset::reset, this, refresh);
    connect(dataset, &Dataset::currentRowChanged, this, refresh);
    connect(dataset, &Dataset::stateChanged, this, refresh);
    connect(dataset, &Dataset::rowChanged, this, [this](int row) {
        if (dataset_ && row == dataset_->currentRow())
            reload();
    });
}

void BoundForm::build() {
    if (!fields_.empty() || !dataset_ || !dataset_->isActive())
        return;
    auto* grid = static_cast<QGridLayout*>(layout());
    std::vector<int> lines;
    std::vector<int> memos;
    for (int c = 0; c < dataset_->columnCount(); ++c) {
        const DatasetColumn& column = dataset_->column(c);
        const bool wanted = options_.onlyColumns.isEmpty()
                                ? column.name.compare(QLatin1String("id"), Qt::CaseInsensitive) != 0
                                : options_.onlyColumns.contains(column.name, Qt::CaseInsensitive);
        if (wanted)
            (column.type == ColumnType::Memo ? memos : lines).push_back(c);
    }
    fields_.reserve(lines.size() + memos.size());
    const int pairs = std::max(options_.pairsPerRow, 1);
    auto addField = [&](int c, bool memo, int row, int col, int span) {
        const QString column = dataset_->column(c).name;
        QString caption = options_.titles ? options_.titles(column) : QString();
        if (caption.isEmpty())
            caption = readableName(column);
        QWidget* editor = nullptr;
        const std::size_t index = fields_.size();
        if (memo) {
            auto* box = new QPlainTextEdit(this);
            box->setTabChangesFocus(true);
            box->setMinimumHeight(fontMetrics().height() * 3);
            if (options_.memoLines > 0)
                box->setMaximumHeight(fontMetrics().lineSpacing() * options_.memoLines + 12);
            connect(box, &QPlainTextEdit::textChanged, this, [this, index] {
                if (!loading_)
                    typed(fields_[index]);
            });
            editor = box;
        } else {
            auto* line = new QLineEdit(this);
            connect(line, &QLineEdit::textEdited, this, [this, index] { typed(fields_[index]); });
            editor = line;
        }
        editor->setObjectName(options_.controls.value(column, column));
        editor->setAccessibleName(caption);
        editor->installEventFilter(this);
        auto* label = new QLabel(caption, this);
        label->setBuddy(editor);
        label->setAlignment(memo ? Qt::AlignRight | Qt::AlignTop : Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, row, col);
        grid->addWidget(editor, row, col + 1, 1, span);
        fields_.push_back({column, caption, editor, false});
    };
    int row = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        row = static_cast<int>(i) / pairs;
        addField(lines[i], false, row, static_cast<int>(i % pairs) * 2, 1);
    }
    if (!lines.empty())
        ++row;
    for (int c : memos)
        addField(c, true, row++, 0, pairs * 2 - 1);
    for (int p = 0; p < pairs; ++p)
        grid->setColumnStretch(p * 2 + 1, 1);
    grid->setRowStretch(row, 1);
}

QWidget* BoundForm::editorFor(const QString& column) const {
    for (const Field& f : fields_)
        if (f.column.compare(column, Qt::CaseInsensitive) == 0)
            return f.editor;
    return nullptr;
}

QString BoundForm::textOf(const Field& field) const {
    if (auto* box = qobject_cast<QPlainTextEdit*>(field.editor))
        return box->toPlainText();
    return static_cast<QLineEdit*>(field.editor)->text();
}

bool BoundForm::write(Field& field) {
    const QString text = textOf(field);
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
    if (!dataset_ || !dataset_->isActive())
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
        try {
            dataset_->setValue(f.column, textOf(f).isEmpty() ? QVariant() : QVariant(textOf(f)));
            f.pending = false;
        } catch (const DbError& e) {
            prompts.message(QStringLiteral("Chyba"), f.caption + QStringLiteral(": ") + e.text(),
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
            } catch (const DbError&) {
            }
        }
        f.pending = false;
        if (auto* box = qobject_cast<QPlainTextEdit*>(f.editor)) {
            if (box->toPlainText() != text)
                box->setPlainText(text);
        } else if (auto* line = static_cast<QLineEdit*>(f.editor); line->text() != text) {
            line->setText(text);
        }
        f.editor->setEnabled(hasRow || dataset_->isEditing());
    }
    loading_ = false;
}

QString BoundForm::columnOf(const QObject* editor) const {
    for (const Field& f : fields_)
        if (f.editor == editor)
            return f.column;
    return {};
}

bool BoundForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && dataset_) {
        const QString column = columnOf(watched);
        const int c = column.isEmpty() ? -1 : dataset_->columnIndex(column);
        if (c >= 0 && dataset_->column(c).type == ColumnType::DateTime) {
            Q_EMIT datePickRequested(column, static_cast<QLineEdit*>(watched)->text());
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
    grid->setColumnTitles([this, tab](const QString& column) { return captions_(tab, column); });
    grid->setHiddenColumns({QStringLiteral("id"), QStringLiteral("id_tbl_doklad"),
                            QStringLiteral("id_tbl_majetek"), QStringLiteral("dateTS0"),
                            QStringLiteral("dateTS1")});
    parent->layout()->addWidget(grid);
    grids_.insert(QLatin1String(name), grid);
    controls_.insert(QLatin1String(name), grid);
    return grid;
}

BoundForm* ModulePages::addForm(QWidget* parent, int tab, const char* dataset, BoundForm::Options options) {
    options.titles = [this, tab](const QString& column) { return captions_(tab, column); };
    auto* form = new BoundForm(datasets_(QLatin1String(dataset)), std::move(options));
    // Documents have more fields than a window is high.
    auto* scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(form);
    static_cast<QBoxLayout*>(parent->layout())->addWidget(scroll, 3);
    forms_.insert(parent->objectName(), form);
    return form;
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
        } vat[] = {{"ADOFormDPHvstup", "DBGridDPHvstup", "Plnění (podklad pro DPH) - vstup"},
                   {"ADOFormDPHvystup", "DBGridDPHvystup", "Plnění (podklad pro DPH) - výstup"}};
        for (const auto& v : vat) {
            auto* box = new QGroupBox(QString::fromUtf8(v.title), split);
            box->setLayout(new QVBoxLayout);
            addGrid(box, tab, v.dataset, v.grid, box->title(), false, false);
        }
        return page;
    }
    if (tab < 1 || tab > 11)
        return page;

    const Master& m = masters[tab - 1];
    QWidget* list = addContainer(page, m.listContainer);
    addGrid(list, tab, m.dataset, m.grid, caption, true, m.detailContainer != nullptr);
    if (!m.detailContainer)
        return page;

    QWidget* detail = addContainer(page, m.detailContainer);
    detail->hide();
    BoundForm::Options options;
    switch (tab) {
    case 9:
        options.controls.insert(QStringLiteral("popis_dlouhy"), QStringLiteral("DBMemoZbozi"));
        break;
    case 10:
        options.controls.insert(QStringLiteral("poznamka_dlouha"), QStringLiteral("DBMemoPartneri"));
        break;
    case 11:
        options.controls.insert(QStringLiteral("popis"), QStringLiteral("DBMemoZakazky"));
        break;
    default:
        break;
    }
    addForm(detail, tab, m.dataset, options);
    if (tab == 3) {
        auto* box = new QGroupBox(QStringLiteral("Položky vydané faktury"), detail);
        box->setLayout(new QVBoxLayout);
        addGrid(box, tab, "ADOFormFAVpol", "DBGridFAVpol", box->title(), true, false);
        static_cast<QBoxLayout*>(detail->layout())->addWidget(box, 2);
    } else if (tab == 7) {
        auto* box = new QGroupBox(QStringLiteral("Odpisy"), detail);
        auto* boxLayout = new QHBoxLayout(box);
        auto* rows = new QWidget(box);
        rows->setLayout(new QVBoxLayout);
        rows->layout()->setContentsMargins(0, 0, 0, 0);
        addGrid(rows, tab, "ADOFormOdpisy", "DBGridOdpisy", box->title(), true, false);
        boxLayout->addWidget(rows, 3);
        BoundForm::Options memo;
        memo.onlyColumns = {QStringLiteral("vypocet")};
        memo.controls.insert(QStringLiteral("vypocet"), QStringLiteral("DBMemoOdpis"));
        memo.pairsPerRow = 1;
        memo.memoLines = 0;
        auto* calc = new BoundForm(datasets_(QStringLiteral("ADOFormOdpisy")), memo, box);
        boxLayout->addWidget(calc, 2);
        forms_.insert(QStringLiteral("DBMemoOdpis"), calc);
        static_cast<QBoxLayout*>(detail->layout())->addWidget(box, 2);
    }
    return page;
}

} // namespace kelvarn
