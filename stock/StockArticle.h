#pragma once

#include "app/ArticleLists.h"

#include <QString>

#include <array>
#include <optional>

namespace vx {
class Connection;
}

namespace stock {

// What the receipt and issue windows show of an article: both stocks, both costs, four prices.
struct StockArticle {
    QString ownCode;
    QString description;
    double stock1 = 0;
    double stock2 = 0;
    double cost1 = 0;
    double cost2 = 0;
    std::array<double, 4> prices{};  // ARTVEN1..ARTVEN4
};

// The article whose column equals (or begins with) the text, read from the database at the moment
// of the call; among several, the first in the column's order, then the first entered. Throws
// vx::DbError.
std::optional<StockArticle> findStockArticle(vx::Connection &connection, app::ArticleColumn column,
                                             const QString &text, app::ArticleMatch match = app::ArticleMatch::Exact);

}  // namespace stock
