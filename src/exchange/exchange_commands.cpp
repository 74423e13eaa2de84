#include "exchange/exchange_commands.h"

#include "core/prompts.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "exchange/camt053_reader.h"
#include "exchange/filing_identity.h"
#include "exchange/gpc_reader.h"
#include "exchange/isdoc_export.h"
#include "exchange/isdoc_import.h"
#include "exchange/isdoc_reader.h"
#include "exchange/isdoc_writer.h"
#include "exchange/statement_import.h"
#include "exchange/statement_import_plan.h"
#include "exchange/vat_filing.h"
#include "exchange/vat_forms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace kelvarn {

namespace {

const QString kStatementTitle = QStringLiteral("Import bankovního výpisu");
const QString kIsdocTitle = QStringLiteral("ISDOC");

// Statements and invoices are small; anything far larger is no such file.
constexpr qint64 kMaxFileSize = 64LL * 1024 * 1024;

bool readWhole(const QString& path, QByteArray& bytes, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Soubor %1 nelze otevřít: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > kMaxFileSize) {
        error = QStringLiteral("Soubor %1 je příliš velký.").arg(path);
        return false;
    }
    bytes = file.readAll();
    return true;
}

bool looksLikeXml(const QByteArray& bytes) {
    QByteArray start = bytes.left(64);
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.mid(3);
    return start.trimmed().startsWith('<');
}

