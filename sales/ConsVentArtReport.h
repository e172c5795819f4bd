#pragma once

#include "platform/db/DayRange.h"

#include <QStringList>

#include <memory>

namespace vx {
class Query;
}
namespace vx::report {
class Report;
}

namespace sales {

// The totals as the window shows them: units, sale, cost, difference.
struct LineTotalsTexts {
    QString units;
    QString sale;
    QString cost;
    QString difference;
};

// "CONSULTA DE VENTAS" of sale lines (QREstad), A4 across: every line listed, cancelled ones
// marked "Anulado", each with its sale and cost totals, and the window's totals under them.
std::unique_ptr<vx::report::Report> qrEstad(vx::Query &lines, const vx::DayRange &days, const LineTotalsTexts &totals);

}  // namespace sales
