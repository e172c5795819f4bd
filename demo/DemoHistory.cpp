#include "demo/DemoHistory.h"

#include "demo/DemoCash.h"
#include "demo/DemoCoupons.h"
#include "demo/DemoPhotos.h"
#include "demo/DemoSales.h"
#include "demo/DemoStock.h"
#include "demo/DemoSuppliers.h"
#include "platform/db/DateTimeValue.h"

namespace demo {

void recordHistory(vx::Connection &connection, const QDate &today)
{
    addPhotos(connection);
    for (QDate day = today.addDays(-historyDays); day <= today; day = day.addDays(1)) {
        // Each row carries the day it belongs to, as if recorded that day: the shop opens at ten.
        const vx::ReplayedClock clock(vx::naiveDateTime(day, QTime(10, 0)));
        stockDay(connection, day);
        sellDay(connection, day);
        cashDay(connection, day);
        creditCouponsDay(connection, day);
        suppliersDay(connection, day);
    }
}

}  // namespace demo
