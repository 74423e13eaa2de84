#include "ui/main_window.h"

#include "app/date_entry.h"
#include "app/filter_commands.h"
#include "app/jpeg_image.h"
#include "app/module_datasets.h"
#include "app/outside_tools.h"
#include "app/print_controller.h"
#include "app/shell_controller.h"
#include "app/startup.h"
#include "core/prompts.h"
#include "core/unattended.h"
#include "db/dataset.h"
#include "db/db_error.h"
#include "lists/column_caption_map.h"
#include "lists/panel_geometry.h"
#include "output/console_runner.h"
#include "output/list_export.h"
#include "output/report_template_engine.h"
#include "ui/about_dialog.h"
#include "ui/calendar_window.h"
#include "ui/cash_book_wiring.h"
#include "ui/date_picker.h"
#include "ui/document_wiring.h"
#include "ui/entrepreneur_panel.h"
#include "ui/filter_dialog.h"
#include "ui/exchange_menu.h"
#include "ui/login_dialog.h"
#include "ui/module_pages.h"
#include "ui/query_analyzer_window.h"
#include "ui/report_preview_window.h"
#include "ui/settings_dialog.h"
#include "ui/tips_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace kelvarn {

// The splash picture over the module area, scaled to fit without distortion.
class SplashView : public QWidget {
  public:
    explicit SplashView(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("Splash"));
        setAccessibleName(QStringLiteral("Kelvarn"));
        setAutoFillBackground(true);
    }
    void setImage(const QImage& image) {
        image_ = image;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (image_.isNull())
            return;
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        QSize size = image_.size();
        if (size.width() > width() || size.height() > height())
            size.scale(this->size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
        p.drawImage(target, image_);
    }

  private:
    QImage image_;
};

// Where the modules and the splash picture show; the window opens with it at the
// size the panels were drawn for (and users are told to make their own picture).
class ModuleArea : public QWidget {
  public:
    using QWidget::QWidget;
    QSize sizeHint() const override { return kModulePanelRect.size(); }
};

QStringList MainWindow::moduleCaptions() {
    return {QStringLiteral("Podnikatel"),
            QStringLiteral("Příjmy a výdaje"),
            QStringLiteral("Plnění (podklad pro DPH)"),
            QStringLiteral("Pohledávky a prodej"),
            QStringLiteral("Závazky a nákup"),
            QStringLiteral("PPD"),
            QStringLiteral("VPD"),
            QStringLiteral("Majetek"),
            QStringLiteral("Kniha jízd"),
            QStringLiteral("Zboží"),
            QStringLiteral("Obchodní partneři"),
            QStringLiteral("Zakázky")};
}

MainWindow::MainWindow(Prompts& prompts, const QString& appDir, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts) {
    setWindowTitle(QStringLiteral("Kelvarn"));
    setAccessibleName(QStringLiteral("Kelvarn"));

    controller_ = new ShellController(*this, prompts_, appDir, this);
    preview_ = new ReportPreviewWindow(prompts_, this);
    auto reports = std::make_unique<ReportTemplateEngine>();
    reports->setOutput(preview_);
    controller_->setReportEngine(std::move(reports));

    menu_ = buildMainMenu(menuBar(), this);
    toolbar_ = buildMainToolbar(this);
    addToolBar(toolbar_.bar);
    buildModules();

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusBar1"));
    status_->setAccessibleName(QStringLiteral("Stavový řádek"));
    // A long connection string must not widen the window.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(status_, 1);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setAccessibleName(QStringLiteral("Průběh exportu"));
    progress_->setMaximumWidth(240);
    progress_->setVisible(false);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->setSizeGripEnabled(true);

    console_ = new QueryAnalyzerWindow(controller_->console(), prompts_, this);
    console_->setWindowFlag(Qt::Window);
    tips_ = new TipsDialog(controller_->state(), this);
    about_ = new AboutDialog(this);
    settings_ = new SettingsDialog(controller_->state(), prompts_, this);
    settings_->setStatementExecutor(
        [this](const QString& statement) { controller_->console().execute(statement); });
    connect(settings_, &SettingsDialog::closedWithoutSavePromptOption, this,
            [this] { controller_->db().resetSkipConfirmation(); });

    blink_.setObjectName(QStringLiteral("BlinkTimer"));
    connect(&blink_, &QTimer::timeout, this, [this] {
        if (isVisible())
            controller_->blinkTick();
    });

    wireMenu();
    wireModules();
    wireRecordButtons();
    // The keyboard map acts before the focused control; see moduleKeyPressed.
    qApp->installEventFilter(this);

    loadSplash(appDir);
    resize(sizeHint());
    fitTabs();
}

