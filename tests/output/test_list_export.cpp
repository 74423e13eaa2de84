#include "core/diagnostic_log.h"
#include "core/text_file.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "output/export_table.h"
#include "output/list_export.h"
#include "support/db/test_databases.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// An independent reader: Python's csv module, as spreadsheets read RFC 4180.
std::optional<QList<QStringList>> readCsv(const QString& path, QChar separator) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(python, {QStringLiteral("-c"),
                     QStringLiteral("import csv,json,sys\n"
                                    "f=open(sys.argv[1],encoding='utf-8-sig',newline='')\n"
                                    "print(json.dumps(list(csv.reader(f,delimiter=sys.argv[2],strict=True))))"),
                     path, QString(separator)});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return QList<QStringList>{{QStringLiteral("python failed: ") + QString::fromUtf8(p.readAllStandardError())}};
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(p.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue& field : row.toArray())
            fields << field.toString();
        rows << fields;
    }
    return rows;
}

ExportTable sample() {
    ExportTable t;
    t.setHeader({QStringLiteral("[Datum]"), QStringLiteral("[Popis operace]"), QStringLiteral("[Příjem]")}, true);
    t.addRow();
    t.addField(QStringLiteral("1.3.2024"));
    t.addField(QStringLiteral("Kůň; \"ryzák\"\r\nřádek 2"));
    t.addField(QStringLiteral("1500,5"));
    t.addRow();
    t.addField(QString());
    t.addField(QStringLiteral("a$b ☺"));
    t.addField(QStringLiteral("0"));
    return t;
}

} // namespace

TEST(ExportTable, TextIsCodePage1250WithTheSeparatorAfterEveryValue) {
    const ExportTable t = sample();
    EXPECT_EQ(t.toText(QStringLiteral("$")),
              toCp1250(QStringLiteral("[Datum]$[Popis operace]$[Příjem]$\r\n"
                                      "1.3.2024$Kůň; \"ryzák\"<enter>řádek 2$1500,5$\r\n"
                                      "$a$b ?$0$\r\n")));
    EXPECT_EQ(t.toText(QStringLiteral("\t")).left(9), QByteArray("[Datum]\t["));
    EXPECT_EQ(t.toText(QStringLiteral("<Tab>")).left(13), QByteArray("[Datum]<Tab>["));
    EXPECT_EQ(t.toText(QString()).left(10), QByteArray("[Datum][Po"));

    ExportTable detail;
    detail.setHeader({QStringLiteral("ID"), QStringLiteral("Záruka")}, false);
    EXPECT_EQ(detail.toText(QStringLiteral(";")), toCp1250(QStringLiteral("ID;Záruka\r\n")));
    detail.addRow();
    detail.addField(QStringLiteral("7"));
    detail.addField(QStringLiteral("24\nměsíců"));
    EXPECT_EQ(detail.toText(QStringLiteral(";")), toCp1250(QStringLiteral("ID;Záruka\r\n7;24<enter>měsíců;\r\n")));
}

TEST(ExportTable, CsvIsReadBackFieldForField) {
    QTemporaryDir dir;
    for (const QChar separator : {QLatin1Char(';'), QLatin1Char(',')}) {
        const QString path = dir.filePath(QStringLiteral("out.csv"));
        const QByteArray bytes = sample().toCsv(separator);
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF\"Datum\""));
        export_file::writeAtomically(path, bytes);
        const auto rows = readCsv(path, separator);
        if (!rows)
            GTEST_SKIP() << "python3 is not installed";
        EXPECT_EQ(*rows, (QList<QStringList>{{"Datum", "Popis operace", "Příjem"},
                                             {"1.3.2024", "Kůň; \"ryzák\"\r\nřádek 2", "1500,5"},
                                             {"", "a$b ☺", "0"}}));
    }
    EXPECT_EQ(export_file::csvSeparator(QStringLiteral(",")), QLatin1Char(','));
    for (const char* typed : {";", "$", "<TAB>", "", ",,"})
        EXPECT_EQ(export_file::csvSeparator(QString::fromLatin1(typed)), QLatin1Char(';')) << typed;
    EXPECT_EQ(export_file::formatOfPath(QStringLiteral("/a/b.CSV")), export_file::Format::Csv);
    EXPECT_EQ(export_file::formatOfPath(QStringLiteral("/a/b.csv.txt")), export_file::Format::Text);
    EXPECT_EQ(export_file::formatOfPath(QStringLiteral("/a/csv")), export_file::Format::Text);
}

TEST(ExportTable, AFailingWriteLeavesTheEarlierFileAndNoTemporaryOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kelvarn_zbozi.txt"));
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier export\r\n");
    earlier.close();

    // The disk fills up after the first megabyte.
    const QByteArray big(3 << 20, 'x');
    qint64 room = 1 << 20;
    auto fullDisk = [&room](QIODevice& device, const char* data, qint64 size) -> qint64 {
        if (room <= 0)
            return -1;
        room -= size;
        return device.write(data, size);
    };
    EXPECT_THROW(export_file::writeAtomically(path, big, fullDisk), export_file::WriteError);
    EXPECT_EQ(fileBytes(path), QByteArray("earlier export\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kelvarn_zbozi.txt")});

    try {
        export_file::writeAtomically(dir.filePath(QStringLiteral("missing/x.txt")), "x");
        ADD_FAILURE() << "a missing folder was written to";
    } catch (const export_file::WriteError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("missing/x.txt"))) << e.text().toStdString();
    }
    export_file::writeAtomically(path, big);
    EXPECT_EQ(fileBytes(path).size(), big.size());
}

