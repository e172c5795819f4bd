#pragma once

namespace vx {
class Connection;
}

namespace sales {

// The highest receipt number stored in CLICOM, whatever the receipt type; 0 when there is none.
int highestReceiptNumber(vx::Connection &connection);

// Whether a receipt header of any type already carries the number.
bool receiptNumberTaken(vx::Connection &connection, int number);

} // namespace sales
