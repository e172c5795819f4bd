#pragma once

#include "catalogue/ABMEmp.h"

// Sizes: "Talles".
class TFTalles : public TFCatalogo {
    Q_OBJECT
public:
    explicit TFTalles(QWidget *parent);
};
