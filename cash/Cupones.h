#pragma once

#include "app/OwnCursor.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBNavigator;
} // namespace vx::ui

// "Cupones de tarjetas": the card coupons followed from presented to credited, and removed.
class TFCupones : public QDialog {
    Q_OBJECT
public:
    explicit TFCupones(QWidget *parent = nullptr);
    ~TFCupones() override;

    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    QLineEdit *DBEdit1 = nullptr;
    QLineEdit *DBEdit2 = nullptr;
    QPushButton *BEliminar = nullptr;
    QPushButton *BEliminarA = nullptr;
    QPushButton *BCerrar = nullptr;

    // Opens the coupons, as the command does before showing.
    void prepare();
    void DBGrid1DblClick();
    void BEliminarClick();
    void BEliminarAClick();
    void BCerrarClick();

protected:
    void reject() override;

private:
    void createControls();
    // The key of the current coupon; nothing when there is none.
    std::optional<qint64> currentCoupon() const;
    // Reads the coupons again and goes back to the one with the key, or to the first.
    void reload(std::optional<qint64> keep);

    app::OwnCursor m_coupons;
};

// The "Cupones en Cartera" command.
void openCupones(QWidget *parent);
