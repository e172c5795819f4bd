#pragma once

#include "platform/report/PageSetup.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace vx {
class Dataset;
}
namespace vx::report {
class Report;
}

// The layouts a sale prints on: the A4 receipt and the roll tickets. Each reads its lines from a
// staging view of TMP1 (TM1CHR1 code, TM1CHR10 description, TM1NUM1 quantity, TM1PRE1 unit price,
// TM1PRE2 amount); everything else is given as the texts to print.
namespace sales {

struct ReceiptCustomer {
    QString name;
    QString address;
    QString taxCondition;
    QString taxNumber;

    // The block printed for a customer the shop does not know.
    static ReceiptCustomer finalConsumer();
};

struct ReceiptPrint {
    QString numberLabel = QStringLiteral("COMPROBANTE Nro. ");
    QString number;
    QString date;
    ReceiptCustomer customer = ReceiptCustomer::finalConsumer();
    QString subtotal;
    QString percentage;
    QString discount;
    QString total;
    QImage logo; // none: the header prints without it
};

std::unique_ptr<vx::report::Report> receiptReport(vx::Dataset &lines, const ReceiptPrint &print);

enum class TicketPaper {
    Ticket70, // 75 mm roll, the "Ticket 70"
    Ticket58, // 58 mm roll
    Pos57,    // 57 mm roll, "POS 57"
};

vx::report::PageSetup ticketPage(TicketPaper paper);

// Where the shop's ticket printer wants the header and the left edge of the texts, in tenths of a
// millimetre from the paper's top and left edges, as the calibration sheet measures them (the
// FILCOL ticket row's FCFILA01 and FCCOL01).
struct TicketPositions {
    int top = 0;
    int left = 0;
};

struct TicketPrint {
    QStringList header;
    QString dateLine = QStringLiteral("Fecha:");
    QString customerLine = QStringLiteral("Cliente:");
    QString articleTitle = QStringLiteral("Articulo - Descripcion");
    QString quantityTitle = QStringLiteral("Cant. -  Pr.Unitario");
    QString amountTitle = QStringLiteral("Sub Total");
    QString subtotal;
    QString discount;
    QString total;
    std::optional<TicketPositions> positions;
};

std::unique_ptr<vx::report::Report> ticketReport(vx::Dataset &lines, TicketPaper paper, const TicketPrint &print);

} // namespace sales
