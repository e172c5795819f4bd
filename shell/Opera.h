#pragma once

#include "platform/ui/Edit.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBNavigator;
}  // namespace vx::ui

// The operators window: lists the operators of the shared Operador table, adds one with a
// password typed twice, and deletes the selected one. A fresh window serves each opening.
class TFOpera : public QDialog {
    Q_OBJECT
public:
    explicit TFOpera(QWidget *parent = nullptr);

    vx::ui::Edit *EdCod = nullptr;
    vx::ui::Edit *EdApe = nullptr;
    vx::ui::Edit *EdCla = nullptr;
    vx::ui::Edit *EdCla2 = nullptr;
    vx::ui::Edit *EdNiv = nullptr;
    QPushButton *BConfirmar = nullptr;
    QPushButton *BCancelar = nullptr;
    QPushButton *BBorrar = nullptr;
    QPushButton *BCerrar = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;

    void EdCodClick();
    void EdClaExit();
    void EdCla2Exit();
    // False when the key is refused.
    bool EdNivKeyPress(QChar key);
    void BConfirmarClick();
    void BCancelarClick();
    void BBorrarClick();
    void BCerrarClick();
    void DBGrid1TitleClick(int column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createGrid();
    vx::ui::Edit *addBox(const char *name, int maxLength);
    void clearBoxes();
    void passwordsDiffer();
    // Before the shared Operador table posts a row edited in the grid.
    void keepAnAdministrator();
};

// The "Operadores" command: a new window owned by `owner`, shown modally on the open Operador
// table, which is closed again when the window goes.
void openOperators(QWidget *owner);
