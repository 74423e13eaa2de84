#include "core/formatting.h"
#include "db/database_session.h"
#include "db/dataset.h"
#include "output/report_error.h"
#include "output/report_painter.h"
#include "output/report_project.h"
#include "output/report_template_engine.h"
#include "support/db/test_databases.h"
#include "support/test_application.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Failure messages quote the rendered texts.
inline std::ostream& operator<<(std::ostream& os, const QString& text) {
    return os << text.toStdString();
}

namespace kelvarn {
namespace {

// QTextDocument and QPdfWriter need fonts, hence a GUI application (offscreen).
void ensureGuiApplication() {
    test::ensureApplication<QGuiApplication>();
}

class CapturedOutput : public ReportOutput {
  public:
    void present(const RenderedReport& report) override { shown.push_back(report); }
    std::vector<RenderedReport> shown;
};

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ReportError& e) {
        return e.text();
    }
    return QStringLiteral("<no error>");
}

QString parseError(const QByteArray& content) {
    return errorOf([&] { ReportProject::parse(content, QStringLiteral("sestavy.rav")); });
}

QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// ---------------------------------------------------------------------------------
// The project file

TEST(ReportProjectFile, ReadsReportsKeysAndLayoutsInProjectOrder) {
    const QByteArray content = "\xEF\xBB\xBF"
                               "KELVARN-REPORTS 1\r\n"
                               "# comment\r\n"
                               "\r\n"
                               "[report] M1_Prijmy_a_Vydaje\r\n"
                               "page=A5\r\n"
                               "# keys may be commented too\r\n"
                               "orientation = Landscape\r\n"
                               "margins=10 5 20 7,5\r\n"
                               "font=DejaVu Serif\r\n"
                               "font-size=11.5\r\n"
                               "page-numbers=ano\r\n"
                               "\r\n"
                               "<h1>Příjmy</h1>\r\n"
                               "\r\n"
                               "{{filtr_jmeno}}\r\n"
                               "\r\n"
                               "\r\n"
                               "[report] Mx_Seznam_dokladu\n"
                               "\n"
                               "<p>Doklady</p>";
    const ReportProject project = ReportProject::parse(content, QStringLiteral("sestavy.rav"));

    EXPECT_EQ(project.names(),
              (QStringList{QStringLiteral("M1_Prijmy_a_Vydaje"), QStringLiteral("Mx_Seznam_dokladu")}));
    const ReportDefinition* first = project.find(QStringLiteral("M1_Prijmy_a_Vydaje"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->line, 4);
    EXPECT_EQ(first->layout, QStringLiteral("<h1>Příjmy</h1>\n\n{{filtr_jmeno}}\n"));
    EXPECT_EQ(first->page.pageSize, QPageSize::A5);
    EXPECT_EQ(first->page.orientation, QPageLayout::Landscape);
    EXPECT_EQ(first->page.marginsMm, QMarginsF(7.5, 10, 5, 20)); // written top right bottom left
    EXPECT_EQ(first->page.fontFamily, QStringLiteral("DejaVu Serif"));
    EXPECT_DOUBLE_EQ(first->page.fontSizePt, 11.5);
    EXPECT_TRUE(first->page.pageNumbers);

    const ReportDefinition* second = project.find(QStringLiteral("Mx_Seznam_dokladu"));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->page, ReportPageSetup{});
    EXPECT_EQ(second->layout, QStringLiteral("<p>Doklady</p>\n"));

    EXPECT_FALSE(project.find(QStringLiteral("mx_seznam_dokladu"))) << "names are case-sensitive";
    EXPECT_TRUE(ReportProject::parse("KELVARN-REPORTS 1\n", {}).reports().empty());
}

