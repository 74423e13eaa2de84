#include "core/formatting.h"
#include "db/dataset_table_model.h"
#include "db/db_error.h"
#include "platform_fixture.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QSqlQuery>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

// QAbstractItemModelTester reports broken model contracts as warnings of its
// category; collect them so a test can fail on them.
QStringList modelWarnings;
QtMessageHandler previousHandler = nullptr;

void collectModelWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (context.category && QByteArray(context.category).startsWith("qt.modeltest")) {
        modelWarnings << text;
        return;
    }
    if (previousHandler)
        previousHandler(type, context, text);
}

class DatasetModel : public PlatformTest {
  protected:
    void SetUp() override {
        LocaleConventions::setCurrent(LocaleConventions::czech());
        modelWarnings.clear();
        previousHandler = qInstallMessageHandler(collectModelWarnings);
        PlatformTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        const struct {
            const char* code;
            const char* text;
            QVariant price;
            QVariant quantity;
            QVariant created;
        } goods[] = {
            {"A", "Šroub M6", 2.5, 100, QDateTime(QDate(2024, 3, 1), QTime(0, 0))},
            {"B", "Vrtačka – příklepová", 1234567.891, QVariant(),
             QDateTime(QDate(2024, 12, 31), QTime(14, 5, 9))},
            {"C", "Matice", -0.75, 10, QVariant()},
        };
        for (const auto& g : goods)
            db->session->execute(
                QStringLiteral("INSERT INTO tbl_zbozi (kod_zbozi, popis, cena_jednotka, mnozstvi, "
                               "dateTS0) VALUES (?, ?, ?, ?, ?)"),
                {QString::fromUtf8(g.code), QString::fromUtf8(g.text), g.price, g.quantity, g.created});
        goods_ = dataset(QStringLiteral("SELECT * FROM tbl_zbozi ORDER BY kod_zbozi"),
                         QStringLiteral("ADOFormZbozi"));
        model = std::make_unique<DatasetTableModel>(goods_.get());
        tester = std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }

    void TearDown() override {
        tester.reset();
        model.reset();
        goods_.reset();
        qInstallMessageHandler(previousHandler);
        EXPECT_TRUE(modelWarnings.isEmpty()) << modelWarnings.join(QLatin1Char('\n')).toStdString();
        PlatformTest::TearDown();
    }

    int col(const char* name) const { return goods_->columnIndex(QString::fromLatin1(name)); }
    QModelIndex at(int row, const char* column) const { return model->index(row, col(column)); }
    QString text(int row, const char* column) const { return model->data(at(row, column)).toString(); }

    QString stored(const char* code, const char* column) {
        QSqlQuery q = db->session->query(
            QStringLiteral("SELECT %1 FROM tbl_zbozi WHERE kod_zbozi = ?").arg(QString::fromLatin1(column)),
            {QString::fromLatin1(code)});
        return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }

    std::unique_ptr<Dataset> goods_;
    std::unique_ptr<DatasetTableModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

INSTANTIATE_TEST_SUITE_P(Sqlite, DatasetModel, ::testing::Values(DbPlatform::Jet), platformName);

TEST_P(DatasetModel, CountsFollowTheDataset) {
    Dataset& ds = *goods_;
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(model->columnCount(), 0);
    EXPECT_FALSE(model->data(model->index(0, 0)).isValid());

    ds.open();
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->columnCount(), ds.columnCount());
    EXPECT_GT(model->columnCount(), 5);
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 0) << "a table has no children";

    ds.moveTo(1);
    ds.insert();
    EXPECT_EQ(model->rowCount(), 4);
    EXPECT_EQ(text(1, "kod_zbozi"), QString()) << "the new row sits before the current one";
    EXPECT_EQ(text(2, "kod_zbozi"), QStringLiteral("B"));
    ds.cancel();
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(text(1, "kod_zbozi"), QStringLiteral("B"));

    ds.deleteRecord();
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(text(1, "kod_zbozi"), QStringLiteral("C"));

    db->session->execute(QStringLiteral("INSERT INTO tbl_zbozi (kod_zbozi) VALUES ('D')"));
    ds.refresh();
    EXPECT_EQ(model->rowCount(), 3);

    ds.close();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(model->columnCount(), 0);
    ds.open();
    EXPECT_EQ(model->rowCount(), 3);
}

