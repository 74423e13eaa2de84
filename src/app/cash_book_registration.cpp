#include "app/cash_book_registration.h"

#include "app/module_controller.h"
#include "app/module_view.h"
#include "cashbook/cash_book_entry.h"
#include "cashbook/document_pairing.h"
#include "cashbook/text_lookup.h"
#include "core/formatting.h"
#include "core/message_catalogue.h"
#include "db/dataset.h"
#include "db/db_context.h"

namespace kelvarn {

using namespace cash_book;

namespace {

const QString kCashBook = QStringLiteral("ADOFormHlavniKniha");
const QString kGrid = QStringLiteral("DBGridHlavniKniha");

QString amountCaption(const QString& column) {
    return column == QLatin1String("zbyva_uhradit") ? QStringLiteral("Zbývá uhradit")
                                                    : QStringLiteral("Celkem s DPH");
}

} // namespace

CashBookRegistration::CashBookRegistration(ModuleController& modules, ModuleView& view, DbContext& db,
                                           const Dataset& entrepreneur)
    : modules_(modules), view_(view), db_(db), entrepreneur_(entrepreneur) {}

bool CashBookRegistration::showCashBook() {
    modules_.setReturnTab(modules_.currentTab());
    if (switchTab_)
        switchTab_(kCashBookTab);
    else
        modules_.tabChanged(kCashBookTab);
    return modules_.currentTab() == kCashBookTab;
}

bool CashBookRegistration::isVatPayer() {
    const QString column = QStringLiteral("platce_dph");
    const QString value = entrepreneur_.isActive() && !entrepreneur_.isEmpty()
                              ? entrepreneur_.asString(column)
                              : db_.lookupValue(QStringLiteral("tbl_podnikatel"), column, {});
    return value.toLower() == QLatin1String("ano");
}

double CashBookRegistration::lookedUpAmount(const QString& column, const QString& id, bool* found) {
    double value = 0;
    // Without an id the lookup would read the whole table's single row, if any.
    const bool ok =
        !id.isEmpty() && parseNumber(db_.lookupValue(QStringLiteral("tbl_doklad"), column, id), value);
    if (found)
        *found = ok;
    return ok ? value : 0.0;
}

void CashBookRegistration::registerDocument(CashDirection direction) {
    if (!db_.state().loggedIn)
        return;
    if (!modules_.checkBrowseState({}))
        return;
    Dataset* book = modules_.dataset(kCashBook);
    if (!book)
        return;
    if (!book->isActive()) {
        if (modules_.hooks().openDataset)
            modules_.hooks().openDataset(*book);
        else
            book->open();
        if (modules_.hooks().refreshCashBookTotals)
            modules_.hooks().refreshCashBookTotals();
    }
    if (book->isEditing()) {
        db_.prompts().message(QStringLiteral("Chyba"),
                              QStringLiteral("Prosím zrušte editační režim v modulu \"příjmy a výdaje\".   "),
                              MessageStyle::Error);
        return;
    }

    // The document in front: its number, the number it pays (a voucher names its
    // invoice), its due date and id.
    const auto source = registrationSource(modules_.currentPanelId());
    const Dataset* document = source ? modules_.dataset(source->dataset) : nullptr;
    QString number;
    QString pairingNumber;
    QString id;
    QVariant date;
    if (document && document->isActive() && document->currentRow() >= 0) {
        number = document->asString(QStringLiteral("cislo_dokladu"));
        pairingNumber =
            source->invoicePrefix.isEmpty()
                ? number
                : invoiceNumberIn(document->asString(QStringLiteral("poznamka2")), source->invoicePrefix);
        id = document->asString(QStringLiteral("id"));
        date = document->value(QStringLiteral("datum_spatnosti"));
    }
    if (!isRegistrable(number)) {
        db_.prompts().message(
            QStringLiteral("Není podporováno"),
            QStringLiteral("Teto typ dokladu musíte do příjmů a výdajů zaevidovat ručně.   "),
            MessageStyle::Info);
        return;
    }

    const auto registered = rowsWithText(db_, kTable, QStringLiteral("id, doklad"), kVoucher, number);
    if (!registered.empty()) {
        db_.prompts().message(QStringLiteral("Chyba"),
                              QStringLiteral("Doklad ") + number +
                                  QStringLiteral(" již je v příjmech a výdajích zaevidován.   "),
                              MessageStyle::Error);
        const QString rowId = textOfValue(registered.front().value(0));
        if (showCashBook() && !rowId.isEmpty())
            book->locate(QStringLiteral("id"), rowId);
        return;
    }

    bool known = false;
    const double amount = lookedUpAmount(source->amountColumn, id, &known);
    if (!known) {
        // Nothing could be filled in; an empty row would only invite a wrong entry.
        db_.prompts().message(QStringLiteral("Chybí částka"),
                              QStringLiteral("Doklad ") + number +
                                  QStringLiteral(" nemá vyplněnou částku \"") +
                                  amountCaption(source->amountColumn) +
                                  QStringLiteral("\", proto jej nelze zaevidovat do příjmů a výdajů.   "),
                              MessageStyle::Warning);
        return;
    }

    if (!showCashBook())
        return;
    const QString pairedId = pairingNumber.isEmpty() ? QString() : documentIdByNumber(db_, pairingNumber);
    double gross = 0;
    double net = 0;
    double vat = 0;
    if (!pairedId.isEmpty()) {
        gross = lookedUpAmount(QStringLiteral("celkem_doklad_s_dph"), pairedId);
        net = lookedUpAmount(QStringLiteral("celkem_doklad"), pairedId);
        vat = lookedUpAmount(QStringLiteral("celkem_doklad_dph"), pairedId);
    }

    modules_.newRecord(true);
    if (book->state() != Dataset::State::Insert)
        return;
    // A document without a due date keeps the new row's own date (today).
    if (!date.isNull())
        book->setValue(kDate, date);
    if (!pairingNumber.isEmpty())
        book->setValue(kDocumentNumber, pairingNumber);
    book->setValue(kVoucher, number);
    book->setValue(kDescription, registrationDescription(number));

    const bool payer = isVatPayer();
    const RegisteredAmounts amounts = registeredAmounts(payer, !pairedId.isEmpty(), amount, gross, net, vat);
    const bool income = direction == CashDirection::Income;
    book->setValue(income ? kIncomeTaxable : kExpenseTaxable, amounts.taxable);
    book->setValue(income ? kIncomeNonTaxable : kExpenseNonTaxable, amounts.nonTaxable);
    if (amounts.splitByHand)
        showMessageCode(db_.prompts(), db_.state(), 23);
    view_.setFocus(FocusTarget::gridColumn(kGrid, kDescription));
}

} // namespace kelvarn
