#include "ui/filter_dialog.h"

#include "core/prompts.h"
#include "db/dataset_table_model.h"
#include "db/db_error.h"
#include "ui/dataset_grid.h"
#include "ui/date_picker.h"
#include "ui/filter_help.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>

namespace kelvarn {

FilterDialog::FilterDialog(FilterEditor& editor, Prompts& prompts, QWidget* parent)
    : QDialog(parent), editor_(editor), prompts_(prompts) {
    setWindowTitle(QStringLiteral("Definice/výběr uživatelského filtru"));
    setAccessibleName(windowTitle());
    setModal(true);
    chooseDate_ = [this]() { return DatePicker::pick(QDate(), this); };

    auto* layout = new QVBoxLayout(this);
    buildToolbar();
    layout->addWidget(toolbar_);

    grid_ = new DatasetGrid(&editor_.filters(), QStringLiteral("DBGridFiltr"), QStringLiteral("Uživatelské filtry"),
                            true, true, this);
    grid_->setColumnOrder({QStringLiteral("nazev"), QStringLiteral("dateTS0"), QStringLiteral("id_panel")});
    grid_->setHiddenColumns({QStringLiteral("id"), QStringLiteral("definice"), QStringLiteral("dateTS1")});
    grid_->setColumnTitles([](const QString& column) {
        if (column.compare(QLatin1String("nazev"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("Název filtru");
        if (column.compare(QLatin1String("dateTS0"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("Datum založení");
        if (column.compare(QLatin1String("id_panel"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("Panel");
        return QString();
    });
    grid_->tableModel()->setReadOnlyColumns({QStringLiteral("dateTS0"), QStringLiteral("id_panel")});
    layout->addWidget(grid_, 1);

    auto* attributeRow = new QHBoxLayout;
    auto* definitionLabel = new QLabel(QStringLiteral("SQL definice filtru"), this);
    attributes_ = new QComboBox(this);
    attributes_->setObjectName(QStringLiteral("ComboBox1"));
    attributes_->setAccessibleName(QStringLiteral("Atribut"));
    attributes_->setEditable(true);
    attributes_->setInsertPolicy(QComboBox::NoInsert);
    attributes_->setMinimumContentsLength(28);
    attributes_->setMaxVisibleItems(24);
    attributes_->installEventFilter(this);
    attributes_->view()->installEventFilter(this);
    insert_ = new QPushButton(QStringLiteral("Vložit atribut"), this);
    insert_->setObjectName(QStringLiteral("ButtonVlozit"));
    insert_->setAccessibleName(insert_->text());
    insert_->setAutoDefault(false);
    attributeRow->addWidget(definitionLabel);
    attributeRow->addStretch(1);
    attributeRow->addWidget(attributes_);
    attributeRow->addWidget(insert_);
    layout->addLayout(attributeRow);

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("DBMemoDefinice"));
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setFamilies({QStringLiteral("Courier New"), fixed.family()});
    memo_->setFont(fixed);
    memo_->setTabChangesFocus(true);
    definitionLabel->setBuddy(memo_);
    memo_->setAccessibleName(definitionLabel->text());
    layout->addWidget(memo_, 1);

    auto* buttons = new QHBoxLayout;
    help_ = new QPushButton(QStringLiteral("Nápověda"), this);
    apply_ = new QPushButton(QStringLiteral(" Aplikovat filtr"), this);
    cancel_ = new QPushButton(QStringLiteral(" Storno"), this);
    for (QPushButton* b : {help_, apply_, cancel_}) {
        b->setAccessibleName(b->text().trimmed());
        b->setAutoDefault(false);
    }
    buttons->addWidget(help_);
    buttons->addStretch(1);
    buttons->addWidget(apply_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);

    connect(insert_, &QPushButton::clicked, this, &FilterDialog::insertAttribute);
    connect(help_, &QPushButton::clicked, this, &FilterDialog::showHelp);
    connect(apply_, &QPushButton::clicked, this, &FilterDialog::applyFilter);
    connect(cancel_, &QPushButton::clicked, this, &FilterDialog::reject);
    connect(attributes_, &QComboBox::activated, this, [this] { memo_->setFocus(Qt::OtherFocusReason); });
    connect(memo_, &QPlainTextEdit::textChanged, this, &FilterDialog::definitionTyped);
    Dataset* filters = &editor_.filters();
    connect(filters, &Dataset::currentRowChanged, this, &FilterDialog::showDefinition);
    connect(filters, &Dataset::reset, this, &FilterDialog::showDefinition);
    connect(filters, &Dataset::stateChanged, this, [this, filters] {
        // A dropped change shows the stored text again.
        if (!filters->isEditing())
            showDefinition();
    });
    connect(grid_, &DatasetGrid::failed, this,
            [this](const QString& text) { prompts_.message(QStringLiteral("Chyba"), text, MessageStyle::Error); });

    editor_.setView({[this] { return grid_->selectedBookmarks(); },
                     [this](bool readOnly) { grid_->setLocked(readOnly); },
                     [this] {
                         grid_->setFocus(Qt::OtherFocusReason);
                         grid_->enterColumn(QStringLiteral("nazev"));
                     }});
    setFixedSize(640, 520);
}

FilterDialog::~FilterDialog() {
    editor_.setView({});
}

void FilterDialog::buildToolbar() {
    toolbar_ = new QToolBar(QStringLiteral("Filtry"), this);
    toolbar_->setObjectName(QStringLiteral("ToolBar1"));
    toolbar_->setAccessibleName(QStringLiteral("Filtry"));
    toolbar_->setIconSize(QSize(20, 20));
    QStyle* s = style();
    struct Button {
        const char* name;
        const char* hint;
        QStyle::StandardPixmap icon;
        std::function<void()> command;
    };
    const Button buttons[] = {
        {"Refresh", "Znovunačtení dat - Refresh (F5)", QStyle::SP_BrowserReload, [this] { editor_.refresh(); }},
        {"FirstRecord", "První záznam (Ctrl+NUM 8)", QStyle::SP_MediaSkipBackward, [this] { editor_.first(); }},
        {"PriorRecord", "Předchozí záznam (Ctrl+NUM 4)", QStyle::SP_ArrowLeft, [this] { editor_.prior(); }},
        {"NextRecord", "Následující záznam (Ctrl+NUM 6)", QStyle::SP_ArrowRight, [this] { editor_.next(); }},
        {"LastRecord", "Poslední záznam (Ctrl+NUM 2)", QStyle::SP_MediaSkipForward, [this] { editor_.last(); }},
        {"InsertRecord", "Nový záznam (INSERT)", QStyle::SP_FileIcon, [this] { editor_.newRow(); }},
        {"DeleteRecords", "Smazat záznam (Ctrl+DEL)", QStyle::SP_TrashIcon, [this] { editor_.deleteRows(); }},
        {"SaveRecords", "Uložit záznam (Ctrl+S)", QStyle::SP_DialogSaveButton,
         [this] {
             if (grid_->commitOpenEditor())
                 editor_.save();
         }},
    };
    for (const Button& b : buttons) {
        const QString hint = QString::fromUtf8(b.hint);
        QAction* action = toolbar_->addAction(s->standardIcon(b.icon), hint);
        action->setObjectName(QLatin1String(b.name));
        action->setToolTip(hint);
        if (QWidget* button = toolbar_->widgetForAction(action)) {
            button->setObjectName(QLatin1String(b.name));
            button->setAccessibleName(hint);
        }
        const std::function<void()> command = b.command;
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
        actions_.insert(QLatin1String(b.name), action);
    }
    // The keys act wherever the focus is in the dialog, the grid included.
    const std::pair<const char*, QList<QKeySequence>> keys[] = {
        {"Refresh", {QKeySequence(Qt::Key_F5)}},
        {"FirstRecord", {QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_8),
                         QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Up)}},
        {"PriorRecord", {QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_4),
                         QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Left)}},
        {"NextRecord", {QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_6),
                        QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Right)}},
        {"LastRecord", {QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_2),
                        QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Down)}},
        {"DeleteRecords", {QKeySequence(Qt::CTRL | Qt::Key_Delete)}},
        {"SaveRecords", {QKeySequence(Qt::CTRL | Qt::Key_S)}},
    };
    for (const auto& [name, sequences] : keys) {
        QAction* action = actions_.value(QLatin1String(name));
        action->setShortcuts(sequences);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
}

void FilterDialog::run(FilterResult& result, qint64& appliedId) {
    result_ = {};
    appliedId_ = appliedId;
    attributes_->clear();
    attributes_->setEditText({});
    showDefinition();
    grid_->setFocus(Qt::OtherFocusReason);
    const int widths[] = {300, 170, 60};
    for (int section = 0; section < 3 && section < grid_->model()->columnCount(); ++section)
        grid_->setColumnWidth(grid_->horizontalHeader()->logicalIndex(section), widths[section]);
    exec();
    result = result_;
    appliedId = appliedId_;
}

void FilterDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    grid_->setFocus(Qt::OtherFocusReason);
}

void FilterDialog::runCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const DbError& e) {
        prompts_.message(QStringLiteral("Chyba"), e.text(), MessageStyle::Error);
    }
}

