#include "ui/query_analyzer_window.h"

#include "core/app_state.h"
#include "core/prompts.h"
#include "core/text_file.h"
#include "db/dataset_table_model.h"
#include "db/db_error.h"
#include "output/console_runner.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>

namespace kelvarn {

namespace {

// The grid of the result, able to hand an open cell editor's text to the model
// before the row is written.
class ResultGrid : public QTableView {
  public:
    using QTableView::QTableView;

    void commitPendingEdit() {
        if (state() != EditingState)
            return;
        // indexWidget() also answers the editor of a cell being edited.
        if (QWidget* editor = indexWidget(currentIndex())) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
};

constexpr ConversionMode kModes[] = {ConversionMode::None, ConversionMode::MsSql, ConversionMode::Oracle,
                                     ConversionMode::MySql, ConversionMode::Firebird};

// The editor separates lines its own way; scripts are CR LF text.
QString scriptFromEditorText(QString text) {
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

} // namespace

QString QueryAnalyzerWindow::rulesText() {
    return QStringList{
        QStringLiteral("Zde můžete vložit a spustit SQL příkaz(y)."),
        QString(),
        QStringLiteral("Pravidla:"),
        QStringLiteral("1. Každý příkaz (dotaz) i komentář musí končit středníkem ;"),
        QStringLiteral("2. Spouští se pouze označená sekce (pokud není nic označeno, pak se spustí vše)"),
        QStringLiteral(
            "3. Pro komentář (tj. nebude se analyzovat a provádět) lze použít // na začátku řádku"),
        QStringLiteral("4. Vše je logováno do souboru"),
        QStringLiteral("5. Autor ani prodejce tohoto programu není odpovědný za škody, které je možno tímto "
                       "nástrojem v "),
        QStringLiteral("databázi napáchat."),
    }
        .join(QLatin1Char('\n'));
}

QueryAnalyzerWindow::QueryAnalyzerWindow(ConsoleRunner& runner, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), runner_(runner), prompts_(prompts) {
    setObjectName(QStringLiteral("QueryAnalyzer"));
    setWindowTitle(QStringLiteral(" SQL dotazy (Query Analyzer)"));
    setAccessibleName(windowTitle());

    editor_ = new QPlainTextEdit(this);
    editor_->setObjectName(QStringLiteral("MemoSQLReinstall"));
    editor_->setAccessibleName(QStringLiteral("SQL příkazy"));
    editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setPlainText(rulesText());
    // Typing or pasting a script replaces the rules at once.
    editor_->selectAll();

    grid_ = new ResultGrid(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setAccessibleName(QStringLiteral("Výsledek dotazu"));
    model_ = new DatasetTableModel(&runner_.result(), this);
    grid_->setModel(model_);
    grid_->horizontalHeader()->setSectionsMovable(true);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid())
                    return;
                try {
                    runner_.result().moveTo(current.row()); // posts a pending edit of the row left
                } catch (const DbError& e) {
                    showError(e.text());
                }
            });

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(editor_);
    splitter->addWidget(grid_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusBarQuery"));
    statusBar()->addWidget(status_, 1);
    const auto showStatus = [this](const QString& text) {
        status_->setText(text);
        status_->setAccessibleName(text);
    };
    showStatus(runner_.statusText());
    connect(&runner_, &ConsoleRunner::statusTextChanged, this, showStatus);

    buildMenus();
    showModeChecked(runner_.mode());
    connect(&runner_, &ConsoleRunner::modeChanged, this, &QueryAnalyzerWindow::showModeChecked);
    connect(&runner_, &ConsoleRunner::scriptLoaded, this, &QueryAnalyzerWindow::setScriptText);

    resize(820, 600);
}

QueryAnalyzerWindow::~QueryAnalyzerWindow() = default;

void QueryAnalyzerWindow::buildMenus() {
    QMenu* main = menuBar()->addMenu(QStringLiteral("Hlavní menu"));
    main->setAccessibleName(main->title());
    QAction* open = main->addAction(QStringLiteral("Otevřít..."), this, &QueryAnalyzerWindow::openScript);
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* run = main->addAction(QStringLiteral("Spustit dotaz"), this, &QueryAnalyzerWindow::runScript);
    run->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    main->addAction(QStringLiteral("Zavřít"), this, &QWidget::close);

    QMenu* modes = menuBar()->addMenu(QStringLiteral("Mód spuštění"));
    modes->setAccessibleName(modes->title());
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (ConversionMode mode : kModes) {
        QAction* action = modes->addAction(modeCaption(mode));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, mode] { runner_.setMode(mode); });
        modeActions_.append(action);
    }

    QMenu* exportMenu = menuBar()->addMenu(QStringLiteral("Export/Import"));
    exportMenu->setAccessibleName(exportMenu->title());
    exportMenu->addAction(QStringLiteral("Export"), this, &QueryAnalyzerWindow::exportResult);
    QAction* import = exportMenu->addAction(QStringLiteral("Import"));
    import->setEnabled(false);

    // Not shown in any menu, but its shortcut works anywhere in the window.
    auto* save = new QAction(QStringLiteral("save"), this);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, &QueryAnalyzerWindow::saveResultEdit);
    addAction(save);
}

void QueryAnalyzerWindow::showModeChecked(ConversionMode mode) {
    const auto index = static_cast<qsizetype>(mode);
    if (index >= 0 && index < modeActions_.size())
        modeActions_[index]->setChecked(true);
}

void QueryAnalyzerWindow::setScriptText(const QString& text) {
    editor_->setPlainText(text);
}

void QueryAnalyzerWindow::runScript() {
    if (runner_.isRunning())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QTextCursor selection = editor_->textCursor();
    const QString script = selection.hasSelection() ? selection.selectedText() : editor_->toPlainText();
    runner_.run(scriptFromEditorText(script));
    editor_->setTextCursor(selection);
    editor_->setFocus();
    QApplication::restoreOverrideCursor();
}

void QueryAnalyzerWindow::openScript() {
    const QString path = prompts_.openFileName(
        QStringLiteral("Otevřít"), runner_.appState().appDir + QStringLiteral("install/"),
        {QStringLiteral("*.sql"), QStringLiteral("*.txt"), QStringLiteral("*.*")});
    if (path.isEmpty())
        return;
    QString text;
    QString error;
    if (!readCp1250File(path, text, &error)) {
        showError(error);
        return;
    }
    editor_->setPlainText(text);
}

void QueryAnalyzerWindow::exportResult() {
    // The export follows the columns as the user arranged them in the grid.
    QList<int> order;
    const QHeaderView* header = grid_->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual)
        order.append(header->logicalIndex(visual));
    runner_.exportResult(order);
}

void QueryAnalyzerWindow::saveResultEdit() {
    static_cast<ResultGrid*>(grid_)->commitPendingEdit();
    Dataset& result = runner_.result();
    if (!result.isEditing())
        return;
    try {
        result.post();
    } catch (const DbError& e) {
        showError(e.text());
    }
}

void QueryAnalyzerWindow::closeEvent(QCloseEvent* event) {
    // A run in progress keeps the window; closing otherwise only hides it.
    if (runner_.isRunning())
        event->ignore();
    else
        event->accept();
}

void QueryAnalyzerWindow::showError(const QString& text) {
    prompts_.message(QGuiApplication::applicationDisplayName(), text, MessageStyle::Error);
}

} // namespace kelvarn
