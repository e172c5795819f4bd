#pragma once

#include <QString>

#include <array>
#include <optional>

namespace vx {
class Connection;
}

namespace vx::ui {
class PickList;
}

namespace app {

// The article columns a window picks an article by.
enum class ArticleColumn { OwnCode, Description, Origin };

// Makes the three pick lists (own code, description, origin code) ask the article file as the
// operator types; any of them may be null. Asking again only reads the lists' pages again, which
// is all an article-list-changed flag still has to do.
void askArticleLists(vx::Connection &connection, vx::ui::PickList *codes, vx::ui::PickList *descriptions,
                     vx::ui::PickList *origins);

// What a window shows of an article it found.
struct Article {
    QString ownCode;
    QString description;
    QString origin;
    double stock1 = 0;
    std::array<double, 4> prices{};  // ARTVEN1..ARTVEN4

    double price(int list) const { return prices[size_t(list - 1)]; }
};

enum class ArticleMatch { Exact, Prefix };

// The article whose column equals (or begins with) the text, read from the database at the moment
// of the call, so that one another workstation has just created is found. Among several, the
// first in the column's order, then in the order they were created. Throws DbError.
std::optional<Article> findArticle(vx::Connection &connection, ArticleColumn column, const QString &text,
                                   ArticleMatch match = ArticleMatch::Exact);

}  // namespace app
