#pragma once

#include "app/OwnCursor.h"
#include "platform/db/DayRange.h"
#include "suppliers/ConsProvAccount.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class Edit;
class PickList;
} // namespace vx::ui

// The supplier query "Consulta de Proveedores" (also "Cuentas Corrientes / Consultas"): a
// supplier's account between two dates, the balance before them first, every invoice, credit and
// payment with the balance after it, and the totals; printed on A4 or exported.
class TFConsProv : public QDialog {
    Q_OBJECT
public:
    explicit TFConsProv(QWidget *parent = nullptr);
    ~TFConsProv() override;

    // The account's lines (the window's own TMP1), in order.
    vx::Table &list() { return *m_list.table; }

    vx::ui::PickList *CBCli = nullptr;
    QLabel *LabCli = nullptr;
    vx::ui::Edit *EdFecD = nullptr;
    vx::ui::Edit *EdFecH = nullptr;
    QPushButton *BConsultar = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    QLineEdit *EdSalAnt = nullptr;
    QLineEdit *EdDebe = nullptr;
    QLineEdit *EdHaber = nullptr;
    QLineEdit *EdSaldo = nullptr;
    QPushButton *BImp = nullptr;
    QPushButton *BExportar = nullptr;
    QPushButton *BBSalir = nullptr;

    // The menu command's preparation: an empty account, every supplier in the list, this month.
    void prepare();
    void CBCliSelect();
    void BConsultarClick();
    void BImpClick();
    void BExportarClick();

    void done(int result) override;

private:
    void createControls();
    void layoutControls();
    // The supplier the list names now, the operator told when none.
    std::optional<int> chosenSupplier();
    void showAccount(int supplier, const vx::DayRange &days);
    void clearAccount();
    QString title() const;

    app::OwnCursor m_list;
    std::optional<int> m_supplier;
    QString m_supplierName;
    std::optional<vx::DayRange> m_days;
    suppliers::AccountTotals m_totals;
};

// "Consulta de Proveedores": prepares the window, shows it modally and empties its list after it.
void openConsProv(QWidget *parent);
