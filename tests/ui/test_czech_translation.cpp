#include "support/test_application.h"
#include "ui/czech_translation.h"
#include "ui/qt_prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kelvarn {
namespace {

QStringList visibleTexts(const QList<QAbstractButton*>& buttons) {
    QStringList texts;
    for (const QAbstractButton* b : buttons)
        texts << b->text().remove(QLatin1Char('&'));
    texts.sort();
    return texts;
}

// Runs look on the modal dialog the next call opens, then closes the dialog.
void whenModalOpens(const std::function<void(QWidget*)>& look) {
    QTimer::singleShot(0, [look] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        look(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject(); // Esc: a question box answers Cancel
    });
}

class CzechTranslationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensureApplication<QApplication>();
        before = QLocale();
        czech = std::make_unique<CzechTranslation>();
        ASSERT_TRUE(czech->loaded()) << "Qt's Czech catalogue is missing in "
                                     << CzechTranslation::catalogueFolder().toStdString();
    }
    QLocale before;
    std::unique_ptr<CzechTranslation> czech;
};

TEST_F(CzechTranslationTest, QuestionBoxesOfferAnoNeStorno) {
    QtPrompts prompts;
    QStringList shown;
    whenModalOpens([&](QWidget* box) { shown = visibleTexts(box->findChildren<QAbstractButton*>()); });
    const Answer answer =
        prompts.message(QStringLiteral("Potvrzení"), QStringLiteral("Opravdu?"), MessageStyle::Question);
    EXPECT_EQ(answer, Answer::Cancel);
    EXPECT_EQ(shown, (QStringList{"Ano", "Ne", "Storno"}));
}

TEST_F(CzechTranslationTest, StandardDialogsAreCzech) {
    QtPrompts prompts;
    QStringList shown;
    whenModalOpens([&](QWidget* dialog) {
        if (auto* box = dialog->findChild<QDialogButtonBox*>())
            shown = visibleTexts(box->buttons());
    });
    QString value;
    EXPECT_FALSE(prompts.inputText(QStringLiteral("Export"), QStringLiteral("Znak:"), value));
    EXPECT_EQ(shown, (QStringList{"OK", "Storno"}));

    QFileDialog files(nullptr, QStringLiteral("Uložit"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList fileButtons = visibleTexts(files.findChild<QDialogButtonBox*>()->buttons());
    EXPECT_TRUE(fileButtons.contains(QStringLiteral("Uložit"))) << fileButtons.join(',').toStdString();
    EXPECT_TRUE(fileButtons.contains(QStringLiteral("Storno"))) << fileButtons.join(',').toStdString();

    QCalendarWidget calendar;
    EXPECT_EQ(calendar.locale().language(), QLocale::Czech);
    EXPECT_EQ(calendar.firstDayOfWeek(), Qt::Monday);
}

TEST_F(CzechTranslationTest, TextFieldContextMenuIsCzech) {
    QLineEdit field(QStringLiteral("text"));
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList items;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            items << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
    EXPECT_EQ(items,
              (QStringList{"Zpět", "Znovu", "Vyjmout", "Kopírovat", "Vložit", "Smazat", "Vybrat vše"}));
}

// Tests of other widgets in the same program see Qt's own texts again.
TEST_F(CzechTranslationTest, EndsWithItsObject) {
    czech.reset();
    QMessageBox box(QMessageBox::Question, QStringLiteral("x"), QStringLiteral("y"), QMessageBox::Yes);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(QLocale(), before);
}

} // namespace
} // namespace kelvarn
