#include "catalogue/MaestStkReport.h"

#include "platform/db/Table.h"

namespace {

// Columns in millimetres from the left margin.
constexpr double codeX = 0, codeW = 27;
constexpr double descriptionX = 28, descriptionW = 50;
constexpr double quantityX = 79, quantityW = 15;
constexpr double costX = 95, costW = 18;
constexpr double costValueX = 114, costValueW = 24;
constexpr double priceX = 139, priceW = 18;
constexpr double priceValueX = 158, priceValueW = 30;
constexpr double brandW = 27, colourX = 28, colourW = 24, sizeX = 53, sizeW = 25;
constexpr double lineHeight = 4.5;
const QString money = QStringLiteral("0.00");

}  // namespace

TQRMaestro::TQRMaestro(vx::Connection *connection)
    : m_stock(std::make_unique<vx::Table>(connection, QStringLiteral("STOCK"))), m_report(vx::report::PageSetup::a4())
{
    m_stock->setObjectName(QStringLiteral("QRMaestroStock"));
    m_report.setTitle(QStringLiteral("Listado de Stock"));
    m_report.setDataset(m_stock.get());

    m_report.pageHeader(12)
        .dateTime({0, 2, 150, 6}, QStringLiteral("LISTADO DE STOCK AL %1"))
        .bold()
        .size(12)
        .pageNumber({150, 2, 40, 6}, QStringLiteral("Hoja %1"))
        .right();

    m_report.columnHeader(11)
        .text({codeX, 0, codeW, 5}, QStringLiteral("Articulo")).bold()
        .text({descriptionX, 0, descriptionW, 5}, QStringLiteral("Descripcion")).bold()
        .text({quantityX, 0, quantityW, 5}, QStringLiteral("Cant.")).bold().right()
        .text({costX, 0, costW, 5}, QStringLiteral("Costo")).bold().right()
        .text({costValueX, 0, costValueW, 5}, QStringLiteral("Cant x Costo")).bold().right()
        .text({priceX, 0, priceW, 5}, QStringLiteral("Venta")).bold().right()
        .text({priceValueX, 0, priceValueW, 5}, QStringLiteral("Cant x Venta")).bold().right()
        .text({codeX, 5, brandW, 5}, QStringLiteral("MARCA")).bold()
        .text({colourX, 5, colourW, 5}, QStringLiteral("COLOR")).bold()
        .text({sizeX, 5, sizeW, 5}, QStringLiteral("TALLE")).bold()
        .text({quantityX, 5, quantityW, 5}, QStringLiteral("Cant.2")).bold().right()
        .text({costX, 5, costW, 5}, QStringLiteral("Costo 2")).bold().right()
        .text({costValueX, 5, costValueW, 5}, QStringLiteral("Cant.2 x Costo.2")).bold().right()
        .text({priceX, 5, priceW, 5}, QStringLiteral("Venta 2")).bold().right()
        .text({priceValueX, 5, priceValueW, 5}, QStringLiteral("Cant2 x Venta2")).bold().right()
        .hline(10.5, 0, 190);

    m_report.detail(2 * lineHeight)
        .field({codeX, 0, codeW, lineHeight}, QStringLiteral("ARTCMCT"))
        .field({descriptionX, 0, descriptionW, lineHeight}, QStringLiteral("ARTDES"))
        .field({quantityX, 0, quantityW, lineHeight}, QStringLiteral("ARTEX1")).mask(money).right()
        .field({costX, 0, costW, lineHeight}, QStringLiteral("ARTCOS1")).mask(money).right()
        .product({costValueX, 0, costValueW, lineHeight}, QStringLiteral("ARTEX1"), QStringLiteral("ARTCOS1")).mask(money).right()
        .field({priceX, 0, priceW, lineHeight}, QStringLiteral("ARTVEN1")).mask(money).right()
        .product({priceValueX, 0, priceValueW, lineHeight}, QStringLiteral("ARTEX1"), QStringLiteral("ARTVEN1")).mask(money).right()
        .field({codeX, lineHeight, brandW, lineHeight}, QStringLiteral("ARTMARD")).size(7)
        .field({colourX, lineHeight, colourW, lineHeight}, QStringLiteral("ARTCOLD")).size(7)
        .field({sizeX, lineHeight, sizeW, lineHeight}, QStringLiteral("ARTTALD")).size(7)
        .field({quantityX, lineHeight, quantityW, lineHeight}, QStringLiteral("ARTEX2")).mask(money).right()
        .field({costX, lineHeight, costW, lineHeight}, QStringLiteral("ARTCOS2")).mask(money).right()
        .product({costValueX, lineHeight, costValueW, lineHeight}, QStringLiteral("ARTEX2"), QStringLiteral("ARTCOS2")).mask(money).right()
        .field({priceX, lineHeight, priceW, lineHeight}, QStringLiteral("ARTVEN2")).mask(money).right()
        .product({priceValueX, lineHeight, priceValueW, lineHeight}, QStringLiteral("ARTEX2"), QStringLiteral("ARTVEN2")).mask(money).right();

    m_report.summary(30)
        .hline(1, 0, 190)
        .text({0, 3, 60, 5}, QStringLiteral("Total de Unidades Depo.1")).bold()
        .label(QStringLiteral("QRLDepo1"), {60, 3, 30, 5}).right()
        .text({100, 3, 60, 5}, QStringLiteral("Total de Unidades Depo.2")).bold()
        .label(QStringLiteral("QRLDepo2"), {160, 3, 30, 5}).right()
        .text({0, 10, 60, 5}, QStringLiteral("Total Valorizado por Costo: ")).bold()
        .label(QStringLiteral("QRLTot1"), {60, 10, 30, 5}).right()
        .text({100, 10, 60, 5}, QStringLiteral("Valorizado por Venta:")).bold()
        .label(QStringLiteral("QRLVen1"), {160, 10, 30, 5}).right()
        .text({0, 17, 60, 5}, QStringLiteral("Valorizado Cant.2 x Costo 2: ")).bold()
        .label(QStringLiteral("QRLTot2"), {60, 17, 30, 5}).right()
        .text({100, 17, 60, 5}, QStringLiteral("Cant.2 x Venta: 2:")).bold()
        .label(QStringLiteral("QRLVen2"), {160, 17, 30, 5}).right();
}

TQRMaestro::~TQRMaestro() = default;

void TQRMaestro::open(const QString &filter, const QString &sort)
{
    m_stock->close();
    m_stock->setFilter(filter);
    m_stock->setFiltered(!filter.isEmpty());
    m_stock->setSort(sort);
    m_stock->open();
    setTotals(catalogue::stockTotals(*m_stock));
}

void TQRMaestro::setTotals(const catalogue::StockTotals &totals)
{
    m_report.setCaption(QStringLiteral("QRLDepo1"), totals.units1);
    m_report.setCaption(QStringLiteral("QRLDepo2"), totals.units2);
    m_report.setCaption(QStringLiteral("QRLTot1"), totals.cost1);
    m_report.setCaption(QStringLiteral("QRLVen1"), totals.sale1);
    m_report.setCaption(QStringLiteral("QRLTot2"), totals.cost2);
    m_report.setCaption(QStringLiteral("QRLVen2"), totals.sale2);
}
