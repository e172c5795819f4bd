#pragma once

#include <QStringList>

class QWidget;

namespace vx {
class Connection;
}
namespace vx::ui {
class PickList;
}

namespace suppliers {

// The box where the operator names a supplier, as every supplier window has it: upper case, as
// long as a name, wide enough to read one.
vx::ui::PickList *newSupplierPickList(QWidget *parent, const char *objectName);

// Every supplier's name once, for the windows that list them all.
QStringList supplierNames(vx::Connection &connection);

} // namespace suppliers
