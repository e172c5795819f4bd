#pragma once

#include "app/OwnCursor.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBNavigator;
} // namespace vx::ui

// "Retiros por Cierres de Caja": the central cash's history between two days and what the cash
// closings took there.
class TFRetCaja : public QDialog {
    Q_OBJECT
public:
    explicit TFRetCaja(QWidget *parent = nullptr);
    ~TFRetCaja() override;

    QLineEdit *EdDes = nullptr;
    QLineEdit *EdHas = nullptr;
    QPushButton *BConsultar = nullptr;
    QLineEdit *EdTot = nullptr;
    QPushButton *BCerrar = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;

    vx::Table &history() { return *m_history.table; }

    // The command's preparation: the history in entry-date order, on its last row.
    void openHistory();

    void BConsultarClick();
    void BCerrarClick();

protected:
    void reject() override;

private:
    void createControls();

    app::OwnCursor m_history;
};

// The "Historico por Cierres de Caja" command: a window made afresh, shown modally.
void openRetCaja(QWidget *parent);