TEST_P(DatasetModel, DataIsThePlainTextOfTheLocale) {
    goods_->open();
    const struct {
        int row;
        const char* column;
        const char* text;
    } cells[] = {
        {0, "kod_zbozi", "A"},
        {0, "popis", "Šroub M6"},
        {0, "cena_jednotka", "2,5"},
        {0, "mnozstvi", "100"},
        {0, "dateTS0", "1.3.2024"},
        {1, "popis", "Vrtačka – příklepová"},
        {1, "cena_jednotka", "1234567,891"},
        {1, "mnozstvi", ""},
        {1, "dateTS0", "31.12.2024 14:05:09"},
        {2, "cena_jednotka", "-0,75"},
        {2, "dateTS0", ""},
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(std::string(c.column) + " of row " + std::to_string(c.row));
        const QModelIndex index = at(c.row, c.column);
        EXPECT_EQ(model->data(index, Qt::DisplayRole).toString(), QString::fromUtf8(c.text));
        EXPECT_EQ(model->data(index, Qt::EditRole).toString(), QString::fromUtf8(c.text));
    }
    const auto alignment = [&](const char* column) {
        return model->data(at(0, column), Qt::TextAlignmentRole);
    };
    EXPECT_EQ(alignment("cena_jednotka").toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(alignment("id").toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(alignment("popis").isValid());
    EXPECT_FALSE(model->data(at(0, "popis"), Qt::DecorationRole).isValid());

    LocaleConventions dotted = LocaleConventions::czech();
    dotted.decimalSeparator = QStringLiteral(".");
    dotted.shortDateFormat = QStringLiteral("dd/MM/yyyy");
    LocaleConventions::setCurrent(dotted);
    EXPECT_EQ(text(0, "cena_jednotka"), QStringLiteral("2.5"));
    EXPECT_EQ(text(0, "dateTS0"), QStringLiteral("01/03/2024"));
    LocaleConventions::setCurrent(LocaleConventions::czech());
}

TEST_P(DatasetModel, SetDataEditsTheCurrentRow) {
    Dataset& ds = *goods_;
    ds.open();
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    ASSERT_TRUE(model->setData(at(1, "popis"), QStringLiteral("Vrtačka aku")));
    EXPECT_EQ(ds.currentRow(), 1);
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    EXPECT_EQ(text(1, "popis"), QStringLiteral("Vrtačka aku")) << "the grid shows the edited value";
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_EQ(changed.last().at(0).toModelIndex().row(), 1);
    EXPECT_EQ(stored("B", "popis"), QStringLiteral("Vrtačka – příklepová")) << "not saved yet";

    for (const char* bad : {"abc", "1,2,3", "12 Kč"}) {
        EXPECT_FALSE(model->setData(at(1, "cena_jednotka"), QString::fromUtf8(bad))) << bad;
        EXPECT_TRUE(model->lastError().contains(QString::fromUtf8(bad))) << model->lastError().toStdString();
        EXPECT_EQ(ds.state(), Dataset::State::Edit) << "the row stays editable";
        EXPECT_EQ(text(1, "cena_jednotka"), QStringLiteral("1234567,891"));
    }
    EXPECT_FALSE(model->setData(at(1, "dateTS0"), QStringLiteral("30.2.2024")));
    EXPECT_FALSE(model->lastError().isEmpty());

    ASSERT_TRUE(model->setData(at(1, "cena_jednotka"), QStringLiteral(" 1 500,5 ")));
    EXPECT_TRUE(model->lastError().isEmpty()) << "a good value clears the last error";
    EXPECT_EQ(text(1, "cena_jednotka"), QStringLiteral("1500,5"));
    ASSERT_TRUE(model->setData(at(1, "dateTS0"), QStringLiteral("2.1.2025")));
    EXPECT_EQ(text(1, "dateTS0"), QStringLiteral("2.1.2025"));
    EXPECT_FALSE(model->setData(at(1, "popis"), QStringLiteral("x"), Qt::DisplayRole))
        << "only the edit role edits";

    ASSERT_TRUE(ds.post());
    EXPECT_EQ(stored("B", "popis"), QStringLiteral("Vrtačka aku"));
    EXPECT_DOUBLE_EQ(stored("B", "cena_jednotka").toDouble(), 1500.5);
}

TEST_P(DatasetModel, MovingToAnotherRowPostsThePreviousOne) {
    Dataset& ds = *goods_;
    bool allow = true;
    ds.beforePost = [&](Dataset&) { return allow; };
    ds.open();

    ASSERT_TRUE(model->setData(at(0, "popis"), QStringLiteral("první")));
    ASSERT_TRUE(model->setData(at(2, "popis"), QStringLiteral("třetí")));
    EXPECT_EQ(stored("A", "popis"), QStringLiteral("první"));
    EXPECT_EQ(ds.currentRow(), 2);
    EXPECT_EQ(ds.state(), Dataset::State::Edit);

    allow = false;
    EXPECT_FALSE(model->setData(at(1, "popis"), QStringLiteral("druhá")));
    EXPECT_EQ(ds.currentRow(), 2) << "a refused post keeps the grid on its row";
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    EXPECT_EQ(text(1, "popis"), QStringLiteral("Vrtačka – příklepová"));
    EXPECT_EQ(text(2, "popis"), QStringLiteral("třetí"));
    allow = true;

    // A new row typed into the grid is saved when the grid moves on.
    ds.append();
    const int fresh = ds.currentRow();
    ASSERT_TRUE(model->setData(at(fresh, "kod_zbozi"), QStringLiteral("D")));
    EXPECT_EQ(stored("C", "popis"), QStringLiteral("třetí")) << "append saved the row before";
    ASSERT_TRUE(model->setData(at(fresh, "cena_jednotka"), QStringLiteral("7")));
    ASSERT_TRUE(model->setData(at(0, "popis"), QStringLiteral("zase první")));
    EXPECT_EQ(stored("D", "cena_jednotka"), QStringLiteral("7"));
    EXPECT_FALSE(text(fresh, "id").isEmpty()) << "the saved row shows its id";

    // The database refuses the post: the error is kept and the grid stays.
    ASSERT_TRUE(model->setData(at(0, "id"), text(1, "id")));
    EXPECT_FALSE(model->setData(at(1, "popis"), QStringLiteral("druhá")));
    EXPECT_FALSE(model->lastError().isEmpty());
    EXPECT_EQ(ds.currentRow(), 0);
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    ds.cancel();
    EXPECT_EQ(stored("A", "popis"), QStringLiteral("první"));
}

TEST_P(DatasetModel, RefusedTextIsReported) {
    Dataset& ds = *goods_;
    ds.open();
    QSignalSpy refused(model.get(), &DatasetTableModel::refused);
    EXPECT_FALSE(model->setData(at(1, "popis"), QString(101, QChar(u'š'))));
    ASSERT_EQ(refused.count(), 1) << "the typed text does not vanish without a word";
    EXPECT_EQ(refused.first().at(0).toString(), model->lastError());
    EXPECT_TRUE(model->lastError().contains(QStringLiteral("nejvýše 100 znaků, zadáno 101")))
        << model->lastError().toStdString();
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    EXPECT_EQ(text(1, "popis"), QStringLiteral("Vrtačka – příklepová"));
    ASSERT_TRUE(model->setData(at(1, "popis"), QString(100, QChar(u'š'))));
    EXPECT_EQ(refused.count(), 1);
}

TEST_P(DatasetModel, HeaderTitles) {
    QSignalSpy headers(model.get(), &QAbstractItemModel::headerDataChanged);
    model->setTitles({QStringLiteral("POPIS")}, {QStringLiteral("Popis")}); // before the dataset opens
    goods_->open();
    const auto header = [&](const char* column) {
        return model->headerData(col(column), Qt::Horizontal).toString();
    };
    EXPECT_EQ(header("popis"), QStringLiteral("Popis"));
    EXPECT_EQ(header("kod_zbozi"), QStringLiteral("kod_zbozi"));

    headers.clear();
    model->setTitles({QStringLiteral("popis"), QStringLiteral("Cena_Jednotka"), QStringLiteral("neni"),
                      QStringLiteral("kod_zbozi")},
                     {QStringLiteral("Popis zboží"), QStringLiteral("Cena/MJ"), QStringLiteral("Nic")});
    EXPECT_EQ(headers.size(), 1);
    EXPECT_EQ(header("popis"), QStringLiteral("Popis zboží"));
    EXPECT_EQ(header("cena_jednotka"), QStringLiteral("Cena/MJ"));
    EXPECT_EQ(header("kod_zbozi"), QStringLiteral("kod_zbozi")) << "a column without a title shows its name";
    EXPECT_EQ(model->headerData(0, Qt::Vertical).toInt(), 1);
    EXPECT_EQ(model->headerData(2, Qt::Vertical).toInt(), 3);
    EXPECT_FALSE(model->headerData(model->columnCount(), Qt::Horizontal).isValid());
}

TEST_P(DatasetModel, ReadOnlyCellsCannotBeEdited) {
    Dataset& ds = *goods_;
    ds.open();
    EXPECT_TRUE(model->flags(at(0, "popis")) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(QModelIndex()) & Qt::ItemIsEditable);

    ds.setReadOnly(true);
    const Qt::ItemFlags flags = model->flags(at(0, "popis"));
    EXPECT_FALSE(flags & Qt::ItemIsEditable);
    EXPECT_TRUE(flags & Qt::ItemIsSelectable);
    EXPECT_TRUE(flags & Qt::ItemIsEnabled);
    EXPECT_FALSE(model->setData(at(0, "popis"), QStringLiteral("x")));
    EXPECT_EQ(ds.state(), Dataset::State::Browse);
    EXPECT_EQ(text(0, "popis"), QStringLiteral("Šroub M6"));
    EXPECT_EQ(stored("A", "popis"), QStringLiteral("Šroub M6"));
}

} // namespace
