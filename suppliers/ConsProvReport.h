#pragma once

#include "platform/db/DayRange.h"
#include "suppliers/ConsProvAccount.h"

#include <memory>

namespace vx {
class Dataset;
}
namespace vx::report {
class Report;
}

namespace suppliers {

// "CUENTA CORRIENTE DE PROVEEDOR" on A4: the supplier and the range in the heading, one line per
// line of the account as the window lists it (cancelled ones marked), and the totals under them.
std::unique_ptr<vx::report::Report> qrCuentaProv(vx::Dataset &lines, const QString &supplier, const vx::DayRange &days,
                                                 const AccountTotals &totals);

} // namespace suppliers
