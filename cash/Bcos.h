#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBNavigator;
} // namespace vx::ui

// "Bancos": the list of banks, searched by code or name, and a new bank added under a proposed
// code.
class TFBcos : public QDialog {
    Q_OBJECT
public:
    explicit TFBcos(QWidget *parent = nullptr);
    ~TFBcos() override;

    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    QLineEdit *EdCod = nullptr;
    QLineEdit *EdDes = nullptr;
    QLineEdit *Cod = nullptr;
    QLineEdit *Des = nullptr;
    QPushButton *BActual = nullptr;
    QPushButton *BCerrar = nullptr;

    void EdCodClick();
    void EdCodKeyUp();
    void EdDesClick();
    void EdDesKeyUp();
    void CodClick();
    void CodExit();
    void BActualClick();
    void BCerrarClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    void createControls();
};

// The "Listado de bancos" command: the shared banks opened for the window and closed after it.
void openBcos(QWidget *parent);
