#pragma once

#include "../db/platform_fixture.h"
#include "cashbook/cash_book_rules.h"
#include "db/db_error.h"
#include "db/database_session.h"

#include <QDate>
#include <QSqlQuery>

namespace kelvarn::test {

// A platform database with a few documents, the cash-book dataset and its rules.
//
// Documents (id: number, variable symbol, type, remaining amount):
//   1 FAV-2010-00001 0100001 issued 1000     2 FAP-2010-00001 5551 received 1000
//   3 ZLV-2010-00001         deposit 1000    4 PPD-2010-00001 receipt voucher 500
//   5 FAV-2010-00005 777 issued 50           6 FAV-2010-00006 777 issued 60
//   7 FAV-O'Brien            issued 100      8 FAV-2010-00008 issued 2000
class CashBookTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        document(1, "FAV-2010-00001", "0100001", 1, 1000);
        document(2, "FAP-2010-00001", "5551", 2, 1000);
        document(3, "ZLV-2010-00001", nullptr, 1, 1000);
        document(4, "PPD-2010-00001", nullptr, 3, 500);
        document(5, "FAV-2010-00005", "777", 1, 50);
        document(6, "FAV-2010-00006", "777", 1, 60);
        document(7, "FAV-O'Brien", nullptr, 1, 100);
        document(8, "FAV-2010-00008", nullptr, 1, 2000);
        hooks.refreshPanel = [this] { calls << QStringLiteral("refresh"); };
        hooks.updateStatusBar = [this] { calls << QStringLiteral("status"); };
        rules = std::make_unique<CashBookRules>(*ctx, hooks);
        book = std::make_unique<Dataset>(*db->session, QStringLiteral("ADOFormHlavniKniha"));
        book->setTable(QStringLiteral("tbl_hlavnikniha"));
        rules->install(*book);
        book->open();
    }

    void document(int id, const char* number, const char* symbol, int type, double remaining) {
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_doklad (id, cislo_dokladu, variabilni_symbol, doklad_typ, "
                           "zbyva_uhradit) VALUES (?, ?, ?, ?, ?)"),
            {id, QString::fromUtf8(number), symbol ? QVariant(QString::fromUtf8(symbol)) : QVariant(), type,
             remaining});
    }

    // A new row, not yet saved.
    void newRow(const QString& voucher, const QString& number, double income, double expense) {
        book->append();
        book->setValue(QStringLiteral("doklad"), voucher);
        if (!number.isNull())
            book->setValue(QStringLiteral("cislo_dokladu"), number);
        if (income != 0)
            book->setValue(QStringLiteral("prijem_danovy"), income);
        if (expense != 0)
            book->setValue(QStringLiteral("vydaj_danovy"), expense);
    }

    // A saved row paired with the document, the settlement accepted.
    void savedRow(const QString& number, double income, double expense = 0) {
        newRow(QStringLiteral("PPD-1"), number, income, expense);
        prompts.answers = {Answer::Yes};
        ASSERT_TRUE(book->post());
        prompts.shown.clear();
    }

    double remaining(int documentId) {
        QSqlQuery q = db->session->query(
            QStringLiteral("SELECT zbyva_uhradit FROM tbl_doklad WHERE id=%1").arg(documentId));
        return q.next() ? q.value(0).toDouble() : -1;
    }
    int storedRows() {
        return scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_hlavnikniha")).toInt();
    }
    QStringList settlementQuestions() const {
        QStringList texts;
        for (const auto& shown : prompts.shown)
            if (shown.caption == QStringLiteral("Úhrada dokladu"))
                texts << shown.text;
        return texts;
    }

    // Makes every INSERT, UPDATE or DELETE (event) of the table fail in the database.
    void refuse(const QString& table, const QString& event) {
        const QString name = QStringLiteral("refuse_") + table + u'_' + event.toLower();
        QStringList statements;
        switch (GetParam()) {
        case DbPlatform::MySql:
            statements << QStringLiteral(
                              "CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW SIGNAL SQLSTATE '45000' "
                              "SET MESSAGE_TEXT = 'zapis odmitnut'")
                              .arg(name, event, table);
            break;
        case DbPlatform::Firebird:
            if (!exceptionMade_)
                statements << QStringLiteral("CREATE EXCEPTION zapis_odmitnut 'zapis odmitnut'");
            exceptionMade_ = true;
            statements << QStringLiteral(
                              "CREATE TRIGGER %1 FOR %3 BEFORE %2 AS BEGIN EXCEPTION zapis_odmitnut; END")
                              .arg(name, event, table);
            break;
        default:
            statements << QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 BEGIN SELECT RAISE(ABORT, 'zapis "
                                         "odmitnut'); END")
                              .arg(name, event, table);
            break;
        }
        for (const QString& s : statements) {
            QSqlQuery q(db->session->database());
            ASSERT_TRUE(q.exec(s)) << s.toStdString();
        }
        refusals_ << name;
    }
    void allowAgain() {
        for (const QString& name : std::as_const(refusals_)) {
            QSqlQuery q(db->session->database());
            ASSERT_TRUE(q.exec(QStringLiteral("DROP TRIGGER ") + name));
        }
        refusals_.clear();
    }

    CashBookHooks hooks;
    QStringList calls;
    std::unique_ptr<CashBookRules> rules;
    std::unique_ptr<Dataset> book;

  private:
    QStringList refusals_;
    bool exceptionMade_ = false;
};

} // namespace kelvarn::test
