#pragma once

#include "catalogue/StockTotals.h"
#include "platform/report/Report.h"

#include <memory>

class QWidget;

namespace vx {
class Connection;
class Table;
}

// The valued stock list: two lines per article (location 1 with its code and description, then
// location 2 with brand, colour and size), on A4 portrait, over a cursor of its own on STOCK,
// with the totals of the rows it prints in its summary.
class TQRMaestro {
public:
    explicit TQRMaestro(vx::Connection *connection);
    ~TQRMaestro();

    // The report's cursor, for the window to give it the list's filter and order.
    vx::Table &cursor() { return *m_stock; }
    vx::report::Report &report() { return m_report; }
    // Opens the cursor with the filter and order given, and totals what it will print.
    void open(const QString &filter, const QString &sort);
    void setTotals(const catalogue::StockTotals &totals);

private:
    std::unique_ptr<vx::Table> m_stock;
    vx::report::Report m_report;
};
