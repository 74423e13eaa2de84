#pragma once

#include "core/app_state.h"
#include "core/prompts.h"

#include <QString>

namespace kelvarn {

struct CatalogueEntry {
    QString caption;
    QString text;
    MessageStyle style = MessageStyle::Info;
};

// The numbered user messages. Returns false for a code the catalogue lacks.
bool catalogueEntry(int code, const QString& argument, const AppState& state, CatalogueEntry& out);

// Shows message `code`; for question styles returns the pressed button. A code not
// in the catalogue shows nothing and answers Answer::None.
Answer showMessageCode(Prompts& prompts, const AppState& state, int code, const QString& argument = {});

} // namespace kelvarn
