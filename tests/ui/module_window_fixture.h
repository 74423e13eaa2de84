#pragma once

#include "app/module_datasets.h"
#include "app/shell_controller.h"
#include "core/formatting.h"
#include "core/text_file.h"
#include "db/dataset.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"
#include "support/test_application.h"
#include "ui/main_window.h"
#include "ui/module_pages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace kelvarn {

// A program folder with a fresh demo database, the splash picture and an ini that
// leads straight to that database without tips; null when it could not be made.
inline std::unique_ptr<test::TestDatabase> demoProgramFolder() {
    auto db = test::createTestDatabase(DbPlatform::Jet, true);
    if (!db)
        return db;
    const QString appDir = db->state.appDir;
    QFile::copy(test::sourceDir() + QStringLiteral("/reports/logo.jpg"), appDir + QStringLiteral("logo.jpg"));
    if (!writeCp1250File(appDir + QStringLiteral("kelvarn.ini"),
                         QStringLiteral("[database string]\nProvider=Microsoft.Jet.OLEDB.4.0;"
                                        "User ID=administrator;Password=;Data Source=") +
                             appDir + QStringLiteral("kelvarn.db;\n[show tips]\nNO\n")))
        return nullptr;
    return db;
}

// The real main window, logged in to a fresh demo database; message boxes are
// answered by the scripted prompts.
class ModuleWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensureApplication<QApplication>();
        // Dates typed and shown in these tests are Czech whatever the machine's locale.
        LocaleConventions::setCurrent(LocaleConventions::czech());
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(cwd_.path()); // firstlogin.txt
        db = demoProgramFolder();
        ASSERT_TRUE(db);
        window = std::make_unique<MainWindow>(prompts, db->state.appDir);
        window->setStartOnShow(false);
        window->show();
        ASSERT_TRUE(window->controller().startUp());
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        prompts.shown.clear();
    }
    void TearDown() override {
        if (window) {
            prompts.answers = {Answer::Yes, Answer::Yes};
            window.reset();
        }
        QDir::setCurrent(previousDir_);
    }

    void showTab(int tab) { window->tabBar()->setCurrentIndex(tab); }
    DatasetGrid* grid(const QString& name) const { return window->modulePages().grid(name); }
    QWidget* container(const QString& name) const { return window->modulePages().container(name); }
    Dataset* dataset(const QString& name) const { return window->controller().modules().dataset(name); }
    ModuleController& modules() const { return window->controller().modules().controller(); }
    int rowsIn(const QString& table) const {
        QSqlQuery q = db->session->query(QStringLiteral("SELECT COUNT(*) FROM ") + table);
        return q.next() ? q.value(0).toInt() : -1;
    }
    QString storedText(const QString& statement) const {
        QSqlQuery q = db->session->query(statement);
        return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus);
        QTest::keyClick(focus, key, modifiers);
    }
    void shoot(const QString& path) {
        QCoreApplication::processEvents(); // pending layouts
        window->grab().save(path);
    }
    QLineEdit* detailField(const QString& container, const QString& column) const {
        BoundForm* form = window->modulePages().form(container);
        return form ? qobject_cast<QLineEdit*>(form->editorFor(column)) : nullptr;
    }

    std::unique_ptr<test::TestDatabase> db;
    test::ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> window;

  private:
    QTemporaryDir cwd_;
    QString previousDir_;
};

} // namespace kelvarn
