#include "output/list_export.h"

#include "core/message_catalogue.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "output/text_export.h"

namespace kelvarn {

namespace {

const std::vector<ListExport::DetailColumn> kItemColumns = {
    {"id_tbl_doklad", "ID dokladu"},
    {"id", "ID"},
    {"id_tbl_zbozi", "ID zboží"},
    {"cislo_radku", "Pořadí"},
    {"kod_zbozi", "Kód"},
    {"popis", "Popis"},
    {"mnozstvi", "Množství"},
    {"mj", "MJ"},
    {"sleva", "Sleva [%]"},
    {"cena_jednotka", "Cena za jednotku"},
    {"cena_celkem_bez_dph", "Cena celkem"},
    {"dph", "DPH [%]"},
    {"dph_celkem", "DPH celkem"},
    {"cena_celkem_s_dph", "Cena celkem s DPH"},
    {"zaruka", "Záruka"},
    {"seriove_cislo", "Sériové číslo"},
    {"poznamka", "Poznámka"},
};

const std::vector<ListExport::DetailColumn> kDepreciationColumns = {
    {"id_tbl_majetek", "ID majetku"}, {"id", "ID"},         {"rok", "Rok"},          {"odpis", "Odpis"},
    {"zustatkova_cena", "Zůstatková cena"}, {"opravky", "Oprávky"}, {"vypocet", "Výpočet"},
};

const QString kItemPrefix = QStringLiteral("tbl_polozky.");

int columnOf(const Dataset& dataset, const QString& column) {
    const int index = dataset.columnIndex(column);
    if (index < 0)
        throw DbError(QStringLiteral("%1: pole \"%2\" nebylo nalezeno.").arg(dataset.name(), column));
    return index;
}

} // namespace

ListExport::ListExport(DbContext& db, DatasetLookup datasets, Captions captions, ExportView view)
    : db_(db), datasets_(std::move(datasets)), captions_(std::move(captions)), view_(std::move(view)) {}

ListExport::Plan ListExport::planOf(const QString& panelId) {
    auto one = [](const char* dataset, int tab, const char* preset) {
        return Plan{{{QLatin1String(dataset), tab, QLatin1String(preset)}}, {}};
    };
    if (panelId == QLatin1String("FormHlavniKniha"))
        return one("ADOFormHlavniKniha", 1, "kelvarn_prijmy_a_vydaje.txt");
    if (panelId == QLatin1String("FormDPHvstup") || panelId == QLatin1String("FormDPHvystup"))
        return Plan{{{QStringLiteral("ADOFormDPHvstup"), 2, QStringLiteral("kelvarn_prijata_plneni.txt")},
                     {QStringLiteral("ADOFormDPHvystup"), 2, QStringLiteral("kelvarn_poskytnuta_plneni.txt")}},
                    {}};
    if (panelId == QLatin1String("FormFAV-seznam")) {
        Plan plan = one("ADOFormFAV", 3, "kelvarn_pohledavky_a_prodej.txt");
        plan.details.push_back({QStringLiteral("SELECT * FROM tbl_polozky"),
                                QStringLiteral("id_tbl_doklad, cislo_radku, id"), kItemColumns,
                                QStringLiteral("kelvarn_pohledavky_a_prodej_polozky.txt")});
        return plan;
    }
    if (panelId == QLatin1String("FormFAP-seznam"))
        return one("ADOFormFAP", 4, "kelvarn_zavazky_a_nakup.txt");
    if (panelId == QLatin1String("FormPPD-seznam"))
        return one("ADOFormPPD", 5, "kelvarn_ppd.txt");
    if (panelId == QLatin1String("FormVPD-seznam"))
        return one("ADOFormVPD", 6, "kelvarn_vpd.txt");
    if (panelId == QLatin1String("FormKnihaJizd"))
        return one("ADOFormKnihaJizd", 8, "kelvarn_kniha_jizd.txt");
    if (panelId == QLatin1String("FormZboziSeznam"))
        return one("ADOFormZbozi", 9, "kelvarn_zbozi.txt");
    if (panelId == QLatin1String("FormPartneriSeznam"))
        return one("ADOFormPartneri", 10, "kelvarn_obchodni_partneri.txt");
    if (panelId == QLatin1String("FormZakazkySeznam"))
        return one("ADOFormZakazky", 11, "kelvarn_zakazky.txt");
    if (panelId == QLatin1String("FormMajetek-seznam")) {
        Plan plan = one("ADOFormMajetek", 7, "kelvarn_majetek.txt");
        plan.details.push_back({QStringLiteral("SELECT * FROM tbl_odpisy"), QStringLiteral("id_tbl_majetek, id"),
                                kDepreciationColumns, QStringLiteral("kelvarn_odpisy.txt")});
        return plan;
    }
    return {};
}

ExportTable ListExport::listTable(Dataset& dataset, const QList<CaptionEntry>& captions) {
    QStringList header;
    std::vector<int> columns;
    for (const CaptionEntry& entry : captions) {
        // The item columns serve the filters; the item lines have a file of their own.
        if (entry.column.startsWith(kItemPrefix))
            continue;
        header.append(entry.caption);
        columns.push_back(columnOf(dataset, entry.column));
    }
    ExportTable table;
    table.setHeader(header, true);
    const int rows = dataset.recordCount();
    if (view_.startProgress)
        view_.startProgress(rows);
    for (int row = 0; row < rows; ++row) {
        table.addRow();
        for (const int column : columns)
            table.addField(dataset.textAt(row, column));
        if (row == 63)
            table.expectRows(rows);
        if (view_.advance)
            view_.advance();
    }
    return table;
}

ExportTable ListExport::detailTable(Dataset& rows, const std::vector<DetailColumn>& columns) {
    QStringList header;
    std::vector<int> indexes;
    for (const DetailColumn& c : columns) {
        header.append(QString::fromUtf8(c.caption));
        indexes.push_back(columnOf(rows, QLatin1String(c.column)));
    }
    ExportTable table;
    table.setHeader(header, false);
    const int count = rows.recordCount();
    if (view_.startProgress)
        view_.startProgress(count);
    for (int row = 0; row < count; ++row) {
        table.addRow();
        for (const int column : indexes)
            table.addField(rows.textAt(row, column));
        if (row == 63)
            table.expectRows(count);
        if (view_.advance)
            view_.advance();
    }
    return table;
}

bool ListExport::offer(const QString& presetName, const ExportTable& table, const QString& separator) {
    const QString path = db_.prompts().saveFileName(QStringLiteral("Export do souboru (uložit jako...)"), presetName,
                                                    export_file::saveFilters(), QStringLiteral("txt"));
    if (path.isEmpty())
        return false;
    const QByteArray bytes = export_file::formatOfPath(path) == export_file::Format::Csv
                                 ? table.toCsv(export_file::csvSeparator(separator))
                                 : table.toText(separator);
    export_file::writeAtomically(path, bytes);
    return true;
}

bool ListExport::run(const QString& panelId) {
    const Plan plan = planOf(panelId);
    if (plan.isEmpty())
        return false;
    QString separator;
    if (!text_export::askSeparator(db_.prompts(), separator))
        return false;

    const QString savedStatus = view_.statusText ? view_.statusText() : QString();
    if (view_.setStatusText)
        view_.setStatusText(text_export::kStatusExporting);
    if (view_.startProgress)
        view_.startProgress(0);
    bool written = false;
    try {
        for (const ListFile& list : plan.lists) {
            Dataset* dataset = datasets_ ? datasets_(list.dataset) : nullptr;
            if (!dataset)
                throw DbError(QStringLiteral("%1: seznam není k dispozici.").arg(list.dataset));
            if (!dataset->isActive())
                dataset->open();
            const ExportTable table = listTable(*dataset, captions_ ? captions_(list.captionTab) : QList<CaptionEntry>());
            written = offer(list.presetName, table, separator) || written;
        }
        for (const DetailFile& detail : plan.details) {
            Dataset rows(db_.session(), QStringLiteral("ADOQueryUni"));
            rows.setReadOnly(true);
            rows.setSql(db_.composeStatement(detail.statement, {}, {}, detail.orderBy));
            rows.open();
            const ExportTable table = detailTable(rows, detail.columns);
            written = offer(detail.presetName, table, separator) || written;
        }
    } catch (const export_file::WriteError& e) {
        showMessageCode(db_.prompts(), db_.state(), 22, e.text());
    } catch (const DbError& e) {
        showMessageCode(db_.prompts(), db_.state(), 22, e.text());
    } catch (const std::exception& e) {
        showMessageCode(db_.prompts(), db_.state(), 22, QString::fromUtf8(e.what()));
    }
    if (view_.hideProgress)
        view_.hideProgress();
    if (view_.setStatusText)
        view_.setStatusText(savedStatus);
    return written;
}

} // namespace kelvarn
