#include "stock/ConsEgr.h"

TFConsEgr *FConsEgr = nullptr;

TFConsEgr::TFConsEgr(QWidget *parent) : TFConsMovBase(stock::issueQuery(), parent)
{
    setObjectName(QStringLiteral("FConsEgr"));
}

TFConsEgr::~TFConsEgr()
{
    if (FConsEgr == this)
        FConsEgr = nullptr;
}
