#pragma once

#include "app/OwnCursor.h"
#include "cash/CashFigures.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBNavigator;
} // namespace vx::ui

// "Caja del Dia": the cash book of the open period, its figures and its printouts.
class TFCajaD : public QDialog {
    Q_OBJECT
public:
    explicit TFCajaD(QWidget *parent = nullptr);
    ~TFCajaD() override;

    QLineEdit *EdSaldoIni = nullptr;
    QLineEdit *EdEFEDia = nullptr;
    QLineEdit *EdSaldoHoy = nullptr;
    QLineEdit *EdTar = nullptr;
    QLabel *EdDesF = nullptr;
    QPushButton *BActualizarSdos = nullptr;
    QPushButton *BImp = nullptr;
    QPushButton *BImp2 = nullptr;
    QPushButton *BCerrar = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;

    vx::Table &book() { return *m_book.table; }
    const cash::CashFigures &figures() const { return m_figures; }

    // Reads the figures and the rows they were read from (the menu command, before showing).
    void openBook();

    void BActualizarSdosClick();
    void BImpClick();
    void BImp2Click();
    void BCerrarClick();

protected:
    void reject() override;

private:
    void createControls();
    void printBook(bool ticket);

    app::OwnCursor m_book;
    cash::CashFigures m_figures;
};

// The "Consulta de Caja" command: a window made afresh, shown modally.
void openCajaD(QWidget *parent);