TEST(ReportProjectFile, AFileThatIsNotOursSaysSoWithoutDetails) {
    for (const QByteArray& foreign :
         {QByteArray(), QByteArray("\x00\x01RAV\xff\xfe", 7), QByteArray("[report] A\n\n<p>x</p>\n"),
          QByteArray("KELVARN-REPORTS1\n"), QByteArray("<html><body>KELVARN-REPORTS 1</body></html>"),
          QByteArray("KELVARN-REPORTS\n[report] A\n\nx\n"), QByteArray("KELVARN-REPORTS \t \r\n")}) {
        const QString error = parseError(foreign);
        EXPECT_TRUE(error.contains(QStringLiteral("není projekt tiskových sestav programu Kelvarn")))
            << error;
        EXPECT_TRUE(error.contains(QStringLiteral("„sestavy.rav“"))) << error;
    }
    const QString newer = parseError("KELVARN-REPORTS 2\n[report] A\n\nx\n");
    EXPECT_TRUE(newer.contains(QStringLiteral("verzi formátu „2“"))) << newer;
}

TEST(ReportProjectFile, ADamagedProjectNamesTheLineAndTheFault) {
    const struct {
        const char* content;
        const char* expected;
    } cases[] = {
        {"KELVARN-REPORTS 1\n<h1>stray</h1>\n", "řádek 2: očekáván začátek sestavy „[report] jméno“"},
        {"KELVARN-REPORTS 1\n[report]   \n\nx\n", "řádek 2: sestava nemá jméno"},
        {"KELVARN-REPORTS 1\n[report] A\ncolour=red\n\nx\n", "řádek 3: neznámý klíč „colour“"},
        {"KELVARN-REPORTS 1\n[report] A\npage=B5\n\nx\n", "řádek 3: chybná hodnota „B5“ klíče „page“"},
        {"KELVARN-REPORTS 1\n[report] A\nmargins=10 10\n\nx\n",
         "řádek 3: chybná hodnota „10 10“ klíče „margins“"},
        {"KELVARN-REPORTS 1\n[report] A\nfont-size=big\n\nx\n",
         "řádek 3: chybná hodnota „big“ klíče „font-size“"},
        {"KELVARN-REPORTS 1\n[report] A\n<h1>no blank line</h1>\n", "řádek 3: očekáváno „klíč=hodnota“"},
        {"KELVARN-REPORTS 1\n[report] A\npage=A4\n", "řádek 2: sestava „A“ nemá předlohu"},
        {"KELVARN-REPORTS 1\n[report] A\n\n\n\n[report] B\n\nx\n", "řádek 2: sestava „A“ nemá předlohu"},
        {"KELVARN-REPORTS 1\n[report] A\n\nx\n[report] A\n\ny\n",
         "řádek 5: sestava „A“ je v souboru podruhé (poprvé na řádku 2)"},
        {"KELVARN-REPORTS 1\n[report] A\nmargins=100\n\nx\n",
         "řádek 2: okraje sestavy „A“ nenechávají na stránce místo"},
        {"KELVARN-REPORTS 1\n[report] A\n\n<p>\n{{#RvDataSetConnection12}}\n<b>\n",
         "řádek 5: chybná předloha sestavy „A“: sekce „RvDataSetConnection12“ není uzavřena"},
        {"KELVARN-REPORTS 1\n[report] A\n\n<p>\n\n{{/x}}\n",
         "řádek 6: chybná předloha sestavy „A“: sekce „x“ nebyla otevřena"},
        {"KELVARN-REPORTS 1\n[report] A\n\nok\n{{nazev\n",
         "řádek 5: chybná předloha sestavy „A“: značka „{{“ není uzavřena"},
        {"KELVARN-REPORTS 1\n[report] A\n\nok\nspr\xe1vn\xec\n", "řádek 5: text není v kódování UTF-8"},
    };
    for (const auto& c : cases) {
        const QString error = parseError(QByteArray(c.content));
        EXPECT_TRUE(error.startsWith(QStringLiteral("Soubor tiskových sestav „sestavy.rav“ je poškozen")))
            << error;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.expected))) << error << "\nexpected: " << c.expected;
    }
}

TEST(ReportProjectFile, LoadingTellsAMissingFileFromAnUnreadableOne) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("sestavy.rav"));
    EXPECT_EQ(errorOf([&] { ReportProject::load(missing); }),
              QStringLiteral("Soubor tiskových sestav „%1“ neexistuje.").arg(missing));
    EXPECT_TRUE(errorOf([&] { ReportProject::load(dir.path()); }).contains(QStringLiteral("nelze číst")));
}