void MainWindow::fitTabs() {
    // Wide enough for the twelve tabs and the counter where the screen allows it.
    const int wanted = tabs_->sizeHint().width() + recordCount_->sizeHint().width() + 40;
    int width = std::max(this->width(), wanted);
    if (const QScreen* screen = this->screen())
        width = std::min(width, screen->availableGeometry().width());
    resize(width, height());
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    blink_.stop();
    controller_->modules().setView(nullptr);
    delete documents_;
    // The panels outlive the controller their signals call into.
    for (DatasetGrid* grid : pages_->grids())
        grid->disconnect(this);
    for (BoundForm* form : pages_->forms())
        form->disconnect(this);
    controller_->shutDown();
    // These windows hold the controller's state, console and dataset; they must not
    // outlive it while the children are torn down.
    delete console_;
    delete tips_;
    delete settings_;
    delete about_;
    delete filterDialog_;
    entrepreneur_->bind(nullptr);
    delete controller_;
}

void MainWindow::buildModules() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(3, 3, 3, 0);
    layout->setSpacing(0);

    auto* tabRow = new QHBoxLayout;
    tabs_ = new QTabBar(central);
    tabs_->setObjectName(QStringLiteral("TabControl1"));
    tabs_->setAccessibleName(QStringLiteral("Moduly"));
    tabs_->setExpanding(false);
    tabs_->setDrawBase(true);
    const QStringList captions = moduleCaptions();
    for (const QString& caption : captions) {
        const int index = tabs_->addTab(caption);
        tabs_->setAccessibleTabName(index, caption);
    }
    recordCount_ = new QLabel(QStringLiteral("0"), central);
    recordCount_->setAccessibleDescription(recordCount_->text());
    recordCount_->setObjectName(QStringLiteral("RecordCount"));
    recordCount_->setAccessibleName(QStringLiteral("Počet záznamů"));
    recordCount_->setToolTip(QStringLiteral("Počet záznamů"));
    QFont bold = recordCount_->font();
    bold.setBold(true);
    recordCount_->setFont(bold);
    recordCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    recordCount_->setContentsMargins(8, 0, 8, 0);
    tabRow->addWidget(tabs_, 1);
    tabRow->addWidget(recordCount_);
    layout->addLayout(tabRow);

    auto* area = new ModuleArea(central);
    auto* stack = new QStackedLayout(area);
    stack->setStackingMode(QStackedLayout::StackAll);
    modules_ = new QStackedWidget(area);
    modules_->setObjectName(QStringLiteral("Modules"));
    entrepreneur_ = new EntrepreneurPanel(modules_);
    modules_->addWidget(entrepreneur_);
    pages_ = std::make_unique<ModulePages>(
        [this](const QString& name) { return controller_->modules().dataset(name); },
        [this](int tab, const QString& column) {
            // Captions exist only after login; until then the column names show.
            const auto& maps = controller_->captionMaps();
            if (tab < 0 || tab >= static_cast<int>(maps.size()) || maps[tab].isEmpty())
                return QString();
            QString caption = ColumnCaptionMap(maps[tab]).captionOf(column);
            if (caption.startsWith(QLatin1Char('[')) && caption.endsWith(QLatin1Char(']')))
                caption = caption.mid(1, caption.size() - 2);
            return caption;
        });
    for (int i = 1; i < captions.size(); ++i)
        modules_->addWidget(pages_->buildPage(i, captions[i], modules_));
    splash_ = new SplashView(area);
    stack->addWidget(modules_);
    stack->addWidget(splash_);
    stack->setCurrentWidget(splash_);
    layout->addWidget(area, 1);
    setCentralWidget(central);

    connect(tabs_, &QTabBar::currentChanged, this, &MainWindow::tabChanged);
}

