#include "ui/login_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvarn {

LoginDialog::LoginDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(" Přihlášení k databázi"));
    auto* form = new QFormLayout;
    name_ = new QLineEdit(QStringLiteral("administrator"), this);
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    auto* nameLabel = new QLabel(QStringLiteral("Přihlašovací jméno"), this);
    auto* passwordLabel = new QLabel(QStringLiteral("Heslo"), this);
    nameLabel->setBuddy(name_);
    passwordLabel->setBuddy(password_);
    name_->setAccessibleName(nameLabel->text());
    password_->setAccessibleName(passwordLabel->text());
    form->addRow(nameLabel, name_);
    form->addRow(passwordLabel, password_);

    auto* login = new QPushButton(QStringLiteral(" Příhlásit se"), this);
    auto* cancel = new QPushButton(QStringLiteral(" Storno"), this);
    login->setDefault(true);
    connect(login, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(login);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setAccessibleName(windowTitle());
    setMinimumWidth(360);
}

QString LoginDialog::captionFor(const QString& platformCode) {
    if (platformCode == QLatin1String("2"))
        return QStringLiteral("Přihlášení k databázi (Microsoft SQL 2005)");
    if (platformCode == QLatin1String("3"))
        return QStringLiteral("Přihlášení k databázi (Oracle)");
    if (platformCode == QLatin1String("4"))
        return QStringLiteral("Přihlášení k databázi (MySQL");
    if (platformCode == QLatin1String("5"))
        return QStringLiteral("Přihlášení k databázi (Firebird 2.0)");
    return QStringLiteral("Přihlášení k databázi (Microsoft JET)");
}

void LoginDialog::setPlatform(const QString& platformCode) {
    setWindowTitle(captionFor(platformCode));
    setAccessibleName(windowTitle());
}

void LoginDialog::setUserName(const QString& name) {
    name_->setText(name);
}

QString LoginDialog::userName() const {
    return name_->text();
}

QString LoginDialog::password() const {
    return password_->text();
}

bool LoginDialog::ask(QString& userName, QString& password) {
    if (!userName.isEmpty())
        name_->setText(userName);
    password_->clear();
    password_->setFocus();
    const bool accepted = exec() == QDialog::Accepted;
    userName = accepted ? name_->text() : QString();
    password = accepted ? password_->text() : QString();
    return accepted;
}

} // namespace kelvarn