// ---------------------------------------------------------------------------------
// The engine

class ReportEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureGuiApplication();
        LocaleConventions::setCurrent(LocaleConventions::czech());
        ASSERT_TRUE(dir.isValid());
        session.open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;")
                         .arg(dir.filePath(QStringLiteral("reports.db"))),
                     DbPlatform::Jet, true);
        session.execute(
            QStringLiteral("CREATE TABLE tbl_partner (id INTEGER PRIMARY KEY, kod_partnera VARCHAR(25), "
                           "nazev_firmy VARCHAR(100), ic VARCHAR(20), mesto VARCHAR(40), splatnost_fa INT)"));
        session.execute(
            QStringLiteral("CREATE TABLE tbl_podnikatel (id INTEGER PRIMARY KEY, nazev VARCHAR(100), "
                           "ico VARCHAR(20))"));
        session.execute(QStringLiteral("INSERT INTO tbl_podnikatel VALUES (1, 'Jana Nováková', '12345678')"));
        const struct {
            const char* code;
            const char* name;
            const char* ic;
            const char* city;
        } partners[] = {{"P1", "Žluťoučký kůň s.r.o.", "25596641", "Česká Třebová"},
                        {"P2", "<b>&", "", "Brno"},
                        {"P3", "O'Brien \"Tools\"", "47114983", "Ústí nad Labem"}};
        int id = 0;
        for (const auto& p : partners)
            session.execute(QStringLiteral("INSERT INTO tbl_partner VALUES (?, ?, ?, ?, ?, 14)"),
                            {++id, QString::fromUtf8(p.code), QString::fromUtf8(p.name),
                             QString::fromUtf8(p.ic), QString::fromUtf8(p.city)});
        partners_ = std::make_unique<Dataset>(session, QStringLiteral("ADOFormPartneri"));
        partners_->setSql(QStringLiteral("SELECT * FROM tbl_partner ORDER BY kod_partnera"));
        partners_->open();
        entrepreneur_ = std::make_unique<Dataset>(session, QStringLiteral("ADOFormPodnikatel"));
        entrepreneur_->setSql(QStringLiteral("SELECT * FROM tbl_podnikatel"));
        entrepreneur_->open();
        engine.setOutput(&output);
    }

    void useProject(const QByteArray& content) {
        const QString path = dir.filePath(QStringLiteral("sestavy.rav"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        engine.setProjectFile(path);
        engine.openProject();
    }

    QString runAndCapture(const QString& name) {
        output.shown.clear();
        engine.runReport(name);
        return output.shown.size() == 1 ? output.shown.front().html : QStringLiteral("<not shown>");
    }

    QTemporaryDir dir;
    DatabaseSession session;
    std::unique_ptr<Dataset> partners_;
    std::unique_ptr<Dataset> entrepreneur_;
    CapturedOutput output;
    ReportTemplateEngine engine;
};

TEST_F(ReportEngineTest, ListsReportsOnlyWhileAProjectIsOpen) {
    engine.setProjectFile(dir.filePath(QStringLiteral("missing.rav")));
    EXPECT_TRUE(errorOf([&] { engine.openProject(); }).contains(QStringLiteral("neexistuje")));
    EXPECT_FALSE(engine.isProjectOpen());
    EXPECT_TRUE(engine.reportNames().isEmpty());

    useProject("KELVARN-REPORTS 1\n[report] M9_Zbozi\n\na\n[report] M10_Partneri\n\nb\n");
    EXPECT_EQ(engine.reportNames(),
              (QStringList{QStringLiteral("M9_Zbozi"), QStringLiteral("M10_Partneri")}));

    engine.closeProject();
    EXPECT_TRUE(engine.reportNames().isEmpty());
    EXPECT_EQ(runAndCapture(QStringLiteral("M9_Zbozi")), QStringLiteral("<not shown>"));
    engine.openProject();
    EXPECT_EQ(engine.reportNames().size(), 2);

    // A damaged file replacing a good one must not leave the old reports listed.
    useProject("KELVARN-REPORTS 1\n[report] M9_Zbozi\n\na\n");
    QFile::resize(engine.projectFile(), 5);
    EXPECT_THROW(engine.openProject(), ReportError);
    EXPECT_FALSE(engine.isProjectOpen());
    EXPECT_TRUE(engine.reportNames().isEmpty());
}

TEST_F(ReportEngineTest, AnUnknownReportRunsNothingAndRaisesNothing) {
    useProject("KELVARN-REPORTS 1\n[report] M10_Partneri\n\nb\n");
    engine.setOutput(nullptr); // would throw if anything were run
    EXPECT_NO_THROW(engine.runReport(QStringLiteral("M10_partneri")));
    EXPECT_NO_THROW(engine.runReport(QString()));
    EXPECT_THROW(engine.runReport(QStringLiteral("M10_Partneri")), ReportError);
}

TEST_F(ReportEngineTest, ParametersStayUntilSetAgainAcrossReopening) {
    useProject("KELVARN-REPORTS 1\n[report] R\n\n[{{filtr_jmeno}}|{{zakazka_popis}}|{{unset}}]\n");
    engine.setParameter(QStringLiteral("filtr_jmeno"), QStringLiteral("Použitý filtr: Praha"));
    engine.setParameter(QStringLiteral("zakazka_popis"), QStringLiteral("Oprava střechy"));
    EXPECT_EQ(runAndCapture(QStringLiteral("R")), QStringLiteral("[Použitý filtr: Praha|Oprava střechy|]\n"));

    engine.setParameter(QStringLiteral("zakazka_popis"), QStringLiteral("null"));
    engine.closeProject();
    engine.openProject();
    EXPECT_EQ(runAndCapture(QStringLiteral("R")), QStringLiteral("[Použitý filtr: Praha|null|]\n"));
    EXPECT_EQ(engine.parameter(QStringLiteral("filtr_jmeno")), QStringLiteral("Použitý filtr: Praha"));
}

TEST_F(ReportEngineTest, ConnectionsServeTheRowsAsTheyStandWhenTheReportRuns) {
    useProject("KELVARN-REPORTS 1\n[report] R\n\n"
               "{{#RvDataSetConnection12}}{{_row}}:{{kod_partnera}}={{nazev_firmy}}{{#ic}} IČ "
               "{{ic}}{{/ic}};{{/RvDataSetConnection12}}"
               "|{{RvDataSetConnection12_count}}|{{#RvDataSetConnection12_current}}{{kod_partnera}}{{/"
               "RvDataSetConnection12_current}}"
               "|{{RvDataSetConnection3_current.nazev}}|{{RvDataSetConnection5_count}}{{^"
               "RvDataSetConnection5}} none{{/RvDataSetConnection5}}\n");
    engine.bindConnection(QStringLiteral("RvDataSetConnection12"), partners_.get());
    engine.bindConnection(3, entrepreneur_.get());
    partners_->last();

    EXPECT_EQ(runAndCapture(QStringLiteral("R")),
              QStringLiteral("1:P1=Žluťoučký kůň s.r.o. IČ 25596641;2:P2=&lt;b&gt;&amp;;"
                             "3:P3=O&#39;Brien &quot;Tools&quot; IČ 47114983;|3|P3|Jana Nováková|0 none\n"));

    // Filter and order changed after binding: the run sees the dataset as it is now.
    partners_->close();
    partners_->setSql(
        QStringLiteral("SELECT * FROM tbl_partner WHERE mesto <> 'Brno' ORDER BY kod_partnera DESC"));
    partners_->open();
    partners_->first();
    const QString html = runAndCapture(QStringLiteral("R"));
    EXPECT_TRUE(html.startsWith(QStringLiteral("1:P3=O&#39;Brien &quot;Tools&quot; IČ 47114983;2:P1=")))
        << html;
    EXPECT_TRUE(html.contains(QStringLiteral("|2|P3|"))) << html;

    partners_.reset(); // a dataset gone since binding serves nothing
    EXPECT_EQ(runAndCapture(QStringLiteral("R")), QStringLiteral("|0||Jana Nováková|0 none\n"));
}

TEST_F(ReportEngineTest, ValuesAreTextNotMarkupInTheLaidOutDocument) {
    useProject(
        "KELVARN-REPORTS 1\n[report] R\n\n<table>{{#RvDataSetConnection12}}<tr><td>{{nazev_firmy}}</td>"
        "<td title=\"{{nazev_firmy}}\">{{mesto}}</td></tr>{{/RvDataSetConnection12}}</table>\n");
    engine.bindConnection(12, partners_.get());
    engine.runReport(QStringLiteral("R"));
    ASSERT_EQ(output.shown.size(), 1u);
    const QString text = ReportPainter(output.shown.front()).plainText();
    EXPECT_TRUE(text.contains(QStringLiteral("<b>&"))) << text;
    EXPECT_TRUE(text.contains(QStringLiteral("O'Brien \"Tools\""))) << text;
    EXPECT_TRUE(text.contains(QStringLiteral("Žluťoučký kůň s.r.o."))) << text;
    EXPECT_TRUE(text.contains(QStringLiteral("Ústí nad Labem"))) << text;
}

TEST_F(ReportEngineTest, AFileParameterOffersItsUrlOnlyWhenTheFileExists) {
    useProject(
        "KELVARN-REPORTS 1\n[report] R\n\n{{#p_logo01_url}}<img src=\"{{p_logo01_url}}\">{{/p_logo01_url}}"
        "{{^p_logo01_url}}no logo{{/p_logo01_url}}\n");
    const QString logo = dir.filePath(QStringLiteral("logo a&b.bmp"));
    engine.setParameter(QStringLiteral("p_logo01"), logo);
    EXPECT_EQ(runAndCapture(QStringLiteral("R")), QStringLiteral("no logo\n"));

    QFile file(logo);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM");
    file.close();
    const QString html = runAndCapture(QStringLiteral("R"));
    EXPECT_TRUE(html.startsWith(QStringLiteral("<img src=\"file://"))) << html;
    EXPECT_TRUE(html.contains(QStringLiteral("logo%20a&amp;b.bmp"))) << html;

    engine.setParameter(QStringLiteral("p_logo01"), QStringLiteral("logo a&b.bmp")); // relative: never a file
    EXPECT_EQ(runAndCapture(QStringLiteral("R")), QStringLiteral("no logo\n"));
}

TEST_F(ReportEngineTest, OnlyTheFourteenConnectionsCanBeBound) {
    EXPECT_EQ(ReportEngine::connectionName(14), QStringLiteral("RvDataSetConnection14"));
    EXPECT_EQ(ReportEngine::connectionIndex(QStringLiteral("RvDataSetConnection1")), 1);
    EXPECT_EQ(ReportEngine::connectionIndex(QStringLiteral("RvDataSetConnection14")), 14);
    for (const char* bad : {"RvDataSetConnection0", "RvDataSetConnection15", "RvDataSetConnection01",
                            "rvdatasetconnection1", "RvDataSetConnection", "RvDataSetConnection+2"})
        EXPECT_EQ(ReportEngine::connectionIndex(QString::fromLatin1(bad)), 0) << bad;

    EXPECT_THROW(engine.bindConnection(0, partners_.get()), ReportError);
    EXPECT_THROW(engine.bindConnection(15, partners_.get()), ReportError);
    EXPECT_THROW(engine.bindConnection(QStringLiteral("ADOFormPartneri"), partners_.get()), ReportError);
    engine.bindConnection(14, partners_.get());
    EXPECT_EQ(engine.boundDataset(14), partners_.get());
    engine.bindConnection(14, nullptr);
    EXPECT_EQ(engine.boundDataset(14), nullptr);
}

// ---------------------------------------------------------------------------------
// PDF

TEST_F(ReportEngineTest, PdfKeepsCzechTextAndNumbersPagesOnlyWhenAsked) {
    QByteArray rows;
    for (int i = 0; i < 150; ++i)
        rows += "<p>Řádek " + QByteArray::number(i + 1) + " – příliš žluťoučký kůň úpěl ďábelské ódy</p>\n";
    useProject("KELVARN-REPORTS 1\n[report] Cislovana\npage-numbers=yes\n\n" + rows +
               "[report] Bez_cisel\n\n" + rows);

    for (const QString& name : {QStringLiteral("Cislovana"), QStringLiteral("Bez_cisel")}) {
        engine.runReport(name);
        const QString path = dir.filePath(name + QStringLiteral(".pdf"));
        ReportPainter painter(output.shown.back());
        std::vector<int> pages;
        painter.writePdf(path, [&](int page) { pages.push_back(page); });
        ASSERT_GE(pages.size(), 2u);
        EXPECT_EQ(pages.front(), 1);
        EXPECT_EQ(pages.back(), static_cast<int>(pages.size()));

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().startsWith("%PDF"));

        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            continue; // the bytes check above is all we can do here
        const QString text = pdfText(path);
        EXPECT_TRUE(text.contains(QStringLiteral("Řádek 150 – příliš žluťoučký kůň úpěl ďábelské ódy")))
            << text;
        const QString firstPageNumber = QStringLiteral("Strana 1 z %1").arg(pages.size());
        EXPECT_EQ(text.contains(firstPageNumber), name == QStringLiteral("Cislovana")) << text;
        EXPECT_FALSE(text.contains(
            QRegularExpression(QStringLiteral("^\\s*1\\s*$"), QRegularExpression::MultilineOption)))
            << "no bare page number of Qt's own";
    }
}