namespace {

// The export command over an embedded database: datasets by name, the captions of
// a small map, the save dialog answered from the prompts' queue.
class ListExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db = createTestDatabase(DbPlatform::Jet);
        ASSERT_TRUE(db);
        db->state.saveWithoutPrompt = true;
        context = std::make_unique<DbContext>(*db->session, db->state, prompts, log);
        ExportView view;
        view.statusText = [this] { return status; };
        view.setStatusText = [this](const QString& text) {
            status = text;
            statuses << text;
        };
        view.startProgress = [this](int maximum) { progress << -maximum; };
        view.advance = [this] { ++progress.last(); };
        view.hideProgress = [this] { progress << 999; };
        exporter = std::make_unique<ListExport>(
            *context,
            [this](const QString& name) {
                auto it = datasets.find(name);
                return it == datasets.end() ? nullptr : it->second.get();
            },
            [this](int tab) { return ColumnCaptionMap::read(maps[tab]); }, view);
    }

    Dataset& list(const QString& name, const QString& sql) {
        auto ds = std::make_unique<Dataset>(*db->session, name);
        ds->setSql(sql);
        ds->open();
        return *(datasets[name] = std::move(ds));
    }
    void run(const QString& panel) { exporter->run(panel); }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    QTemporaryDir dir;
    std::unique_ptr<TestDatabase> db;
    ScriptedPrompts prompts;
    DiagnosticLog log;
    std::unique_ptr<DbContext> context;
    std::map<QString, std::unique_ptr<Dataset>> datasets;
    std::array<QString, kCaptionMapCount> maps;
    std::unique_ptr<ListExport> exporter;
    QString status = QStringLiteral("Aktivní filtr: X");
    QStringList statuses;
    QList<int> progress;
};

} // namespace

TEST_F(ListExportTest, TheCashBookGoesOutInListOrderUnderItsCaptions) {
    maps[1] = QStringLiteral("id,[ID],#datum,[Datum],#popis,[Popis operace],#prijem_danovy,[Příjem],##x,[X],#");
    db->session->execute(QStringLiteral("INSERT INTO tbl_hlavnikniha (datum, popis, prijem_danovy) VALUES (?, ?, ?)"),
                         {QDateTime(QDate(2024, 3, 1), QTime()), QStringLiteral("Tržba\r\nhotově"), 1500.5});
    db->session->execute(QStringLiteral("INSERT INTO tbl_hlavnikniha (datum, popis, prijem_danovy) VALUES (?, ?, ?)"),
                         {QDateTime(QDate(2024, 2, 1), QTime(10, 30)), QStringLiteral("Nájem$byt"), QVariant()});
    list(QStringLiteral("ADOFormHlavniKniha"), QStringLiteral("SELECT * FROM tbl_hlavnikniha ORDER BY datum"));
    prompts.inputs = {QStringLiteral("<TAB>")};
    prompts.fileNames = {path("kniha.txt")};
    run(QStringLiteral("FormHlavniKniha"));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.value(0).text.toStdString();
    EXPECT_EQ(prompts.inputTitles, QStringList{QStringLiteral("Export - oddělovací znak")});
    EXPECT_EQ(prompts.savePresets, QStringList{QStringLiteral("kelvarn_prijmy_a_vydaje.txt")});
    EXPECT_EQ(fileBytes(path("kniha.txt")),
              toCp1250(QStringLiteral("[ID]\t[Datum]\t[Popis operace]\t[Příjem]\t\r\n"
                                      "2\t1.2.2024 10:30:00\tNájem$byt\t\t\r\n"
                                      "1\t1.3.2024\tTržba<enter>hotově\t1500,5\t\r\n")));
    EXPECT_EQ(statuses, (QStringList{"Probíhá export dat...", "Aktivní filtr: X"}));
    EXPECT_EQ(progress, (QList<int>{0, 0, 999})); // -2 advanced twice

    // The same rows as CSV for a spreadsheet.
    prompts.inputs = {QStringLiteral(",")};
    prompts.fileNames = {path("kniha.csv")};
    run(QStringLiteral("FormHlavniKniha"));
    EXPECT_EQ(fileBytes(path("kniha.csv")),
              QByteArray("\xEF\xBB\xBF") + QStringLiteral("\"ID\",\"Datum\",\"Popis operace\",\"Příjem\"\r\n"
                                                           "\"2\",\"1.2.2024 10:30:00\",\"Nájem$byt\",\"\"\r\n"
                                                           "\"1\",\"1.3.2024\",\"Tržba\r\nhotově\",\"1500,5\"\r\n")
                                               .toUtf8());
}

