#include "sales/TktFac.h"

#include "platform/report/Report.h"

#include <QtGlobal>

#include <algorithm>

namespace sales {

using vx::report::Band;
using vx::report::PageSetup;
using vx::report::Report;

ReceiptCustomer ReceiptCustomer::finalConsumer()
{
    return {QStringLiteral("CONSUMIDOR FINAL"), QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" ")};
}

namespace {

const QString money = QStringLiteral("0.00");

void receiptHeader(Report &report, const ReceiptPrint &print)
{
    Band &header = report.pageHeader(40);
    header.picture(QStringLiteral("Logo"), {0, 0, 60, 26}, print.logo);
    header.text({0, 29, 90, 5}, QStringLiteral("Documento no válido como factura")).size(8);
    header.box({88, 2, 14, 14}, 0.4);
    header.text({88, 2, 14, 14}, QStringLiteral("X")).size(22).bold().align(Qt::AlignCenter);
    header.label(QStringLiteral("Numero"), {110, 4, 80, 6}, print.numberLabel + print.number).size(11).bold();
    header.label(QStringLiteral("Fecha"), {110, 12, 80, 6}, QStringLiteral("Fecha: ") + print.date).size(11);
}

void receiptColumns(Report &report, const ReceiptPrint &print)
{
    Band &columns = report.columnHeader(30);
    columns.text({0, 0, 22, 5}, QStringLiteral("Cliente:")).bold();
    columns.label(QStringLiteral("Cliente"), {22, 0, 168, 5}, print.customer.name);
    columns.text({0, 6, 22, 5}, QStringLiteral("Dirección:")).bold();
    columns.label(QStringLiteral("Direccion"), {22, 6, 168, 5}, print.customer.address);
    columns.text({0, 12, 22, 5}, QStringLiteral("I.V.A.")).bold();
    columns.label(QStringLiteral("Iva"), {22, 12, 78, 5}, print.customer.taxCondition);
    columns.text({100, 12, 20, 5}, QStringLiteral("C.U.I.T.")).bold();
    columns.label(QStringLiteral("Cuit"), {120, 12, 70, 5}, print.customer.taxNumber);
    columns.hline(19, 0, 190);
    columns.text({0, 21, 18, 5}, QStringLiteral("Cant.")).bold().right();
    columns.text({22, 21, 32, 5}, QStringLiteral("Artículo")).bold();
    columns.text({56, 21, 82, 5}, QStringLiteral("Descripción")).bold();
    columns.text({140, 21, 24, 5}, QStringLiteral("Precio")).bold().right();
    columns.text({166, 21, 24, 5}, QStringLiteral("Sub Total")).bold().right();
    columns.hline(27, 0, 190);
}

void receiptSummary(Report &report, const ReceiptPrint &print)
{
    Band &summary = report.summary(30);
    summary.hline(1, 0, 190);
    const auto row = [&summary](double y, const QString &caption, const QString &name, const QString &value) {
        summary.text({120, y, 40, 5}, caption);
        summary.label(name, {160, y, 30, 5}, value).right();
    };
    row(3, QStringLiteral("Sub total"), QStringLiteral("SubTotal"), print.subtotal);
    row(9, QStringLiteral("Porc.%"), QStringLiteral("Porcentaje"), print.percentage);
    row(15, QStringLiteral("Descuento:"), QStringLiteral("Descuento"), print.discount);
    summary.text({120, 22, 40, 6}, QStringLiteral("Importe Total")).bold().size(11);
    summary.label(QStringLiteral("Total"), {150, 22, 40, 6}, print.total).bold().size(11).right();
}

// The room a ticket's amounts take on the right.
constexpr double amountWidth = 16;
constexpr double quantityWidth = 10;
constexpr double codeWidth = 24;
// Millimetres a ticket's left-aligned texts keep at least, however far right FILCOL puts them.
constexpr double narrowestText = 45;
constexpr double lineHeight = 4;

} // namespace

std::unique_ptr<Report> receiptReport(vx::Dataset &lines, const ReceiptPrint &print)
{
    auto report = std::make_unique<Report>(PageSetup::a4().setMargins(10));
    report->setTitle(QStringLiteral("Comprobante %1").arg(print.number));
    report->setDataset(&lines);
    receiptHeader(*report, print);
    receiptColumns(*report, print);
    report->detail(5)
        .field({0, 0, 18, 5}, QStringLiteral("TM1NUM1"))
        .mask(money)
        .right()
        .field({22, 0, 32, 5}, QStringLiteral("TM1CHR1"))
        .field({56, 0, 82, 5}, QStringLiteral("TM1CHR10"))
        .field({140, 0, 24, 5}, QStringLiteral("TM1PRE1"))
        .mask(money)
        .right()
        .field({166, 0, 24, 5}, QStringLiteral("TM1PRE2"))
        .mask(money)
        .right();
    receiptSummary(*report, print);
    return report;
}

