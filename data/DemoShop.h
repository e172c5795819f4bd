#pragma once

#include "platform/db/Connection.h"

#include <QString>

namespace data {

// A sample clothing shop: operators of levels 1 and 2 beside the administrator, customers, brands,
// colours, sizes, about 200 articles with stock and four prices (own codes are valid EAN-13
// numbers, so their labels scan), cards, banks, own accounts and the ticket layout row.
void fillDemoShop(vx::Connection &connection);

// The ticket header lines the demo shop writes to MemTik.txt.
QString demoTicketHeader();

// The EAN-13 number for a 12-digit stem: the stem followed by its check digit.
QString ean13WithCheckDigit(const QString &stem);

}  // namespace data