void MainWindow::loadSplash(const QString& appDir) {
    QString error;
    if (loadJpeg(appDir + QStringLiteral("logo.jpg"), splashImage_, error)) {
        splash_->setImage(splashImage_);
        return;
    }
    prompts_.message(QStringLiteral("Chyba"), error + QStringLiteral("\r\n\r\n"), MessageStyle::Error);
}

void MainWindow::wireMenu() {
    connect(menu_.quit, &QAction::triggered, this, &QWidget::close);
    connect(menu_.calendar, &QAction::triggered, this, &MainWindow::showCalendar);
    connect(menu_.queryAnalyzer, &QAction::triggered, this, &MainWindow::showQueryAnalyzer);
    connect(menu_.odbcAdministrator, &QAction::triggered, this, &MainWindow::showOdbcNote);
    const std::pair<QAction*, OutsideTools::Tool> handOvers[] = {
        {menu_.backup, OutsideTools::Tool::Backup},
        {menu_.updateWizard, OutsideTools::Tool::UpdateWizard},
        {menu_.createTest, OutsideTools::Tool::CreateTest},
    };
    for (const auto& [action, tool] : handOvers)
        connect(action, &QAction::triggered, this, [this, tool = tool] { startOutsideTool(tool); });
    connect(menu_.configFile, &QAction::triggered, this, &MainWindow::openConfigurationFile);
    connect(menu_.settings, &QAction::triggered, this, &MainWindow::showSettings);
    connect(menu_.help, &QAction::triggered, this, &MainWindow::openHelp);
    connect(menu_.tips, &QAction::triggered, this, &MainWindow::showTips);
    connect(menu_.programFolder, &QAction::triggered, this, &MainWindow::openProgramFolder);
    connect(menu_.about, &QAction::triggered, this, &MainWindow::showAbout);
    connect(menu_.save, &QAction::triggered, this, &MainWindow::saveRecord);
    new ExchangeMenu(menu_, *controller_, prompts_, this);

    QAction* save = toolbar_.actions.value(QStringLiteral("SaveRecords"));
    save->setEnabled(true);
    connect(save, &QAction::triggered, this, &MainWindow::saveRecord);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The start-up waits until the window is on screen, so the splash picture is
    // behind the tip and login windows.
    if (startOnShow_ && !controller_->state().started)
        QTimer::singleShot(0, controller_, &ShellController::startUp);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The rows being written out must stay until the export is done.
    if (exporting_ || !controller_->closeRequested()) {
        event->ignore();
        return;
    }
    console_->hide();
    tips_->hide();
    event->accept();
}

void MainWindow::showTabByProgram(int tab) {
    const QScopedValueRollback<bool> quiet(restoringTab_, true);
    shownTab_ = tab;
    tabs_->setCurrentIndex(tab);
    modules_->setCurrentIndex(tab);
}

void MainWindow::tabChanged(int index) {
    if (restoringTab_)
        return;
    if (!controller_->state().loggedIn) {
        modules_->setCurrentIndex(index);
        return;
    }
    ModuleController& modules = controller_->modules().controller();
    if (!modules.tabChanging()) {
        restoringTab_ = true;
        tabs_->setCurrentIndex(shownTab_);
        restoringTab_ = false;
        return;
    }
    shownTab_ = index;
    modules_->setCurrentIndex(index);
    runCommand([&modules, index] { modules.tabChanged(index); });
}

void MainWindow::saveRecord() {
    if (controller_->currentPanelId() == QLatin1String("FormPodnikatel") &&
        !entrepreneur_->applyEdits(prompts_))
        return;
    // Texts a field could not take while they were typed are checked now, and a
    // cell still being typed into is written first.
    for (BoundForm* form : pages_->forms())
        if (form->isVisible() && !form->applyPending(prompts_))
            return;
    for (DatasetGrid* grid : pages_->grids())
        if (grid->isVisible() && !grid->commitOpenEditor())
            return;
    controller_->saveCurrentRecord();
}

