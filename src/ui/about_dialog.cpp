#include "ui/about_dialog.h"

#include "app/os_release.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelvarn {
namespace {

const QString kAppVersionPrefix = QStringLiteral("verze aplikace: ");
const QString kDbVersionPrefix = QStringLiteral("verze databáze: ");

} // namespace

QStringList AboutDialog::supportedDatabases() {
    return {QStringLiteral("Microsoft JET 4.0 (Access)"), QStringLiteral("Microsoft SQL Server 2005 Express"),
            QStringLiteral("Oracle Database10g Express"), QStringLiteral("Firebird 2.0"),
            QStringLiteral("MySQL / MariaDB")};
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(" O aplikaci"));
    setAccessibleName(windowTitle());
    setModal(true);

    auto* name = new QLabel(QStringLiteral("Kelvarn"), this);
    QFont big = name->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    name->setFont(big);
    auto* purpose = new QLabel(QStringLiteral("Daňová evidence pro podnikatele"), this);

    appVersion_ = new QLabel(kAppVersionPrefix, this);
    dbVersion_ = new QLabel(kDbVersionPrefix, this);
    revision_ = new QLabel(this);
    for (QLabel* label : {appVersion_, dbVersion_, revision_}) {
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    // How each system is reached here, where that differs from its own client.
    const QStringList notes = {QStringLiteral("vestavěný databázový soubor SQLite"),
                               QStringLiteral("přes ODBC (FreeTDS)"), QStringLiteral("přes ODBC"),
                               QStringLiteral("Firebird 2.0 a novější"), QString()};
    auto* databases = new QGroupBox(QStringLiteral("Podporované databázové systémy"), this);
    auto* grid = new QGridLayout(databases);
    const QStringList names = supportedDatabases();
    for (int i = 0; i < names.size(); ++i) {
        grid->addWidget(new QLabel(names[i], databases), i, 0);
        auto* note = new QLabel(notes.value(i), databases);
        note->setEnabled(false);
        grid->addWidget(note, i, 1);
    }
    grid->setColumnStretch(1, 1);

    auto* systemBox = new QGroupBox(QStringLiteral("Operační systém"), this);
    system_ = new QLabel(systemBox);
    system_->setTextFormat(Qt::PlainText);
    system_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    system_->setWordWrap(true);
    auto* systemLayout = new QVBoxLayout(systemBox);
    systemLayout->addWidget(system_);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setAccessibleName(ok_->text());
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(purpose);
    layout->addSpacing(8);
    layout->addWidget(appVersion_);
    layout->addWidget(dbVersion_);
    layout->addWidget(revision_);
    layout->addWidget(databases);
    layout->addWidget(systemBox);
    layout->addStretch();
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

void AboutDialog::setAppVersion(const QString& appVersion) {
    appVersion_->setText(kAppVersionPrefix + appVersion);
}

void AboutDialog::setDbVersion(const QString& dbVersion) {
    dbVersion_->setText(kDbVersionPrefix + dbVersion);
}

void AboutDialog::setRevision(const QString& revision) {
    revision_->setText(revision);
}

QString AboutDialog::appVersionText() const {
    return appVersion_->text();
}

QString AboutDialog::dbVersionText() const {
    return dbVersion_->text();
}

QString AboutDialog::revisionText() const {
    return revision_->text();
}

QString AboutDialog::operatingSystemText() const {
    return system_->text();
}

void AboutDialog::paintEvent(QPaintEvent* event) {
    if (!painted_) {
        painted_ = true;
        system_->setText(operatingSystemDescription(osReleasePath_));
    }
    QDialog::paintEvent(event);
}

} // namespace kelvarn
