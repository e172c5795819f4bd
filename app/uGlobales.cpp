#include "app/uGlobales.h"

#include <array>

namespace uGlobales {

namespace {

std::array<bool, articleListCount> &articleListFlags()
{
    static std::array<bool, articleListCount> flags{};
    return flags;
}

}  // namespace

Session &session()
{
    static Session current;
    return current;
}

bool articleListChanged(ArticleList list)
{
    return articleListFlags()[static_cast<size_t>(list)];
}

void setArticleListChanged(ArticleList list, bool changed)
{
    articleListFlags()[static_cast<size_t>(list)] = changed;
}

void setAllArticleListsChanged()
{
    articleListFlags().fill(true);
}

}  // namespace uGlobales
