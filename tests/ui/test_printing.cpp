#include "app/print_controller.h"
#include "module_window_fixture.h"
#include "support/db/print_samples.h"
#include "ui/main_toolbar.h"
#include "ui/report_preview_window.h"
#include "ui/report_selection_dialog.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace kelvarn {
namespace {

// The main window with the shipped report project and the sample documents.
class PrintingWindowTest : public ModuleWindowFixture {
  protected:
    void SetUp() override {
        ModuleWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        test::fillPrintSamples(*db->session);
        const QString appDir = db->state.appDir;
        for (const char* file : {"sestavy.rav", "logo.bmp"}) {
            QFile::remove(appDir + QLatin1String(file));
            ASSERT_TRUE(QFile::copy(test::sourceDir() + QStringLiteral("/reports/") + QLatin1String(file),
                                    appDir + QLatin1String(file)));
        }
        ASSERT_NO_THROW(window->controller().printing().loadProject());
    }

    // Runs the command while a watcher waits for the preview, notes what it shows
    // and closes it, as the user would.
    void printAndClosePreview(const std::function<void()>& command) {
        previewPages = -1;
        previewTitle.clear();
        bool waiting = true;
        std::function<void()> watch = [&] {
            ReportPreviewWindow* preview = window->reportPreview();
            if (preview->isVisible() && preview->pageCount() > 0) {
                previewPages = preview->pageCount();
                previewTitle = preview->windowTitle();
                preview->close();
                waiting = false;
                return;
            }
            if (waiting)
                QTimer::singleShot(20, watch);
        };
        QTimer::singleShot(0, watch);
        command();
        waiting = false;
        QCoreApplication::processEvents();
    }

    int previewPages = -1;
    QString previewTitle;
};

TEST_F(PrintingWindowTest, CtrlPOnAnInvoiceShowsItsFormInThePreview) {
    showTab(3);
    ASSERT_TRUE(dataset(QStringLiteral("ADOFormFAV"))->locate(QStringLiteral("id"), 1001));
    modules().toggleMasterDetail();
    // The detail or its item grid: both print the document.
    ASSERT_TRUE(modules().currentPanelId().startsWith(QLatin1String("FormFAV-")));
    ASSERT_NE(modules().currentPanelId(), QStringLiteral("FormFAV-seznam"));
    const QString printedBefore =
        storedText(QStringLiteral("SELECT doklad_vytisknut FROM tbl_doklad WHERE id=1001"));

    printAndClosePreview([&] { press(Qt::Key_P, Qt::ControlModifier); });

    ASSERT_EQ(prompts.reportSelections.size(), 1);
    const auto& offered = prompts.reportSelections.first();
    EXPECT_EQ(offered.names.value(offered.preselected), QStringLiteral("Faktura_vydana_bezhotovostni"));
    EXPECT_TRUE(offered.names.contains(QStringLiteral("Zalohova_faktura")));
    EXPECT_EQ(previewTitle, QStringLiteral("Náhled"));
    EXPECT_GE(previewPages, 1);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.captions().join(u',').toStdString();
    EXPECT_EQ(storedText(QStringLiteral("SELECT doklad_vytisknut FROM tbl_doklad WHERE id=1001")),
              printedBefore);
    EXPECT_FALSE(window->controller().printing().printDataset(print_datasets::kDocument)->isActive());
}

TEST_F(PrintingWindowTest, TheToolbarButtonPrintsTheCashBookList) {
    showTab(1);
    QAction* print = window->toolbar().actions.value(QStringLiteral("PrintRecords"));
    ASSERT_TRUE(print);
    ASSERT_TRUE(print->isEnabled());
    printAndClosePreview([&] { print->trigger(); });
    ASSERT_EQ(prompts.reportSelections.size(), 1);
    const auto& offered = prompts.reportSelections.first();
    EXPECT_EQ(offered.names, QStringList{QStringLiteral("Prijmy_a_Vydaje")});
    EXPECT_EQ(offered.preselected, 0);
    EXPECT_GE(previewPages, 1);
}

TEST_F(PrintingWindowTest, AnUnreadableProjectOffersNothingAndTheRepairedOneIsReadAgain) {
    const QString project = db->state.appDir + QStringLiteral("sestavy.rav");
    QFile::remove(project);
    QFile broken(project);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("KELVARN-REPORTS 1\n[report] M1_Prijmy_a_Vydaje\n\n{{#RvDataSetConnection6}}\n");
    broken.close();
    ASSERT_ANY_THROW(window->controller().printing().loadProject());

    showTab(1);
    press(Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(prompts.reportSelections.size(), 1);
    EXPECT_TRUE(prompts.reportSelections.last().names.isEmpty());
    EXPECT_EQ(previewPages, -1);

    QFile::remove(project);
    ASSERT_TRUE(QFile::copy(test::sourceDir() + QStringLiteral("/reports/sestavy.rav"), project));
    ASSERT_NO_THROW(window->controller().printing().loadProject());
    printAndClosePreview([&] { press(Qt::Key_P, Qt::ControlModifier); });
    EXPECT_GE(previewPages, 1);
}

TEST(ReportSelectionDialogTest, ListsTheNamesPreselectsAndChoosesByButtonOrDoubleClick) {
    test::ensureApplication<QApplication>();
    ReportSelectionDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Výběr tiskové sestavy"));
    EXPECT_EQ(dialog.printButton()->text(), QStringLiteral("  &Tisk ..."));
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral(" &Storno"));
    EXPECT_EQ(dialog.printButton()->accessibleName(), QStringLiteral("Tisk ..."));
    EXPECT_EQ(dialog.cancelButton()->accessibleName(), QStringLiteral("Storno"));
    EXPECT_EQ(dialog.list()->accessibleName(), QStringLiteral("Tiskové sestavy"));
    EXPECT_TRUE(dialog.printButton()->isDefault());

    const QStringList names = {QStringLiteral("Faktura_vydana_hotovostni"),
                               QStringLiteral("Faktura_vydana_bezhotovostni"), QStringLiteral("Doklad")};
    dialog.setReports(names, 1);
    EXPECT_EQ(dialog.list()->count(), 3);
    EXPECT_EQ(dialog.list()->currentRow(), 1);
    dialog.printButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosen(), 1);

    dialog.setReports(names, -1);
    EXPECT_EQ(dialog.chosen(), -1);
    QListWidgetItem* item = dialog.list()->item(2);
    dialog.list()->setCurrentItem(item);
    emit dialog.list()->itemDoubleClicked(item);
    EXPECT_EQ(dialog.chosen(), 2);

    dialog.setReports(names, 0);
    dialog.cancelButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.chosen(), -1);

    dialog.setReports({}, -1);
    dialog.printButton()->click();
    EXPECT_EQ(dialog.chosen(), -1);
}

} // namespace
} // namespace kelvarn
