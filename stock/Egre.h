#pragma once

#include "stock/MovementWindow.h"

// The goods issue window: the operator names who receives and why, lists the articles with the
// quantities taken from the two locations and their prices, and records it as one issue document.
class TFEgre : public stock::MovementWindow {
    Q_OBJECT
public:
    explicit TFEgre(QWidget *parent = nullptr);
    ~TFEgre() override;

    vx::ui::PickList *CBCliente = nullptr;
    QLabel *LabCli = nullptr;
    QLineEdit *EdPre3 = nullptr;
    QLineEdit *EdPre4 = nullptr;
    QLineEdit *EdConcepto = nullptr;
    QPushButton *Button1 = nullptr;

    void CBClienteSelect();
    // The customer code of who receives; 0 until one is chosen.
    int receiverCode() const { return m_receiverCode; }

protected:
    QList<LineBox> lineBoxes() const override;
    void showArticle(const stock::StockArticle &article) override;
    stock::RecordedMovement record(const stock::NumberBox &number) override;
    QString documentName() const override { return QStringLiteral("El egreso"); }
    void clearOwnBoxes() override;
    void prepareOwnLists() override;
    QList<QLineEdit *> amountBoxes() const override { return {EdPre, EdPre2, EdPre3, EdPre4}; }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_receiverCode = 0;
    QString m_receiverName;
};

// The goods issue window of the program, set while one exists.
extern TFEgre *FEgre;
