#pragma once

#include "app/OwnCursor.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vx::ui {
class DBEdit;
class DBGrid;
class DBNavigator;
class PickList;
} // namespace vx::ui

// "Pagos": a supplier's open invoices and credits, the ones being paid marked, and the payment
// taken in cash and by other means out of the daily or the central cash.
class TFPagos : public QDialog {
    Q_OBJECT
public:
    explicit TFPagos(QWidget *parent = nullptr);
    ~TFPagos() override;

    QLineEdit *EdFec = nullptr;
    QLineEdit *EdNro = nullptr;
    vx::ui::PickList *CBCli = nullptr;
    QLabel *LabCli = nullptr;
    vx::ui::DBEdit *DBEdit1 = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    QLineEdit *EdImp = nullptr;
    QLineEdit *EdEFE = nullptr;
    QLineEdit *EdTAR = nullptr;
    QLineEdit *EdTot = nullptr;
    QLineEdit *EdDif = nullptr;
    QRadioButton *RBCDiaria = nullptr;
    QRadioButton *RBCCentral = nullptr;
    QPushButton *BGrabar = nullptr;
    QPushButton *BCerrar = nullptr;

    // What the command does before showing: the suppliers' names, today's date, an empty list.
    void prepare();
    void CBCliSelect();
    void DBGrid1CellClick(const QModelIndex &index);
    void DBGrid1DblClick(const QModelIndex &index);
    void EdNroExit();
    void BGrabarClick();
    void BCerrarClick();

protected:
    void reject() override;

private:
    void createControls();
    void layoutControls();
    // The chosen supplier's open documents, read again into the list.
    void fillList();
    void toggleMark();
    // EdImp from the marked rows, then the payment boxes.
    void recomputeDue();
    // Rewrites the amount boxes and the totals; false (said to the operator) when one is no number.
    bool evaluatePayment();

    app::OwnCursor m_list;
    app::OwnCursor m_supplier;
    std::optional<int> m_supplierCode;
    QString m_proposedNumber;
};

// The "Pagos" command.
void openPagos(QWidget *parent);