PageSetup ticketPage(TicketPaper paper)
{
    switch (paper) {
    // Rolls: the lengths are the most a ticket takes; the paper is cut where the ticket ends.
    case TicketPaper::Ticket70:
        return PageSetup::custom(75, 500).setMargins(3, 3, 3, 5).setRoll(true);
    case TicketPaper::Ticket58:
        return PageSetup::custom(58, 297).setMargins(2, 3, 2, 5).setRoll(true);
    case TicketPaper::Pos57:
        return PageSetup::custom(57, 300).setMargins(2, 3, 2, 5).setRoll(true);
    }
    Q_UNREACHABLE();
}

std::unique_ptr<Report> ticketReport(vx::Dataset &lines, TicketPaper paper, const TicketPrint &print)
{
    auto report = std::make_unique<Report>(ticketPage(paper));
    QFont font = report->defaultFont();
    font.setPointSizeF(paper == TicketPaper::Ticket70 ? 8 : 7);
    report->setDefaultFont(font);
    report->setTitle(QStringLiteral("Ticket"));
    report->setDataset(&lines);

    // The positions are measured from the paper's edges (the calibration sheet's ruler); the
    // bands start inside the margins.
    const double width = report->page().contentRect().width();
    const QMarginsF margins = report->page().margins();
    double top = 0;
    double left = 0;
    if (print.positions) {
        top = std::max(0.0, print.positions->top / 10.0 - margins.top());
        left = std::clamp(print.positions->left / 10.0 - margins.left(), 0.0, std::max(0.0, width - narrowestText));
    }
    const double textWidth = width - left;

    const double headerHeight = lineHeight * std::max<qsizetype>(1, print.header.size());
    report->pageHeader()
        .memo(QStringLiteral("Membrete"), {left, top, textWidth, headerHeight}, print.header)
        .label(QStringLiteral("Fecha"), {left, top + headerHeight + 2, textWidth, lineHeight}, print.dateLine);

    Band &columns = report->columnHeader();
    columns.label(QStringLiteral("Cliente"), {left, 1, textWidth, lineHeight}, print.customerLine)
        .label(QStringLiteral("TituloArticulo"), {left, 6, textWidth, lineHeight}, print.articleTitle)
        .label(QStringLiteral("TituloCantidad"), {left, 10, textWidth - amountWidth, lineHeight}, print.quantityTitle)
        .spill()
        .label(QStringLiteral("TituloTotal"), {width - amountWidth, 10, amountWidth, lineHeight}, print.amountTitle)
        .right()
        .spill();
    if (paper == TicketPaper::Ticket70)
        columns.text({0, 14, width, lineHeight}, QString(80, QLatin1Char('-'))).size(6);

    // The description has the whole line under the code, and goes on to the next when it is
    // longer: sizes and colours at its end tell articles of one model apart.
    Band &detail = report->detail();
    double line = 0;
    detail.field({left, line, std::min(codeWidth, textWidth), lineHeight}, QStringLiteral("TM1CHR1"));
    line += lineHeight;
    detail.field({left, line, textWidth, lineHeight}, QStringLiteral("TM1CHR10")).wrap();
    line += lineHeight;
    detail.field({left, line, quantityWidth, lineHeight}, QStringLiteral("TM1NUM1"))
        .mask(QStringLiteral("0.##"))
        .field({left + quantityWidth, line, textWidth - quantityWidth - amountWidth, lineHeight},
               QStringLiteral("TM1PRE1"))
        .mask(money)
        .field({width - amountWidth, line, amountWidth, lineHeight}, QStringLiteral("TM1PRE2"))
        .mask(money)
        .right();
    detail.setHeight(line + lineHeight);

    Band &summary = report->summary();
    summary.hline(1, left, width);
    const auto row = [&](double y, const QString &caption, const QString &name, const QString &value) {
        summary.text({left, y, textWidth - amountWidth, lineHeight}, caption);
        summary.label(name, {width - amountWidth, y, amountWidth, lineHeight}, value).right();
    };
    row(2, QStringLiteral("Sub total"), QStringLiteral("SubTotal"), print.subtotal);
    row(2 + lineHeight, QStringLiteral("Bonificacion:"), QStringLiteral("Bonificacion"), print.discount);
    summary.text({left, 3 + 2 * lineHeight, textWidth - amountWidth, lineHeight + 1}, QStringLiteral("Importe Total"))
        .bold();
    summary
        .label(QStringLiteral("Total"), {width - amountWidth - 4, 3 + 2 * lineHeight, amountWidth + 4, lineHeight + 1},
               print.total)
        .bold()
        .right();
    return report;
}

} // namespace sales
