#pragma once

#include "registers/register_hooks.h"

namespace kelvarn {

class Dataset;
class DbContext;

// Rules of the vehicle log (tbl_knihajizd). A new trip takes today's date and the
// default registration and driver of the entrepreneur record: from `entrepreneur`
// when it holds the row, else from the stored row.
void installVehicleLogRules(Dataset& trips, const Dataset& entrepreneur, DbContext& db,
                            const RegisterHooks& hooks = {});

} // namespace kelvarn
