#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace vx {
class Connection;
}

namespace data {

// One rule the shop's data must keep, and what a look at the database found.
struct ShopCheckItem {
    QString title;       // "Ventas con sus renglones"
    QString summary;     // "1.234 ventas" when it holds; how many rows break it otherwise
    QStringList faults;  // the first rows that break it, one line each; empty when it holds
    qint64 faultCount = 0;
};

struct ShopCheckReport {
    QString database;  // the database looked at, as the operator knows it
    QList<ShopCheckItem> items;

    bool sound() const;
    // The report as printed by "vendrix check": a title, one line per rule with the faults found
    // under it, and a last line with the result.
    QString text() const;
    static QString titleText(const QString &database);
    static QString itemText(const ShopCheckItem &item);
    QString resultText() const;
};

// Looks at the whole shop without changing it: the engine's own integrity check of the file, and
// the rules the program keeps across tables, which the database itself does not know (a sale and
// its lines, a sale of the open cash period and its cash rows, each article's stock and its
// movement journal, the card coupons and their sales). Runs inside one read snapshot, so that a
// sale recorded meanwhile by another workstation is seen whole or not at all. A rule that cannot
// be read (a damaged file) is reported as a fault with the engine's reason, never skipped.
// `onItem` hears each rule as soon as it was looked at: on a big shop the whole takes a while.
ShopCheckReport verifyShop(vx::Connection &db, const std::function<void(const ShopCheckItem &)> &onItem = {});

}  // namespace data
