#pragma once

#include "stock/MovementWindow.h"

// The goods receipt window: the operator lists what arrived (article, quantities into the two
// locations, costs) and records it as one receipt document.
class TFIng : public stock::MovementWindow {
    Q_OBJECT
public:
    explicit TFIng(QWidget *parent = nullptr);
    ~TFIng() override;

    QPushButton *BCancelar = nullptr;

protected:
    QList<LineBox> lineBoxes() const override;
    void showArticle(const stock::StockArticle &article) override;
    stock::RecordedMovement record(const stock::NumberBox &number) override;
    QString documentName() const override { return QStringLiteral("El ingreso"); }
    QList<QLineEdit *> amountBoxes() const override { return {EdPre, EdPre2}; }
};

// The goods receipt window of the program, set while one exists.
extern TFIng *FIng;