void FilterDialog::showDefinition() {
    const Dataset& filters = editor_.filters();
    const QString text =
        filters.isActive() && filters.currentRow() >= 0 ? filters.asString(QStringLiteral("definice")) : QString();
    if (memo_->toPlainText() == text)
        return;
    showing_ = true;
    memo_->setPlainText(text);
    showing_ = false;
}

void FilterDialog::definitionTyped() {
    if (showing_)
        return;
    runCommand([this] { editor_.setDefinition(memo_->toPlainText()); });
}

void FilterDialog::fillAttributes() {
    if (attributes_->count() > 0)
        return;
    attributes_->setEditText(QStringLiteral("Čekejte..."));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    attributes_->addItems(editor_.attributeItems());
    attributes_->setCurrentIndex(-1);
    attributes_->setEditText({});
}

bool FilterDialog::eventFilter(QObject* watched, QEvent* event) {
    // The list is filled the first time it opens, by mouse or by Alt+Down.
    const bool opening = (watched == attributes_ && event->type() == QEvent::MouseButtonPress) ||
                         (watched == attributes_ && event->type() == QEvent::KeyPress &&
                          (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4 ||
                           static_cast<QKeyEvent*>(event)->modifiers() & Qt::AltModifier));
    if (opening)
        fillAttributes();
    return QDialog::eventFilter(watched, event);
}

