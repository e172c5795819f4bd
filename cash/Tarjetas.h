#pragma once

#include "app/OwnCursor.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBNavigator;
} // namespace vx::ui

// "Archivo de tarjetas": for each credit card, the own account its coupons are credited to and
// after how many days.
class TFTarjetas : public QDialog {
    Q_OBJECT
public:
    explicit TFTarjetas(QWidget *parent = nullptr);
    ~TFTarjetas() override;

    QLineEdit *EdCod = nullptr;
    QLineEdit *EdNom = nullptr;
    QComboBox *CBCtas = nullptr;
    QLabel *DBText1 = nullptr;
    QLineEdit *EdDias = nullptr;
    QPushButton *BGrabar = nullptr;
    QPushButton *BCancelar = nullptr;
    QPushButton *BSalir = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;

    // Opens the card file and lists the own accounts, as the command does before showing.
    void prepare();
    void EdCodClick();
    void CBCtasChange();
    void BGrabarClick();
    void BCancelarClick();
    void BSalirClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void createControls();

    app::OwnCursor m_cards;
};

// The "Tarjetas de Crédito" command.
void openTarjetas(QWidget *parent);
