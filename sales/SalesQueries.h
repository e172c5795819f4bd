#pragma once

#include "platform/db/FilterExpression.h"
#include "platform/db/QueryStatement.h"

#include <QStringList>

namespace vx {
class SqlDialect;
struct DayRange;
}  // namespace vx

// The statements and totals of the sales queries: receipts of a date range, and sale lines with
// their articles (and, for the customer query, customer and operator names).
namespace sales {

// Receipts of a range, cancelled included, the kind "11" never: the receipt list's condition.
vx::SqlCondition receiptRangeCondition(const vx::SqlDialect &dialect, const vx::DayRange &days);
// The receipts of a range in date and number order, for the printed list.
vx::QueryStatement receiptListStatement();
// What a receipt total sums: the amount of every receipt not cancelled (a null mark is not one).
QString receiptAmountNotCancelled();
// The cost of one receipt's lines not cancelled.
QString lineCostNotCancelled();

// Sale lines of STOCK articles, in receipt order.
vx::QueryStatement saleLinesStatement();
// The same with the customer's and the operator's names, empty when either no longer exists, in
// date order.
vx::QueryStatement saleLinesByCustomerStatement();
// Units, sale amount and cost over the lines listed that are not cancelled; a null quantity,
// price or cost counts 0.
QStringList saleLineTotalsExpressions();

}  // namespace sales