bool saveBytes(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool parseVatPeriod(const QString& text, VatPeriod& period) {
    static const QRegularExpression month(QStringLiteral("^\\s*(\\d{1,2})\\s*/\\s*(\\d{4})\\s*$"));
    static const QRegularExpression quarter(
        QStringLiteral("^\\s*(?:[Qq]\\s*([1-4])|([1-4])\\s*[Qq])\\s*/\\s*(\\d{4})\\s*$"));
    VatPeriod p;
    if (const auto m = month.match(text); m.hasMatch()) {
        p.month = m.captured(1).toInt();
        p.year = m.captured(2).toInt();
    } else if (const auto q = quarter.match(text); q.hasMatch()) {
        p.quarter = (q.captured(1).isEmpty() ? q.captured(2) : q.captured(1)).toInt();
        p.year = q.captured(3).toInt();
    } else {
        return false;
    }
    if (!p.valid())
        return false;
    period = p;
    return true;
}

ExchangeCommands::ExchangeCommands(DbContext& db, ExchangeHooks hooks) : db_(db), hooks_(std::move(hooks)) {}

QString ExchangeCommands::folder() const {
    return db_.state().appDir;
}

void ExchangeCommands::importBankStatement() {
    Prompts& prompts = db_.prompts();
    const QString path = prompts.openFileName(
        kStatementTitle, folder(),
        {QStringLiteral("Bankovní výpisy (*.gpc *.abo *.xml)"), QStringLiteral("Všechny soubory (*)")});
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QString error;
    if (!readWhole(path, bytes, error)) {
        prompts.message(kStatementTitle, error, MessageStyle::Error);
        return;
    }
    const StatementReadResult read = looksLikeXml(bytes) ? readCamt053Statement(bytes) : readGpcStatement(bytes);
    if (!read.ok) {
        prompts.message(kStatementTitle, read.error, MessageStyle::Error);
        return;
    }
    StatementImportPlan plan = StatementImportPlan::prepare(db_, read.statement);
    if (!plan.refusal().isEmpty()) {
        prompts.message(kStatementTitle, plan.refusal(), MessageStyle::Warning);
        return;
    }
    if (plan.items().empty()) {
        prompts.message(kStatementTitle, QStringLiteral("Výpis neobsahuje žádné položky."), MessageStyle::Info);
        return;
    }
    if (!hooks_.previewStatement || !hooks_.previewStatement(plan))
        return;
    try {
        const StatementImportResult result = importStatement(db_, plan);
        prompts.message(kStatementTitle,
                        QStringLiteral("Do příjmů a výdajů bylo zapsáno %1 položek výpisu, vyrovnáno %2 dokladů.")
                            .arg(result.rowsWritten)
                            .arg(result.documentsSettled),
                        MessageStyle::Info);
    } catch (const DbError& e) {
        prompts.message(kStatementTitle, QStringLiteral("Výpis nebyl importován, nic nebylo zapsáno.\r\n\r\n") + e.text(),
                        MessageStyle::Error);
        return;
    }
    if (hooks_.cashBookChanged)
        hooks_.cashBookChanged();
    if (hooks_.documentsChanged)
        hooks_.documentsChanged();
}

void ExchangeCommands::exportIsdoc(const QStringList& ids) {
    Prompts& prompts = db_.prompts();
    if (ids.isEmpty()) {
        prompts.message(kIsdocTitle, QStringLiteral("Není vybrán žádný doklad."), MessageStyle::Info);
        return;
    }
    QString why;
    const auto first = isdocFromDocument(db_, ids.first(), &why);
    if (!first && ids.size() == 1) {
        prompts.message(kIsdocTitle, why, MessageStyle::Warning);
        return;
    }
    const QString preset = QDir(folder()).filePath((first ? first->number : QStringLiteral("doklady")) +
                                                   QStringLiteral(".isdoc"));
    const QString path = prompts.saveFileName(
        ids.size() == 1 ? QStringLiteral("Export dokladu do ISDOC")
                        : QStringLiteral("Export %1 dokladů do ISDOC (do složky zvoleného souboru)").arg(ids.size()),
        preset, {QStringLiteral("ISDOC (*.isdoc)")}, QStringLiteral("isdoc"));
    if (path.isEmpty())
        return;
    if (ids.size() == 1) {
        QString error;
        if (!saveBytes(path, writeIsdoc(*first), error))
            prompts.message(kIsdocTitle, error, MessageStyle::Error);
        return;
    }
    int written = 0;
    const QStringList problems = exportIsdocFiles(db_, ids, QFileInfo(path).absolutePath(), &written);
    QString text = QStringLiteral("Do složky %1 bylo zapsáno %2 souborů ISDOC.")
                       .arg(QFileInfo(path).absolutePath())
                       .arg(written);
    if (!problems.isEmpty())
        text += QStringLiteral("\r\n\r\nNezapsáno:\r\n") + problems.join(QStringLiteral("\r\n"));
    prompts.message(kIsdocTitle, text, problems.isEmpty() ? MessageStyle::Info : MessageStyle::Warning);
}

void ExchangeCommands::importIsdoc() {
    Prompts& prompts = db_.prompts();
    const QString path = prompts.openFileName(QStringLiteral("Import faktury ISDOC"), folder(),
                                              {QStringLiteral("ISDOC (*.isdoc *.xml)"), QStringLiteral("Všechny soubory (*)")});
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QString error;
    if (!readWhole(path, bytes, error)) {
        prompts.message(kIsdocTitle, error, MessageStyle::Error);
        return;
    }
    const IsdocReadResult read = readIsdoc(bytes);
    if (!read.ok) {
        prompts.message(kIsdocTitle, read.error, MessageStyle::Error);
        return;
    }
    try {
        const IsdocImportResult result = importReceivedIsdoc(db_, read.document);
        prompts.message(kIsdocTitle, result.message, result.ok ? MessageStyle::Info : MessageStyle::Warning);
        if (result.ok && hooks_.documentsChanged)
            hooks_.documentsChanged();
    } catch (const DbError& e) {
        prompts.message(kIsdocTitle, QStringLiteral("Faktura nebyla načtena.\r\n\r\n") + e.text(), MessageStyle::Error);
    }
}

void ExchangeCommands::writeControlStatement() {
    writeVatForm(true);
}

void ExchangeCommands::writeVatReturn() {
    writeVatForm(false);
}

void ExchangeCommands::writeVatForm(bool controlStatement) {
    Prompts& prompts = db_.prompts();
    const QString title = controlStatement ? QStringLiteral("Kontrolní hlášení DPH") : QStringLiteral("Přiznání k DPH");
    QString periodText = QStringLiteral("%1/%2").arg(QDate::currentDate().addMonths(-1).month()).arg(
        QDate::currentDate().addMonths(-1).year());
    VatPeriod period;
    for (;;) {
        if (!prompts.inputText(title, QStringLiteral("Období (měsíc 1/2025 nebo čtvrtletí Q1/2025):"), periodText))
            return;
        if (parseVatPeriod(periodText, period))
            break;
        prompts.message(title, QStringLiteral("„%1“ není měsíc ani čtvrtletí.").arg(periodText), MessageStyle::Warning);
    }
    const QString identityFile = filingIdentityFile(db_.state().appDir);
    FilingIdentity who = loadFilingIdentity(db_, identityFile);
    const QStringList missing = who.missing(!controlStatement);
    if (!missing.isEmpty()) {
        if (who.dic.isEmpty()) {
            prompts.message(title, QStringLiteral("V záznamu podnikatele chybí DIČ."), MessageStyle::Warning);
            return;
        }
        struct Ask {
            QString label;
            QString* value;
        };
        const Ask asks[] = {{QStringLiteral("Kód finančního úřadu (3 číslice):"), &who.taxOffice},
                            {QStringLiteral("Kód územního pracoviště (4 číslice):"), &who.workplace},
                            {QStringLiteral("Kód převažující činnosti CZ-NACE (2 až 6 číslic):"), &who.activityCode},
                            {QStringLiteral("Jméno:"), &who.firstName},
                            {QStringLiteral("Příjmení:"), &who.lastName}};
        for (const Ask& a : asks) {
            if (a.value == &who.activityCode && controlStatement)
                continue;
            if (!prompts.inputText(title, a.label, *a.value))
                return;
            *a.value = a.value->trimmed();
        }
        if (!who.missing(!controlStatement).isEmpty()) {
            prompts.message(title, QStringLiteral("Chybí nebo nejsou platné: ") + who.missing(!controlStatement).join(QStringLiteral(", ")),
                            MessageStyle::Warning);
            return;
        }
        QString error;
        if (!saveFilingIdentity(who, identityFile, &error))
            prompts.message(title, error, MessageStyle::Warning);
    }
    const VatFilingData data = collectVatFilingData(db_, period);
    QStringList blocking, leftOut;
    for (const VatIssue& i : data.issues)
        (i.blocking ? blocking : leftOut) << i.number + QStringLiteral(": ") + i.text;
    if (!blocking.isEmpty()) {
        prompts.message(title,
                        QStringLiteral("Tyto doklady nelze do formuláře zařadit; opravte je a akci opakujte:\r\n\r\n") +
                            blocking.join(QStringLiteral("\r\n")),
                        MessageStyle::Warning);
        return;
    }
    const QString periodName = period.month > 0 ? QStringLiteral("%1-%2").arg(period.year).arg(period.month, 2, 10, QChar(u'0'))
                                                : QStringLiteral("%1-Q%2").arg(period.year).arg(period.quarter);
    const QString path = prompts.saveFileName(
        title, QDir(folder()).filePath((controlStatement ? QStringLiteral("DPHKH1-") : QStringLiteral("DPHDP3-")) +
                                       periodName + QStringLiteral(".xml")),
        {QStringLiteral("XML (*.xml)")}, QStringLiteral("xml"));
    if (path.isEmpty())
        return;
    const QDate today = QDate::currentDate();
    const QByteArray xml = controlStatement ? kelvarn::writeControlStatement(data, period, who, today)
                                            : kelvarn::writeVatReturn(data, period, who, today);
    QString error;
    if (!saveBytes(path, xml, error)) {
        prompts.message(title, error, MessageStyle::Error);
        return;
    }
    QString text = QStringLiteral("Soubor %1 byl zapsán (%2 dokladů).").arg(path).arg(data.documents.size());
    if (!leftOut.isEmpty())
        text += QStringLiteral("\r\n\r\nNezahrnuto:\r\n") + leftOut.join(QStringLiteral("\r\n"));
    prompts.message(title, text, MessageStyle::Info);
}

} // namespace kelvarn
