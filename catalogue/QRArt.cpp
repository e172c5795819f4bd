#include "catalogue/QRArt.h"

namespace {

// Columns in millimetres from the left margin: code, description, reorder point, quantity, cost,
// price, last receipt, last issue.
constexpr double codeX = 0, codeW = 27;
constexpr double descriptionX = 28, descriptionW = 55;
constexpr double reorderX = 84, reorderW = 15;
constexpr double quantityX = 100, quantityW = 15;
constexpr double costX = 116, costW = 17;
constexpr double priceX = 134, priceW = 17;
constexpr double lastInX = 154, lastInW = 18;
constexpr double lastOutX = 173, lastOutW = 17;
constexpr double lineHeight = 4.5;

}  // namespace

TQRArt::TQRArt(vx::Dataset *stock) : m_report(vx::report::PageSetup::a4())
{
    m_report.setTitle(QStringLiteral("Listado de Articulos"));
    m_report.setDataset(stock);

    m_report.pageHeader(12)
        .dateTime({0, 2, 140, 6}, QStringLiteral("Listado de Articulos al %1"))
        .bold()
        .size(12)
        .pageNumber({150, 2, 40, 6}, QStringLiteral("Hoja %1"))
        .right();

    m_report.columnHeader(7)
        .text({codeX, 0, codeW, 5}, QStringLiteral("Articulo")).bold()
        .text({descriptionX, 0, descriptionW, 5}, QStringLiteral("Descripcion")).bold()
        .text({reorderX, 0, reorderW, 5}, QStringLiteral("Pto.Rep.")).bold().right()
        .text({quantityX, 0, quantityW, 5}, QStringLiteral("Cant.")).bold().right()
        .text({costX, 0, costW, 5}, QStringLiteral("Costo")).bold().right()
        .text({priceX, 0, priceW, 5}, QStringLiteral("Venta")).bold().right()
        .text({lastInX, 0, lastInW, 5}, QStringLiteral("Ult.Ingreso")).bold().size(8)
        .text({lastOutX, 0, lastOutW, 5}, QStringLiteral("Ult.Egreso")).bold().size(8)
        .hline(6, 0, 190);

    m_report.detail(lineHeight)
        .field({codeX, 0, codeW, lineHeight}, QStringLiteral("ARTCMCT"))
        .field({descriptionX, 0, descriptionW, lineHeight}, QStringLiteral("ARTDES"))
        .field({reorderX, 0, reorderW, lineHeight}, QStringLiteral("ARTREP")).right()
        .field({quantityX, 0, quantityW, lineHeight}, QStringLiteral("ARTEX1")).mask(QStringLiteral("0.00")).right()
        .field({costX, 0, costW, lineHeight}, QStringLiteral("ARTCOS1")).mask(QStringLiteral("0.00")).right()
        .field({priceX, 0, priceW, lineHeight}, QStringLiteral("ARTVEN1")).mask(QStringLiteral("0.00")).right()
        .field({lastInX, 0, lastInW, lineHeight}, QStringLiteral("ARTFEC1")).size(8)
        .field({lastOutX, 0, lastOutW, lineHeight}, QStringLiteral("ARTFEC2")).size(8);

    m_report.addDetail(QString::fromLatin1(secondLineBand), lineHeight)
        .field({quantityX, 0, quantityW, lineHeight}, QStringLiteral("ARTEX2")).mask(QStringLiteral("0.00")).right()
        .field({costX, 0, costW, lineHeight}, QStringLiteral("ARTCOS2")).mask(QStringLiteral("0.00")).right()
        .field({priceX, 0, priceW, lineHeight}, QStringLiteral("ARTVEN2")).mask(QStringLiteral("0.00")).right();
}
