#include "demo/DemoHistory.h"
#include "demo/DemoPhotos.h"

#include "demo/DemoSales.h"

namespace demo {

void recordHistory(vx::Connection &connection, const QDate &today)
{
    addPhotos(connection);
    for (QDate day = today.addDays(-historyDays); day <= today; day = day.addDays(1))
        sellDay(connection, day);
}

}  // namespace demo
