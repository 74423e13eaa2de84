#include "cash_book_fixture.h"

#include <QDate>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

QString required(const char* caption) {
    return QStringLiteral("Hodnota v poli \"") + QString::fromUtf8(caption) +
           QStringLiteral("\" je povinná. Prosím vyplňte ji.    ");
}

QString notFound(const QString& typed) {
    return QStringLiteral("Nelze najít doklad s číslem \"") + typed +
           QStringLiteral("\", který měl být připárován.   ");
}

} // namespace

class CashBookRulesTest : public CashBookTest {};
KELVARN_ON_ALL_PLATFORMS(CashBookRulesTest);

TEST_P(CashBookRulesTest, NewRowIsDatedTodayAndRequiredFieldsStopTheWrite) {
    book->append();
    EXPECT_EQ(book->asDateTime(QStringLiteral("datum")), QDateTime(QDate::currentDate(), QTime(0, 0)));

    struct Case {
        const char* name;
        QVariant date;
        QString voucher;
        QString message; // "" when the row is written
    };
    const Case cases[] = {
        {"date cleared", QVariant(), QStringLiteral("PPD-1"), required("Datum")},
        {"voucher empty", QDateTime(QDate(2025, 3, 1), QTime(0, 0)), QString(), required("Doklad")},
        {"voucher blank", QDateTime(QDate(2025, 3, 1), QTime(0, 0)), QStringLiteral("   "),
         required("Doklad")},
        {"both empty: the date is asked first", QVariant(), QString(), required("Datum")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.shown.clear();
        book->setValue(QStringLiteral("datum"), c.date);
        book->setValue(QStringLiteral("doklad"), c.voucher);
        EXPECT_FALSE(book->post());
        ASSERT_EQ(prompts.shown.size(), 1);
        EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Povinné pole"));
        EXPECT_EQ(prompts.shown[0].text, c.message);
        EXPECT_EQ(book->state(), Dataset::State::Insert);
        EXPECT_EQ(storedRows(), 0);
    }
}

TEST_P(CashBookRulesTest, RefusedConfirmationWritesNothingAndAsksNothingElse) {
    db->state.saveWithoutPrompt = false;
    ctx->resetSkipConfirmation();
    newRow(QStringLiteral("PPD-1"), QStringLiteral("NOPE"), 400, 0);
    prompts.answers = {Answer::No};
    EXPECT_FALSE(book->post());
    EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Dotaz")});
    EXPECT_EQ(storedRows(), 0);
}

// The typed text pairs by number, else by variable symbol (which the number then
// replaces); anything else, or a symbol two documents share, is refused.
TEST_P(CashBookRulesTest, PairingByNumberOrVariableSymbol) {
    struct Case {
        QString typed;
        const char* pairedId; // nullptr: message 16, nothing written
        const char* number;   // cislo_dokladu after the write
    };
    const Case cases[] = {
        {QStringLiteral("FAV-2010-00001"), "1", "FAV-2010-00001"},
        {QStringLiteral("0100001"), "1", "FAV-2010-00001"},
        {QStringLiteral("5551"), "2", "FAP-2010-00001"},
        {QStringLiteral("ZLV-2010-00001"), "3", "ZLV-2010-00001"}, // any type pairs
        {QStringLiteral("FAV-O'Brien"), "7", "FAV-O'Brien"},
        {QStringLiteral("NOPE"), nullptr, nullptr},
        {QStringLiteral("777"), nullptr, nullptr},            // two documents
        {QStringLiteral("fav-2010-00001"), nullptr, nullptr}, // case counts on every server
        {QStringLiteral("FAV-2010-00001 "), nullptr, nullptr},
        {QStringLiteral("0100001 "), nullptr, nullptr},
        {QStringLiteral("O'Neil\\' --"), nullptr, nullptr},
        {QStringLiteral("12345678901234567"), nullptr, nullptr}, // longer than any symbol
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        prompts.shown.clear();
        const int before = storedRows();
        newRow(QStringLiteral("PPD-1"), c.typed, 1, 0);
        prompts.answers = {Answer::No};
        if (!c.pairedId) {
            EXPECT_FALSE(book->post());
            ASSERT_EQ(prompts.shown.size(), 1);
            EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Chyba v párovaném dokladu"));
            EXPECT_EQ(prompts.shown[0].text, notFound(c.typed));
            EXPECT_EQ(book->state(), Dataset::State::Insert);
            EXPECT_EQ(book->asString(QStringLiteral("cislo_dokladu")), c.typed);
            EXPECT_EQ(storedRows(), before);
            book->cancel();
            continue;
        }
        ASSERT_TRUE(book->post());
        EXPECT_EQ(book->asString(QStringLiteral("id_tbl_doklad")), QLatin1String(c.pairedId));
        EXPECT_EQ(book->asString(QStringLiteral("cislo_dokladu")), QString::fromUtf8(c.number));
        const QString id = book->asString(QStringLiteral("id"));
        EXPECT_EQ(
            scalar(*db->session, QStringLiteral("SELECT cislo_dokladu FROM tbl_hlavnikniha WHERE id=") + id),
            QString::fromUtf8(c.number));
    }
}

TEST_P(CashBookRulesTest, ClearingTheNumberUnpairsAndOffersToGiveThePaymentBack) {
    savedRow(QStringLiteral("FAV-2010-00001"), 400);
    ASSERT_DOUBLE_EQ(remaining(1), 600);
    for (const QVariant& cleared : {QVariant(QString()), QVariant(QStringLiteral("  "))}) {
        book->edit();
        book->setValue(QStringLiteral("cislo_dokladu"), cleared);
        prompts.answers = {Answer::No};
        ASSERT_TRUE(book->post());
        EXPECT_TRUE(book->isNull(QStringLiteral("id_tbl_doklad")));
        EXPECT_TRUE(book->asString(QStringLiteral("cislo_dokladu")).isEmpty());
    }
    // The first save offered the raise; the second had nothing paired any more.
    EXPECT_EQ(settlementQuestions().size(), 1);
    EXPECT_DOUBLE_EQ(remaining(1), 600);
}

TEST_P(CashBookRulesTest, AmountsAreRoundedToCentsAndEmptyOnesStoredAsZero) {
    newRow(QStringLiteral("PPD-1"), {}, 0, 0);
    book->setValue(QStringLiteral("prijem_danovy"), QStringLiteral("1234.5678"));
    book->setValue(QStringLiteral("prijem_nedanovy"), QStringLiteral("0,125"));
    book->setValue(QStringLiteral("vydaj_danovy"), QStringLiteral("1 234,565"));
    book->setValue(QStringLiteral("vydaj_7"), -2.675);
    // Letters are refused where they are typed; what was typed before stays.
    EXPECT_THROW(book->setValue(QStringLiteral("prijem_danovy"), QStringLiteral("12a")), DbError);
    EXPECT_THROW(book->setValue(QStringLiteral("vydaj_nedanovy"), QStringLiteral("sto")), DbError);
    ASSERT_TRUE(book->post());
    const QString id = book->asString(QStringLiteral("id"));
    QSqlQuery q = db->session->query(QStringLiteral("SELECT * FROM tbl_hlavnikniha WHERE id=") + id);
    ASSERT_TRUE(q.next());
    EXPECT_DOUBLE_EQ(q.value(QStringLiteral("prijem_danovy")).toDouble(), 1234.57);
    EXPECT_DOUBLE_EQ(q.value(QStringLiteral("prijem_nedanovy")).toDouble(), 0.12);
    EXPECT_DOUBLE_EQ(q.value(QStringLiteral("vydaj_danovy")).toDouble(), 1234.56);
    EXPECT_DOUBLE_EQ(q.value(QStringLiteral("vydaj_7")).toDouble(), -2.68);
    for (const char* column : {"vydaj_nedanovy", "prijem_6", "prijem_10", "vydaj_6", "vydaj_10"}) {
        SCOPED_TRACE(column);
        EXPECT_FALSE(q.value(QLatin1String(column)).isNull());
        EXPECT_DOUBLE_EQ(q.value(QLatin1String(column)).toDouble(), 0);
    }
    EXPECT_FALSE(q.value(QStringLiteral("dateTS0")).isNull());
    EXPECT_FALSE(q.value(QStringLiteral("dateTS1")).isNull());
    // Where the database does not generate ids, the row took the sequence's next one.
    if (GetParam() == DbPlatform::Firebird) {
        EXPECT_EQ(scalar(*db->session,
                         QStringLiteral("SELECT gen_id(tbl_hlavnikniha_seq_id, 0) FROM rdb$database")),
                  id);
    }
}

// What a save offers for the paired documents, and what Yes, No or Cancel leave.
TEST_P(CashBookRulesTest, SavingSettlesThePairedDocuments) {
    struct Case {
        const char* name;
        std::function<void()> change; // on a row saved paired with invoice 1 for income 400 (or none)
        bool startPaired;
        Answer answer;
        int questionLines; // 0: no question
        double invoice1;
        double other; // remaining of the other document of the case
        int otherId;
    };
    auto set = [this](const char* column, const QVariant& v) { book->setValue(QLatin1String(column), v); };
    const Case cases[] = {
        {"income on an issued invoice", [&] { newRow("PPD-1", "FAV-2010-00001", 400, 0); }, false,
         Answer::Yes, 1, 600, 1000, 2},
        {"expense on an issued invoice", [&] { newRow("PPD-1", "FAV-2010-00001", 0, 400); }, false,
         Answer::Yes, 1, 1400, 1000, 2},
        {"expense on a received invoice", [&] { newRow("VPD-1", "FAP-2010-00001", 0, 400); }, false,
         Answer::Yes, 1, 1000, 600, 2},
        {"declined", [&] { newRow("PPD-1", "FAV-2010-00001", 400, 0); }, false, Answer::No, 1, 1000, 1000, 2},
        {"cancelled", [&] { newRow("PPD-1", "FAV-2010-00001", 400, 0); }, false, Answer::Cancel, 1, 1000,
         1000, 2},
        {"deposit", [&] { newRow("PPD-1", "ZLV-2010-00001", 400, 0); }, false, Answer::Yes, 0, 1000, 1000, 3},
        {"voucher", [&] { newRow("PPD-1", "PPD-2010-00001", 400, 0); }, false, Answer::Yes, 0, 1000, 500, 4},
        {"amount changed",
         [&] {
             book->edit();
             set("prijem_danovy", 500);
         },
         true, Answer::Yes, 2, 500, 1000, 2},
        {"description changed",
         [&] {
             book->edit();
             set("popis", QString::fromUtf8("jiný popis"));
         },
         true, Answer::Yes, 2, 600, 1000, 2},
        {"moved to another invoice",
         [&] {
             book->edit();
             set("cislo_dokladu", "FAV-2010-00008");
         },
         true, Answer::Yes, 2, 1000, 1600, 8},
        {"moved, declined",
         [&] {
             book->edit();
             set("cislo_dokladu", "FAV-2010-00008");
         },
         true, Answer::No, 2, 600, 2000, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db->session->execute(
            QStringLiteral("UPDATE tbl_doklad SET zbyva_uhradit=1000 WHERE id IN (1, 2, 3)"));
        db->session->execute(QStringLiteral("UPDATE tbl_doklad SET zbyva_uhradit=2000 WHERE id=8"));
        if (c.startPaired)
            savedRow(QStringLiteral("FAV-2010-00001"), 400);
        prompts.shown.clear();
        c.change();
        prompts.answers = {c.answer};
        ASSERT_TRUE(book->post());
        const QStringList questions = settlementQuestions();
        if (c.questionLines == 0) {
            EXPECT_TRUE(questions.isEmpty());
        } else {
            ASSERT_EQ(questions.size(), 1);
            EXPECT_EQ(questions[0].count(QStringLiteral("- změna [Zbývá uhradit]")), c.questionLines);
            EXPECT_EQ(prompts.shown.last().defaultButton, Answer::No);
            EXPECT_EQ(prompts.shown.last().style, MessageStyle::Question);
        }
        EXPECT_DOUBLE_EQ(remaining(1), c.invoice1);
        EXPECT_DOUBLE_EQ(remaining(c.otherId), c.other);
        EXPECT_EQ(book->state(), Dataset::State::Browse);
    }
}

TEST_P(CashBookRulesTest, DeletingOffersTheRaiseAndDeletesWhateverTheAnswer) {
    for (Answer answer : {Answer::Yes, Answer::No}) {
        SCOPED_TRACE(answer == Answer::Yes ? "yes" : "no");
        db->session->execute(QStringLiteral("UPDATE tbl_doklad SET zbyva_uhradit=1000 WHERE id=2"));
        savedRow(QStringLiteral("FAP-2010-00001"), 0, 400);
        ASSERT_DOUBLE_EQ(remaining(2), 600);
        const QString id = book->asString(QStringLiteral("id"));
        prompts.answers = {answer};
        rules->settleAndDelete(QStringLiteral("2"), 0, 400, [&] {
            db->session->execute(QStringLiteral("DELETE FROM tbl_hlavnikniha WHERE (id=") + id + u')');
        });
        ASSERT_EQ(settlementQuestions().size(), 1);
        EXPECT_TRUE(settlementQuestions()[0].startsWith(QStringLiteral("Smazáním tohoto záznamu")));
        EXPECT_DOUBLE_EQ(remaining(2), answer == Answer::Yes ? 1000 : 600);
        EXPECT_EQ(scalar(*db->session, QStringLiteral("SELECT count(*) FROM tbl_hlavnikniha WHERE id=") + id),
                  QStringLiteral("0"));
        EXPECT_EQ(rules->settlementContext().mode, SettlementMode::Delete);
        book->refresh();
    }
}

// The paired document was deleted meanwhile: the row keeps its amounts, loses the
// pairing, and nothing asks about a document that is gone.
TEST_P(CashBookRulesTest, DocumentDeletedMeanwhileDropsThePairingQuietly) {
    savedRow(QStringLiteral("FAV-2010-00001"), 400);
    const QString id = book->asString(QStringLiteral("id"));
    db->session->execute(QStringLiteral("DELETE FROM tbl_doklad WHERE id=1"));

    book->edit();
    book->setValue(QStringLiteral("popis"), QStringLiteral("oprava"));
    ASSERT_TRUE(book->post());
    EXPECT_TRUE(book->isNull(QStringLiteral("id_tbl_doklad")));
    EXPECT_TRUE(book->isNull(QStringLiteral("cislo_dokladu")));
    EXPECT_DOUBLE_EQ(book->asFloat(QStringLiteral("prijem_danovy")), 400);
    EXPECT_TRUE(settlementQuestions().isEmpty());
    EXPECT_EQ(prompts.captions(), QStringList{QStringLiteral("Spárovaný doklad")});

    // Deleting a row whose document is gone asks nothing either.
    savedRow(QStringLiteral("FAV-2010-00005"), 10);
    const QString second = book->asString(QStringLiteral("id"));
    db->session->execute(QStringLiteral("DELETE FROM tbl_doklad WHERE id=5"));
    rules->settleAndDelete(QStringLiteral("5"), 10, 0, [&] {
        db->session->execute(QStringLiteral("DELETE FROM tbl_hlavnikniha WHERE (id=") + second + u')');
    });
    EXPECT_TRUE(settlementQuestions().isEmpty());
    EXPECT_EQ(storedRows(), 1);

    // A number typed anew that matches nothing is still an error.
    book->refresh();
    book->locate(QStringLiteral("id"), id);
    book->edit();
    book->setValue(QStringLiteral("cislo_dokladu"), QStringLiteral("FAV-2010-00001"));
    EXPECT_FALSE(book->post());
    EXPECT_EQ(prompts.shown.last().caption, QStringLiteral("Chyba v párovaném dokladu"));
}
