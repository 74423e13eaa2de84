#include "ui/qt_prompts.h"

#include "ui/report_selection_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
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
    // Choosing a file type with an extension of its own ("CSV (*.csv)") puts that
    // extension on the name, so the name and the type chosen agree.
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)\\)"));
    QStringList offered;
    for (const QString& filter : filters)
        if (const QRegularExpressionMatch m = pattern.match(filter); m.hasMatch())
            offered << m.captured(1).toLower();
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, defaultSuffix, offered](const QString& filter) {
        const QRegularExpressionMatch m = pattern.match(filter);
        const QString suffix = m.hasMatch() ? m.captured(1) : defaultSuffix;
        dialog.setDefaultSuffix(suffix);
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!m.hasMatch() || !edit)
            return;
        const QString typed = edit->text();
        const QString current = QFileInfo(typed).suffix();
        if (!current.isEmpty() && current.compare(suffix, Qt::CaseInsensitive) != 0 && offered.contains(current.toLower()))
            edit->setText(typed.left(typed.size() - current.size()) + suffix);
    });
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
