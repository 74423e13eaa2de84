#pragma once

#include <QHash>
#include <QString>

class QAction;
class QToolBar;
class QWidget;

namespace kelvarn {

// The fifteen record buttons over the modules, by button name ("Refresh",
// "FirstRecord", … "MasterDetail"); each carries its hint as tool tip and
// accessible name. All start disabled: the window enables those it can serve.
struct MainToolbar {
    QToolBar* bar = nullptr;
    QHash<QString, QAction*> actions;
    QStringList order;
};

MainToolbar buildMainToolbar(QWidget* parent);

} // namespace kelvarn
