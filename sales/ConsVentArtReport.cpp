#include "sales/ConsVentArtReport.h"

#include "platform/db/Query.h"
#include "platform/report/Report.h"

namespace sales {

std::unique_ptr<vx::report::Report> qrEstad(vx::Query &lines, const vx::DayRange &days, const LineTotalsTexts &totals)
{
    using vx::report::PageSetup;
    auto report = std::make_unique<vx::report::Report>(PageSetup::a4(QPageLayout::Landscape));
    report->setTitle(QStringLiteral("CONSULTA DE VENTAS"));
    report->setDataset(&lines);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8);
    report->setDefaultFont(font);
    report->pageHeader(12)
        .text({0, 0, 200, 7},
              QStringLiteral("CONSULTA DE VENTAS      Desde el %1 - Hasta el %2").arg(days.firstText(), days.lastText()))
        .bold().size(12)
        .pageNumber({237, 0, 40, 5}, QStringLiteral("Pagina %1 de %2")).right();
    struct Column {
        const char *title;
        double x;
        double width;
        bool right;
    };
    const QList<Column> columns{{"Fecha", 0, 20, false},        {"Comprobante", 21, 22, true},
                                {"Código", 45, 26, false},      {"Descripción", 72, 62, false},
                                {"Cant.", 135, 14, true},       {"Vta.Un.", 150, 20, true},
                                {"Costo Un.", 171, 20, true},   {"Venta Tot.", 192, 24, true},
                                {"Costo Tot.", 217, 24, true},  {"", 243, 20, false}};
    vx::report::Band &titles = report->columnHeader(6);
    for (const Column &c : columns) {
        titles.text({c.x, 0, c.width, 5}, QString::fromUtf8(c.title)).bold();
        if (c.right)
            titles.right();
    }
    titles.hline(5.5, 0, 277);
    report->detail(4.5)
        .field({0, 0, 20, 4}, QStringLiteral("ITEFEC"))
        .field({21, 0, 22, 4}, QStringLiteral("ITECOM")).right()
        .field({45, 0, 26, 4}, QStringLiteral("ITECOD"))
        .field({72, 0, 62, 4}, QStringLiteral("ARTDES"))
        .field({135, 0, 14, 4}, QStringLiteral("ITECAN")).right()
        .field({150, 0, 20, 4}, QStringLiteral("ITEPRE")).mask(QStringLiteral("0.00")).right()
        .field({171, 0, 20, 4}, QStringLiteral("ITECAU")).mask(QStringLiteral("0.00")).right()
        .product({192, 0, 24, 4}, QStringLiteral("ITECAN"), QStringLiteral("ITEPRE")).mask(QStringLiteral("0.00")).right()
        .product({217, 0, 24, 4}, QStringLiteral("ITECAN"), QStringLiteral("ITECAU")).mask(QStringLiteral("0.00")).right()
        .field({243, 0, 20, 4}, QStringLiteral("ANULADO"));
    report->summary(16)
        .hline(1, 0, 277)
        .text({0, 3, 40, 5}, QStringLiteral("Total de Uni.: ") + totals.units).bold()
        .text({50, 3, 60, 5}, QStringLiteral("Total Venta: ") + totals.sale).bold()
        .text({115, 3, 60, 5}, QStringLiteral("Total Costo: ") + totals.cost).bold()
        .text({180, 3, 97, 5}, QStringLiteral("Diferencia Venta - Costo: ") + totals.difference).bold();
    return report;
}

}  // namespace sales
