#include "demo/DemoStock.h"

#include "demo/DemoHistory.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "stock/GoodsIssue.h"
#include "stock/GoodsReceipt.h"

#include <QSqlQuery>

#include <cmath>

namespace demo {

namespace {

constexpr int storeRoomCode = 2;  // "DEPOSITO JUAN PEREZ", level 1
constexpr int storeRoomLevel = 1;
constexpr int samplesCustomer = 5;  // "MARTINEZ CARLOS ALBERTO"
constexpr int deliveryLines = 12;

double cents(double amount)
{
    return std::round(amount * 100) / 100;
}

void receiveDelivery(vx::Connection &connection, const QDate &day, DemoRandom &random)
{
    // The articles the shop is shortest of come first.
    QSqlQuery query = connection.execute(QStringLiteral(
        "SELECT ARTCMCT, ARTDES, ARTCOS1 FROM STOCK WHERE ARTEX1 < 6 ORDER BY ARTEX1, ARTCMCT"));
    stock::ReceiptEntry entry;
    entry.dateText = vx::shopformat::formatDate(day);
    entry.operatorCode = storeRoomCode;
    entry.accessLevel = storeRoomLevel;
    while (query.next() && entry.lines.size() < deliveryLines) {
        // Costs go up a little with each delivery.
        const double cost = cents(query.value(2).toDouble() * (1.02 + 0.01 * random.below(3)));
        entry.lines.append({query.value(0).toString(), query.value(1).toString(), double(6 + random.below(6)), cost,
                            double(random.below(2) * 4), cost});
    }
    if (!entry.lines.isEmpty())
        stock::recordReceipt(connection, entry);
}

void issueSamples(vx::Connection &connection, const QDate &day, DemoRandom &random)
{
    QSqlQuery query = connection.execute(QStringLiteral(
        "SELECT ARTCMCT, ARTDES, ARTVEN1, ARTVEN2 FROM STOCK WHERE ARTEX2 >= 2 ORDER BY ARTCMCT"));
    QList<stock::IssueLine> candidates;
    while (query.next())
        candidates.append({query.value(0).toString(), query.value(1).toString(), 0, 1, query.value(2).toDouble(),
                           query.value(3).toDouble()});
    if (candidates.isEmpty())
        return;
    stock::IssueEntry entry;
    entry.dateText = vx::shopformat::formatDate(day);
    entry.receiverCode = samplesCustomer;
    entry.purpose = QStringLiteral("MUESTRAS PARA CLIENTE");
    entry.operatorCode = storeRoomCode;
    entry.accessLevel = storeRoomLevel;
    for (int l = 0; l < 2; ++l)
        entry.lines.append(candidates.takeAt(random.below(int(candidates.size()))));
    stock::recordIssue(connection, entry);
}

}  // namespace

void stockDay(vx::Connection &connection, const QDate &day)
{
    DemoRandom random(quint32(day.toJulianDay()) * 7u + 3u);
    if (day.dayOfWeek() == Qt::Monday)
        receiveDelivery(connection, day, random);
    if (day.dayOfWeek() == Qt::Thursday && random.below(2) == 0)
        issueSamples(connection, day, random);
}

}  // namespace demo
