#include "sales/ReceiptNumbers.h"

#include "platform/db/Connection.h"

#include <cmath>

namespace sales {

int highestReceiptNumber(vx::Connection &connection)
{
    const QVariant highest = connection.scalar(QStringLiteral("SELECT MAX(COMNRO) FROM CLICOM"));
    return highest.isNull() ? 0 : int(std::llround(highest.toDouble()));
}

bool receiptNumberTaken(vx::Connection &connection, int number)
{
    return connection.scalar(QStringLiteral("SELECT COUNT(*) FROM CLICOM WHERE COMNRO = ?"), {double(number)})
               .toLongLong() > 0;
}

} // namespace sales
