#pragma once

#include <QString>
#include <QVariant>

namespace vx {
class Connection;
}

// The article's stock changed by a receipt or an issue line: one statement that adds to what the
// database holds at that moment, on the first article entered under the code (as sales do), so
// that two workstations moving one article at once never overwrite each other. A stock that was
// never set counts as 0.
namespace stock {

struct StockChange {
    QString code;
    QString description;  // names the article when it is no longer in the file
    double quantity1 = 0;
    double quantity2 = 0;
};

// Adds the quantities, replaces both costs and dates the last receipt. Throws vx::DbError naming
// the article when no article carries the code.
void receiveStock(vx::Connection &connection, const StockChange &change, const QVariant &storedDate, double cost1,
                  double cost2);

// Subtracts the quantities and dates the last issue; a list-2 price other than 0 replaces ARTVEN2
// (0 keeps the price the article has, so that list-2 sales never charge nothing). Throws
// vx::DbError naming the article when no article carries the code.
void issueStock(vx::Connection &connection, const StockChange &change, const QVariant &storedDate, double price2);

}  // namespace stock
