#include "ui/main_window.h"

#include "app/startup.h"
#include "core/diagnostic_log.h"
#include "core/message_catalogue.h"
#include "db/database_session.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "output/console_runner.h"
#include "output/script_converter.h"
#include "ui/login_dialog.h"
#include "ui/query_analyzer_window.h"

#include <QLabel>
#include <QMenuBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>

namespace kelvarn {

MainWindow::MainWindow(AppState& state, DatabaseSession& session, Prompts& prompts, DiagnosticLog& log,
                       QWidget* parent)
    : QMainWindow(parent), state_(state), session_(session), prompts_(prompts), log_(log) {
    setWindowTitle(QStringLiteral("Kelvarn"));
    resize(1000, 700);
    runner_ = new ConsoleRunner(session_, state_, prompts_, this);
    console_ = new QueryAnalyzerWindow(*runner_, prompts_, this);
    console_->setWindowFlag(Qt::Window);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Nástroje"));
    QAction* analyzer = tools->addAction(QStringLiteral(" Query Analyzer"));
    analyzer->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(analyzer, &QAction::triggered, this, &MainWindow::showQueryAnalyzer);
    tools->addSeparator();
    QAction* quit = tools->addAction(QStringLiteral("Konec"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    body_ = new QLabel(this);
    body_->setAlignment(Qt::AlignCenter);
    body_->setAccessibleName(QStringLiteral("Podnikatel"));
    setCentralWidget(body_);
    status_ = new QLabel(this);
    statusBar()->addWidget(status_, 1);
}

MainWindow::~MainWindow() {
    session_.close();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!state_.started && !state_.loggedIn)
        QTimer::singleShot(0, this, &MainWindow::startUp);
}

bool MainWindow::startUp() {
    if (state_.started)
        return state_.loggedIn;
    state_.started = true;
    readConfiguration(state_, prompts_);
    runner_->setMode(modeForPlatform(state_.platform));
    LoginDialog login(this);
    login.setPlatform(state_.platform);
    status_->setText(composeCredentials(state_, [&](QString& user, QString& password) {
        return login.ask(user, password);
    }));
    warnAboutForeignDatabase(state_, prompts_);
    if (connectDatabase(state_, session_, prompts_)) {
        try {
            DbContext ctx(session_, state_, prompts_, log_);
            state_.entrepreneurName = ctx.lookupValue(QStringLiteral("tbl_podnikatel"), QStringLiteral("nazev"),
                                                      QStringLiteral("1"));
            state_.entrepreneurIco = ctx.lookupValue(QStringLiteral("tbl_podnikatel"), QStringLiteral("ico"),
                                                     QStringLiteral("1"));
            state_.dbVersion = ctx.lookupValue(QStringLiteral("tbl_system"), QStringLiteral("verze_databaze"),
                                               QStringLiteral("1"));
            if (state_.dbVersion != state_.appVersion) {
                state_.loggedIn = false;
                showMessageCode(prompts_, state_, 6);
            }
        } catch (const DbError& e) {
            state_.loggedIn = false;
            showMessageCode(prompts_, state_, 3, e.text());
        }
    }
    if (!state_.loggedIn) {
        setDisabledState();
        return false;
    }
    setWindowTitle(QStringLiteral(" Podnikatelský subjekt: ") + state_.entrepreneurName + QStringLiteral(", IČ: ") +
                   state_.entrepreneurIco);
    body_->setText(state_.entrepreneurName + QStringLiteral("\nIČ: ") + state_.entrepreneurIco);
    status_->setText(state_.connectionStringShown);
    return true;
}

void MainWindow::setDisabledState() {
    status_->setText(
        QStringLiteral("Chyba. Nepodařilo se inicializovat databázi. (Stisknutím F1 zobrazíte nápovědu)"));
}

void MainWindow::showQueryAnalyzer() {
    if (!state_.loggedIn)
        return;
    console_->show();
    console_->raise();
    console_->activateWindow();
}

} // namespace kelvarn
