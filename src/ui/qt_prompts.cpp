#include "ui/qt_prompts.h"

#include "ui/report_selection_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace kelvarn {

QtPrompts::QtPrompts(QWidget* parent) : parent_(parent), unattended_(unattendedMode()) {}

QWidget* QtPrompts::owner() const {
    if (parent_)
        return parent_;
    return QApplication::activeWindow();
}

Answer QtPrompts::message(const QString& caption, const QString& text, MessageStyle style) {
    if (unattended_)
        return stderrPrompts_.message(caption, text, style);

    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    switch (style) {
    case MessageStyle::Error:
        icon = QMessageBox::Critical;
        break;
    case MessageStyle::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageStyle::Info:
        break;
    case MessageStyle::Question:
    case MessageStyle::WarnQuestion:
        icon = style == MessageStyle::Question ? QMessageBox::Question : QMessageBox::Warning;
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        defaultButton = QMessageBox::Yes;
        break;
    }
    QMessageBox box(icon, caption, text, buttons, owner());
    box.setDefaultButton(defaultButton);
    box.setAccessibleName(caption);
    const int pressed = box.exec();
    if (style != MessageStyle::Question && style != MessageStyle::WarnQuestion)
        return Answer::None;
    switch (pressed) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel; // Cancel, Esc and closing the box alike
    }
}

int QtPrompts::chooseReport(const QStringList& names, int preselected) {
    if (unattended_)
        return stderrPrompts_.chooseReport(names, preselected);
    return ReportSelectionDialog::choose(owner(), names, preselected);
}

bool QtPrompts::inputText(const QString& title, const QString& prompt, QString& value) {
    if (unattended_)
        return stderrPrompts_.inputText(title, prompt, value);
    bool ok = false;
    const QString typed = QInputDialog::getText(owner(), title, prompt, QLineEdit::Normal, value, &ok);
    if (!ok)
        return false;
    value = typed;
    return true;
}

QString QtPrompts::saveFileName(const QString& title, const QString& presetPath, const QStringList& filters,
                                const QString& defaultSuffix) {
    if (unattended_)
        return stderrPrompts_.saveFileName(title, presetPath, filters, defaultSuffix);
    QFileDialog dialog(owner(), title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // AnyFile with the overwrite prompt on (the default); the folder must exist.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(presetPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::openFileName(const QString& title, const QString& folder, const QStringList& filters) {
    if (unattended_)
        return stderrPrompts_.openFileName(title, folder, filters);
    QFileDialog dialog(owner(), title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtPrompts::processEvents() {
    QCoreApplication::processEvents();
}

} // namespace kelvarn
