#include "core/formatting.h"
#include "db/dataset_table_model.h"
#include "db/db_error.h"
#include "support/db/test_databases.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

using namespace kelvarn;
using namespace kelvarn::test;

namespace {

// What the user types into an amount (a float column) and a whole number (an integer
// column), through a detail form (the dataset's field) and a grid cell (the model).
class NumberEntry : public ::testing::Test {
  protected:
    void SetUp() override {
        LocaleConventions::setCurrent(LocaleConventions::czech());
        db = createTestDatabase(DbPlatform::Jet);
        ASSERT_TRUE(db);
        goods = std::make_unique<Dataset>(*db->session, QStringLiteral("ADOFormZbozi"));
        goods->setSql(QStringLiteral("SELECT * FROM tbl_zbozi"));
        goods->open();
        goods->append();
        model = std::make_unique<DatasetTableModel>(goods.get());
    }

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<Dataset> goods;
    std::unique_ptr<DatasetTableModel> model;
};

} // namespace

TEST_F(NumberEntry, FormsAndGridsReadTheSameAndRefuseAmbiguousDots) {
    const struct {
        const char* column;
        const char* typed;
        std::optional<double> stored;
        const char* hint; // part of the refusal
    } cases[] = {
        {"cena_jednotka", "1 500,50", 1500.5, nullptr},
        {"cena_jednotka", "1,5", 1.5, nullptr},
        {"cena_jednotka", "12.5", 12.5, nullptr},
        {"cena_jednotka", "1.500", std::nullopt, "Pište desetinnou čárku a tisíce oddělujte mezerou"},
        {"cena_jednotka", "1.234.567", std::nullopt, "např. 1 500 nebo 1 234,56"},
        {"zaruka", "1 500", 1500, nullptr},
        {"zaruka", "1.500", std::nullopt, "Tisíce oddělujte mezerou, např. 1 500"},
    };
    const std::function<QString(int, const QString&)> entries[] = {
        [&](int column, const QString& text) -> QString {
            try {
                goods->setValue(column, text);
                return {};
            } catch (const DbError& e) {
                return e.text();
            }
        },
        [&](int column, const QString& text) -> QString {
            model->setData(model->index(goods->currentRow(), column), text, Qt::EditRole);
            return model->lastError();
        },
    };
    for (const auto& entry : entries) {
        for (const auto& c : cases) {
            const int column = goods->columnIndex(QString::fromLatin1(c.column));
            ASSERT_GE(column, 0) << c.column;
            goods->setValue(column, QVariant());
            const QString refusal = entry(column, QString::fromUtf8(c.typed));
            if (c.stored) {
                EXPECT_TRUE(refusal.isEmpty()) << c.typed << ": " << refusal.toStdString();
                EXPECT_EQ(goods->asFloat(QString::fromLatin1(c.column)), *c.stored) << c.typed;
            } else {
                EXPECT_TRUE(refusal.contains(QString::fromUtf8(c.hint)))
                    << c.typed << ": " << refusal.toStdString();
                EXPECT_TRUE(goods->isNull(QString::fromLatin1(c.column))) << c.typed << " left nothing";
            }
        }
    }
}
