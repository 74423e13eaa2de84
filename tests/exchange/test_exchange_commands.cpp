#include "core/text_file.h"
#include "exchange/exchange_commands.h"
#include "exchange/statement_import_plan.h"
#include "exchange/vat_filing.h"
#include "gpc_builder.h"
#include "statement_fixture.h"

#include <QFile>
#include <QTemporaryDir>

using namespace kelvarn;
using namespace kelvarn::test;

class ExchangeCommandsTest : public StatementTest {
  protected:
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QByteArray statementFile(const QString& account = QStringLiteral("0000192000145399")) {
        GpcHeader h;
        h.account = account;
        h.credit = 121000;
        h.closing = h.opening + 121000;
        GpcItem i;
        i.account = account;
        i.cents = 121000;
        i.vs = QStringLiteral("0250100001");
        return toCp1250(gpcHeader(h) + QStringLiteral("\r\n") + gpcItem(i) + QStringLiteral("\r\n"));
    }
    QTemporaryDir dir;
    int previews = 0;
    bool confirm = true;
    ExchangeHooks hooks() {
        ExchangeHooks h;
        h.previewStatement = [this](StatementImportPlan& plan) {
            ++previews;
            EXPECT_EQ(plan.pairedCount(), 1);
            return confirm;
        };
        return h;
    }
};

TEST_P(ExchangeCommandsTest, StatementFileIsPreviewedImportedAndRefusedTheSecondTime) {
    ExchangeCommands commands(*ctx, hooks());
    const QString path = writeFile(QStringLiteral("vypis.gpc"), statementFile());
    confirm = false;
    prompts.fileNames = {path};
    commands.importBankStatement();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(cashRows(), 0) << "the preview was cancelled";

    confirm = true;
    prompts.fileNames = {path};
    commands.importBankStatement();
    EXPECT_EQ(cashRows(), 1);
    EXPECT_DOUBLE_EQ(remaining(1), 0);
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_TRUE(prompts.shown.last().text.contains(QStringLiteral("zapsáno 1 položek"))) << prompts.shown.last().text.toStdString();

    prompts.fileNames = {path};
    commands.importBankStatement();
    EXPECT_EQ(previews, 2) << "a statement imported already is refused before the preview";
    EXPECT_TRUE(prompts.shown.last().text.contains(QStringLiteral("už byl")));
    EXPECT_EQ(cashRows(), 1);
}

TEST_P(ExchangeCommandsTest, BadFilesAreRefusedWithTheirReason) {
    ExchangeCommands commands(*ctx, hooks());
    const struct {
        const char* name;
        QByteArray bytes;
        const char* expected;
    } cases[] = {
        {"cizi.gpc", statementFile(QStringLiteral("0000000353497163")), "ne z účtu podnikatele"},
        {"kratky.gpc", statementFile().left(140), "Řádek 2 výpisu GPC"},
        {"faktura.xml", QByteArray("<Invoice xmlns=\"http://isdoc.cz/namespace/2013\" version=\"6.0.2\"/>"),
         "není výpis camt.053"},
    };
    for (const auto& c : cases) {
        prompts.fileNames = {writeFile(QString::fromUtf8(c.name), c.bytes)};
        commands.importBankStatement();
        ASSERT_FALSE(prompts.shown.isEmpty()) << c.name;
        EXPECT_TRUE(prompts.shown.last().text.contains(QString::fromUtf8(c.expected)))
            << c.name << ": " << prompts.shown.last().text.toStdString();
    }
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(cashRows(), 0);
    prompts.fileNames = {writeFile(QStringLiteral("x.isdoc"), QByteArray("nonsense"))};
    commands.importIsdoc();
    EXPECT_TRUE(prompts.shown.last().text.contains(QStringLiteral("souboru ISDOC")));
}

TEST_P(ExchangeCommandsTest, VatFormAsksOnceForTheExtraDataAndWritesTheFile) {
    db->state.appDir = dir.path() + u'/';
    db->session->execute(QStringLiteral("UPDATE tbl_podnikatel SET dic='CZ27082440', nazev='Jan Novák' WHERE id=1"));
    ExchangeCommands commands(*ctx, hooks());
    const QString out = dir.filePath(QStringLiteral("kh.xml"));
    prompts.inputs = {QStringLiteral("1/2025"), QStringLiteral("451"), QStringLiteral("2001"), QStringLiteral("Jan"),
                      QStringLiteral("Novák")};
    prompts.fileNames = {out};
    commands.writeControlStatement();
    ASSERT_TRUE(QFile::exists(out)) << (prompts.shown.isEmpty() ? std::string() : prompts.shown.last().text.toStdString());
    EXPECT_TRUE(prompts.inputs.isEmpty());
    // The second time only the period is asked.
    prompts.inputs = {QStringLiteral("Q1/2025")};
    prompts.fileNames = {out};
    commands.writeControlStatement();
    EXPECT_TRUE(prompts.inputs.isEmpty());
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray xml = f.readAll();
    EXPECT_TRUE(xml.contains("ctvrt=\"1\"")) << xml.toStdString();
    EXPECT_TRUE(xml.contains("c_ufo=\"451\""));
}

TEST(VatPeriodText, MonthsAndQuarters) {
    const struct {
        const char* text;
        bool ok;
        int month, quarter, year;
    } cases[] = {{"1/2025", true, 1, 0, 2025},   {"12 / 2024", true, 12, 0, 2024}, {"Q3/2025", true, 0, 3, 2025},
                 {"2q/2025", true, 0, 2, 2025},  {"13/2025", false, 0, 0, 0},      {"Q5/2025", false, 0, 0, 0},
                 {"leden 2025", false, 0, 0, 0}, {"", false, 0, 0, 0}};
    for (const auto& c : cases) {
        VatPeriod p;
        EXPECT_EQ(parseVatPeriod(QString::fromUtf8(c.text), p), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(p.month, c.month) << c.text;
            EXPECT_EQ(p.quarter, c.quarter) << c.text;
            EXPECT_EQ(p.year, c.year) << c.text;
        }
    }
}

KELVARN_ON_ALL_PLATFORMS(ExchangeCommandsTest);
