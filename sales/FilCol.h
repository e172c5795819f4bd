#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace vx::ui {
class DBEdit;
}

// The print positions window: the positions of a pre-printed receipt C with its calibration
// sheet, and the ticket positions with the ticket's header text.
class TFFilCol : public QDialog {
    Q_OBJECT
public:
    explicit TFFilCol(QWidget *parent = nullptr);
    ~TFFilCol() override;

    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr; // "Factura C"
    QWidget *TabSheet2 = nullptr; // "Ticket"
    // Edit1..Edit24 of the receipt C tab (index 0 is Edit1); Edit23 is the sheet's font size.
    std::array<QLineEdit *, 24> invoiceEdits{};
    QLineEdit *Edit25 = nullptr;
    QLineEdit *Edit26 = nullptr;
    // Fila 1..9 and Col 1..9 of the ticket row.
    std::array<vx::ui::DBEdit *, 9> ticketRows{};
    std::array<vx::ui::DBEdit *, 9> ticketColumns{};
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *BGrabar = nullptr;
    QPushButton *BImprimir = nullptr;
    QPushButton *BCerrar = nullptr;
    QPushButton *BGrabaTK = nullptr;
    QPushButton *Button1 = nullptr;

    QLineEdit *edit(int number) const { return invoiceEdits[size_t(number - 1)]; }

    // Fills the receipt C boxes from its row, when there is one.
    void loadInvoiceBoxes();
    // Fills Memo1 from the header file of a folder; a file that cannot be read changes nothing.
    void loadMemo(const QString &folder);
    void PageControl1Change(int index);
    void BGrabarClick();
    void BImprimirClick();
    void BGrabaTKClick();
    void BCerrarClick();

private:
    QWidget *createInvoiceTab();
    QWidget *createTicketTab();
};

// The print positions window, created by the first opening.
extern TFFilCol *FFilCol;

// The "Fil - Col / Datos en Ticket" command: opens FILCOL, shows the window modally, then keeps
// the header text and closes FILCOL.
void openFilCol(TFFilCol &window);
