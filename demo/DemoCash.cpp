#include "demo/DemoCash.h"

#include "cash/CashAdjustment.h"
#include "cash/CashClosing.h"
#include "demo/DemoHistory.h"

#include <algorithm>

namespace demo {

qint64 cashAdjustmentCents(const QDate &day)
{
    if (day.dayOfWeek() == Qt::Sunday)
        return 0;
    DemoRandom random(quint32(day.toJulianDay()) * 7u + 3u);
    if (random.below(4) != 0)
        return 0;
    // Change brought in, or small expenses paid out of the till.
    return random.below(2) == 0 ? (50 + random.below(11) * 10) * 100 : -(20 + random.below(7) * 10) * 100;
}

void cashDay(vx::Connection &connection, const QDate &day)
{
    if (const qint64 cents = cashAdjustmentCents(day)) {
        cash::Adjustment adjustment;
        adjustment.moneyIn = cents > 0;
        adjustment.amount = cash::fromCents(cents > 0 ? cents : -cents);
        adjustment.date = day;
        adjustment.text = adjustment.moneyIn ? QStringLiteral("CAMBIO") : QStringLiteral("GASTOS VARIOS");
        cash::recordAdjustment(connection, adjustment);
    }
    if (day.dayOfWeek() != Qt::Saturday)
        return;
    cash::ClosingRequest closing;
    closing.figures = cash::readCashFigures(connection);
    const qint64 till = closing.figures.tillCents();
    closing.openingCents = std::clamp<qint64>(till, 0, floatCents);
    closing.withdrawalCents = till - *closing.openingCents;
    closing.closingDate = day;
    closing.openingDate = day.addDays(2);
    cash::closeCash(connection, closing);
}

}  // namespace demo
