#include "ui/settings_dialog.h"

#include "core/app_state.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kelvarn {
namespace {

QLabel* heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// Ties a label to its field for the keyboard and for screen readers alike.
void bindLabel(QLabel* label, QWidget* field) {
    label->setBuddy(field);
    field->setAccessibleName(label->text());
}

} // namespace

SettingsDialog::SettingsDialog(AppState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts) {
    setWindowTitle(QStringLiteral("Nastavení"));
    setAccessibleName(windowTitle());
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(heading(QStringLiteral("Chování programu"), this));
    saveWithoutPrompt_ = addOption(QStringLiteral("Zákázat potvrzovací hlášení před uložením záznamu"),
                                   &AppState::saveWithoutPrompt);
    refreshAfterSave_ = addOption(QStringLiteral("Provádět refresh po uložení"), &AppState::refreshAfterSave);
    ascendingOrder_ =
        addOption(QStringLiteral("Defaultně řadit záznamy vzestupně (ASC)"), &AppState::ascendingOrder);
    oracleAutoInc_ = addOption(QStringLiteral("Oracle (AutoIncField)"), &AppState::oracleAutoInc);
    firebirdAutoInc_ = addOption(QStringLiteral("Firebird (AutoIncField)"), &AppState::firebirdAutoInc);
    for (const auto& option : std::as_const(options_))
        layout->addWidget(option.first);

    auto* connectionLabel = heading(QStringLiteral("Připojovací řetězec k databázi"), this);
    connection_ = new QPlainTextEdit(this);
    connection_->setReadOnly(true);
    connection_->setFixedHeight(connection_->fontMetrics().lineSpacing() * 3 + 12);
    bindLabel(connectionLabel, connection_);
    layout->addWidget(connectionLabel);
    layout->addWidget(connection_);

    auto* reportsLabel = heading(QStringLiteral("Tiskové sestavy"), this);
    reports_ = new QListWidget(this);
    bindLabel(reportsLabel, reports_);
    layout->addWidget(reportsLabel);
    layout->addWidget(reports_, 1);

    auto* userLabel = heading(QStringLiteral("Aktuálně přihlášený uživatel"), this);
    user_ = new QLineEdit(this);
    user_->setReadOnly(true);
    bindLabel(userLabel, user_);
    layout->addWidget(userLabel);
    layout->addWidget(user_);

    auto* passwords = new QFormLayout;
    const auto addPassword = [&](const QString& caption) {
        auto* edit = new QLineEdit(this);
        edit->setEchoMode(QLineEdit::Password);
        auto* fieldLabel = new QLabel(caption, this);
        bindLabel(fieldLabel, edit);
        passwords->addRow(fieldLabel, edit);
        return edit;
    };
    oldPassword_ = addPassword(QStringLiteral("Současné heslo"));
    newPassword_ = addPassword(QStringLiteral("Nové heslo"));
    newPasswordAgain_ = addPassword(QStringLiteral("Nové heslo (kontrola)"));
    layout->addLayout(passwords);
    passwordNote_ = new QLabel(this);
    passwordNote_->setWordWrap(true);
    layout->addWidget(passwordNote_);

    changePassword_ = new QPushButton(QStringLiteral("Změnit heslo"), this);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    changePassword_->setAccessibleName(changePassword_->text());
    ok_->setAccessibleName(ok_->text());
    changePassword_->setAutoDefault(false);
    ok_->setDefault(true);
    connect(changePassword_, &QPushButton::clicked, this, &SettingsDialog::changePassword);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(changePassword_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    layout->addLayout(buttons);

    setMinimumWidth(460);
    reload();
}

QCheckBox* SettingsDialog::addOption(const QString& caption, bool AppState::*field) {
    auto* box = new QCheckBox(caption, this);
    box->setAccessibleName(caption);
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) { state_.*field = on; });
    options_.append({box, field});
    return box;
}

void SettingsDialog::setReportNames(const QStringList& names) {
    reports_->clear();
    reports_->addItems(names);
}

QStringList SettingsDialog::reportNames() const {
    QStringList names;
    for (int i = 0; i < reports_->count(); ++i)
        names << reports_->item(i)->text();
    return names;
}

void SettingsDialog::reload() {
    for (const auto& [box, field] : std::as_const(options_))
        box->setChecked(state_.*field);
    connection_->setPlainText(state_.connectionStringShown);
    user_->setText(state_.userName);
    const bool canChange = passwordChangeAvailable(state_.platform);
    for (QLineEdit* edit : {oldPassword_, newPassword_, newPasswordAgain_}) {
        edit->clear();
        edit->setEnabled(canChange);
    }
    changePassword_->setEnabled(canChange);
    passwordNote_->setText(passwordChangeUnavailableText(state_.platform));
    passwordNote_->setVisible(!canChange);
}

void SettingsDialog::showEvent(QShowEvent* event) {
    // A window coming back from being minimised is not a new opening.
    if (!event->spontaneous())
        reload();
    QDialog::showEvent(event);
}

void SettingsDialog::done(int result) {
    QDialog::done(result);
    if (!state_.saveWithoutPrompt)
        Q_EMIT closedWithoutSavePromptOption();
}

void SettingsDialog::changePassword() {
    const PasswordChangeResult result =
        kelvarn::changePassword(state_, oldPassword_->text(), newPassword_->text(), newPasswordAgain_->text(),
                                user_->text(), execute_, prompts_);
    if (result.changed)
        Q_EMIT passwordChanged();
}

} // namespace kelvarn
