#pragma once

#include "../registers/register_fixture.h"
#include "core/formatting.h"
#include "db/db_error.h"
#include "documents/document_rules.h"

#include <QDate>
#include <QSqlQuery>

#include <memory>

namespace kelvarn::test {

// The four document datasets and the item lines as the main window has them, with
// the document rules installed, over a fresh database of the parameter's platform.
// The entrepreneur is a VAT payer with rates 10 and 21, a 14-day payment term and
// cash rounding to halves; today is 31 January 2010.
class DocumentTest : public RegisterTest {
  protected:
    void SetUp() override {
        savedConventions_ = LocaleConventions::current();
        LocaleConventions::setCurrent(LocaleConventions::czech());
        RegisterTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        db->state.vatReduced = 10;
        db->state.vatBasic = 21;
        db->state.entrepreneurName = QStringLiteral("Truhlářství O'Brien");
        db->state.entrepreneurIco = QStringLiteral("12345678");
        db->session->execute(
            QStringLiteral(
                "UPDATE tbl_podnikatel SET nazev=?, ulice=?, mesto=?, psc=?, dic=?, mena=?, cislo_uctu=?, "
                "splatnost_fa=?, zpusob_uhrady=?, podpis=?, platce_dph=?, kod_haler=?, dph5=?, dph19=? "
                "WHERE id=1"),
            {db->state.entrepreneurName, QStringLiteral("Žižkova 12"), QStringLiteral("Český Krumlov"),
             QStringLiteral("381 01"), QStringLiteral("CZ12345678"), QStringLiteral("CZK"),
             QStringLiteral("123456789/0800"), 14, QStringLiteral("bank. převodem"),
             QStringLiteral("Jiří Šťastný"), QStringLiteral("Ano"), QStringLiteral("0.50"), 10.0, 21.0});
        entrepreneur = table(QStringLiteral("tbl_podnikatel"), QStringLiteral("ADOFormPodnikatel"));
        entrepreneur->open();

        issued = documents(1, QStringLiteral("ADOFormFAV"));
        received = documents(2, QStringLiteral("ADOFormFAP"));
        receipts = documents(3, QStringLiteral("ADOFormPPD"));
        expenses = documents(4, QStringLiteral("ADOFormVPD"));
        items = table(QStringLiteral("tbl_polozky"), QStringLiteral("ADOFormFAVpol"));
        items->setMaster(
            issued.get(), QStringLiteral("id_tbl_doklad"),
            {QStringLiteral("id_tbl_doklad"), QStringLiteral("cislo_radku"), QStringLiteral("id")});
        rules = std::make_unique<DocumentRules>(
            *ctx, *entrepreneur, DocumentDatasets{*issued, *items, *received, *receipts, *expenses}, hooks);
        rules->setToday([this] { return today; });
        for (Dataset* ds : {issued.get(), items.get(), received.get(), receipts.get(), expenses.get()})
            ds->open();
    }

    void TearDown() override { LocaleConventions::setCurrent(savedConventions_); }

    std::unique_ptr<Dataset> documents(int type, const QString& name) {
        auto ds = std::make_unique<Dataset>(*db->session, name);
        ds->setSql(QStringLiteral("SELECT * FROM tbl_doklad WHERE (doklad_typ=%1) ORDER BY cislo_dokladu")
                       .arg(type));
        return ds;
    }

    void setEntrepreneur(const QString& column, const QVariant& value) {
        db->session->execute(
            QStringLiteral("UPDATE tbl_podnikatel SET ") + column + QStringLiteral("=? WHERE id=1"), {value});
        entrepreneur->refresh();
    }

    // The first column of a statement with one bound value, as the driver gives it.
    QVariant stored(const QString& sql, const QVariant& bind = {}) {
        QSqlQuery q = db->session->query(sql, bind.isValid() ? QVariantList{bind} : QVariantList{});
        return q.next() ? q.value(0) : QVariant(QStringLiteral("<no row>"));
    }
    double storedAmount(const QString& column, const QVariant& id) {
        return stored(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM tbl_doklad WHERE id=?"), id)
            .toDouble();
    }
    int count(const QString& table) {
        return stored(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
    }
    QString seriesNext(const QString& key) {
        return stored(QStringLiteral("SELECT cislo FROM tbl_rady WHERE zkratka=?"), key).toString();
    }
    static QDateTime day(int y, int m, int d) { return QDateTime(QDate(y, m, d), QTime(0, 0)); }

    // A saved issued document at the given net at the basic rate.
    QVariant saveIssued(double basicNet = 100) {
        issued->append();
        issued->setValue(QStringLiteral("celkem_bez_dph_19"), basicNet);
        EXPECT_TRUE(issued->post());
        return issued->value(QStringLiteral("id"));
    }

    QDate today{2010, 1, 31};
    std::unique_ptr<Dataset> entrepreneur, issued, items, received, receipts, expenses;
    std::unique_ptr<DocumentRules> rules;

  private:
    LocaleConventions savedConventions_;
};

} // namespace kelvarn::test
