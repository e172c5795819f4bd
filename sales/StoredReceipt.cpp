#include "sales/StoredReceipt.h"

#include "platform/db/Connection.h"

#include <QSqlQuery>

#include <cmath>

namespace sales {

double StoredReceipt::discount() const
{
    return std::round(subtotal * percentage) / 100.0;
}

std::optional<StoredReceipt> loadStoredReceipt(vx::Connection &connection, double number)
{
    QSqlQuery header = connection.execute(
        QStringLiteral("SELECT COMDIA, COMCLI, COMSUB, COMPOR, COMTOT FROM CLICOM WHERE COMNRO = ? ORDER BY COMUNO"),
        {number});
    if (!header.next())
        return std::nullopt;
    const vx::SqlDialect &dialect = connection.dialect();
    StoredReceipt out;
    out.number = number;
    out.date = dialect.fromDatabase(header.value(0), vx::FieldType::DateTime).toDateTime().date();
    out.customerCode = header.value(1).toInt();
    out.subtotal = header.value(2).toDouble();
    out.percentage = header.value(3).toDouble();
    out.total = header.value(4).toDouble();

    QSqlQuery lines = connection.execute(
        QStringLiteral("SELECT ITECOD, (SELECT ARTDES FROM STOCK WHERE ARTCMCT = ITECOD ORDER BY ARTUNO LIMIT 1), "
                       "ITECAN, ITEEDI, ITEPRE, ITEPOR FROM ITECLI WHERE ITECOM = ? ORDER BY ITEUNO"),
        {number});
    while (lines.next()) {
        StagedLine line;
        line.code = lines.value(0).toString();
        line.description = lines.value(1).toString();
        line.quantity = lines.value(2).toDouble();
        const double listPrice = lines.value(3).toDouble();
        // Lines print at list price; the discount shows in the summary.
        line.unitPrice = listPrice != 0 ? listPrice : lines.value(4).toDouble();
        line.amount = line.quantity * line.unitPrice;
        line.percentage = lines.value(5).toDouble();
        out.lines.append(line);
    }
    return out;
}

} // namespace sales
