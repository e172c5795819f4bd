#include "sales/SalePrint.h"

#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/report/Report.h"
#include "platform/ui/Dialogs.h"
#include "sales/CustomerBlock.h"
#include "sales/ImpTF.h"
#include "sales/ReceiptStaging.h"
#include "sales/TicketHeader.h"
#include "sales/TktFac.h"
#include "app/Aguarde.h"

#include <memory>

namespace sales {

namespace {

// The sale's lines staged for one printout, and removed again however the printout ends.
class StagedSale {
public:
    explicit StagedSale(const SaleOnScreen &sale) : m_staging(*DM1->ADOConnection1)
    {
        vx::Table &lines = *DM1->TMP1;
        const bool wasOpen = lines.active();
        if (!wasOpen)
            lines.open();
        const QList<StagedLine> staged = saleLines(lines);
        if (!wasOpen)
            lines.close();
        m_staging.stage(staged, sale.receiptNumber, vx::shopformat::parseDate(sale.date).value_or(QDate()));
    }
    ~StagedSale()
    {
        try {
            m_staging.close();
        } catch (...) {
            // The rows go with the next printout's clearing; the printout itself is done.
        }
    }
    StagedSale(const StagedSale &) = delete;
    StagedSale &operator=(const StagedSale &) = delete;

    vx::Table &rows() { return m_staging.view(); }

private:
    ReceiptStaging m_staging;
};

void printReceipt(QWidget *parent, const SaleOnScreen &sale)
{
    aguarde::show();
    std::unique_ptr<StagedSale> staged;
    ReceiptPrint print;
    try {
        staged = std::make_unique<StagedSale>(sale);
        print.customer = customerByName(*DM1->ADOConnection1, sale.customer);
    } catch (...) {
        aguarde::close();
        throw;
    }
    print.number = sale.receiptNumber;
    print.date = sale.date;
    print.subtotal = sale.subtotal;
    print.percentage = sale.percentage;
    print.discount = sale.discount;
    print.total = sale.total;
    aguarde::close();
    print.logo = ticketheader::logo().value_or(QImage());
    print.numberLabel = QStringLiteral("Comprobante Nro.: ");
    receiptReport(staged->rows(), print)->preview(parent);
}

void printTicket(TicketPaper paper, const SaleOnScreen &sale)
{
    StagedSale staged(sale);
    TicketPrint print;
    print.subtotal = sale.subtotal;
    print.discount = sale.discount;
    print.total = sale.total;
    print.header = ticketheader::read().value_or(ticketheader::builtInLines());
    const QString numberSeparator =
        paper == TicketPaper::Ticket70 ? QStringLiteral(" - Tkt: ") : QStringLiteral(" - Tkt ");
    print.dateLine = QStringLiteral("Fecha: ") + sale.date + numberSeparator + sale.receiptNumber;
    print.customerLine = QStringLiteral("Cliente: ") + sale.customer;
    ticketReport(staged.rows(), paper, print)->print();
}

} // namespace

void printRecordedSale(QWidget *parent, const SaleOnScreen &sale)
{
    std::unique_ptr<TFImpTF> ownWindow;
    TFImpTF *choice = FImpTF;
    if (!choice) {
        ownWindow = std::make_unique<TFImpTF>(parent);
        choice = ownWindow.get();
    }
    choice->reset();
    vx::ui::dialogs().showModal(choice);
    const QString printType = choice->printType();
    if (printType == TFImpTF::ticket70())
        printTicket(TicketPaper::Ticket70, sale);
    else if (printType == TFImpTF::ticket58())
        printTicket(TicketPaper::Ticket58, sale);
    else if (printType == TFImpTF::invoice())
        printReceipt(parent, sale);
}

} // namespace sales
