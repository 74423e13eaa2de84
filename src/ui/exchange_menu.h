#pragma once

#include <QObject>

#include <memory>

class QWidget;

namespace kelvarn {

class ExchangeCommands;
class Prompts;
class ShellController;
struct MainMenu;

// Connects the "Výměna dat" menu to the exchange commands: the statement preview
// as a dialog, the issued documents of the list for the ISDOC batch, the lists
// refreshed after an import. Every command needs a logged-in database and no
// record being edited.
class ExchangeMenu : public QObject {
    Q_OBJECT
  public:
    ExchangeMenu(const MainMenu& menu, ShellController& shell, Prompts& prompts, QWidget* window);
    ~ExchangeMenu() override;

  private:
    bool ready();
    ExchangeCommands& commands();
    QStringList issuedIds(bool listed);

    ShellController& shell_;
    Prompts& prompts_;
    QWidget* window_;
    std::unique_ptr<ExchangeCommands> commands_;
};

} // namespace kelvarn
