// The start-up of the first paint and the TEST caption blink of ShellController.
#include "app/shell_controller.h"

#include "app/first_run.h"
#include "app/print_controller.h"
#include "app/shell_view.h"
#include "app/startup.h"
#include "app/tips.h"
#include "core/message_catalogue.h"
#include "core/text_file.h"
#include "db/dataset.h"
#include "db/db_error.h"
#include "output/console_runner.h"
#include "output/report_engine.h"
#include "output/report_error.h"
#include "output/script_converter.h"
#include "registers/entrepreneur_record.h"

#include <QDir>
#include <QFileInfo>

namespace kelvarn {

namespace {

const QString kFirstLoginFile = QStringLiteral("firstlogin.txt");
constexpr int kBlinkIntervalMs = 500;

bool firstLoginFileExists() {
    return QFileInfo::exists(QDir::current().filePath(kFirstLoginFile));
}

// The entrepreneur's `test` must hold an integer; an empty value is an error, as
// for any other unusable value.
int parseTestState(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw DbError(QStringLiteral("\"%1\" není platné celé číslo (tbl_podnikatel.test).").arg(text));
    return value;
}

} // namespace

bool ShellController::startUp() {
    if (state_.started || state_.loggedIn)
        return state_.loggedIn;
    state_.started = true;
    view_.setAboutApplication(state_.appVersion, state_.revision);

    readConfiguration(state_, prompts_);
    // Without its configuration the program does not know where the records are;
    // a new database is made only when the user asks for one.
    if (state_.startMode == StartMode::Normal && offerNewDatabase(state_, prompts_))
        readConfiguration(state_, prompts_);
    console_->setMode(modeForPlatform(state_.platform));

    if (state_.showTips == QLatin1String("YES") && state_.startMode == StartMode::Normal) {
        state_.tipIndex = chooseTipIndex(firstLoginFileExists(), random_ ? random_ : randomInRange);
        view_.showTips();
    }

    const QString status = composeCredentials(state_, [this](QString& user, QString& password) {
        // The configured string is what the user logs in to.
        view_.setStatusText(state_.connectionString);
        return view_.askLogin(state_.platform, user, password);
    });
    if (!status.isEmpty())
        view_.setStatusText(status);
    view_.setSettingsConnection(state_.userName, state_.connectionStringShown);

    if (warnAboutForeignDatabase(state_, prompts_))
        view_.openConfigurationFile();
    connectDatabase(state_, session_, prompts_);
    if (state_.loggedIn && session_.isReadOnly())
        prompts_.message(QStringLiteral("Databáze jen pro čtení"),
                         QStringLiteral("Do souboru databáze nebo do složky, ve které leží, nelze zapisovat. Záznamy "
                                        "si můžete prohlížet, ale nic nelze uložit.  "),
                         MessageStyle::Warning);

    if (state_.loggedIn &&
        (state_.startMode == StartMode::Install || state_.startMode == StartMode::Reinstall)) {
        view_.showConsole();
        runInstallScript(state_, *console_, prompts_, installScript_);
        view_.closeWindow();
        Q_EMIT startUpFinished(false);
        return false;
    }
    if (state_.loggedIn && state_.startMode == StartMode::Normal)
        initialise();
    if (state_.loggedIn)
        finishLogin();

    view_.setSplashVisible(false);
    if (!state_.loggedIn)
        disable();
    Q_EMIT startUpFinished(state_.loggedIn);
    return state_.loggedIn;
}

void ShellController::initialise() {
    try {
        if (!firstLoginFileExists()) {
            QString error;
            if (!writeCp1250File(QDir::current().filePath(kFirstLoginFile),
                                 state_.connectionStringShown + QStringLiteral("\r\n"), &error))
                throw DbError(error);
        }
        panelQueries_.reset(state_.ascendingOrder);
        panelQueries_.init([this](const QString& name) { return dataset(name); });
        view_.selectTab(0);

        view_.showEntrepreneurPanel(*entrepreneur_);
        if (!entrepreneur_->isActive())
            entrepreneur_->open();
        const EntrepreneurValues values = readEntrepreneur(*entrepreneur_);
        state_.entrepreneurIco = values.ico;
        state_.entrepreneurName = values.name;
        state_.vatReduced = values.vatReduced;
        state_.vatBasic = values.vatBasic;
        state_.defaultItemVat = values.defaultItemVat;

        captionMaps_ = buildCaptionMaps(state_);
        restoreGrids();

        view_.setApplicationTitle(QStringLiteral("Kelvarn - ") + state_.entrepreneurName);
        updateStatusBar();

        state_.dbVersion = db_.lookupValue(QStringLiteral("tbl_system"), QStringLiteral("verze_databaze"),
                                           QStringLiteral("1"));
        state_.testState = parseTestState(
            db_.lookupValue(QStringLiteral("tbl_podnikatel"), QStringLiteral("test"), QStringLiteral("1")));
        view_.setAboutDatabase(state_.dbVersion);
    } catch (const DbError& e) {
        showMessageCode(prompts_, state_, 3, e.text());
        state_.loggedIn = false;
    }
}

void ShellController::finishLogin() {
    view_.setCaption(QStringLiteral(" Podnikatelský subjekt: ") + state_.entrepreneurName +
                     QStringLiteral(", IČ: ") + state_.entrepreneurIco);
    if (state_.dbVersion != state_.appVersion) {
        state_.loggedIn = false;
        showMessageCode(prompts_, state_, 6);
    }
    if (vatRatesUnusable(state_.vatReduced, state_.vatBasic))
        showMessageCode(prompts_, state_, 24);
    if (state_.testState > 0) {
        view_.startBlinkTimer(kBlinkIntervalMs);
        state_.savedCaption = view_.caption();
        view_.setApplicationTitle(QStringLiteral("Kelvarn (TEST) - ") + state_.entrepreneurName);
        state_.testState = 1;
    }
    openReportProject();
}

void ShellController::openReportProject() {
    if (!reports_)
        return;
    try {
        printing_->loadProject();
    } catch (const ReportError& e) {
        // Printing is lost for this run, the records are not.
        prompts_.message(QStringLiteral("Chyba"), e.text(), MessageStyle::Error);
    }
}

void ShellController::disable() {
    view_.setSplashVisible(true);
    view_.setStatusText(
        QStringLiteral("Chyba. Nepodařilo se inicializovat databázi. (Stisknutím F1 zobrazíte nápovědu)"));
    view_.selectTab(0);
    view_.setModulesEnabled(false);
}

void ShellController::blinkTick() {
    if (state_.testState == 2) {
        view_.setCaption(QStringLiteral(" ! T E S T !   ") + state_.savedCaption);
        state_.testState = 1;
    } else if (state_.testState == 1) {
        view_.setCaption(QString(20, QLatin1Char(' ')) + state_.savedCaption);
        state_.testState = 2;
    }
}

} // namespace kelvarn