void FilterDialog::insertAttribute() {
    runCommand([this] {
        const QString item = attributes_->currentText();
        QTextCursor cursor = memo_->textCursor();
        const int start = cursor.selectionStart();
        const int length = cursor.selectionEnd() - start;
        const std::optional<FilterEditor::Insertion> insertion =
            editor_.insertAttribute(item, memo_->toPlainText(), start, length, chooseDate_);
        if (!insertion)
            return;
        showing_ = true;
        memo_->setPlainText(insertion->text);
        showing_ = false;
        memo_->setFocus(Qt::OtherFocusReason);
        QTextCursor select = memo_->textCursor();
        select.setPosition(insertion->start);
        select.setPosition(insertion->start + insertion->length, QTextCursor::KeepAnchor);
        memo_->setTextCursor(select);
    });
}

void FilterDialog::showHelp() {
    if (!helpWindow_)
        helpWindow_ = new FilterHelp(this);
    helpWindow_->show();
    helpWindow_->raise();
}

void FilterDialog::finish(bool apply) {
    bool closes = false;
    runCommand([&] {
        if (!grid_->commitOpenEditor())
            return;
        FilterResult result;
        qint64 id = appliedId_;
        if (!editor_.close(apply, result, id))
            return;
        result_ = result;
        appliedId_ = id;
        closes = true;
    });
    if (!closes)
        return;
    attributes_->clear();
    attributes_->setEditText({});
    if (helpWindow_)
        helpWindow_->close();
    if (apply)
        QDialog::accept();
    else
        QDialog::reject();
}

void FilterDialog::applyFilter() {
    finish(true);
}

void FilterDialog::reject() {
    finish(false);
}

void FilterDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        bool dropped = false;
        runCommand([&] { dropped = editor_.cancelEdit(); });
        if (!dropped)
            reject();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kelvarn
