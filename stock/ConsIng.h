#pragma once

#include "stock/ConsIngBase.h"

// "Consulta de Ingresos": the receipt lines, with the operator and supplier of the current one.
class TFConsIng : public TFConsMovBase {
    Q_OBJECT
public:
    explicit TFConsIng(QWidget *parent = nullptr);
    ~TFConsIng() override;
};

extern TFConsIng *FConsIng;
