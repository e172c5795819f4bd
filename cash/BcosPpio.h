#pragma once

#include "app/OwnCursor.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBNavigator;
} // namespace vx::ui

// "Cuentas Propias": the shop's own bank accounts, where card coupons are credited.
class TFBcosPpio : public QDialog {
    Q_OBJECT
public:
    explicit TFBcosPpio(QWidget *parent = nullptr);
    ~TFBcosPpio() override;

    QComboBox *CBCC = nullptr;
    QComboBox *CBDC = nullptr;
    QLineEdit *EdCod = nullptr;
    QLineEdit *EdNombre = nullptr;
    QLineEdit *EdCta = nullptr;
    QPushButton *BGrabar = nullptr;
    QPushButton *BCerrar = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    QLineEdit *DBEdit1 = nullptr;

    // Fills the bank lists and opens the accounts, as the command does before showing.
    void prepare();
    void CBCCExit();
    void CBDCChange(int index);
    void EdCodClick();
    void DBGrid1CellClick();
    void BGrabarClick();
    void BCerrarClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void createControls();
    void clearBoxes();

    app::OwnCursor m_accounts;
};

// The "Cuentas Propias" command.
void openBcosPpio(QWidget *parent);
