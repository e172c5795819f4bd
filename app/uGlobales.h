#pragma once

#include <QString>

// Process-wide state that one window sets and others read.
namespace uGlobales {

// The windows that keep drop-down lists of article codes. Each one reloads its lists when it is
// opened while its flag is set, then clears the flag; a login and a new article set the flags.
enum class ArticleList { Ingresos, Egresos, ConsIng, ConsEgr, Ventas, ConsVentArt, Etiquetas };
constexpr int articleListCount = 7;

struct Session {
    int operatorCode = 0;          // OPECOD of the logged-in operator; stamps the rows it writes
    int accessLevel = 0;           // OPENIV of the logged-in operator; decides menus and keys
    QString currentArticleCode;    // padded own code of the article last looked up or saved
    QString articleSearchCaller;   // the window that opened the article search
};

Session &session();

bool articleListChanged(ArticleList list);
void setArticleListChanged(ArticleList list, bool changed);
void setAllArticleListsChanged();

}  // namespace uGlobales