TEST_F(ReportEngineTest, APdfThatCannotBeWrittenLeavesNoFile) {
    useProject("KELVARN-REPORTS 1\n[report] R\n\n<p>x</p>\n");
    engine.runReport(QStringLiteral("R"));
    const QString path = dir.filePath(QStringLiteral("missing/out.pdf"));
    EXPECT_TRUE(errorOf([&] {
                    ReportPainter(output.shown.back()).writePdf(path);
                }).contains(QStringLiteral("nelze zapsat")));
    EXPECT_FALSE(QFile::exists(path));
}

// ---------------------------------------------------------------------------------
// The project shipped with the program

TEST_F(ReportEngineTest, ShippedReportProjectListsPartnersWithLogoAndFilter) {
    engine.setProjectFile(test::sourceDir() + QStringLiteral("/reports/sestavy.rav"));
    ASSERT_NO_THROW(engine.openProject());
    const QString name = QStringLiteral("M10_Seznam_obchodnich_partneru");
    ASSERT_TRUE(engine.reportNames().contains(name))
        << engine.reportNames().join(QLatin1Char(',')).toStdString();

    engine.bindConnection(3, entrepreneur_.get());
    engine.bindConnection(12, partners_.get());
    engine.setParameter(QStringLiteral("p_logo01"), test::sourceDir() + QStringLiteral("/reports/logo.bmp"));
    engine.setParameter(QStringLiteral("filtr_jmeno"), QStringLiteral("Použitý filtr: Mimo Brno"));
    engine.setParameter(QStringLiteral("filtr_definice"), QStringLiteral("mesto <> 'Brno'"));
    const QString html = runAndCapture(name);
    EXPECT_TRUE(html.contains(QStringLiteral("<img src=\"file://"))) << html;

    const QString text = ReportPainter(output.shown.front()).plainText();
    for (const QString& expected :
         {QStringLiteral("Seznam obchodních partnerů"), QStringLiteral("Jana Nováková, IČ 12345678"),
          QStringLiteral("Použitý filtr: Mimo Brno"), QStringLiteral("mesto <> 'Brno'"),
          QStringLiteral("Žluťoučký kůň s.r.o."), QStringLiteral("25596641"), QStringLiteral("Česká Třebová"),
          QStringLiteral("<b>&"), QStringLiteral("Počet partnerů: 3")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();

    const QString pdf = dir.filePath(QStringLiteral("partneri.pdf"));
    ReportPainter(output.shown.front()).writePdf(pdf);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Subtype /Image")) << "the logo is embedded";
}

} // namespace
} // namespace kelvarn
