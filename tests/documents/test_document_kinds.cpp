#include "documents/document_kinds.h"

#include <gtest/gtest.h>

using namespace kelvarn;

TEST(DocumentKinds, SelectorsListTheKindsInOrder) {
    EXPECT_EQ(kindCaptions(DocumentType::Issued),
              (QStringList{QStringLiteral("Faktura vydaná (FAV)"), QStringLiteral("Prodejka za hotové (PH)"),
                           QStringLiteral("Poskytnutá záloha (ZLV)"), QStringLiteral("Ostatní (OP)"),
                           QStringLiteral("Interní (IDP)")}));
    EXPECT_EQ(kindCaptions(DocumentType::Received),
              (QStringList{QStringLiteral("Faktura přijatá (FAP)"), QStringLiteral("Nákup za hotové (NH)"),
                           QStringLiteral("Přijatá záloha (ZLP)"), QStringLiteral("Ostatní (OZ)"),
                           QStringLiteral("Interní (IDZ)")}));
    EXPECT_TRUE(kindCaptions(DocumentType::Receipt).isEmpty());
    EXPECT_TRUE(kindCaptions(DocumentType::Expense).isEmpty());
}

TEST(DocumentKinds, PanelsKnowTheirDocumentType) {
    const struct {
        const char* panel;
        std::optional<DocumentType> type;
    } cases[] = {
        {"FormFAV-seznam", DocumentType::Issued},  {"FormFAV-detail", DocumentType::Issued},
        {"FormFAV-polozky", DocumentType::Issued}, {"FormFAP-detail", DocumentType::Received},
        {"FormPPD-detail", DocumentType::Receipt}, {"FormVPD-seznam", DocumentType::Expense},
        {"FormHlavniKniha", std::nullopt},         {"FormZbozi-detail", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(documentTypeOfPanel(QLatin1String(c.panel)), c.type) << c.panel;
}

TEST(DocumentKinds, PrefixesAndVariableSymbolsBySelectorIndex) {
    const struct {
        DocumentType type;
        int index;
        const char* prefix;
        bool variableSymbol;
    } cases[] = {
        {DocumentType::Issued, 0, "FAV", true},     {DocumentType::Issued, 1, "PH", true},
        {DocumentType::Issued, 2, "ZLV", false},    {DocumentType::Issued, 3, "OP", true},
        {DocumentType::Issued, 4, "IDP", true},     {DocumentType::Issued, -1, "IDP", true},
        {DocumentType::Issued, 7, "IDP", true},     {DocumentType::Received, 0, "FAP", false},
        {DocumentType::Received, 1, "NH", false},   {DocumentType::Received, 2, "ZLP", false},
        {DocumentType::Received, 3, "OZ", false},   {DocumentType::Received, 4, "IDZ", false},
        {DocumentType::Received, 99, "IDZ", false}, {DocumentType::Receipt, 0, "PPD", false},
        {DocumentType::Expense, 3, "VPD", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kindPrefix(c.type, c.index), QLatin1String(c.prefix)) << c.prefix << c.index;
        EXPECT_EQ(kindMakesVariableSymbol(c.type, c.index), c.variableSymbol) << c.prefix;
    }
    EXPECT_EQ(variableSymbol(0, 2010, QStringLiteral("00042")), QStringLiteral("0201000042"));
    EXPECT_EQ(variableSymbol(1, 2010, QStringLiteral("00005")), QStringLiteral("1201000005"));
    EXPECT_EQ(variableSymbol(9, 2010, QStringLiteral("00005")), QStringLiteral("4201000005"));
}

TEST(DocumentKinds, ValuesAKindGivesADocumentBeingEntered) {
    using Due = KindValues::Due;
    const QString own = QStringLiteral("bank. převodem");
    const struct {
        DocumentType type;
        int index;
        bool payer;
        const char* vatBasis;
        const char* receivable;
        const char* payment;
        Due due;
    } cases[] = {
        {DocumentType::Issued, 0, true, "Ano", "Ano", "bank. převodem", Due::IssuePlusTerm},
        {DocumentType::Issued, 0, false, "", "Ano", "bank. převodem", Due::IssuePlusTerm},
        {DocumentType::Issued, 1, true, "Ano", "", "hotově", Due::IssueDate},
        {DocumentType::Issued, 2, true, "", "Ano", "bank. převodem", Due::IssuePlusTerm},
        {DocumentType::Issued, 3, true, "Ano", "Ano", "bank. převodem", Due::IssuePlusTerm},
        {DocumentType::Issued, 4, false, "", "Ano", "bank. převodem", Due::IssuePlusTerm},
        {DocumentType::Received, 0, true, "Ano", "Ano", "", Due::Keep},
        {DocumentType::Received, 1, true, "Ano", "", "hotově", Due::Keep},
        {DocumentType::Received, 2, true, "", "Ano", "", Due::Keep},
        {DocumentType::Received, 3, false, "", "Ano", "", Due::Keep},
    };
    for (const auto& c : cases) {
        const KindValues v = kindValues(c.type, c.index, c.payer, own);
        SCOPED_TRACE(kindPrefix(c.type, c.index).toStdString() + (c.payer ? " payer" : " non-payer"));
        EXPECT_EQ(v.vatBasis, QString::fromUtf8(c.vatBasis));
        EXPECT_EQ(v.receivable, QString::fromUtf8(c.receivable));
        EXPECT_EQ(v.paymentMethod, QString::fromUtf8(c.payment));
        EXPECT_EQ(v.due, c.due);
    }
    EXPECT_EQ(kindValues(DocumentType::Issued, 0, true, {}).paymentMethod, QString())
        << "an entrepreneur without a payment method leaves it empty";
}

TEST(DocumentKinds, YearOfTheNumber) {
    const QDate today(2012, 6, 1);
    const QDate supply(2010, 12, 31);
    const QDate issue(2011, 1, 3);
    EXPECT_EQ(numberYear(true, supply, issue, today), 2010) << "a payer's document by its taxable supply";
    EXPECT_EQ(numberYear(false, supply, issue, today), 2011) << "a non-payer's by its issue date";
    EXPECT_EQ(numberYear(true, std::nullopt, issue, today), 2011);
    EXPECT_EQ(numberYear(true, std::nullopt, std::nullopt, today), 2012);
    EXPECT_EQ(numberYear(false, supply, std::nullopt, today), 2012);
}
