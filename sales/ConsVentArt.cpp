#include "sales/ConsVentArt.h"

#include "app/uGlobales.h"
#include "platform/ui/PickList.h"
#include "sales/SalesQueries.h"

TFConsVentArt *FConsVentArt = nullptr;

TFConsVentArt::TFConsVentArt(QWidget *parent)
    : TFSaleLinesQuery(sales::saleLinesStatement(), QStringLiteral("Total de Uni."), parent)
{
    setObjectName(QStringLiteral("FConsVentArt"));
    setWindowTitle(QStringLiteral("Historial de Ventas de un Articulo"));
}

TFConsVentArt::~TFConsVentArt()
{
    if (FConsVentArt == this)
        FConsVentArt = nullptr;
}

bool TFConsVentArt::refillArticleLists()
{
    // The lists ask the article file as the operator types; a changed list only reads its page again.
    const bool refill = !CBCod->asksDatabase() || uGlobales::articleListChanged(uGlobales::ArticleList::ConsVentArt);
    uGlobales::setArticleListChanged(uGlobales::ArticleList::ConsVentArt, false);
    return refill;
}
