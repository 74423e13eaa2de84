#include "documents/document_kinds.h"

namespace kelvarn {

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

const std::vector<DocumentKind>& kindsOf(DocumentType type) {
    static const std::vector<DocumentKind> issued = {
        {QStringLiteral("FAV"), u8("Faktura vydaná (FAV)"), 0, true},
        {QStringLiteral("PH"), u8("Prodejka za hotové (PH)"), 1, true},
        {QStringLiteral("ZLV"), u8("Poskytnutá záloha (ZLV)"), 2, false},
        {QStringLiteral("OP"), u8("Ostatní (OP)"), 3, true},
        {QStringLiteral("IDP"), u8("Interní (IDP)"), 4, true},
    };
    static const std::vector<DocumentKind> received = {
        {QStringLiteral("FAP"), u8("Faktura přijatá (FAP)"), 0, false},
        {QStringLiteral("NH"), u8("Nákup za hotové (NH)"), 1, false},
        {QStringLiteral("ZLP"), u8("Přijatá záloha (ZLP)"), 2, false},
        {QStringLiteral("OZ"), u8("Ostatní (OZ)"), 3, false},
        {QStringLiteral("IDZ"), u8("Interní (IDZ)"), 4, false},
    };
    static const std::vector<DocumentKind> none;
    switch (type) {
    case DocumentType::Issued:
        return issued;
    case DocumentType::Received:
        return received;
    default:
        return none;
    }
}

QStringList kindCaptions(DocumentType type) {
    QStringList captions;
    for (const DocumentKind& kind : kindsOf(type))
        captions << kind.caption;
    return captions;
}

std::optional<DocumentType> documentTypeOfPanel(const QString& panelId) {
    if (panelId.startsWith(QLatin1String("FormFAV-")))
        return DocumentType::Issued;
    if (panelId.startsWith(QLatin1String("FormFAP-")))
        return DocumentType::Received;
    if (panelId.startsWith(QLatin1String("FormPPD-")))
        return DocumentType::Receipt;
    if (panelId.startsWith(QLatin1String("FormVPD-")))
        return DocumentType::Expense;
    return std::nullopt;
}

int effectiveKindIndex(int index) {
    return index >= 0 && index <= 4 ? index : 4;
}

QString kindPrefix(DocumentType type, int index) {
    switch (type) {
    case DocumentType::Receipt:
        return QStringLiteral("PPD");
    case DocumentType::Expense:
        return QStringLiteral("VPD");
    default:
        return kindsOf(type)[effectiveKindIndex(index)].prefix;
    }
}

bool kindMakesVariableSymbol(DocumentType type, int index) {
    const auto& kinds = kindsOf(type);
    return !kinds.empty() && kinds[effectiveKindIndex(index)].variableSymbol;
}

KindValues kindValues(DocumentType type, int index, bool vatPayer, const QString& entrepreneurPayment) {
    KindValues v;
    v.vatBasis = vatPayer ? QStringLiteral("Ano") : QString();
    const QString cash = u8("hotově");
    if (index == 1) {
        v.paymentMethod = cash;
        v.receivable.clear();
        if (type == DocumentType::Issued)
            v.due = KindValues::Due::IssueDate;
        return v;
    }
    v.receivable = QStringLiteral("Ano");
    if (type == DocumentType::Issued) {
        v.paymentMethod = entrepreneurPayment;
        v.due = KindValues::Due::IssuePlusTerm;
    }
    // A deposit is no supply yet: it is not a basis for VAT.
    if (index == 2)
        v.vatBasis.clear();
    return v;
}

int numberYear(bool vatPayer, const std::optional<QDate>& taxableSupply, const std::optional<QDate>& issue,
               const QDate& today) {
    if (vatPayer && taxableSupply && taxableSupply->isValid())
        return taxableSupply->year();
    if (issue && issue->isValid())
        return issue->year();
    return today.year();
}

QString variableSymbol(int kindIndex, int year, const QString& serial) {
    return QString::number(effectiveKindIndex(kindIndex)) + QString::number(year) + serial;
}

} // namespace kelvarn
