#include "cash/CashReports.h"

#include "platform/report/Report.h"
#include "sales/TktFac.h"

namespace cash {

using vx::report::Band;
using vx::report::PageSetup;
using vx::report::Report;

namespace {

const QString money = QStringLiteral("0.00");
const QString shortDate = QStringLiteral("dd/mm/yyyy");

void totals(Band &summary, double left, double captionWidth, double valueWidth, const CashBookPrint &print)
{
    summary.text({left, 2, captionWidth, 5}, QStringLiteral("EFECTIVO EN CAJA:")).bold();
    summary.label(QStringLiteral("Efectivo"), {left + captionWidth, 2, valueWidth, 5}, print.till).bold().right();
    summary.text({left, 8, captionWidth, 5}, QStringLiteral("TARJETAS EN CAJA:")).bold();
    summary.label(QStringLiteral("Tarjetas"), {left + captionWidth, 8, valueWidth, 5}, print.cards).bold().right();
}

} // namespace

std::unique_ptr<Report> cashBookReport(vx::Dataset &book, const CashBookPrint &print)
{
    auto report = std::make_unique<Report>(PageSetup::a4().setMargins(10));
    report->setTitle(QStringLiteral("Consulta de Caja"));
    report->setDataset(&book);
    report->pageHeader(12)
        .label(QStringLiteral("Titulo"), {0, 0, 150, 7}, QStringLiteral("Consulta de Caja ") + print.dateText)
        .size(12)
        .bold()
        .pageNumber({150, 0, 40, 5}, QStringLiteral("Página %1 de %2"))
        .right();
    Band &columns = report->columnHeader(7);
    const auto title = [&columns](double x, double width, const char *text) -> Band & {
        return columns.text({x, 0, width, 5}, QString::fromUtf8(text)).bold();
    };
    title(0, 8, "I/E");
    title(8, 8, "MP");
    title(16, 20, "Comp.Nro.");
    title(36, 20, "Importe").right();
    title(58, 20, "Fecha");
    title(78, 20, "F.Entrada");
    title(98, 20, "F.Salida");
    title(118, 72, "Concepto");
    columns.hline(6, 0, 190);
    report->detail(5)
        .field({0, 0, 8, 5}, QStringLiteral("CAJMOV"))
        .field({8, 0, 8, 5}, QStringLiteral("CAJTIP"))
        .field({16, 0, 20, 5}, QStringLiteral("CAJCOM"))
        .field({36, 0, 20, 5}, QStringLiteral("CAJIMP"))
        .mask(money)
        .right()
        .field({58, 0, 20, 5}, QStringLiteral("CAJFEC"))
        .mask(shortDate)
        .field({78, 0, 20, 5}, QStringLiteral("CAJENT"))
        .mask(shortDate)
        .field({98, 0, 20, 5}, QStringLiteral("CAJSAL"))
        .mask(shortDate)
        .field({118, 0, 72, 5}, QStringLiteral("CAJCON"));
    Band &summary = report->summary(16);
    summary.hline(1, 0, 190);
    totals(summary, 100, 50, 40, print);
    return report;
}

std::unique_ptr<Report> cashBookTicket(vx::Dataset &book, const CashBookPrint &print)
{
    auto report = std::make_unique<Report>(sales::ticketPage(sales::TicketPaper::Ticket70));
    QFont font = report->defaultFont();
    font.setPointSizeF(7);
    report->setDefaultFont(font);
    report->setTitle(QStringLiteral("Consulta de Caja"));
    report->setDataset(&book);
    const double width = report->page().contentRect().width();
    report->pageHeader(10).label(QStringLiteral("Titulo"), {0, 0, width, 8}, QStringLiteral("Consulta de Caja ") + print.dateText).bold().wrap();
    Band &columns = report->columnHeader(6);
    columns.text({0, 0, 12, 4}, QStringLiteral("I/E-MP")).bold();
    columns.text({12, 0, 18, 4}, QStringLiteral("Nro.")).bold();
    columns.text({30, 0, 17, 4}, QStringLiteral("Imp.")).bold().right();
    columns.text({49, 0, width - 49, 4}, QStringLiteral("Fecha")).bold();
    columns.hline(5, 0, width);
    report->detail(4)
        .field({0, 0, 4, 4}, QStringLiteral("CAJMOV"))
        .field({5, 0, 7, 4}, QStringLiteral("CAJTIP"))
        .field({12, 0, 18, 4}, QStringLiteral("CAJCOM"))
        .field({30, 0, 17, 4}, QStringLiteral("CAJIMP"))
        .mask(money)
        .right()
        .field({49, 0, width - 49, 4}, QStringLiteral("CAJFEC"))
        .mask(shortDate);
    Band &summary = report->summary(15);
    summary.hline(1, 0, width);
    totals(summary, 0, 35, width - 35, print);
    return report;
}

} // namespace cash
