#pragma once

#include "catalogue/ABMEmp.h"

// Colours: "Colores".
class TFColores : public TFCatalogo {
    Q_OBJECT
public:
    explicit TFColores(QWidget *parent);
};
