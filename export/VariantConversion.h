#pragma once

#include <QString>
#include <QVariant>

// Turns a cell's value into the kind of cell asked for, the way the shop's conventions read
// and show values (decimal comma, dd/mm/yyyy dates). A value that cannot be turned raises
// ValueConversionError. Callers handle null values themselves: they are blank cells.
namespace VariantConversion {

// Whole numbers; a fraction is rounded half to even.
qint64 toInteger(const QVariant &value);
// Dates and times become spreadsheet serial numbers (days since 30/12/1899).
double toDouble(const QVariant &value);
bool toBoolean(const QVariant &value);
QString toText(const QVariant &value);

} // namespace VariantConversion
