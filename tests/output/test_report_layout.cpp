#include "core/formatting.h"
#include "db/database_session.h"
#include "db/dataset.h"
#include "output/report_error.h"
#include "output/report_html_table.h"
#include "output/report_layout.h"
#include "output/report_painter.h"
#include "output/report_project.h"
#include "output/report_template_engine.h"
#include "output/report_values.h"
#include "support/test_application.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace kelvarn {
namespace {

using report_values::Variant;

const QChar kNbsp(0x00A0);

QString nb(QString text) {
    return text.replace(QLatin1Char(' '), kNbsp);
}

class ReportValues : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = LocaleConventions::current();
        LocaleConventions::setCurrent(LocaleConventions::czech());
    }
    void TearDown() override { LocaleConventions::setCurrent(saved_); }

  private:
    LocaleConventions saved_;
};

TEST_F(ReportValues, SuffixesNameTheVariantOfAColumn) {
    const struct {
        const char* key;
        const char* column;
        Variant variant;
    } cases[] = {{"celkem__2", "celkem", Variant::Fixed2},
                 {"cena_jednotka__price", "cena_jednotka", Variant::Price},
                 {"datum__date", "datum", Variant::Date},
                 {"sleva__nonzero", "sleva", Variant::NonZero},
                 {"castka__words", "castka", Variant::Words},
                 {"prijem_6", "prijem_6", Variant::Plain},
                 {"ucet__iban", "ucet", Variant::Iban},
                 {"__2", "__2", Variant::Plain},
                 {"pocet_km__0", "pocet_km", Variant::Fixed0},
                 {"a__x", "a__x", Variant::Plain}};
    for (const auto& c : cases) {
        const report_values::VariantKey key = report_values::parseKey(QLatin1String(c.key));
        EXPECT_EQ(key.column, QLatin1String(c.column)) << c.key;
        EXPECT_EQ(key.variant, c.variant) << c.key;
    }
}

