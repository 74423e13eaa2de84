#include "app/print_controller.h"

#include "app/module_controller.h"
#include "db/dataset.h"
#include "db/db_context.h"
#include "db/db_error.h"
#include "documents/document_row.h"
#include "lists/panel_queries.h"
#include "output/report_engine.h"
#include "output/report_error.h"

#include <exception>

namespace kelvarn {

using namespace print_datasets;

namespace {

const QString kDocumentList = QStringLiteral("Seznam_dokladu");
const QString kStatusPrinting = QStringLiteral("Tisk...");

// The preselected form of an issued document: by its kind, payment and delivery address.
QString issuedForm(const IssuedDocument& d) {
    if (d.number.contains(QLatin1String("FAV"))) {
        const bool cash = d.paymentMethod.toUpper().contains(QLatin1String("HOTOV"));
        const bool delivery = !d.deliveryName.isEmpty();
        if (delivery)
            return cash ? QStringLiteral("Faktura_vydana_dodaci_adresa_hotovostni")
                        : QStringLiteral("Faktura_vydana_dodaci_adresa_bezhotovostni");
        return cash ? QStringLiteral("Faktura_vydana_hotovostni")
                    : QStringLiteral("Faktura_vydana_bezhotovostni");
    }
    if (d.number.contains(QLatin1String("PH")))
        return QStringLiteral("Prodejka_za_hotove");
    return {}; // ZLV, OP, IDP
}

} // namespace

PrintController::PrintController(ModuleController& modules, DbContext& db, PanelQueries& queries,
                                 Dataset& entrepreneur, Hooks hooks)
    : modules_(modules), db_(db), queries_(queries), entrepreneur_(entrepreneur), hooks_(std::move(hooks)) {
    for (const QString& name : {kDocument, kItems, kDeposits, kDepreciation, kOrder}) {
        auto dataset = std::make_unique<Dataset>(db_.session(), name);
        // Reports only read; nothing of a print dataset is ever written.
        dataset->setReadOnly(true);
        printDatasets_.emplace(name, std::move(dataset));
    }
}

PrintController::~PrintController() {
    // The engine must not keep serving datasets that are gone.
    if (engine_)
        for (int i = 1; i <= ReportEngine::kConnectionCount; ++i)
            engine_->bindConnection(i, nullptr);
}

Dataset* PrintController::printDataset(const QString& name) const {
    const auto it = printDatasets_.find(name);
    return it == printDatasets_.end() ? nullptr : it->second.get();
}

Dataset& PrintController::ds(const QString& name) const {
    if (Dataset* d = printDataset(name))
        return *d;
    if (Dataset* d = modules_.dataset(name))
        return *d;
    throw DbError(QStringLiteral("Datová sada „%1“ neexistuje.").arg(name));
}

void PrintController::setEngine(ReportEngine* engine) {
    engine_ = engine;
    if (!engine_)
        return;
    const QString bound[ReportEngine::kConnectionCount] = {kDocument,
                                                           kItems,
                                                           QString(),
                                                           kDeposits,
                                                           QStringLiteral("ADOFormKnihaJizd"),
                                                           QStringLiteral("ADOFormHlavniKniha"),
                                                           QStringLiteral("ADOFormMajetek"),
                                                           kDepreciation,
                                                           QStringLiteral("ADOFormDPHvstup"),
                                                           QStringLiteral("ADOFormDPHvystup"),
                                                           QStringLiteral("ADOFormZbozi"),
                                                           QStringLiteral("ADOFormPartneri"),
                                                           QStringLiteral("ADOFormZakazky"),
                                                           kOrder};
    for (int i = 0; i < ReportEngine::kConnectionCount; ++i) {
        Dataset* dataset = i == 2 ? &entrepreneur_ : printDataset(bound[i]);
        if (!dataset)
            dataset = modules_.dataset(bound[i]);
        engine_->bindConnection(i + 1, dataset);
    }
}

PrintFamily PrintController::familyFor(const QString& panelId, const IssuedDocument& current, bool vatPayer) {
    using Data = PrintFamily::Data;
    auto document = [](const char* prefix, const QString& preselected, const char* dataset, const char* list,
                       bool issued) {
        return PrintFamily{QLatin1String(prefix),  preselected,         Data::Document,
                           QLatin1String(dataset), QLatin1String(list), issued};
    };
    auto list = [](const char* prefix, const char* preselected, Data data = Data::List) {
        return PrintFamily{QLatin1String(prefix), QLatin1String(preselected), data, {}, {}, false};
    };
    const QString& p = panelId;
    if (p == QLatin1String("FormFAV-detail") || p == QLatin1String("FormFAV-polozky"))
        return document(vatPayer ? "M3_platce_DPH_" : "M3_neplatce_DPH_", issuedForm(current), "ADOFormFAV",
                        "FormFAV-seznam", true);
    if (p == QLatin1String("FormFAV-seznam"))
        return document("Mx_", kDocumentList, "ADOFormFAV", "FormFAV-seznam", true);
    if (p == QLatin1String("FormFAP-detail"))
        return document("M4_", QStringLiteral("Doklad_o_prijeti_zalohy"), "ADOFormFAP", "FormFAP-seznam",
                        false);
    if (p == QLatin1String("FormPPD-detail"))
        return document("M5_", QStringLiteral("Prijmovy_pokladni_doklad"), "ADOFormPPD", "FormPPD-seznam",
                        false);
    if (p == QLatin1String("FormVPD-detail"))
        return document("M6_", QStringLiteral("Vydajovy_pokladni_doklad"), "ADOFormVPD", "FormVPD-seznam",
                        false);
    if (p == QLatin1String("FormFAP-seznam"))
        return document("Mx_", kDocumentList, "ADOFormFAP", "FormFAP-seznam", false);
    if (p == QLatin1String("FormPPD-seznam"))
        return document("Mx_", kDocumentList, "ADOFormPPD", "FormPPD-seznam", false);
    if (p == QLatin1String("FormVPD-seznam"))
        return document("Mx_", kDocumentList, "ADOFormVPD", "FormVPD-seznam", false);
    if (p == QLatin1String("FormHlavniKniha"))
        return list("M1_", "Prijmy_a_Vydaje");
    if (p == QLatin1String("FormDPHvstup"))
        return list("M2_", "Prijata_plneni");
    if (p == QLatin1String("FormDPHvystup"))
        return list("M2_", "Uskutecnena_plneni");
    if (p == QLatin1String("FormMajetek-seznam"))
        return list("M7_", "Seznam_majetku", Data::Assets);
    if (p == QLatin1String("FormKnihaJizd"))
        return list("M8_", "Kniha_jizd");
    if (p == QLatin1String("FormZboziSeznam"))
        return list("M9_", "");
    if (p == QLatin1String("FormPartneriSeznam"))
        return list("M10_", "");
    if (p == QLatin1String("FormZakazkySeznam") || p == QLatin1String("FormZakazky-detail"))
        return list("M11_", "Zakazka", Data::Order);
    return {};
}

PrintFamily PrintController::familyOf(const QString& panelId) const {
    IssuedDocument current;
    if (panelId == QLatin1String("FormFAV-detail") || panelId == QLatin1String("FormFAV-polozky")) {
        const Dataset* issued = modules_.dataset(QStringLiteral("ADOFormFAV"));
        if (issued && issued->isActive() && issued->currentRow() >= 0) {
            current.number = issued->asString(QStringLiteral("cislo_dokladu"));
            current.paymentMethod = issued->asString(QStringLiteral("zpusob_uhrady"));
            current.deliveryName = issued->asString(QStringLiteral("odb_dodani_nazev"));
        }
    }
    return familyFor(panelId, current, EntrepreneurNow(entrepreneur_).isVatPayer());
}

QStringList PrintController::choices(const QStringList& reportNames, const QString& prefix) {
    QStringList result;
    if (prefix.isEmpty())
        return result;
    for (const QString& name : reportNames)
        if (name.startsWith(prefix))
            result << name.mid(prefix.size());
    return result;
}

int PrintController::preselectedIndex(const QStringList& choices, const QString& preselected) {
    for (int i = 0; i < choices.size(); ++i)
        if (choices[i].startsWith(preselected))
            return i;
    return -1;
}

void PrintController::print(PrintTrigger trigger) {
    try {
        if (!modules_.checkBrowseState({}))
            return;
        modules_.updateStatusBar();
        if (hooks_.statusText)
            hooks_.statusText(kStatusPrinting);
        const QString panel = modules_.currentPanelId();
        const PrintFamily family = familyOf(panel);
        if (family.prefix.isEmpty() || !engine_) {
            modules_.updateStatusBar();
            return;
        }
        run(family);
    } catch (const ReportError& e) {
        reportError(trigger, e.text());
    } catch (const DbError& e) {
        reportError(trigger, e.text());
    } catch (const std::exception& e) {
        reportError(trigger, QString::fromLocal8Bit(e.what()));
    }
}

void PrintController::run(const PrintFamily& family) {
    using Data = PrintFamily::Data;
    if (family.data != Data::Document) {
        engine_->setParameter(QStringLiteral("filtr_jmeno"), modules_.printFilterCaption());
        engine_->setParameter(QStringLiteral("filtr_definice"), modules_.printFilterText());
    }
    if (family.data == Data::Assets) {
        Dataset& depreciation = ds(kDepreciation);
        depreciation.close();
        depreciation.setSql({});
    }

    const QStringList offered = choices(engine_->reportNames(), family.prefix);
    const int index = db_.prompts().chooseReport(offered, preselectedIndex(offered, family.preselected));
    if (index < 0 || index >= offered.size()) {
        modules_.updateStatusBar();
        return;
    }
    const QString chosen = offered[index];
    prepare(family, chosen);
    engine_->runReport(family.prefix + chosen);
    closeAfter(family);
    modules_.updateStatusBar();
}

void PrintController::setStatement(Dataset& dataset, const QString& select, const QString& where,
                                   const QString& orderBy) {
    dataset.setSql(db_.composeStatement(select, {}, where, orderBy));
}

QString PrintController::currentId(const QString& datasetName) const {
    const Dataset* d = modules_.dataset(datasetName);
    if (!d || !d->isActive() || d->currentRow() < 0)
        return QStringLiteral("0");
    const QString id = d->asString(QStringLiteral("id"));
    return id.isEmpty() ? QStringLiteral("0") : id;
}

void PrintController::prepare(const PrintFamily& family, const QString& chosen) {
    switch (family.data) {
    case PrintFamily::Data::None:
    case PrintFamily::Data::List:
        break;
    case PrintFamily::Data::Document:
        prepareDocument(family, chosen);
        break;
    case PrintFamily::Data::Assets: {
        Dataset& depreciation = ds(kDepreciation);
        setStatement(depreciation, QStringLiteral("SELECT * FROM tbl_odpisy"), {}, QStringLiteral("rok"));
        depreciation.open();
        break;
    }
    case PrintFamily::Data::Order: {
        Dataset& order = ds(kOrder);
        order.close();
        setStatement(order, QStringLiteral("SELECT * FROM tbl_zakazka"),
                     QStringLiteral("(id=") + currentId(QStringLiteral("ADOFormZakazky")) + u')', {});
        order.open();
        engine_->setParameter(QStringLiteral("zakazka_popis"),
                              order.isEmpty() ? QString() : order.asString(QStringLiteral("popis")));
        break;
    }
    }
}

void PrintController::prepareDocument(const PrintFamily& family, const QString& chosen) {
    Dataset& document = ds(kDocument);
    Dataset& items = ds(kItems);
    Dataset& deposits = ds(kDeposits);
    for (Dataset* d : {&document, &items, &deposits}) {
        d->close();
        d->setSql({});
    }
    const QString id = currentId(family.documentDataset);
    if (chosen == kDocumentList) {
        document.setSql(queries_.statement(family.documentList));
        engine_->setParameter(QStringLiteral("filtr_jmeno"), modules_.printFilterCaption());
        engine_->setParameter(QStringLiteral("filtr_definice"), modules_.printFilterText());
    } else {
        setStatement(document, QStringLiteral("SELECT * FROM tbl_doklad"), QStringLiteral("(id=") + id + u')',
                     {});
    }
    const QString itemSelect = QStringLiteral("SELECT * FROM tbl_polozky");
    const QString itemOrder = QStringLiteral("cislo_radku, id");
    if (family.issued) {
        setStatement(
            items, itemSelect,
            QStringLiteral("((kod_zbozi IS NULL OR UPPER(kod_zbozi) NOT LIKE '#ZAL%') AND id_tbl_doklad=") +
                id + u')',
            itemOrder);
        setStatement(deposits, itemSelect,
                     QStringLiteral("(UPPER(kod_zbozi) LIKE '#ZAL%' AND id_tbl_doklad=") + id + u')',
                     itemOrder);
    } else {
        const QString where = QStringLiteral("(id_tbl_doklad=") + id + u')';
        setStatement(items, itemSelect, where, itemOrder);
        setStatement(deposits, itemSelect, where, itemOrder);
    }
    document.open();
    items.open();
    deposits.open();
}

void PrintController::closeAfter(const PrintFamily& family) {
    switch (family.data) {
    case PrintFamily::Data::Document:
        ds(kDocument).close();
        ds(kItems).close();
        ds(kDeposits).close();
        break;
    case PrintFamily::Data::Assets:
        ds(kDepreciation).close();
        break;
    case PrintFamily::Data::Order:
        ds(kOrder).close();
        engine_->setParameter(QStringLiteral("zakazka_popis"), QStringLiteral("null"));
        break;
    default:
        break;
    }
}

void PrintController::loadProject() {
    if (!engine_)
        return;
    engine_->setProjectFile(db_.state().appDir + QStringLiteral("sestavy.rav"));
    engine_->openProject();
    if (hooks_.reportNamesChanged)
        hooks_.reportNamesChanged(engine_->reportNames());
    engine_->setParameter(QStringLiteral("p_logo01"), db_.state().appDir + QStringLiteral("logo.bmp"));
}

void PrintController::reportError(PrintTrigger trigger, const QString& text) {
    Prompts& prompts = db_.prompts();
    if (trigger == PrintTrigger::Button) {
        prompts.message(QStringLiteral("Chyba"), text, MessageStyle::Error);
    } else {
        prompts.message(QStringLiteral("Chyba tiskového systému"), text, MessageStyle::Error);
        // A project that failed is read again from its file, so the next print starts clean.
        try {
            if (engine_) {
                engine_->closeProject();
                loadProject();
            }
        } catch (const ReportError& e) {
            prompts.message(QStringLiteral("Chyba tiskového systému"), e.text(), MessageStyle::Error);
        }
    }
    // The status line does not keep saying "Tisk..." after the box.
    modules_.updateStatusBar();
}

} // namespace kelvarn
