#include "sales/ConsVtasReport.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/report/Report.h"
#include "sales/SalesQueries.h"

namespace sales {

std::unique_ptr<vx::Query> receiptPrintList(vx::Connection &connection, const vx::DayRange &days)
{
    auto list = std::make_unique<vx::Query>(&connection);
    vx::QueryStatement statement = receiptListStatement();
    statement.columns << QStringLiteral("CASE WHEN COMANU THEN 'Anulado' ELSE '' END AS ANULADO");
    list->setStatement(statement);
    list->setRecordFilter(receiptRangeCondition(connection.dialect(), days));
    list->setFiltered(true);
    list->open();
    return list;
}

std::unique_ptr<vx::report::Report> qrVentasTI(vx::Query &receipts, const vx::DayRange &days, double salesTotal)
{
    auto report = std::make_unique<vx::report::Report>(vx::report::PageSetup::a4());
    report->setTitle(QStringLiteral("CONSULTA DE VENTAS"));
    report->setDataset(&receipts);
    report->pageHeader(18)
        .text({0, 0, 120, 7}, QStringLiteral("CONSULTA DE VENTAS")).bold().size(13)
        .text({0, 8, 120, 5}, QStringLiteral("Desde el %1 - Hasta el %2").arg(days.firstText(), days.lastText()))
        .pageNumber({140, 0, 50, 5}, QStringLiteral("Pagina %1 de %2")).right();
    report->columnHeader(6)
        .text({0, 0, 30, 5}, QStringLiteral("Fecha")).bold()
        .text({35, 0, 35, 5}, QStringLiteral("Comprobante")).bold().right()
        .text({75, 0, 35, 5}, QStringLiteral("Importe")).bold().right()
        .hline(5.5, 0, 190);
    report->detail(5)
        .field({0, 0, 30, 5}, QStringLiteral("COMDIA"))
        .field({35, 0, 35, 5}, QStringLiteral("COMNRO")).right()
        .field({75, 0, 35, 5}, QStringLiteral("COMTOT")).mask(QStringLiteral("0.00")).right()
        .field({115, 0, 30, 5}, QStringLiteral("ANULADO"));
    report->summary(10)
        .hline(1, 0, 190)
        .text({35, 3, 35, 5}, QStringLiteral("Total Ventas:")).bold().right()
        .text({75, 3, 35, 5}, vx::shopformat::formatFixed(salesTotal, 2)).bold().right();
    return report;
}

}  // namespace sales
