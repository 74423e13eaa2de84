#pragma once

#include "../db/platform_fixture.h"
#include "exchange/bank_statement.h"

#include <QSqlQuery>

namespace kelvarn::test {

// A platform database whose entrepreneur keeps the account 19-2000145399/0800, with
// documents a statement may pay (id: number, symbol, type, remaining):
//   1 FAV-2025-00001 0250100001 issued 1210     2 FAV-2025-00002 777 issued 500
//   3 FAV-2025-00003 777 issued 600            4 FAP-2025-00001 5551 received 999.99
//   5 FAV-2025-00005 issued 330 (no symbol)     6 FAV-2025-00006 issued 330 (no symbol)
//   7 ZLV-2025-00001 0250100007 deposit 100      8 FAV-2025-00008 issued 2420 (no symbol)
class StatementTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        db->session->execute(QStringLiteral("UPDATE tbl_podnikatel SET cislo_uctu=?, cislo_uctu_IBAN=? WHERE id=1"),
                             {QStringLiteral("19-2000145399/0800"), QString()});
        document(1, "FAV-2025-00001", "0250100001", 1, 1210, 1000, 210);
        document(2, "FAV-2025-00002", "777", 1, 500);
        document(3, "FAV-2025-00003", "777", 1, 600);
        document(4, "FAP-2025-00001", "5551", 2, 999.99);
        document(5, "FAV-2025-00005", nullptr, 1, 330);
        document(6, "FAV-2025-00006", nullptr, 1, 330);
        document(7, "ZLV-2025-00001", "0250100007", 1, 100);
        document(8, "FAV-2025-00008", nullptr, 1, 2420, 2000, 420);
        // The documents above took their ids by hand; the sequence starts after them.
        if (db->state.usesSequences())
            db->session->execute(QStringLiteral("ALTER SEQUENCE tbl_doklad_seq_id RESTART WITH 100"));
    }

    void document(int id, const char* number, const char* symbol, int type, double remaining, double net = 0,
                  double vat = 0) {
        const double gross = net != 0 ? net + vat : remaining;
        db->session->execute(
            QStringLiteral("INSERT INTO tbl_doklad (id, cislo_dokladu, variabilni_symbol, doklad_typ, zbyva_uhradit, "
                           "celkem_doklad_s_dph, celkem_doklad, celkem_doklad_dph) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {id, QString::fromUtf8(number), symbol ? QVariant(QString::fromUtf8(symbol)) : QVariant(), type,
             remaining, gross, net != 0 ? net : gross, vat});
    }

    static StatementItem item(qint64 signedCents, const char* vs = "") {
        StatementItem i;
        i.amountCents = qAbs(signedCents);
        i.credit = signedCents >= 0;
        i.variableSymbol = QString::fromUtf8(vs);
        i.date = QDate(2025, 1, 31);
        i.counterName = QStringLiteral("Odběratel s.r.o.");
        return i;
    }

    static BankStatement statementOf(std::vector<StatementItem> items) {
        BankStatement st;
        st.format = QStringLiteral("GPC");
        st.accountDigits = QStringLiteral("0000192000145399");
        st.number = QStringLiteral("7");
        st.date = QDate(2025, 1, 31);
        st.items = std::move(items);
        for (const auto& i : st.items)
            st.closingCents += i.signedCents();
        return st;
    }

    double remaining(int id) {
        QSqlQuery q = db->session->query(QStringLiteral("SELECT zbyva_uhradit FROM tbl_doklad WHERE id=?"), {id});
        return q.next() ? q.value(0).toDouble() : -1;
    }
    int cashRows() {
        return scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_hlavnikniha")).toInt();
    }
};

} // namespace kelvarn::test