bool MainWindow::headerTextsTaken(const QString& container) {
    // Entering the inner grid saves the record above it; a text its form could not
    // take is told about first, never dropped with that save.
    BoundForm* form = pages_->form(container);
    return !form || form->applyPending(prompts_);
}

void MainWindow::runCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const DbError& e) {
        prompts_.message(QStringLiteral("Chyba"), e.text(), MessageStyle::Error);
    }
}

void MainWindow::wireModules() {
    ModuleDatasets& datasets = controller_->modules();
    datasets.setView(this);
    datasets.setSelectWholeText([this](const QString& column) { selectWholeText(column); });
    documents_ = new DocumentWiring(this, *pages_, datasets, prompts_, controller_->state(),
                                    [this](int tab) { showTabByProgram(tab); });
    datasets.controller().hooks().externalCommand = [this, &datasets](KeyCommand command) {
        switch (command) {
        case KeyCommand::Refresh:
            datasets.refreshCurrentPanel();
            break;
        case KeyCommand::SortAscending:
        case KeyCommand::SortDescending:
            sortCurrentList(command == KeyCommand::SortDescending);
            break;
        case KeyCommand::Picker:
            if (!documents_->pickerKey())
                pickDateInFocusedField();
            break;
        case KeyCommand::Calendar:
            showCalendar();
            break;
        case KeyCommand::Filter:
            controller_->filters().filterClick();
            break;
        case KeyCommand::Print:
            controller_->printing().print(PrintTrigger::Key);
            break;
        default:
            break;
        }
    };
    controller_->filters().setShowDialog([this](FilterEditor& editor, FilterResult& result, qint64& appliedId) {
        if (!filterDialog_)
            filterDialog_ = new FilterDialog(editor, prompts_, this);
        filterDialog_->run(result, appliedId);
    });
    connectCashBook(this, menu_, *pages_, *entrepreneur_->overview(), *tabs_, datasets, controller_->state(),
                    [this](const std::function<void()>& command) { runCommand(command); });
    ModuleController& modules = datasets.controller();
    // Each grid's column arrangement is kept per user between runs.
    for (DatasetGrid* grid : pages_->grids()) {
        ShellController::GridHost host;
        host.gridName = grid->objectName();
        host.dataset = grid->dataset();
        host.layout = [grid] { return grid->layoutToKeep(); };
        host.apply = [this, grid](const GridLayout& layout) {
            if (QString why; !grid->setSavedLayout(layout, &why))
                controller_->log().append(
                    gridLayoutPath(controller_->state().appDir, controller_->state().userName, grid->objectName()) +
                    QStringLiteral(": ") + why);
        };
        controller_->registerGrid(std::move(host));
    }
    for (BoundForm* form : pages_->forms())
        connect(form, &BoundForm::datePickRequested, this,
                [this, form](const QString& column, const QString& text) { pickDate(form, column, text); });
    for (DatasetGrid* grid : pages_->grids()) {
        connect(grid, &DatasetGrid::failed, this, [this](const QString& text) {
            prompts_.message(QStringLiteral("Chyba"), text, MessageStyle::Error);
        });
        const QString name = grid->objectName();
        if (name == QLatin1String("DBGridFAVpol")) {
            connect(grid, &DatasetGrid::focusEntered, this, [this, &modules] {
                if (headerTextsTaken(QStringLiteral("PanelFAV")))
                    runCommand([&modules] { modules.itemsGridFocused(true); });
            });
            connect(grid, &DatasetGrid::focusLeft, this,
                    [this, &modules] { runCommand([&modules] { modules.itemsGridFocused(false); }); });
        } else if (name == QLatin1String("DBGridOdpisy")) {
            connect(grid, &DatasetGrid::focusEntered, this, [this, &modules] {
                if (headerTextsTaken(QStringLiteral("PanelMajetek")))
                    runCommand([&modules] { modules.depreciationFocused(true); });
            });
            connect(grid, &DatasetGrid::focusLeft, this,
                    [this, &modules] { runCommand([&modules] { modules.depreciationFocused(false); }); });
        } else if (name.startsWith(QLatin1String("DBGridDPH"))) {
            const bool output = name == QLatin1String("DBGridDPHvystup");
            connect(grid, &DatasetGrid::focusEntered, this, [this, &modules, output] {
                runCommand([&modules, output] { modules.vatGridFocused(output); });
            });
        } else if (!DocumentWiring::picksFrom(name)) {
            connect(grid, &QAbstractItemView::doubleClicked, this,
                    [this, &modules] { runCommand([&modules] { modules.toggleMasterDetail(); }); });
        }
    }
    if (BoundForm* memo = pages_->forms().value(QStringLiteral("DBMemoOdpis"))) {
        connect(memo, &BoundForm::focusEntered, this, [this, &modules] {
            if (headerTextsTaken(QStringLiteral("PanelMajetek")))
                runCommand([&modules] { modules.depreciationFocused(true); });
        });
        connect(memo, &BoundForm::focusLeft, this,
                [this, &modules] { runCommand([&modules] { modules.depreciationFocused(false); }); });
    }
}

