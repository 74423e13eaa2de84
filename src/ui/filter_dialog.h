#pragma once

#include "lists/filter_editor.h"

#include <QDialog>
#include <QHash>

#include <functional>

class QAction;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QToolBar;

namespace kelvarn {

class DatasetGrid;
class FilterHelp;
class Prompts;

// "Definice/výběr uživatelského filtru": the module's stored filters in a grid, the
// definition of the current one, the attribute box that inserts captions and
// operators, and the buttons that apply the chosen filter or leave. The rules live
// in FilterEditor; this window only shows them.
class FilterDialog : public QDialog {
    Q_OBJECT
  public:
    FilterDialog(FilterEditor& editor, Prompts& prompts, QWidget* parent = nullptr);
    ~FilterDialog() override;

    // Shows the dialog modally on the editor's prepared list and returns what it
    // handed back; appliedId changes only when a filter was chosen.
    void run(FilterResult& result, qint64& appliedId);

    // For the date item of the attribute box (tests choose without a window).
    void setDateChooser(FilterEditor::DateChooser chooser) { chooseDate_ = std::move(chooser); }

    DatasetGrid* grid() const { return grid_; }
    QComboBox* attributeBox() const { return attributes_; }
    QPushButton* insertButton() const { return insert_; }
    QPlainTextEdit* memo() const { return memo_; }
    QPushButton* helpButton() const { return help_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* cancelButton() const { return cancel_; }
    QToolBar* toolBar() const { return toolbar_; }
    QAction* action(const QString& name) const { return actions_.value(name); }
    FilterHelp* helpWindow() const { return helpWindow_; }

  public Q_SLOTS:
    void reject() override;
    void insertAttribute();
    void applyFilter();
    void showHelp();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildToolbar();
    void fillAttributes();
    void showDefinition();
    void definitionTyped();
    // Runs a command; a database refusal is shown, not thrown.
    void runCommand(const std::function<void()>& command);
    void finish(bool apply);

    FilterEditor& editor_;
    Prompts& prompts_;
    FilterEditor::DateChooser chooseDate_;
    QToolBar* toolbar_ = nullptr;
    QHash<QString, QAction*> actions_;
    DatasetGrid* grid_ = nullptr;
    QComboBox* attributes_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* cancel_ = nullptr;
    FilterHelp* helpWindow_ = nullptr;
    bool showing_ = false;
    FilterResult result_;
    qint64 appliedId_ = 0;
};

} // namespace kelvarn
