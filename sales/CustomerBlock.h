#pragma once

#include "sales/TktFac.h"

namespace vx {
class Connection;
}

namespace sales {

// The receipt's customer block for a customer name: the CLIENTE row of that name, or the final
// consumer with blanks when the shop has none.
ReceiptCustomer customerByName(vx::Connection &connection, const QString &name);
// The same for a customer code (a stored receipt's COMCLI); a row without a name counts as none.
ReceiptCustomer customerByCode(vx::Connection &connection, int code);

} // namespace sales
