#pragma once

#include "registers/register_hooks.h"

namespace kelvarn {

class Dataset;
class DbContext;

// Rules of the module "Majetek": the assets (tbl_majetek) and, as their detail,
// the depreciation rows of the current asset (tbl_odpisy, ordered by year). Binds
// `depreciation` to `assets` and installs the events of both.
void installAssetRules(Dataset& assets, Dataset& depreciation, DbContext& db,
                       const RegisterHooks& hooks = {});

// Entering the depreciation grid or the calculation memo: the asset's pending
// change is written first. True when the rows may become the current panel.
bool postAssetBeforeDepreciationFocus(Dataset& assets);
// Leaving them: the current depreciation row is written first. True when the
// asset detail may become the current panel again.
bool postDepreciationBeforeAssetFocus(Dataset& depreciation);

} // namespace kelvarn
