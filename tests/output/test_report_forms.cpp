#include "report_forms_fixture.h"

#include <QRegularExpression>

namespace kelvarn {
namespace {

using test::ReportFormsTest;

// The sample document each form of a family is tried with.
int documentFor(const QString& report) {
    if (report.startsWith(QLatin1String("M3_"))) {
        if (report.contains(QLatin1String("Prodejka")))
            return 1003;
        if (report.contains(QLatin1String("Zalohova")))
            return 1004;
        if (report.endsWith(QLatin1String("_Doklad")))
            return 1005;
        return report.contains(QLatin1String("_hotovostni")) ? 1002 : 1001;
    }
    if (report.startsWith(QLatin1String("M4_")))
        return report.contains(QLatin1String("zalohy")) ? 1007 : 1006;
    if (report.startsWith(QLatin1String("M5_")))
        return 1008;
    if (report.startsWith(QLatin1String("M6_")))
        return 1009;
    return 1001;
}

TEST_F(ReportFormsTest, EveryReportOfTheProjectRendersForTheSampleData) {
    const QStringList names = engine.reportNames();
    ASSERT_GE(names.size(), 25) << names.join(u',').toStdString();
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        showDocument(documentFor(name));
        if (name == QLatin1String("Mx_Seznam_dokladu")) {
            connection(1).close();
            connection(1).setSql(
                QStringLiteral("SELECT * FROM tbl_doklad WHERE doklad_typ=1 ORDER BY cislo_dokladu"));
            connection(1).open();
        }
        const RenderedReport* report = nullptr;
        ASSERT_NO_THROW(report = run(name));
        ASSERT_TRUE(report);
        EXPECT_FALSE(report->html.contains(QLatin1String("{{"))) << "a tag left unrendered";
        int pages = 0;
        ASSERT_NO_THROW(writePdf(*report, &pages));
        EXPECT_GE(pages, 1);
        const QString text = ReportPainter(*report).plainText();
        EXPECT_GT(text.trimmed().size(), 40) << text.toStdString();
    }
}

} // namespace
} // namespace kelvarn
