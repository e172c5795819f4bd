#include "customers/CustomerList.h"

#include "platform/report/Report.h"
#include "platform/db/DataSource.h"
#include "platform/report/Band.h"

namespace customers {

QList<vx::ui::GridColumn> customerListColumns()
{
    return {{QStringLiteral("CLICOD"), QStringLiteral("Cod."), 5},
            {QStringLiteral("CLIAPE"), QStringLiteral("Apellido y Nombre"), 30},
            {QStringLiteral("CLIDIR"), QStringLiteral("Direccion"), 22},
            {QStringLiteral("CLIC_P"), QStringLiteral("Cod.Pos."), 8},
            {QStringLiteral("CLILOC"), QStringLiteral("Localidad"), 16},
            {QStringLiteral("CLIPRO"), QStringLiteral("Provincia"), 16},
            {QStringLiteral("CLITEL"), QStringLiteral("Telefono"), 14},
            {QStringLiteral("CLICEL"), QStringLiteral("Celular"), 14},
            {QStringLiteral("CLIIVA"), QStringLiteral("I.V.A."), 18},
            {QStringLiteral("CLICUI"), QStringLiteral("C.U.I.T."), 13},
            {QStringLiteral("CLITDOC"), QStringLiteral("T.Doc."), 6},
            {QStringLiteral("CLINDOC"), QStringLiteral("Nro. Doc."), 10},
            {QStringLiteral("CLIFEC"), QStringLiteral("Fecha"), 10},
            {QStringLiteral("CLIOBS"), QStringLiteral("Observaciones"), 30},
            {QStringLiteral("CLIMAIL"), QStringLiteral("E-mail"), 25}};
}

std::unique_ptr<vx::report::Report> customerListReport(vx::Dataset &customers)
{
    using vx::report::PageSetup;
    auto report = std::make_unique<vx::report::Report>(PageSetup::a4(QPageLayout::Landscape));
    report->setTitle(QStringLiteral("Listado de Clientes"));
    report->setDataset(&customers);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(6.5);
    report->setDefaultFont(font);

    // The page's printable width shared in proportion to the grid's widths.
    const QList<vx::ui::GridColumn> columns = customerListColumns();
    double characters = 0;
    for (const vx::ui::GridColumn &column : columns)
        characters += column.width;
    constexpr double widthMm = 277.0;
    report->pageHeader(12).text({0, 0, 150, 6}, QStringLiteral("Listado de Clientes")).bold().size(11)
        .dateTime({widthMm - 60, 0, 60, 5}).right();
    vx::report::Band &titles = report->columnHeader(5);
    vx::report::Band &detail = report->detail(4);
    double x = 0;
    for (const vx::ui::GridColumn &column : columns) {
        const double w = widthMm * column.width / characters;
        titles.text({x, 0, w - 0.8, 4}, column.title).bold();
        detail.field({x, 0, w - 0.8, 4}, column.fieldName);
        if (column.fieldName == QLatin1String("CLICOD") || column.fieldName == QLatin1String("CLINDOC")) {
            titles.right();
            detail.right();
        }
        x += w;
    }
    titles.hline(4.6, 0, widthMm);
    report->summary(6).text({0, 1, 40, 4}, QStringLiteral("Clientes:")).bold().count({40, 1, 20, 4});
    report->pageFooter(6).pageNumber({widthMm - 40, 1, 40, 4}, QStringLiteral("Pagina %1 de %2")).right();
    return report;
}

void printCustomerList(vx::Dataset &customers, QWidget *parent)
{
    customerListReport(customers)->preview(parent);
}

} // namespace customers