void MainWindow::wireRecordButtons() {
    ModuleDatasets& datasets = controller_->modules();
    ModuleController& modules = datasets.controller();
    const std::pair<const char*, std::function<void()>> buttons[] = {
        {"Refresh", [&datasets] { datasets.refreshCurrentPanel(); }},
        {"FirstRecord", [&modules] { modules.firstRecord(); }},
        {"PriorRecord", [&modules] { modules.priorRecord(); }},
        {"NextRecord", [&modules] { modules.nextRecord(); }},
        {"LastRecord", [&modules] { modules.lastRecord(); }},
        {"InsertRecord", [&modules] { modules.newRecord(true); }},
        {"DeleteRecords", [&modules] { modules.deleteSelectedRecords(); }},
        {"SortASC", [this] { sortCurrentList(false); }},
        {"SortDESC", [this] { sortCurrentList(true); }},
        {"MasterDetail", [&modules] { modules.toggleMasterDetail(); }},
        {"Filtr", [this] { controller_->filters().filterClick(); }},
        {"FiltrCancel", [this] { controller_->filters().filterCancelClick(); }},
        {"ToolButton4", [this] { exportCurrentList(); }},
        {"PrintRecords", [this] { controller_->printing().print(PrintTrigger::Button); }},
    };
    for (const auto& [name, command] : buttons) {
        QAction* action = toolbar_.actions.value(QLatin1String(name));
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, [this, command] {
            if (controller_->state().loggedIn)
                runCommand(command);
        });
    }
}

void MainWindow::sortCurrentList(bool descending) {
    const QString grid = ModuleController::gridOfPanel(controller_->modules().controller().currentPanelId());
    // Panels without a grid sort nothing, but an edited record still refuses the command.
    const DatasetGrid* view = pages_->grid(grid);
    controller_->modules().sortCurrentPanel(view ? view->currentColumnName() : QString(), descending);
}