TEST_F(ListExportTest, VatListsGiveTwoFilesAndIssuedDocumentsTheirItemLines) {
    maps[2] = QStringLiteral("cislo_dokladu,[Číslo dokladu],#");
    maps[3] = QStringLiteral("cislo_dokladu,[Číslo dokladu],#tbl_polozky.kod_zbozi,[Položka_Kód],#");
    for (const char* number : {"FAV-1", "FAV-2"})
        db->session->execute(QStringLiteral("INSERT INTO tbl_doklad (cislo_dokladu, doklad_typ) VALUES (?, 1)"),
                             {QString::fromLatin1(number)});
    db->session->execute(QStringLiteral("INSERT INTO tbl_polozky (id_tbl_doklad, cislo_radku, kod_zbozi, popis, "
                                        "mnozstvi) SELECT id, 1, 'K1', 'Šroub', 2.5 FROM tbl_doklad"));
    list(QStringLiteral("ADOFormDPHvstup"), QStringLiteral("SELECT * FROM tbl_doklad WHERE 1=0"));
    list(QStringLiteral("ADOFormDPHvystup"), QStringLiteral("SELECT * FROM tbl_doklad ORDER BY id"));
    prompts.inputs = {QStringLiteral("$")};
    prompts.fileNames = {path("in.txt"), path("out.txt")};
    run(QStringLiteral("FormDPHvystup"));
    EXPECT_EQ(prompts.savePresets,
              (QStringList{"kelvarn_prijata_plneni.txt", "kelvarn_poskytnuta_plneni.txt"}));
    EXPECT_EQ(fileBytes(path("in.txt")), toCp1250(QStringLiteral("[Číslo dokladu]$\r\n")));
    EXPECT_EQ(fileBytes(path("out.txt")), toCp1250(QStringLiteral("[Číslo dokladu]$\r\nFAV-1$\r\nFAV-2$\r\n")));

    // Only the first document is listed (a filter); the item lines are all of them.
    list(QStringLiteral("ADOFormFAV"), QStringLiteral("SELECT * FROM tbl_doklad WHERE cislo_dokladu='FAV-1'"));
    prompts.savePresets.clear();
    prompts.inputs = {QStringLiteral("$")};
    prompts.fileNames = {QString(), path("items.txt")}; // the list file cancelled
    run(QStringLiteral("FormFAV-seznam"));
    EXPECT_EQ(prompts.savePresets,
              (QStringList{"kelvarn_pohledavky_a_prodej.txt", "kelvarn_pohledavky_a_prodej_polozky.txt"}));
    const QString header = QStringLiteral(
        "ID dokladu$ID$ID zboží$Pořadí$Kód$Popis$Množství$MJ$Sleva [%]$Cena za jednotku$Cena celkem$DPH [%]$"
        "DPH celkem$Cena celkem s DPH$Záruka$Sériové číslo$Poznámka\r\n");
    EXPECT_EQ(fileBytes(path("items.txt")),
              toCp1250(header + QStringLiteral("1$1$$1$K1$Šroub$2,5$$$$$$$$$$$\r\n2$2$$1$K1$Šroub$2,5$$$$$$$$$$$\r\n")));
    EXPECT_FALSE(QFile::exists(path("kelvarn_pohledavky_a_prodej.txt")));
}

TEST_F(ListExportTest, RefusalsEndQuietlyAndErrorsWithMessage22) {
    maps[9] = QStringLiteral("kod_zbozi,[Kód zboží],#nic_takoveho,[Nic],#");
    list(QStringLiteral("ADOFormZbozi"), QStringLiteral("SELECT * FROM tbl_zbozi"));
    // Details are not exported; a cancelled separator prompt writes nothing.
    run(QStringLiteral("FormZbozi-detail"));
    EXPECT_TRUE(prompts.inputTitles.isEmpty());
    run(QStringLiteral("FormZboziSeznam"));
    EXPECT_TRUE(prompts.savePresets.isEmpty());
    EXPECT_TRUE(statuses.isEmpty());

    // A column the list lacks.
    prompts.inputs = {QString()};
    run(QStringLiteral("FormZboziSeznam"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Import/export se nezdařil"));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("nic_takoveho")));
    EXPECT_EQ(status, QStringLiteral("Aktivní filtr: X"));
    EXPECT_EQ(progress.last(), 999);

    // A file that cannot be written: message 22, the earlier file kept.
    maps[9] = QStringLiteral("kod_zbozi,[Kód zboží],#");
    prompts.shown.clear();
    prompts.inputs = {QStringLiteral("$")};
    prompts.fileNames = {path("no/such/folder/zbozi.txt")};
    run(QStringLiteral("FormZboziSeznam"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("zbozi.txt")));
    // An empty separator is taken as it stands.
    prompts.inputs = {QString()};
    prompts.fileNames = {path("zbozi.txt")};
    run(QStringLiteral("FormZboziSeznam"));
    EXPECT_EQ(fileBytes(path("zbozi.txt")), toCp1250(QStringLiteral("[Kód zboží]\r\n")));
}
