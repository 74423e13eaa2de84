#pragma once

#include <QDialog>

class QLineEdit;

namespace kelvarn {

// " Přihlášení k databázi": the user name and password for the connection.
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoginDialog(QWidget* parent = nullptr);

    // The caption names the platform of the configuration ("1".."5").
    void setPlatform(const QString& platformCode);
    static QString captionFor(const QString& platformCode);

    void setUserName(const QString& name);
    QString userName() const;
    QString password() const;

    // Shows the dialog; true when " Příhlásit se" was pressed.
    bool ask(QString& userName, QString& password);

private:
    QLineEdit* name_ = nullptr;
    QLineEdit* password_ = nullptr;
};

} // namespace kelvarn
