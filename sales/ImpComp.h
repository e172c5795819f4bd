#pragma once

#include "app/OwnCursor.h"
#include "sales/StoredReceipt.h"
#include "sales/TktFac.h"

#include <QDialog>

#include <memory>
#include <optional>

class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBText;
class PickList;
} // namespace vx::ui

namespace sales {
class ReceiptStaging;
}

// The reprint window: a recorded receipt chosen by number, shown with its lines at list price and
// printed again as the A4 receipt or as one of the three roll tickets.
class TFImpComp : public QDialog {
    Q_OBJECT
public:
    explicit TFImpComp(QWidget *parent = nullptr);
    ~TFImpComp() override;

    vx::ui::PickList *CBComp = nullptr;
    vx::ui::DBText *DBTextFecha = nullptr;
    vx::ui::DBText *DBTextCliente = nullptr;
    vx::ui::DBText *DBTextSubTotal = nullptr;
    vx::ui::DBText *DBTextPorc = nullptr;
    vx::ui::DBText *DBTextTotal = nullptr;
    QLineEdit *Edit1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    QPushButton *BImprimir = nullptr;
    QPushButton *BTicket70 = nullptr;
    QPushButton *BTicket58 = nullptr;
    QPushButton *BPos57 = nullptr;
    QPushButton *BCerrar = nullptr;

    // Opens the views and fills CBComp (the menu command, before showing the window).
    void openViews();
    // Closes the views and removes the staging rows (after the window is closed).
    void closeViews();

    void CBCompChange();
    void BImprimirClick();
    void BTicket70Click() { printTicket(sales::TicketPaper::Ticket70); }
    void BTicket58Click() { printTicket(sales::TicketPaper::Ticket58); }
    void BPos57Click() { printTicket(sales::TicketPaper::Pos57); }
    void BCerrarClick();

private:
    void createGrid();
    QString customerName() const;
    // The receipt chosen; false (and the operator told) when none is.
    bool receiptChosen();
    void printTicket(sales::TicketPaper paper);

    app::OwnCursor m_clicom;
    app::OwnCursor m_clientes;
    std::unique_ptr<sales::ReceiptStaging> m_staging;
    vx::DataSource *m_stagingSource = nullptr;
    // What the data boxes show: the chosen receipt and its customer, nothing before a choice.
    vx::DataSource *m_shownReceipt = nullptr;
    vx::DataSource *m_shownCustomer = nullptr;
    void showChosen(bool shown);
    std::optional<sales::StoredReceipt> m_receipt;
};

// The reprint window of the program, set while one exists.
extern TFImpComp *FImpComp;

// The "Imprimir Comprobante" command: prepares the window, shows it modally and tidies up after.
void openImpComp(TFImpComp &window);
