#include "documents/document_defaults.h"

#include "core/app_state.h"
#include "core/prompts.h"
#include "db/dataset.h"
#include "documents/document_row.h"

#include <QDateTime>
#include <QStringList>

namespace kelvarn {

namespace {

QDateTime midnight(const QDate& date) {
    return QDateTime(date, QTime(0, 0));
}

// Own values go in only when there is something to copy; one that the document's
// column cannot hold is reported rather than cut.
class OwnValues {
  public:
    explicit OwnValues(Dataset& ds) : ds_(ds) {}

    void copy(const QString& column, const QString& value, const char* caption) {
        if (value.isEmpty())
            return;
        const int c = ds_.columnIndex(column);
        const int size = c >= 0 ? ds_.column(c).size : -1;
        if (size > 0 && value.size() > size) {
            left_ << QStringLiteral("%1 (pole pojme nejvýše %2 znaků)")
                         .arg(QString::fromUtf8(caption))
                         .arg(size);
            return;
        }
        ds_.setValue(column, value);
    }

    void report(Prompts& prompts) const {
        if (left_.isEmpty())
            return;
        prompts.message(
            QStringLiteral("Údaje podnikatele"),
            QStringLiteral("Některé údaje podnikatele se do dokladu nevejdou, a proto nebyly převzaty: ") +
                left_.join(QStringLiteral(", ")) + QStringLiteral(". Doplňte je prosím ručně."),
            MessageStyle::Warning);
    }

  private:
    Dataset& ds_;
    QStringList left_;
};

void fillOwnData(Dataset& ds, OwnValues& own, const DefaultsSource& src, bool withBankAccount) {
    ds.setValue(QStringLiteral("doklad_dsazba5"), src.state.vatReduced);
    ds.setValue(QStringLiteral("doklad_dsazba19"), src.state.vatBasic);
    own.copy(QStringLiteral("dod_nazev_firmy"), src.state.entrepreneurName, "Název");
    const EntrepreneurNow& e = src.entrepreneur;
    own.copy(QStringLiteral("dod_nazev_upresneni"), e.text(QStringLiteral("nazev_upresneni")),
             "Upřesněný název");
    own.copy(QStringLiteral("dod_ulice"), e.text(QStringLiteral("ulice")), "Ulice");
    own.copy(QStringLiteral("dod_mesto"), e.text(QStringLiteral("mesto")), "Obec");
    own.copy(QStringLiteral("dod_psc"), e.text(QStringLiteral("psc")), "PSČ");
    if (withBankAccount) {
        own.copy(QStringLiteral("dod_cislo_uctu_IBAN"), e.text(QStringLiteral("cislo_uctu_IBAN")), "IBAN");
        own.copy(QStringLiteral("dod_cislo_uctu"), e.text(QStringLiteral("cislo_uctu")), "Číslo účtu");
    }
    own.copy(QStringLiteral("mena"), e.text(QStringLiteral("mena")), "Měna");
    own.copy(QStringLiteral("dod_ic"), src.state.entrepreneurIco, "IČ");
    own.copy(QStringLiteral("dod_dic"), e.text(QStringLiteral("dic")), "DIČ");
}

void setDueDate(Dataset& ds, KindValues::Due due, int term) {
    if (due == KindValues::Due::Keep)
        return;
    const std::optional<QDate> issue = optionalDate(ds, QStringLiteral("datum_vystaveni"));
    if (!issue) {
        ds.setNull(QStringLiteral("datum_spatnosti"));
        return;
    }
    const QDate d = due == KindValues::Due::IssueDate ? *issue : issue->addDays(term);
    ds.setValue(QStringLiteral("datum_spatnosti"), midnight(d));
}

void setText(Dataset& ds, const QString& column, const QString& text) {
    if (text.isEmpty())
        ds.setNull(column);
    else
        ds.setValue(column, text);
}

} // namespace

void fillNewDocument(Dataset& ds, DocumentType type, const DefaultsSource& src) {
    const EntrepreneurNow& e = src.entrepreneur;
    OwnValues own(ds);
    fillOwnData(ds, own, src, type == DocumentType::Issued);
    ds.setValue(QStringLiteral("doklad_typ"), static_cast<int>(type));
    ds.setValue(QStringLiteral("doklad_vytisknut"), 0);

    switch (type) {
    case DocumentType::Issued:
        ds.setValue(QStringLiteral("datum_vystaveni"), midnight(src.today));
        ds.setValue(QStringLiteral("datum_spatnosti"), midnight(src.today.addDays(e.paymentTerm())));
        own.copy(QStringLiteral("zpusob_uhrady"), e.text(QStringLiteral("zpusob_uhrady")), "Způsob úhrady");
        own.copy(QStringLiteral("podpis"), e.text(QStringLiteral("podpis")), "Doklad vystavil");
        ds.setValue(QStringLiteral("kurz"), 1);
        if (e.isVatPayer()) {
            ds.setValue(QStringLiteral("datum_zdanitelne_plneni"), midnight(src.today));
            ds.setValue(QStringLiteral("datum_uplatneni_plneni"), midnight(src.today));
            ds.setValue(QStringLiteral("podklad_dph"), QStringLiteral("Ano"));
        }
        ds.setValue(QStringLiteral("pohledavka_zavazek"), QStringLiteral("Ano"));
        break;
    case DocumentType::Received:
        ds.setValue(QStringLiteral("kurz"), 1);
        if (e.isVatPayer())
            ds.setValue(QStringLiteral("podklad_dph"), QStringLiteral("Ano"));
        ds.setValue(QStringLiteral("pohledavka_zavazek"), QStringLiteral("Ano"));
        break;
    case DocumentType::Receipt:
    case DocumentType::Expense:
        ds.setValue(QStringLiteral("kurz"), 1);
        ds.setValue(QStringLiteral("datum_vystaveni"), midnight(src.today));
        own.copy(QStringLiteral("podpis"), e.text(QStringLiteral("podpis")), "Pokladník");
        break;
    }
    own.report(src.prompts);
}

bool applyKind(Dataset& ds, DocumentType type, int index, const DefaultsSource& src) {
    if (ds.state() != Dataset::State::Insert)
        return false;
    if (type != DocumentType::Issued && type != DocumentType::Received)
        return false;
    const EntrepreneurNow& e = src.entrepreneur;
    const KindValues v = kindValues(type, index, e.isVatPayer(), e.text(QStringLiteral("zpusob_uhrady")));
    setText(ds, QStringLiteral("podklad_dph"), v.vatBasis);
    setDueDate(ds, v.due, e.paymentTerm());
    setText(ds, QStringLiteral("zpusob_uhrady"), v.paymentMethod);
    setText(ds, QStringLiteral("pohledavka_zavazek"), v.receivable);
    return true;
}

} // namespace kelvarn
