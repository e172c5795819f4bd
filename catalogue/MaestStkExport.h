#pragma once

#include <QString>

namespace vx {
class Table;
}

namespace catalogue {

// The sheet title of the stock list exported today.
QString stockSheetTitle();

// Writes the stock list a cursor shows (its filter and order) to a spreadsheet file, titled
// with today's date; a list longer than a .xls sheet goes to an .xlsx workbook when the operator
// accepts (TDataToXLS). Returns the file written. Throws ExportError (ExportDeclined when the
// operator refused the workbook) or DbError.
QString exportStockList(vx::Table &stock, const QString &fileName);

}  // namespace catalogue
