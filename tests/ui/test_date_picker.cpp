#include "core/formatting.h"
#include "support/test_application.h"
#include "ui/calendar_window.h"
#include "ui/date_picker.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextCharFormat>
#include <QTimer>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

class DatePickerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensureApplication<QApplication>();
        LocaleConventions::setCurrent(LocaleConventions::czech());
    }

    // Shows the picker on a day and hands back its day grid, which has the focus.
    QTableView* showOn(DatePicker& picker, const QDate& day) {
        picker.setDate(day);
        picker.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&picker));
        auto* grid = picker.calendar()->findChild<QTableView*>();
        EXPECT_NE(grid, nullptr);
        if (grid)
            grid->setFocus();
        return grid;
    }

    // Runs the modal picker and presses key in it once its loop is running.
    static std::optional<QDate> pickPressing(const QDate& initial, Qt::Key key) {
        QTimer::singleShot(0, [key] {
            auto* picker = qobject_cast<DatePicker*>(QApplication::activeModalWidget());
            ASSERT_NE(picker, nullptr);
            auto* grid = picker->calendar()->findChild<QTableView*>();
            // Move one day on first so that the choice differs from the initial day.
            QTest::keyClick(grid, Qt::Key_Right);
            QTest::keyClick(grid, key);
        });
        return DatePicker::pick(initial);
    }
};

TEST_F(DatePickerTest, CaptionAndAccessibleNames) {
    DatePicker picker;
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("Datum"));
    EXPECT_EQ(picker.accessibleName(), picker.windowTitle());
    EXPECT_TRUE(picker.isModal());
    EXPECT_EQ(picker.okButton()->text(), QStringLiteral("OK"));
    EXPECT_TRUE(picker.okButton()->isDefault());
    EXPECT_FALSE(picker.okButton()->accessibleName().isEmpty());
    EXPECT_FALSE(picker.calendar()->accessibleName().isEmpty());

    CalendarWindow window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kalendář"));
    EXPECT_EQ(window.accessibleName(), window.windowTitle());
    QStringList names;
    for (QCalendarWidget* c : {window.previousMonth(), window.currentMonth(), window.nextMonth()})
        names << c->accessibleName();
    EXPECT_EQ(names.size(), 3);
    EXPECT_EQ(names.removeDuplicates(), 0);
    EXPECT_FALSE(names.contains(QString()));
}

TEST_F(DatePickerTest, EnterOkAndDoubleClickChooseTheSelectedDay) {
    {
        DatePicker picker;
        QTableView* grid = showOn(picker, QDate(2026, 3, 15));
        ASSERT_TRUE(grid);
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(picker.result(), QDialog::Accepted);
        EXPECT_EQ(picker.chosenDate(), QDate(2026, 3, 22));
    }
    {
        DatePicker picker;
        showOn(picker, QDate(2026, 3, 15));
        QTest::mouseClick(picker.okButton(), Qt::LeftButton);
        EXPECT_EQ(picker.chosenDate(), QDate(2026, 3, 15));
    }
    {
        DatePicker picker;
        QTableView* grid = showOn(picker, QDate(2026, 3, 15));
        ASSERT_TRUE(grid);
        const QPoint cell = grid->visualRect(grid->currentIndex()).center();
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        EXPECT_FALSE(picker.isVisible());
        EXPECT_EQ(picker.chosenDate(), QDate(2026, 3, 15));
    }
}

TEST_F(DatePickerTest, EscapeAndClosingTheWindowChooseNothing) {
    DatePicker picker;
    QTableView* grid = showOn(picker, QDate(2026, 3, 15));
    ASSERT_TRUE(grid);
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(picker.chosenDate(), std::nullopt);

    // A choice from an earlier run must not survive a later close.
    showOn(picker, QDate(2026, 3, 15));
    QTest::mouseClick(picker.okButton(), Qt::LeftButton);
    ASSERT_TRUE(picker.chosenDate());
    showOn(picker, QDate(2026, 3, 15));
    picker.close();
    EXPECT_EQ(picker.chosenDate(), std::nullopt);
}

TEST_F(DatePickerTest, TheModalPickReturnsTheChoiceOrNothing) {
    EXPECT_EQ(pickPressing(QDate(2026, 12, 31), Qt::Key_Enter), QDate(2027, 1, 1));
    EXPECT_EQ(pickPressing(QDate(2026, 12, 31), Qt::Key_Escape), std::nullopt);

    // The chooser handed to the date rules opens the same picker.
    QTimer::singleShot(0, [] {
        auto* picker = qobject_cast<DatePicker*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->calendar()->selectedDate(), QDate(2026, 2, 3));
        QTest::mouseClick(picker->okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(DatePicker::chooser(nullptr)(QDate(2026, 2, 3)), QDate(2026, 2, 3));
}

TEST_F(DatePickerTest, TheCalendarShowsTheMonthsAroundTodayStackedAndMarksOnlyToday) {
    const QDate today(2027, 1, 20);
    CalendarWindow window;
    window.setToday(today);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.repaint();
    EXPECT_FALSE(window.isModal());

    EXPECT_EQ(window.previousMonth()->selectedDate(), QDate(2026, 12, 1));
    EXPECT_EQ(window.previousMonth()->monthShown(), 12);
    EXPECT_EQ(window.previousMonth()->yearShown(), 2026);
    EXPECT_EQ(window.currentMonth()->selectedDate(), today);
    EXPECT_EQ(window.nextMonth()->selectedDate(), QDate(2027, 2, 1));

    EXPECT_LT(window.previousMonth()->geometry().top(), window.currentMonth()->geometry().top());
    EXPECT_LT(window.currentMonth()->geometry().top(), window.nextMonth()->geometry().top());

    EXPECT_EQ(window.currentMonth()->dateTextFormat(today).fontWeight(), QFont::Bold);
    EXPECT_NE(window.previousMonth()->dateTextFormat(today).fontWeight(), QFont::Bold);
    EXPECT_NE(window.nextMonth()->dateTextFormat(today).fontWeight(), QFont::Bold);
}

} // namespace
} // namespace kelvarn
