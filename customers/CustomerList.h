#pragma once

#include "platform/db/DataSource.h"
#include "platform/ui/DatasetModel.h"

#include <QList>

#include <memory>

class QWidget;

namespace vx {
class Dataset;
}
namespace vx::report {
class Report;
}

namespace customers {

// The columns of the customer list, as the query grid shows them.
QList<vx::ui::GridColumn> customerListColumns();

// The customer list as shown (its order and filter), on A4 across: one line per customer with
// the grid's columns, page numbers at the foot.
std::unique_ptr<vx::report::Report> customerListReport(vx::Dataset &customers);

// Shows the list in the print preview.
void printCustomerList(vx::Dataset &customers, QWidget *parent);

} // namespace customers
