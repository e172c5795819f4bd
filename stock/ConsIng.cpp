#include "stock/ConsIng.h"

TFConsIng *FConsIng = nullptr;

TFConsIng::TFConsIng(QWidget *parent) : TFConsMovBase(stock::receiptQuery(), parent)
{
    setObjectName(QStringLiteral("FConsIng"));
}

TFConsIng::~TFConsIng()
{
    if (FConsIng == this)
        FConsIng = nullptr;
}
