#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

namespace kelvarn {

// " O aplikaci": versions, the supported database systems and the operating system.
// The system is read on the first paint, so creating the window costs nothing.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // Shown as "verze aplikace: " + appVersion and "verze databáze: " + dbVersion.
    void setAppVersion(const QString& appVersion);
    void setDbVersion(const QString& dbVersion);
    void setRevision(const QString& revision);
    // The os-release file to describe the system from (tests use their own).
    void setOsReleasePath(const QString& path) { osReleasePath_ = path; }

    static QStringList supportedDatabases();

    QString appVersionText() const;
    QString dbVersionText() const;
    QString revisionText() const;
    QString operatingSystemText() const;
    QPushButton* okButton() const { return ok_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QLabel* appVersion_ = nullptr;
    QLabel* dbVersion_ = nullptr;
    QLabel* revision_ = nullptr;
    QLabel* system_ = nullptr;
    QPushButton* ok_ = nullptr;
    QString osReleasePath_ = QStringLiteral("/etc/os-release");
    bool painted_ = false;
};

} // namespace kelvarn
