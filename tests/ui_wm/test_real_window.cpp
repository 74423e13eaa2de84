// Runs on a real X display with a window manager (tests/ui_wm/run-with-window-manager):
// keys go through the X server, and message boxes take the focus the way they do on a
// user's desktop, which an offscreen window never shows.

#include "ui/module_window_fixture.h"
#include "ui/qt_prompts.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <algorithm>

namespace kelvarn {
namespace {

constexpr int kTimeoutMs = 20000;
// How long a box is watched after the window manager gave it the focus: the second box
// of the fault came at once with that focus change.
constexpr int kWatchAfterFocusMs = 400;

// The keys go to whatever window the window manager has given the focus.
void xdotool(const QStringList& arguments) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << arguments.join(u' ').toStdString();
}

QList<QMessageBox*> errorBoxes() {
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w);
            box && box->isVisible() && box->windowTitle() == QLatin1String("Chyba"))
            boxes << box;
    return boxes;
}

// Watches the error boxes from a timer, which also runs inside a box's own event loop,
// and confirms each with Return once the window manager has made it the active window
// and it has been watched a while.
class BoxWatch {
  public:
    BoxWatch() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        clock_.start();
        timer_.start();
    }
    ~BoxWatch() { timer_.stop(); }

    int boxesSeen() const { return static_cast<int>(seen_.size()); }
    int mostAtOnce() const { return mostAtOnce_; }
    const QStringList& texts() const { return texts_; }

  private:
    void tick() {
        const QList<QMessageBox*> open = errorBoxes();
        mostAtOnce_ = std::max(mostAtOnce_, static_cast<int>(open.size()));
        for (QMessageBox* box : open)
            if (!seen_.contains(box)) {
                seen_ << box;
                texts_ << box->text();
            }
        if (open.isEmpty())
            return;
        if (clock_.elapsed() > kTimeoutMs) { // something is wrong: never leave a box hanging
            for (QMessageBox* box : open)
                box->reject();
            return;
        }
        auto* active = qobject_cast<QMessageBox*>(QApplication::activeWindow());
        if (!active || !open.contains(active) || active == confirmed_)
            return;
        if (active != focused_) {
            focused_ = active;
            since_.start();
            return;
        }
        if (since_.elapsed() < kWatchAfterFocusMs)
            return;
        confirmed_ = active;
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    }

    QTimer timer_;
    QElapsedTimer clock_;
    QElapsedTimer since_;
    QList<QPointer<QMessageBox>> seen_;
    QPointer<QMessageBox> focused_;
    QPointer<QMessageBox> confirmed_;
    QStringList texts_;
    int mostAtOnce_ = 0;
};

class RealWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensureApplication<QApplication>();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X display with a window manager (run-with-window-manager)";
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(cwd_.path()); // firstlogin.txt
        db = demoProgramFolder();
        ASSERT_TRUE(db);
        for (const char* file : {"sestavy.rav", "logo.bmp"})
            QFile::copy(test::sourceDir() + QStringLiteral("/reports/") + QLatin1String(file),
                        db->state.appDir + QLatin1String(file));
        window = std::make_unique<MainWindow>(prompts, db->state.appDir);
        prompts.setParentWidget(window.get());
        window->setStartOnShow(false);
        window->show();
        // A box at start-up would wait for a person: it is closed and reported.
        QStringList unexpected;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&unexpected] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    unexpected << box->windowTitle() + QStringLiteral(": ") + box->text();
                    box->reject();
                }
        });
        closer.start(50);
        const bool started = window->controller().startUp();
        closer.stop();
        ASSERT_TRUE(unexpected.isEmpty()) << unexpected.join(u'|').toStdString();
        ASSERT_TRUE(started);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), kTimeoutMs));
    }
    void TearDown() override {
        if (window) {
            // Nothing is left unsaved that could ask at closing.
            for (const char* name : {"ADOFormKnihaJizd"})
                if (Dataset* d = window->controller().modules().dataset(QLatin1String(name)); d && d->isEditing())
                    d->cancel();
            window.reset();
        }
        if (!previousDir_.isEmpty())
            QDir::setCurrent(previousDir_);
    }

    std::unique_ptr<test::TestDatabase> db;
    QtPrompts prompts;
    std::unique_ptr<MainWindow> window;

  private:
    QTemporaryDir cwd_;
    QString previousDir_;
};

// One refused cell shows exactly one error box, naming the column by its caption;
// after OK the cell is open again with the typed text selected, and Esc drops the row.
TEST_F(RealWindowTest, ARefusedCellShowsOneBoxAndComesBack) {
    window->tabBar()->setCurrentIndex(8);
    DatasetGrid* trips = window->modulePages().grid(QStringLiteral("DBGridKnihaJizd"));
    ASSERT_TRUE(trips);
    Dataset* data = trips->dataset();
    const int rows = data->recordCount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return trips->hasFocus(); }, kTimeoutMs));

    xdotool({QStringLiteral("key"), QStringLiteral("Insert")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return data->state() == Dataset::State::Insert; }, kTimeoutMs));
    trips->enterColumn(QStringLiteral("start_stav"));
    xdotool({QStringLiteral("key"), QStringLiteral("F2")});
    auto cellEditor = [&] {
        auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        return line && trips->isAncestorOf(line) ? line : nullptr;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return cellEditor() != nullptr; }, kTimeoutMs));
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("7x7")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return cellEditor() && cellEditor()->text() == QLatin1String("7x7"); },
                                kTimeoutMs));

    BoxWatch watch;
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    // The boxes come and go inside this wait.
    const bool back = QTest::qWaitFor(
        [&] {
            QLineEdit* line = cellEditor();
            return watch.boxesSeen() > 0 && errorBoxes().isEmpty() && line &&
                   line->text() == QLatin1String("7x7") && line->selectedText() == QLatin1String("7x7");
        },
        kTimeoutMs);
    EXPECT_EQ(watch.mostAtOnce(), 1);
    EXPECT_EQ(watch.boxesSeen(), 1);
    EXPECT_EQ(watch.texts(), QStringList{QStringLiteral("Počáteční stav [km]: \"7x7\" není platné celé číslo. Tisíce oddělujte mezerou, např. 1 500.")});
    ASSERT_TRUE(back) << "the typed text is not back in its cell";
    EXPECT_EQ(trips->currentColumnName(), QStringLiteral("start_stav"));

    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return data->state() == Dataset::State::Browse && data->recordCount() == rows; }, kTimeoutMs));
    EXPECT_EQ(watch.boxesSeen(), 1);
    EXPECT_TRUE(errorBoxes().isEmpty());
}

} // namespace
} // namespace kelvarn
