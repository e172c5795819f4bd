#include "sales/CustomerBlock.h"

#include "platform/db/Connection.h"

#include <QSqlQuery>

namespace sales {

namespace {

ReceiptCustomer firstCustomer(QSqlQuery query)
{
    if (!query.next() || query.value(0).toString().isEmpty())
        return ReceiptCustomer::finalConsumer();
    return {query.value(0).toString(), query.value(1).toString(), query.value(2).toString(), query.value(3).toString()};
}

const QString select =
    QStringLiteral("SELECT CLIAPE, CLIDIR, CLIIVA, CLICUI FROM CLIENTE WHERE %1 = ? ORDER BY CLIUNO");

} // namespace

ReceiptCustomer customerByName(vx::Connection &connection, const QString &name)
{
    return firstCustomer(connection.execute(select.arg(QStringLiteral("CLIAPE")), {name}));
}

ReceiptCustomer customerByCode(vx::Connection &connection, int code)
{
    return firstCustomer(connection.execute(select.arg(QStringLiteral("CLICOD")), {code}));
}

} // namespace sales
