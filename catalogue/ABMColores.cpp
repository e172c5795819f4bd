#include "catalogue/ABMColores.h"

#include "data/DataModule.h"

TFColores::TFColores(QWidget *parent) : TFCatalogo(catalogue::colourKind(), DM1->Colores, DM1->DSColores, parent) {}
