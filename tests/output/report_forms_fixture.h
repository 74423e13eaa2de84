#pragma once

#include "core/formatting.h"
#include "db/database_session.h"
#include "db/dataset.h"
#include "output/report_error.h"
#include "output/report_painter.h"
#include "output/report_template_engine.h"
#include "support/db/print_samples.h"
#include "support/db/test_databases.h"
#include "support/test_application.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace kelvarn::test {

// What a report run produced.
class CapturedReports : public ReportOutput {
  public:
    void present(const RenderedReport& report) override { shown.push_back(report); }
    std::vector<RenderedReport> shown;
};

// The shipped report project over the demo database with the sample documents, cash
// book, assets and trips; every connection bound as the print command binds it. Set
// KELVARN_REPORT_DUMP to a folder to keep the PDFs a test writes.
class ReportFormsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureApplication<QGuiApplication>();
        savedConventions_ = LocaleConventions::current();
        LocaleConventions::setCurrent(LocaleConventions::czech());
        db = createTestDatabase(DbPlatform::Jet, true);
        ASSERT_TRUE(db);
        samples = fillPrintSamples(*db->session);
        const std::map<int, QString> statements = {
            {3, QStringLiteral("SELECT * FROM tbl_podnikatel")},
            {5, QStringLiteral("SELECT * FROM tbl_knihajizd ORDER BY datum, id")},
            {6, QStringLiteral("SELECT * FROM tbl_hlavnikniha ORDER BY datum, id")},
            {7, QStringLiteral("SELECT * FROM tbl_majetek ORDER BY cislo")},
            {8, QStringLiteral("SELECT * FROM tbl_odpisy ORDER BY rok")},
            {9, QStringLiteral(
                    "SELECT * FROM tbl_doklad WHERE podklad_dph='Ano' AND (doklad_typ=2 OR doklad_typ=4) "
                    "ORDER BY datum_uplatneni_plneni, id")},
            {10, QStringLiteral(
                     "SELECT * FROM tbl_doklad WHERE podklad_dph='Ano' AND (doklad_typ=1 OR doklad_typ=3) "
                     "ORDER BY datum_uplatneni_plneni, id")},
            {11, QStringLiteral("SELECT * FROM tbl_zbozi ORDER BY kod_zbozi")},
            {12, QStringLiteral("SELECT * FROM tbl_partner ORDER BY kod_partnera")},
            {13, QStringLiteral("SELECT * FROM tbl_zakazka ORDER BY zakazka")},
            {14, QStringLiteral("SELECT * FROM tbl_zakazka WHERE id=1")},
            {1, QString()},
            {2, QString()},
            {4, QString()}};
        for (const auto& [index, sql] : statements) {
            auto ds = std::make_unique<Dataset>(*db->session, QStringLiteral("connection%1").arg(index));
            if (!sql.isEmpty()) {
                ds->setSql(sql);
                ds->open();
            }
            engine.bindConnection(index, ds.get());
            connections[index] = std::move(ds);
        }
        engine.setOutput(&output);
        engine.setToday(QDate(2026, 3, 20));
        engine.setProjectFile(sourceDir() + QStringLiteral("/reports/sestavy.rav"));
        ASSERT_NO_THROW(engine.openProject());
        engine.setParameter(QStringLiteral("p_logo01"), sourceDir() + QStringLiteral("/reports/logo.bmp"));
        engine.setParameter(QStringLiteral("filtr_jmeno"), QStringLiteral("Nebyl aplikován žádný filtr."));
        engine.setParameter(QStringLiteral("filtr_definice"), QString());
        engine.setParameter(QStringLiteral("zakazka_popis"), QStringLiteral("Kuchyňská linka na míru"));
        dump = qEnvironmentVariable("KELVARN_REPORT_DUMP");
    }

    void TearDown() override { LocaleConventions::setCurrent(savedConventions_); }

    Dataset& connection(int index) { return *connections.at(index); }

    // The document connections as the print command prepares them for one document
    // (issued: its deposit lines apart).
    void showDocument(int id) {
        const QString d = QString::number(id);
        // Issued documents print their deposit lines apart from the items.
        QSqlQuery kind(db->session->database());
        const bool issued = kind.exec(QStringLiteral("SELECT doklad_typ FROM tbl_doklad WHERE id=") + d) &&
                            kind.next() && kind.value(0).toInt() == 1;
        auto reopen = [](Dataset& ds, const QString& sql) {
            ds.close();
            ds.setSql(sql);
            ds.open();
        };
        reopen(connection(1), QStringLiteral("SELECT * FROM tbl_doklad WHERE (id=") + d + u')');
        const QString items = QStringLiteral("SELECT * FROM tbl_polozky WHERE ");
        const QString order = QStringLiteral(" ORDER BY cislo_radku, id");
        if (issued) {
            reopen(connection(2),
                   items +
                       QStringLiteral("((kod_zbozi IS NULL OR UPPER(kod_zbozi) NOT LIKE '#ZAL%') "
                                      "AND id_tbl_doklad=") +
                       d + u')' + order);
            reopen(connection(4), items +
                                      QStringLiteral("(UPPER(kod_zbozi) LIKE '#ZAL%' AND id_tbl_doklad=") +
                                      d + u')' + order);
        } else {
            reopen(connection(2), items + QStringLiteral("(id_tbl_doklad=") + d + u')' + order);
            reopen(connection(4), items + QStringLiteral("(id_tbl_doklad=") + d + u')' + order);
        }
    }

    // Runs the report with its data; the captured report, or a failure.
    const RenderedReport* run(const QString& name) {
        output.shown.clear();
        engine.runReport(name);
        return output.shown.size() == 1 ? &output.shown.front() : nullptr;
    }

    // The PDF of a run, kept in the dump folder when one is given.
    QString writePdf(const RenderedReport& report, int* pages = nullptr) {
        const QString folder = dump.isEmpty() ? temp.path() : dump;
        QDir().mkpath(folder);
        const QString path = QDir(folder).filePath(report.name + QStringLiteral(".pdf"));
        if (!dump.isEmpty()) {
            QFile html(QDir(folder).filePath(report.name + QStringLiteral(".html")));
            if (html.open(QIODevice::WriteOnly))
                html.write(report.html.toUtf8());
        }
        int count = 0;
        ReportPainter(report).writePdf(path, [&count](int page) { count = page; });
        if (pages)
            *pages = count;
        return path;
    }

    static QString tool(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(120000))
            return {};
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    static bool haveTool(const char* program) {
        return !QStandardPaths::findExecutable(QLatin1String(program)).isEmpty();
    }
    // pdftotext of a page range (0: to the end), layout kept.
    static QString pdfText(const QString& path, int first = 1, int last = 0) {
        QStringList args = {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                            QStringLiteral("-f"), QString::number(first)};
        if (last > 0)
            args << QStringLiteral("-l") << QString::number(last);
        args << path << QStringLiteral("-");
        return tool(QStringLiteral("pdftotext"), args);
    }

    std::unique_ptr<TestDatabase> db;
    std::vector<SampleDocument> samples;
    std::map<int, std::unique_ptr<Dataset>> connections;
    CapturedReports output;
    ReportTemplateEngine engine;
    QTemporaryDir temp;
    QString dump;

  private:
    LocaleConventions savedConventions_;
};

} // namespace kelvarn::test
