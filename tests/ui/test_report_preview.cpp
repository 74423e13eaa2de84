#include "support/test_application.h"
#include "output/report_output.h"
#include "support/scripted_prompts.h"
#include "ui/report_preview_window.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kelvarn {
namespace {

using namespace report_window;

void ensureApplication() {
    test::ensureApplication<QApplication>();
}

RenderedReport longReport() {
    QString html;
    for (int i = 1; i <= 120; ++i)
        html += QStringLiteral("<p>Řádek %1 – žluťoučký kůň</p>").arg(i);
    RenderedReport report{QStringLiteral("M10_Seznam_obchodnich_partneru"), html, {}};
    report.page.pageNumbers = true;
    return report;
}

QAction* action(QWidget& owner, const QString& text) {
    for (QAction* a : owner.findChildren<QAction*>())
        if (a->text() == text)
            return a;
    return nullptr;
}

bool isPdf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == "%PDF";
}

class ReportPreviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureApplication();
        window = std::make_unique<ReportPreviewWindow>(prompts);
        QObject::connect(window.get(), &ReportPreviewWindow::statusShown,
                         [this](const QString& text) { statuses << text; });
    }

    test::ScriptedPrompts prompts;
    std::unique_ptr<ReportPreviewWindow> window;
    QStringList statuses;
    QTemporaryDir dir;
};

TEST_F(ReportPreviewTest, OpensAsTheEnginesPreviewWindow) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Náhled"));
    EXPECT_EQ(window->size(), QSize(960, 650));
    EXPECT_EQ(window->zoomPercent(), 115);
    EXPECT_EQ(window->printer().docName(), QStringLiteral("Rave Report"));

    // Every control a screen reader meets is called what it shows.
    const QToolBar* toolBar = window->findChild<QToolBar*>();
    ASSERT_TRUE(toolBar);
    int buttons = 0;
    for (const QToolButton* button : toolBar->findChildren<QToolButton*>()) {
        if (!button->defaultAction() || button->defaultAction()->isSeparator())
            continue;
        ++buttons;
        EXPECT_EQ(button->accessibleName(), button->text()) << button->text().toStdString();
    }
    EXPECT_EQ(buttons, 7);
}

TEST_F(ReportPreviewTest, ZoomMovesInStepsOfFifteenWithinBounds) {
    QAction* in = action(*window, QStringLiteral("Zvětšit"));
    QAction* out = action(*window, QStringLiteral("Zmenšit"));
    ASSERT_TRUE(in && out);
    in->trigger();
    EXPECT_EQ(window->zoomPercent(), 130);
    out->trigger();
    out->trigger();
    EXPECT_EQ(window->zoomPercent(), 100);

    window->setZoomPercent(20);
    out->trigger();
    EXPECT_EQ(window->zoomPercent(), 15);
    out->trigger();
    EXPECT_EQ(window->zoomPercent(), 15) << "never below one step";
    window->setZoomPercent(1000);
    EXPECT_EQ(window->zoomPercent(), kMaxZoom);
    EXPECT_TRUE(in->shortcuts().contains(QKeySequence(QKeySequence::ZoomIn)));
    EXPECT_TRUE(out->shortcuts().contains(QKeySequence(QKeySequence::ZoomOut)));
}

TEST_F(ReportPreviewTest, GeneratingAndPrintingReportEveryPageInTheStatusBar) {
    window->setReport(longReport());
    const int pages = window->pageCount();
    ASSERT_GE(pages, 2);
    EXPECT_EQ(window->currentPage(), 1);
    EXPECT_EQ(statuses.first(), QStringLiteral("Generuji stranu 1"));
    EXPECT_EQ(statuses.last(), QStringLiteral("Generuji stranu %1").arg(pages));
    action(*window, QStringLiteral("Další strana"))->trigger();
    EXPECT_EQ(window->currentPage(), 2);

    statuses.clear();
    QPrinter& printer = window->printer(); // as the setup leaves it: the report's paper
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    window->printTo(printer);
    EXPECT_EQ(printer.docName(), QStringLiteral("Rave Report"));
    ASSERT_EQ(statuses.size(), pages);
    EXPECT_EQ(statuses.first(), QStringLiteral("Tisknu stranu 1"));
    EXPECT_TRUE(isPdf(printer.outputFileName()));
}

TEST_F(ReportPreviewTest, TheWindowIsUpWhileItsPagesAreGenerated) {
    QList<bool> visibleWhileGenerating;
    QObject::connect(window.get(), &ReportPreviewWindow::statusShown,
                     [&](const QString&) { visibleWhileGenerating << window->isVisible(); });
    // Closed by the user once the pages are there.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (window->isVisible() && window->pageCount() > 0)
            window->close();
    });
    closer.start(10);
    window->present(longReport());
    ASSERT_FALSE(visibleWhileGenerating.isEmpty());
    EXPECT_FALSE(visibleWhileGenerating.contains(false));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ReportPreviewTest, PrintButtonOpensThePrinterSetupFirst) {
    window->setReport(longReport());
    QString setupTitle;
    QTimer::singleShot(0, [&] {
        if (auto* setup = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            setupTitle = setup->windowTitle();
            setup->reject();
        }
    });
    statuses.clear();
    action(*window, QStringLiteral("Tisk..."))->trigger();
    EXPECT_EQ(setupTitle, QStringLiteral("Volby tisku"));
    EXPECT_FALSE(statuses.contains(QStringLiteral("Tisknu stranu 1"))) << "cancelled setup prints nothing";
}

TEST_F(ReportPreviewTest, SavesAsPdfWhereTheUserSays) {
    window->setReport(longReport());
    QAction* save = action(*window, QStringLiteral("Uložit jako PDF..."));
    ASSERT_TRUE(save);

    save->trigger(); // the dialog is cancelled: nothing is written, nothing is said
    EXPECT_TRUE(prompts.shown.isEmpty());
    ASSERT_EQ(prompts.savePresets.size(), 1);
    EXPECT_TRUE(prompts.savePresets.first().endsWith(QStringLiteral("/M10_Seznam_obchodnich_partneru.pdf")));

    const QString path = dir.filePath(QStringLiteral("náhled.pdf"));
    prompts.fileNames << path;
    save->trigger();
    EXPECT_TRUE(isPdf(path));

    prompts.fileNames << dir.filePath(QStringLiteral("missing/x.pdf"));
    save->trigger();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown.first().caption, QStringLiteral("Chyba tiskového systému"));
}

} // namespace
} // namespace kelvarn
