#pragma once

#include "core/prompts.h"
#include "core/unattended.h"

#include <QPointer>
#include <QWidget>

namespace kelvarn {

// The user's dialogs: the style's standard message boxes, text input and file
// dialogs. With KELVARN_UNATTENDED set (checked when constructed) every box goes to
// standard error instead and nothing waits for a person.
class QtPrompts : public Prompts {
  public:
    explicit QtPrompts(QWidget* parent = nullptr);

    // The window the boxes belong to; without one the active window owns them.
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    bool isUnattended() const { return unattended_; }

    Answer message(const QString& caption, const QString& text, MessageStyle style) override;
    bool inputText(const QString& title, const QString& prompt, QString& value) override;
    QString saveFileName(const QString& title, const QString& presetPath, const QStringList& filters,
                         const QString& defaultSuffix) override;
    QString openFileName(const QString& title, const QString& folder, const QStringList& filters) override;
    // The report selection dialog.
    int chooseReport(const QStringList& names, int preselected) override;
    void processEvents() override;

  private:
    QWidget* owner() const;

    QPointer<QWidget> parent_;
    bool unattended_ = false;
    StderrPrompts stderrPrompts_;
};

} // namespace kelvarn
