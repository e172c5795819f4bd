#pragma once

#include <QString>

#include <memory>

namespace vx {
class Dataset;
}
namespace vx::report {
class Report;
}

// The printouts of the cash book: the A4 report "Consulta de Caja por Impresora" and its roll
// ticket. Both list the rows of the dataset given and print the totals given, which the window
// reads from the same rows.
namespace cash {

struct CashBookPrint {
    QString dateText; // " Fecha: " and the day
    QString till;     // cash in the till, fixed with 2 decimals
    QString cards;    // cards of the period
};

std::unique_ptr<vx::report::Report> cashBookReport(vx::Dataset &book, const CashBookPrint &print);
std::unique_ptr<vx::report::Report> cashBookTicket(vx::Dataset &book, const CashBookPrint &print);

} // namespace cash
