#pragma once

#include "platform/db/DayRange.h"

#include <memory>

namespace vx {
class Connection;
class Query;
}  // namespace vx
namespace vx::report {
class Report;
}

namespace sales {

// The receipts of a range for the printed list, by date and number, cancelled ones marked.
std::unique_ptr<vx::Query> receiptPrintList(vx::Connection &connection, const vx::DayRange &days);

// "CONSULTA DE VENTAS" (QRVentasTI): one line per receipt of the list, cancelled ones marked
// "Anulado", and under them the range's sales without the cancelled ones, as the screen shows.
std::unique_ptr<vx::report::Report> qrVentasTI(vx::Query &receipts, const vx::DayRange &days, double salesTotal);

}  // namespace sales
