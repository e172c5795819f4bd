#pragma once

#include "stock/GoodsReceipt.h"
#include "stock/MovementWindow.h"

// The goods receipt window: the operator lists what arrived (article, quantities into the two
// locations, costs) and records it as one receipt document.
class TFIng : public stock::MovementWindow {
    Q_OBJECT
public:
    explicit TFIng(QWidget *parent = nullptr);
    ~TFIng() override;

    QPushButton *BCancelar = nullptr;
    // Who the goods came from, picked by name; empty: no supplier.
    vx::ui::PickList *CBProv = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void prepareOwnLists() override;
    void clearOwnBoxes() override;
    bool readyToRecord() override;
    QList<LineBox> lineBoxes() const override;
    void showArticle(const stock::StockArticle &article) override;
    stock::RecordedMovement record(const stock::NumberBox &number) override;
    QString documentName() const override { return QStringLiteral("El ingreso"); }
    QList<QLineEdit *> amountBoxes() const override { return {EdPre, EdPre2}; }

private:
    // The code of the supplier named in CBProv: 0 for none, nothing for a name no supplier has
    // (the operator was told).
    std::optional<int> namedSupplier();
    QList<stock::ReceiptLine> receiptLines();

    int m_supplierCode = 0;
    double m_invoiceNumber = 0;
};

// The goods receipt window of the program, set while one exists.
extern TFIng *FIng;
