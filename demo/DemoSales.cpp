#include "demo/DemoSales.h"

#include "demo/DemoHistory.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "sales/CouponRecording.h"
#include "sales/SaleRecording.h"

#include <QSqlQuery>

namespace demo {

namespace {

struct ShelfArticle {
    QString code;
    double price = 0;
    double inShop = 0;
};

// Articles with at least two units in the shop, so that the history never sells what is not there.
QList<ShelfArticle> articlesOnShelf(vx::Connection &connection)
{
    QSqlQuery query = connection.execute(QStringLiteral("SELECT ARTCMCT, ARTVEN1, ARTEX1 FROM STOCK "
                                                        "WHERE ARTEX1 >= 2 ORDER BY ARTCMCT"));
    QList<ShelfArticle> shelf;
    while (query.next())
        shelf.append({query.value(0).toString(), query.value(1).toDouble(), query.value(2).toDouble()});
    return shelf;
}

const char *const customerNames[] = {"CONSUMIDOR FINAL", "CONSUMIDOR FINAL", "CONSUMIDOR FINAL",
                                     "GARCIA MARIA LAURA", "D'ANGELO ROBERTO", "LOPEZ SOFIA"};
const char *const cardNames[] = {"VISA", "MASTERCARD", "CABAL"};
constexpr int cashierCode = 3;  // "CAJA ANA GOMEZ", level 2
constexpr int cashierLevel = 2;

}  // namespace

void sellDay(vx::Connection &connection, const QDate &day)
{
    if (day.dayOfWeek() == Qt::Sunday)
        return;
    DemoRandom random(quint32(day.toJulianDay()));
    QList<ShelfArticle> shelf = articlesOnShelf(connection);
    const QString dateText = vx::shopformat::formatDate(day);
    const int sales = 3 + random.below(5);
    for (int s = 0; s < sales && !shelf.isEmpty(); ++s) {
        sales::SaleEntry entry;
        entry.dateText = dateText;
        entry.customerName = QString::fromLatin1(customerNames[random.below(int(std::size(customerNames)))]);
        entry.operatorCode = cashierCode;
        entry.accessLevel = cashierLevel;
        const int lines = 1 + random.below(3);
        for (int l = 0; l < lines && !shelf.isEmpty(); ++l) {
            const int pick = random.below(int(shelf.size()));
            ShelfArticle &article = shelf[pick];
            entry.lines.append({article.code, 1, article.price});
            article.inShop -= 1;
            if (article.inShop < 2)
                shelf.removeAt(pick);
        }
        if (random.below(10) == 0)
            entry.percentage = 10;
        const double total = sales::saleAmounts(entry.lines, entry.percentage).total;
        if (random.below(3) == 0) {
            entry.card = total;
            sales::CouponEntry coupon{dateText, QString(), QString::fromLatin1(cardNames[random.below(3)]),
                                      QString::number(100000 + random.below(900000)),
                                      vx::shopformat::formatFixed(total, 2)};
            entry.couponIds.append(sales::recordCoupon(connection, coupon));
        } else {
            entry.cash = total;
        }
        sales::recordSale(connection, entry);
    }
}

}  // namespace demo
