#pragma once

#include "stock/ConsIngBase.h"

// "Consulta de Egresos": the issue lines, goods issues and the lines of sales alike.
class TFConsEgr : public TFConsMovBase {
    Q_OBJECT
public:
    explicit TFConsEgr(QWidget *parent = nullptr);
    ~TFConsEgr() override;
};

extern TFConsEgr *FConsEgr;
