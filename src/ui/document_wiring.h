#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace kelvarn {

class ModuleDatasets;
class ModulePages;
class Prompts;
class SelectionHint;
struct AppState;

// Connects the document panels' own controls to the document rules and to
// selection mode: the kind selectors, "Sečíst" and "Zaokrouhlit", "Částka slovy",
// the partner and order buttons, F4 in the document fields and the item grid, the
// double clicks that pick from the goods, partner and order lists, and the hint.
class DocumentWiring : public QObject {
    Q_OBJECT
  public:
    DocumentWiring(QWidget* mainWindow, ModulePages& pages, ModuleDatasets& datasets, Prompts& prompts,
                   const AppState& state, std::function<void(int tab)> switchTab);
    ~DocumentWiring() override;

    // F4: the partner or order picker of the focused document field, or the goods
    // search from the item grid. False when F4 belongs to someone else.
    bool pickerKey();
    // The lists a double click picks from in selection mode.
    static bool picksFrom(const QString& gridName);
    SelectionHint* hint() const { return hint_; }

  private:
    void attach(int tab, const QString& name, QWidget* control);
    void followSelector(int tab);
    void sum(bool rounded);
    void amountInWords(int tab);
    void beforeLinkButton(int tab);
    void run(const std::function<void()>& command);

    ModulePages& pages_;
    ModuleDatasets& datasets_;
    Prompts& prompts_;
    SelectionHint* hint_ = nullptr;
};

} // namespace kelvarn
