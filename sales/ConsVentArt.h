#pragma once

#include "sales/ConsVentArtBase.h"

// "Historial de Ventas de un Articulo": the sale lines of a date range, of every article, of one
// article by description or of a range of own codes, with their totals.
class TFConsVentArt : public TFSaleLinesQuery {
    Q_OBJECT
public:
    explicit TFConsVentArt(QWidget *parent = nullptr);
    ~TFConsVentArt() override;

protected:
    QString articleListCaption() const override { return QStringLiteral("Agrupando Articulos..."); }
    bool refillArticleLists() override;
};

extern TFConsVentArt *FConsVentArt;
