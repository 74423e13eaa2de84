#include "module_window_fixture.h"

#include <QAction>
#include <QDateTime>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>

namespace kelvarn {
namespace {

class ExportWindowTest : public ModuleWindowFixture {};

TEST_F(ExportWindowTest, TheCashBookIsWrittenWithTheProgressBarFollowingTheRows) {
    for (int day = 1; day <= 40; ++day)
        db->session->execute(QStringLiteral("INSERT INTO tbl_hlavnikniha (datum, doklad, popis, prijem_danovy) "
                                            "VALUES (?, 'PPD', ?, ?)"),
                             {QDateTime(QDate(2024, 1, 1).addDays(day), QTime()),
                              QStringLiteral("Tržba; den %1\nhotově").arg(day), day * 100.5});
    showTab(1);
    Dataset* book = dataset(QStringLiteral("ADOFormHlavniKniha"));
    ASSERT_TRUE(book && book->recordCount() > 0);
    const QString status = window->statusLabel()->text();
    QTemporaryDir dir;
    prompts.inputs = {QStringLiteral("<TAB>")};
    prompts.fileNames = {dir.filePath(QStringLiteral("kniha.csv"))};
    bool looked = false;
    QProgressBar* bar = window->progressBar();
    EXPECT_EQ(bar->accessibleName(), QStringLiteral("Průběh exportu"));
    // The bar stands at the end of the rows while the file is being chosen.
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        if (value != book->recordCount() || looked)
            return;
        looked = true;
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->maximum(), book->recordCount());
        EXPECT_EQ(window->statusLabel()->text(), QStringLiteral("Probíhá export dat..."));
        EXPECT_FALSE(window->toolbar().bar->isEnabled());
        if (const QString shots = qEnvironmentVariable("KELVARN_SCREENSHOT_DIR"); !shots.isEmpty())
            shoot(shots + QStringLiteral("/export_progress.png"));
    });
    window->toolbar().actions.value(QStringLiteral("ToolButton4"))->trigger();
    EXPECT_TRUE(looked);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.value(0).text.toStdString();
    EXPECT_EQ(prompts.savePresets, QStringList{QStringLiteral("kelvarn_prijmy_a_vydaje.txt")});
    QFile file(dir.filePath(QStringLiteral("kniha.csv")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF\"ID\";\"ID spárovaného dokladu\""));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(window->statusLabel()->text(), status);
    EXPECT_TRUE(window->toolbar().bar->isEnabled());
    EXPECT_TRUE(window->menuBar()->isEnabled());
}

} // namespace
} // namespace kelvarn
