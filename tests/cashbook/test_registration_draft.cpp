#include "cashbook/registration_draft.h"

#include <gtest/gtest.h>

using namespace kelvarn;

TEST(RegistrationDraft, PanelsGiveTheirDocumentAmountAndInvoiceReference) {
    struct Case {
        const char* panel;
        const char* dataset; // "" when the panel shows no document
        const char* amount;
        const char* prefix;
    };
    const Case cases[] = {
        {"FormFAV-seznam", "ADOFormFAV", "zbyva_uhradit", ""},
        {"FormFAV-detail", "ADOFormFAV", "zbyva_uhradit", ""},
        {"FormFAV-polozky", "ADOFormFAV", "zbyva_uhradit", ""},
        {"FormFAP-seznam", "ADOFormFAP", "zbyva_uhradit", ""},
        {"FormFAP-detail", "ADOFormFAP", "zbyva_uhradit", ""},
        {"FormPPD-seznam", "ADOFormPPD", "celkem_doklad_s_dph", "FAV-"},
        {"FormPPD-detail", "ADOFormPPD", "celkem_doklad_s_dph", "FAV-"},
        {"FormVPD-seznam", "ADOFormVPD", "celkem_doklad_s_dph", "FAP-"},
        {"FormVPD-detail", "ADOFormVPD", "celkem_doklad_s_dph", "FAP-"},
        {"FormHlavniKniha", "", "", ""},
        {"FormZboziSeznam", "", "", ""},
        {"FormPartneri-detail", "", "", ""},
        {"FormDPHvystup", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.panel);
        const auto source = registrationSource(QLatin1String(c.panel));
        if (!*c.dataset) {
            EXPECT_FALSE(source);
            continue;
        }
        ASSERT_TRUE(source);
        EXPECT_EQ(source->dataset, QLatin1String(c.dataset));
        EXPECT_EQ(source->amountColumn, QLatin1String(c.amount));
        EXPECT_EQ(source->invoicePrefix, QLatin1String(c.prefix));
    }
}

TEST(RegistrationDraft, CashKindsAreRegisteredWithTheirDescription) {
    struct Case {
        const char* number;
        bool registrable;
        const char* description;
    };
    const Case cases[] = {
        {"PH-2010-00003", true, "Prodej zboží/služeb"},
        {"PPD-2010-00001", true, "Prodej zboží/služeb"},
        {"NH-2010-00001", true, "Nákup zboží/služeb"},
        {"VPD-2010-00001", true, "Nákup zboží/služeb"},
        {"ZLV-2010-00001", true, "Poskutnutí zálohy dodavateli na nákup zboží/služeb"},
        {"ZLP-2010-00001", true, "Přijetí zálohy od odběratele na nákup zboží/služeb"},
        {"ZLX-1", true, ""},
        {"FAV-2010-00001", false, ""},
        {"FAP-2010-00001", false, ""},
        {"OP-2010-00001", false, ""},
        {"OZ-2010-00001", false, ""},
        {"IDP-2010-00001", false, ""},
        {"IDZ-2010-00001", false, ""},
        {"ph-2010-00003", false, ""},
        {" PH-2010-00003", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(isRegistrable(QString::fromUtf8(c.number)), c.registrable);
        if (c.registrable) {
            EXPECT_EQ(registrationDescription(QString::fromUtf8(c.number)), QString::fromUtf8(c.description));
        }
    }
}
