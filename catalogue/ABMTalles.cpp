#include "catalogue/ABMTalles.h"

#include "data/DataModule.h"

TFTalles::TFTalles(QWidget *parent) : TFCatalogo(catalogue::sizeKind(), DM1->Talles, DM1->DSTalles, parent) {}