TEST_F(ReportValues, NumbersDatesAndWordsAsFormsPrintThem) {
    const QDateTime noon(QDate(2026, 3, 2), QTime(12, 30));
    const struct {
        QVariant value;
        Variant variant;
        QString text;
    } cases[] = {
        {1234.5, Variant::Fixed2, nb(QStringLiteral("1 234,50"))},
        {-1234567.255, Variant::Fixed2, nb(QStringLiteral("-1 234 567,26"))},
        {-0.001, Variant::Fixed2, QStringLiteral("0,00")},
        {12150, Variant::Fixed0, nb(QStringLiteral("12 150"))},
        {12500.0, Variant::Price, nb(QStringLiteral("12 500,00"))},
        {2300.37, Variant::Price, nb(QStringLiteral("2 300,37"))},
        {27.5467, Variant::Price, QStringLiteral("27,5467")},
        {0.125, Variant::Price, QStringLiteral("0,125")},
        {1.00001, Variant::Price, QStringLiteral("1,00")},
        {3.5, Variant::Fixed4, QStringLiteral("3,5000")},
        {noon, Variant::Date, QStringLiteral("2.3.2026")},
        {noon, Variant::Plain, QStringLiteral("2.3.2026 12:30:00")},
        {0.0, Variant::NonZero, QString()},
        {0.00001, Variant::NonZero, QString()},
        {-0.01, Variant::NonZero, QStringLiteral("1")},
        {1234.5, Variant::Words, QStringLiteral("Jedentisícdvěstětřicetčtyři 50/100")},
        {100.0, Variant::Words, QStringLiteral("Jednosto")},
        {-20.0, Variant::Words, QStringLiteral("minus Dvacet")},
        {0.07, Variant::Words, QStringLiteral("Nula 07/100")},
        {1e18, Variant::Words, QString()},
        {QStringLiteral("cz65 0800 0000 1920 0014 5399"), Variant::Iban,
         QStringLiteral("CZ65 0800 0000 1920 0014 5399")},
        {QStringLiteral("12,5"), Variant::Fixed2, QStringLiteral("12,50")},
        {QStringLiteral("Brno"), Variant::Fixed2, QString()},
        {QStringLiteral("Brno"), Variant::Date, QString()},
        {QVariant(), Variant::Fixed2, QString()},
        {QVariant(), Variant::Words, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(report_values::variantText(c.value, c.variant), c.text)
            << c.value.toString().toStdString() << " " << static_cast<int>(c.variant);
}

// ---------------------------------------------------------------------------------
// Reading list tables

TEST(ListTableReader, ReadsHeadBodyFootCellsAndTheirLook) {
    const QString html = QStringLiteral(
        "<table class=\"list\" width=\"80%\" cellpadding=\"4\" border=\"1\" bordercolor=\"#112233\">\n"
        "<thead><tr style=\"background-color: #e6ecf0\"><th width=\"10%\">Č.</th><th "
        "align=\"left\">Popis</th>"
        "<th width=\"90\">Částka</th></tr></thead>\n"
        "<tr><td align=\"right\">1</td><td>Stůl &amp; <b>židle</b><br>  druhý   řádek</td>"
        "<td style=\"text-align: right; color: red\">1&nbsp;234,50</td></tr>\n"
        "<tfoot><tr style=\"font-weight: bold\"><td "
        "colspan=\"2\">Celkem</td><td>1&#160;234,50</td></tr></tfoot>"
        "</table>");
    const std::optional<report_html::ListTable> table = report_html::parseListTable(html);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->widthPercent, 80);
    EXPECT_EQ(table->padding, 4);
    EXPECT_EQ(table->border, 1);
    EXPECT_EQ(table->borderColor, QColor(0x11, 0x22, 0x33));
    ASSERT_EQ(table->head.size(), 1u);
    ASSERT_EQ(table->body.size(), 1u);
    ASSERT_EQ(table->foot.size(), 1u);
    EXPECT_EQ(table->columnCount(), 3);

    const report_html::Row& head = table->head[0];
    EXPECT_EQ(head.background, QColor(0xe6, 0xec, 0xf0));
    EXPECT_TRUE(head.cells[0].bold);
    EXPECT_EQ(head.cells[0].widthPercent, 10);
    EXPECT_EQ(head.cells[1].align, Qt::AlignLeft);
    EXPECT_EQ(head.cells[2].widthPx, 90);

    const report_html::Cell& text = table->body[0].cells[1];
    EXPECT_EQ(text.text,
              QStringLiteral("Stůl & židle") + QChar::LineSeparator + QStringLiteral("druhý řádek"));
    ASSERT_EQ(text.formats.size(), 1);
    EXPECT_EQ(text.text.mid(text.formats[0].start, text.formats[0].length), QStringLiteral("židle"));
    const report_html::Cell& amount = table->body[0].cells[2];
    EXPECT_EQ(amount.text, QStringLiteral("1") + kNbsp + QStringLiteral("234,50"));
    EXPECT_EQ(amount.align, Qt::AlignRight);
    EXPECT_EQ(amount.color, QColor(Qt::red));

    EXPECT_TRUE(table->foot[0].bold);
    EXPECT_EQ(table->foot[0].cells[0].colspan, 2);
    EXPECT_EQ(table->foot[0].cells[1].text, amount.text);
}

TEST(ListTableReader, LeavesToQtWhatItDoesNotLayOutItself) {
    for (const char* html :
         {"<table class=\"list\"><tr><td><img src=\"logo.png\"></td></tr></table>",
          "<table class=\"list\"><tr><td><table><tr><td>x</td></tr></table></td></tr></table>",
          "<table class=\"list\"><tr><td><p>odstavec</p></td></tr></table>",
          "<table class=\"list\">text<tr><td>x</td></tr></table>",
          "<table class=\"list\"><tr><td>never closed</td></tr>", "<table class=\"list\"></table>"})
        EXPECT_FALSE(report_html::parseListTable(QString::fromUtf8(html))) << html;
}

// ---------------------------------------------------------------------------------
// Pages

class ReportPages : public ::testing::Test {
  protected:
    void SetUp() override { test::ensureApplication<QGuiApplication>(); }

    static RenderedReport report(const QString& html) {
        RenderedReport r;
        r.name = QStringLiteral("R");
        r.html = html;
        return r;
    }
    static QString rows(int count) {
        QString html =
            QStringLiteral("<table class=\"list\" border=\"1\"><thead><tr><th>Záhlaví</th><th>Číslo</th>"
                           "</tr></thead>");
        for (int i = 1; i <= count; ++i)
            html += QStringLiteral("<tr><td>řádek</td><td>%1</td></tr>").arg(i);
        return html + QStringLiteral("<tfoot><tr><td>Součet</td><td>%1</td></tr></tfoot></table>").arg(count);
    }
};

TEST_F(ReportPages, ListTablesRepeatTheirHeaderOnEveryPageAndCloseOnce) {
    QImage metrics(1, 1, QImage::Format_RGB32);
    metrics.setDotsPerMeterX(3780);
    metrics.setDotsPerMeterY(3780);
    const ReportLayout layout(
        report(QStringLiteral("<h1>Titulek</h1>") + rows(300) + QStringLiteral("<p>Konec</p>")),
        QSizeF(600, 400), &metrics);
    EXPECT_GT(layout.pageCount(), 5);
    const QString text = layout.plainText();
    EXPECT_EQ(text.count(QStringLiteral("Záhlaví")), 1) << "once in the text, repeated only when painted";
    EXPECT_TRUE(text.contains(QStringLiteral("Součet\t300")));
    EXPECT_LT(text.indexOf(QStringLiteral("Titulek")), text.indexOf(QStringLiteral("Záhlaví")));
    EXPECT_LT(text.indexOf(QStringLiteral("Součet")), text.indexOf(QStringLiteral("Konec")));
}

TEST_F(ReportPages, AnElementThatBreaksThePageStartsANewOne) {
    const QString three = QStringLiteral("<h2 style=\"page-break-before: always\">A</h2><p>a</p>"
                                         "<h2 style=\"page-break-before: always\">B</h2><p>b</p>"
                                         "<h2 style=\"page-break-before: always\">C</h2>");
    EXPECT_EQ(ReportPainter(report(three)).pageCount(), 3) << "no empty page before the first";
    EXPECT_EQ(ReportPainter(report(QStringLiteral("<p>a</p><p>b</p>"))).pageCount(), 1);
    // Qt still lays out what is longer than a page, from the top of one.
    QString long_;
    for (int i = 0; i < 400; ++i)
        long_ += QStringLiteral("<p>odstavec %1</p>").arg(i);
    EXPECT_GT(ReportPainter(report(long_)).pageCount(), 3);
}

// ---------------------------------------------------------------------------------
// What layouts see beyond the plain values

class ReportData : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensureApplication<QGuiApplication>();
        saved_ = LocaleConventions::current();
        LocaleConventions::setCurrent(LocaleConventions::czech());
        ASSERT_TRUE(dir.isValid());
        session.open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;")
                         .arg(dir.filePath(QStringLiteral("data.db"))),
                     DbPlatform::Jet, true);
        session.execute(
            QStringLiteral("CREATE TABLE a (id INTEGER PRIMARY KEY, name VARCHAR(20), price FLOAT)"));
        session.execute(QStringLiteral("CREATE TABLE d (id INTEGER PRIMARY KEY, id_a INT, rok VARCHAR(10), "
                                       "amount FLOAT)"));
        session.execute(
            QStringLiteral("INSERT INTO a VALUES (1, 'Pila', 0.1), (2, 'Auto', 0.2), (3, 'Nic', NULL)"));
        session.execute(QStringLiteral("INSERT INTO d VALUES (1, 2, '2025', 50), (2, 1, '2024', 10), "
                                       "(3, 1, '2025', 20), (4, 4, '2025', 1)"));
        assets = open(QStringLiteral("SELECT * FROM a ORDER BY id"));
        rows = open(QStringLiteral("SELECT * FROM d ORDER BY rok, id"));
        engine.bindConnection(7, assets.get());
        engine.bindConnection(8, rows.get());
        engine.setOutput(nullptr);
    }
    void TearDown() override { LocaleConventions::setCurrent(saved_); }

    std::unique_ptr<Dataset> open(const QString& sql) {
        auto ds = std::make_unique<Dataset>(session, QStringLiteral("ds"));
        ds->setSql(sql);
        ds->open();
        return ds;
    }
    QString render(const QByteArray& layout) {
        const QString path = dir.filePath(QStringLiteral("p.rav"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        file.write("KELVARN-REPORTS 1\n" + layout);
        file.close();
        engine.setProjectFile(path);
        engine.openProject();
        const std::optional<RenderedReport> r = engine.render(QStringLiteral("R"));
        return r ? r->html : QStringLiteral("<none>");
    }

    QTemporaryDir dir;
    DatabaseSession session;
    std::unique_ptr<Dataset> assets, rows;
    ReportTemplateEngine engine;

  private:
    LocaleConventions saved_;
};

TEST_F(ReportData, SumsAddUpTheNumberColumnsToWholeHundredths) {
    EXPECT_EQ(render("[report] R\n\n{{#RvDataSetConnection7_sum}}{{price}}|{{price__2}}|{{id}}|[{{name}}]"
                     "{{/RvDataSetConnection7_sum}}|{{RvDataSetConnection8_sum.amount__0}}\n"),
              QStringLiteral("0,3|0,30|6|[]|81\n"));
}

TEST_F(ReportData, AnyTellsWhetherAConnectionHasRows) {
    EXPECT_EQ(render("[report] R\n\n{{#RvDataSetConnection7_any}}yes{{/RvDataSetConnection7_any}}"
                     "{{^RvDataSetConnection5_any}}none{{/RvDataSetConnection5_any}}\n"),
              QStringLiteral("yesnone\n"));
}

TEST_F(ReportData, DetailRowsFollowTheirMasterRowById) {
    EXPECT_EQ(
        render("[report] R\n\n{{#RvDataSetConnection7}}{{name}}:{{#RvDataSetConnection8_by_id_a}}{{rok}}="
               "{{amount}},{{/RvDataSetConnection8_by_id_a}};{{/RvDataSetConnection7}}\n"),
        QStringLiteral("Pila:2024=10,2025=20,;Auto:2025=50,;Nic:;\n"));
    // A detail row whose own id equals a link (row 1 links to 2, row 2 to 1) takes no details itself.
    EXPECT_EQ(render("[report] R\n\n{{#RvDataSetConnection8}}{{id}}[{{#RvDataSetConnection8_by_id_a}}x"
                     "{{/RvDataSetConnection8_by_id_a}}]{{/RvDataSetConnection8}}\n"),
              QStringLiteral("2[]1[]3[]4[]\n"));
}

TEST_F(ReportData, SharedPartsAreTakenInByName) {
    EXPECT_EQ(render("[partial] Radek\n\n{{name}}{{>Cena}}\n[partial] Cena\n\n={{price__2}}\n"
                     "[report] R\n\n{{#RvDataSetConnection7}}{{>Radek}};{{/RvDataSetConnection7}}\n"),
              QStringLiteral("Pila=0,10;Auto=0,20;Nic=;\n"));
    EXPECT_EQ(engine.reportNames(), QStringList{QStringLiteral("R")}) << "parts are not reports";
}

TEST(ReportProjectParts, ABrokenPartIsRefusedWithItsLine) {
    const struct {
        const char* content;
        const char* fault;
    } cases[] = {
        {"[partial] radek\n\nx\n[report] R\n\ny\n", "velkým písmenem"},
        {"[partial] Radek\npage=A4\n\nx\n", "nemá klíče"},
        {"[partial] Radek\n\n", "je prázdná"},
        {"[report] R\n\n{{>Chybi}}\n", "neznámou část předlohy „Chybi“"},
        {"[partial] A\n\n{{>B}}\n[partial] B\n\n{{>A}}\n[report] R\n\n{{>A}}\n", "zacyklí: A → B → A"},
        {"[partial] A\n\n{{>A}}\n", "zacyklí"},
        {"[partial] A\n\nx\n[partial] A\n\ny\n", "podruhé"},
        {"[partial] A\n\n{{#x}}\n", "není uzavřena"},
    };
    for (const auto& c : cases) {
        std::string error;
        try {
            ReportProject::parse(QByteArray("KELVARN-REPORTS 1\n") + c.content,
                                 QStringLiteral("sestavy.rav"));
        } catch (const ReportError& e) {
            error = e.text().toStdString();
        }
        EXPECT_NE(error.find(c.fault), std::string::npos) << c.content << " → " << error;
    }
}

} // namespace
} // namespace kelvarn
