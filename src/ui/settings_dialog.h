#pragma once

#include "app/password_change.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kelvarn {

struct AppState;
class Prompts;

// "Nastavení": the run-time options (live views of the AppState fields, changed at
// once, never written to the configuration file), the connection string, the report
// names, the user and the database password change.
class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    SettingsDialog(AppState& state, Prompts& prompts, QWidget* parent = nullptr);

    // Runs the password change statements on the open connection.
    void setStatementExecutor(StatementExecutor execute) { execute_ = std::move(execute); }
    // The names of the reports of the report project.
    void setReportNames(const QStringList& names);
    QStringList reportNames() const;

    // Rereads the options, the connection string and the user from the state, empties
    // the password boxes and enables the password change for the platform. Every
    // opening of the window does this.
    void reload();

    void done(int result) override;

    QCheckBox* saveWithoutPromptBox() const { return saveWithoutPrompt_; }
    QCheckBox* refreshAfterSaveBox() const { return refreshAfterSave_; }
    QCheckBox* ascendingOrderBox() const { return ascendingOrder_; }
    QCheckBox* oracleAutoIncBox() const { return oracleAutoInc_; }
    QCheckBox* firebirdAutoIncBox() const { return firebirdAutoInc_; }
    QPlainTextEdit* connectionStringBox() const { return connection_; }
    QListWidget* reportList() const { return reports_; }
    QLineEdit* userBox() const { return user_; }
    QLineEdit* oldPasswordBox() const { return oldPassword_; }
    QLineEdit* newPasswordBox() const { return newPassword_; }
    QLineEdit* newPasswordAgainBox() const { return newPasswordAgain_; }
    QPushButton* changePasswordButton() const { return changePassword_; }
    // Says why the password cannot be changed where it cannot.
    QLabel* passwordNote() const { return passwordNote_; }
    QPushButton* okButton() const { return ok_; }

  Q_SIGNALS:
    // The window closed with "Zákázat potvrzovací hlášení před uložením záznamu"
    // unticked: a save confirmation skipped once by some operation must be asked again.
    void closedWithoutSavePromptOption();
    void passwordChanged();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void changePassword();
    QCheckBox* addOption(const QString& caption, bool AppState::*field);

    AppState& state_;
    Prompts& prompts_;
    StatementExecutor execute_;
    QCheckBox* saveWithoutPrompt_ = nullptr;
    QCheckBox* refreshAfterSave_ = nullptr;
    QCheckBox* ascendingOrder_ = nullptr;
    QCheckBox* oracleAutoInc_ = nullptr;
    QCheckBox* firebirdAutoInc_ = nullptr;
    QPlainTextEdit* connection_ = nullptr;
    QListWidget* reports_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* oldPassword_ = nullptr;
    QLineEdit* newPassword_ = nullptr;
    QLineEdit* newPasswordAgain_ = nullptr;
    QPushButton* changePassword_ = nullptr;
    QLabel* passwordNote_ = nullptr;
    QPushButton* ok_ = nullptr;
    QList<QPair<QCheckBox*, bool AppState::*>> options_;
};

} // namespace kelvarn