void MainWindow::selectWholeText(const QString& column) {
    for (BoundForm* form : pages_->forms()) {
        if (!form->isVisible())
            continue;
        if (auto* line = qobject_cast<QLineEdit*>(form->editorFor(column))) {
            line->setFocus();
            line->selectAll();
            return;
        }
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !forwardingKey_ && controller_->state().loggedIn &&
        tabs_->isEnabled()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const QWidget* focus = QApplication::focusWidget();
        // Only the first receiver: an ignored key travels on to the parents, which
        // must not run the command again.
        if (widget && widget->window() == this && (widget == focus || !widget->isAncestorOf(focus)))
            return moduleKeyPressed(widget, static_cast<QKeyEvent*>(event));
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::moduleKeyPressed(QWidget* receiver, QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers & Qt::ControlModifier;
    // The menus carry these as their shortcuts.
    if (key == Qt::Key_F1 || key == Qt::Key_F10 || (control && (key == Qt::Key_S || key == Qt::Key_Q)))
        return false;
    if (ModuleController::commandForKey(key, modifiers) == KeyCommand::None)
        return false;
    ModuleController& modules = controller_->modules().controller();
    // A refused Insert must not reach a grid either: it would post the row being
    // edited and start another one.
    const bool refused = key == Qt::Key_Insert && !modules.checkBrowseState(QStringLiteral("post"));
    runCommand([&modules, key, modifiers] { modules.formKeyDown(key, modifiers); });
    if (refused || (key != Qt::Key_Insert && key != Qt::Key_Escape))
        return true;
    // A focused grid still starts its own row on Insert and drops it on Esc. The key
    // is handed on here and then stopped, because the command may have moved the
    // focus: a parent the ignored key travels on to would then look like a first
    // receiver and run the command a second time.
    {
        const QScopedValueRollback<bool> forwarding(forwardingKey_, true);
        QCoreApplication::sendEvent(receiver, event);
    }
    event->accept();
    return true;
}

void MainWindow::cancelEdit() {
    controller_->cancelCurrentEdit();
}

void MainWindow::showQueryAnalyzer() {
    console_->show();
    console_->raise();
    console_->activateWindow();
}

void MainWindow::showSettings() {
    settings_->exec();
}

void MainWindow::showAbout() {
    about_->exec();
}

void MainWindow::showOdbcNote() {
    OutsideTools(prompts_, launcher_).odbcAdministrator();
}

void MainWindow::openHelp() {
    OutsideTools(prompts_, launcher_).help(controller_->state().appDir);
}

void MainWindow::openProgramFolder() {
    OutsideTools(prompts_, launcher_).programFolder(controller_->state().appDir);
}

void MainWindow::startOutsideTool(OutsideTools::Tool tool) {
    // The tool takes over the database; this program makes way as it always has,
    // but only when something was really started.
    if (OutsideTools(prompts_, launcher_).start(tool, controller_->state().appDir))
        close();
}

QWidget* MainWindow::splash() const {
    return splash_;
}

// ---- ShellView ----------------------------------------------------------------

void MainWindow::setSplashVisible(bool visible) {
    splash_->setVisible(visible);
    if (visible)
        splash_->raise();
}

// Assistive tools know the status line and the counter by their names; what they
// say now is their description.
void MainWindow::setStatusText(const QString& text) {
    status_->setText(text);
    status_->setAccessibleDescription(text);
}

void MainWindow::setRecordCount(int count, bool filtered) {
    recordCount_->setText(QString::number(count));
    recordCount_->setAccessibleDescription(recordCount_->text());
    QPalette palette = recordCount_->palette();
    palette.setColor(QPalette::WindowText,
                     filtered ? QColor(Qt::red)
                              : QApplication::palette(recordCount_).color(QPalette::WindowText));
    recordCount_->setPalette(palette);
}

QString MainWindow::caption() const {
    return windowTitle();
}

void MainWindow::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void MainWindow::setApplicationTitle(const QString& title) {
    applicationTitle_ = title;
    // Not the application's display name: the platform would append that to the
    // caption of every window, and the entrepreneur's name would show twice in the
    // main window's title. The icon text is what the desktop shows for the program.
    setWindowIconText(title);
}

void MainWindow::setModulesEnabled(bool enabled) {
    tabs_->setEnabled(enabled);
    toolbar_.bar->setEnabled(enabled);
}

void MainWindow::selectTab(int index) {
    tabs_->setCurrentIndex(index);
}

int MainWindow::currentTab() const {
    return tabs_->currentIndex();
}

void MainWindow::showTips() {
    tips_->show();
    tips_->raise();
}

bool MainWindow::askLogin(const QString& platform, QString& userName, QString& password) {
    if (login_)
        return login_(platform, userName, password);
    if (unattendedMode()) // nobody is there to type
        return acceptLoginPreset(userName, password);
    LoginDialog dialog(this);
    dialog.setPlatform(platform);
    return dialog.ask(userName, password);
}

void MainWindow::setAboutApplication(const QString& appVersion, const QString& revision) {
    about_->setAppVersion(appVersion);
    about_->setRevision(revision);
}

void MainWindow::setAboutDatabase(const QString& dbVersion) {
    about_->setDbVersion(dbVersion);
}

void MainWindow::setSettingsConnection(const QString&, const QString&) {
    // The settings window rereads the user and connection from the state whenever it opens.
}

void MainWindow::setReportNames(const QStringList& names) {
    settings_->setReportNames(names);
}

void MainWindow::openConfigurationFile() {
    OutsideTools(prompts_, launcher_).configurationFile(controller_->state().configFilePath());
}

void MainWindow::showConsole() {
    showQueryAnalyzer();
}

void MainWindow::showEntrepreneurPanel(Dataset& dataset) {
    entrepreneur_->bind(&dataset);
    modules_->setCurrentWidget(entrepreneur_);
}

void MainWindow::startBlinkTimer(int intervalMs) {
    blink_.start(intervalMs);
}

void MainWindow::stopBlinkTimer() {
    blink_.stop();
}

void MainWindow::closeWindow() {
    close();
}

// ---- ModuleView ---------------------------------------------------------------

void MainWindow::setContainerVisible(const QString& container, bool visible) {
    QWidget* widget =
        container == QLatin1String("PanelPodnikatel") ? entrepreneur_ : pages_->container(container);
    if (widget)
        widget->setVisible(visible);
}

QWidget* MainWindow::namedControl(const QString& name) const {
    if (QWidget* control = pages_->control(name))
        return control;
    // The memos are generated with their forms, when the dataset first opens.
    return modules_->findChild<QWidget*>(name);
}

void MainWindow::setFocus(const FocusTarget& target) {
    // A detail without a record shows its notice instead of disabled fields; the
    // focus goes there rather than falling back to whatever comes next (the tabs).
    auto takenByNotice = [this](const QWidget* control) {
        if (control && control->isVisible() && control->isEnabled())
            return false;
        for (QWidget* notice : pages_->emptyNotices())
            if (notice->isVisible()) {
                notice->setFocus(Qt::OtherFocusReason);
                return true;
            }
        return false;
    };
    if (!target.control.isEmpty()) {
        QWidget* control = namedControl(target.control);
        if (takenByNotice(control) || !control)
            return;
        control->setFocus(Qt::OtherFocusReason);
        if (auto* grid = qobject_cast<DatasetGrid*>(control);
            grid && (target.firstColumn || !target.column.isEmpty()))
            grid->enterColumn(target.firstColumn ? QString() : target.column);
        return;
    }
    QWidget* editor = nullptr;
    for (BoundForm* form : pages_->forms())
        if (form->isVisible())
            if ((editor = form->editorFor(target.column)))
                break;
    if (!takenByNotice(editor) && editor)
        editor->setFocus(Qt::OtherFocusReason);
}

QString MainWindow::focusedControl() const {
    for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (pages_->grid(name) || name.startsWith(QLatin1String("DBMemo")))
            return name;
    }
    return {};
}

QList<Dataset::Bookmark> MainWindow::selectedRows(const QString& grid) const {
    const DatasetGrid* view = pages_->grid(grid);
    return view ? view->selectedBookmarks() : QList<Dataset::Bookmark>();
}

void MainWindow::setGridReadOnly(const QString& grid, bool readOnly) {
    if (DatasetGrid* view = pages_->grid(grid))
        view->setLocked(readOnly);
}

} // namespace kelvarn

namespace kelvarn {

void MainWindow::showCalendar() {
    if (!calendar_)
        calendar_ = new CalendarWindow(this);
    calendar_->show();
    calendar_->raise();
    calendar_->activateWindow();
}

void MainWindow::pickDate(BoundForm* form, const QString& column, const QString& text) {
    if (!form || !form->dataset())
        return;
    try {
        editDateField(*form->dataset(), column, text, DatePicker::chooser(this));
    } catch (const DateTextError& e) {
        prompts_.message(QStringLiteral("Chyba"), e.text(), MessageStyle::Error);
    } catch (const DbError& e) {
        prompts_.message(QStringLiteral("Chyba"), e.text(), MessageStyle::Error);
    }
}

void MainWindow::pickDateInFocusedField() {
    QWidget* focused = QApplication::focusWidget();
    auto* line = qobject_cast<QLineEdit*>(focused);
    if (!line || !pages_)
        return;
    for (BoundForm* form : pages_->forms()) {
        const QString column = form->columnOf(line);
        if (!column.isEmpty()) {
            pickDate(form, column, line->text());
            return;
        }
    }
}

} // namespace kelvarn
