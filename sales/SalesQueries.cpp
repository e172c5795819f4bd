#include "sales/SalesQueries.h"

#include "platform/db/DayRange.h"
#include "platform/db/SqlConditionBuilder.h"

namespace sales {

namespace {

QString notCancelled(const char *mark, const QString &expression)
{
    return QStringLiteral("CASE WHEN %1 THEN 0 ELSE %2 END").arg(QLatin1String(mark), expression);
}

QStringList saleLineColumns()
{
    return {QStringLiteral("ITEFEC"), QStringLiteral("ITECOM"), QStringLiteral("ITECOD"), QStringLiteral("ARTDES"),
            QStringLiteral("ITECAN"), QStringLiteral("ITEPRE"), QStringLiteral("ITECAU"), QStringLiteral("ITEANU"),
            QStringLiteral("ITEUNO")};
}

}  // namespace

vx::SqlCondition receiptRangeCondition(const vx::SqlDialect &dialect, const vx::DayRange &days)
{
    vx::SqlConditionBuilder where(dialect);
    where.days(QStringLiteral("COMDIA"), days);
    where.add({QStringLiteral("COMTIP IS NULL OR COMTIP <> '11'"), {}});
    return where.build();
}

vx::QueryStatement receiptListStatement()
{
    vx::QueryStatement statement;
    statement.columns = {QStringLiteral("COMDIA"), QStringLiteral("COMNRO"), QStringLiteral("COMTOT"),
                         QStringLiteral("COMANU"), QStringLiteral("COMUNO")};
    statement.from = QStringLiteral("CLICOM");
    statement.order = {QStringLiteral("COMDIA"), QStringLiteral("COMNRO")};
    statement.rowKey = QStringLiteral("COMUNO");
    return statement;
}

QString receiptAmountNotCancelled()
{
    return notCancelled("COMANU", QStringLiteral("COALESCE(COMTOT, 0)"));
}

QString lineCostNotCancelled()
{
    return notCancelled("ITEANU", QStringLiteral("COALESCE(ITECAN, 0) * COALESCE(ITECAU, 0)"));
}

vx::QueryStatement saleLinesStatement()
{
    vx::QueryStatement statement;
    statement.columns = saleLineColumns();
    statement.from = QStringLiteral("ITECLI JOIN STOCK ON STOCK.ARTCMCT = ITECLI.ITECOD");
    statement.order = {QStringLiteral("ITECOM")};
    statement.rowKey = QStringLiteral("ITEUNO");
    return statement;
}

vx::QueryStatement saleLinesByCustomerStatement()
{
    vx::QueryStatement statement = saleLinesStatement();
    // Names by correlated look-ups: a line whose customer or operator is gone still lists.
    statement.columns << QStringLiteral("ITECLI") << QStringLiteral("ITEOPE")
                      << QStringLiteral("(SELECT MIN(CLIAPE) FROM CLIENTE WHERE CLICOD = ITECLI.ITECLI) AS CLIAPE")
                      << QStringLiteral("(SELECT MIN(OPEAPE) FROM OPERADOR WHERE OPECOD = ITECLI.ITEOPE) AS OPEAPE");
    statement.order = {QStringLiteral("ITEFEC")};
    return statement;
}

QStringList saleLineTotalsExpressions()
{
    return {notCancelled("ITEANU", QStringLiteral("COALESCE(ITECAN, 0)")),
            notCancelled("ITEANU", QStringLiteral("COALESCE(ITECAN, 0) * COALESCE(ITEPRE, 0)")),
            notCancelled("ITEANU", QStringLiteral("COALESCE(ITECAN, 0) * COALESCE(ITECAU, 0)"))};
}

}  // namespace sales
