#include "demo/DemoHistory.h"

#include "demo/DemoCash.h"
#include "demo/DemoSales.h"
#include "demo/DemoStock.h"

namespace demo {

void recordHistory(vx::Connection &connection, const QDate &today)
{
    for (QDate day = today.addDays(-historyDays); day <= today; day = day.addDays(1)) {
        stockDay(connection, day);
        sellDay(connection, day);
        cashDay(connection, day);
    }
}

}  // namespace demo
