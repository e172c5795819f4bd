#include "catalogue/MaestStkExport.h"

#include "export/DataToXLS.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Table.h"

namespace catalogue {

namespace {

struct SheetColumn {
    const char *field;
    const char *title;
    int width;
    Qt::Alignment alignment;
    TCellType type;
};

constexpr Qt::Alignment left = Qt::AlignLeft;
constexpr Qt::Alignment right = Qt::AlignRight;
constexpr Qt::Alignment centre = Qt::AlignHCenter;

const SheetColumn sheetColumns[] = {
    {"ARTCMCT", "CODIGO PROPIO", 6000, left, ctLabel},    {"ARTCOD", "Cod.Proveed.", 4000, right, ctLabel},
    {"ARTDES", "DESCRIPCION", 10000, left, ctLabel},      {"ARTEX1", "Cant.1", 2200, right, ctDouble},
    {"ARTEX2", "Cant.2", 2200, right, ctDouble},          {"ARTCOS1", "Costo 1", 3000, right, ctDouble},
    {"ARTCOS2", "Costo 2", 3000, right, ctDouble},        {"ARTVEN1", "Venta 1", 3000, right, ctDouble},
    {"ARTVEN2", "Venta 2", 3000, right, ctDouble},        {"ARTVEN3", "Venta 3", 3000, right, ctLabel},
    {"ARTVEN4", "Venta 4", 3000, right, ctLabel},         {"ARTFEC1", "F.Ingreso", 3200, centre, ctLabel},
    {"ARTFEC2", "F.Egreso", 3200, centre, ctLabel},       {"ARTFOT", "Arch.de Foto", 8800, left, ctLabel},
    {"ARTOBS", "Observaciones", 8800, left, ctLabel},
};

}  // namespace

QString stockSheetTitle()
{
    return QStringLiteral("Consulta de Stock al   ") + vx::shopformat::formatDate(QDate::currentDate());
}

QString exportStockList(vx::Table &stock, const QString &fileName)
{
    TDataToXLS sheet;
    sheet.setDataSet(&stock);
    sheet.Title().Text = stockSheetTitle();
    sheet.Title().RowHeight = 10000;
    sheet.Header().RowHeight = 5000;
    for (const SheetColumn &c : sheetColumns) {
        TxlColumn *column = sheet.Columns().addColumn();
        column->DataField = QString::fromLatin1(c.field);
        column->Title = QString::fromLatin1(c.title);
        column->ColWidth = c.width;
        column->Alignment = c.alignment;
        column->DataType = c.type;
    }
    sheet.SaveToFile(fileName);
    return sheet.LastFileName();
}

}  // namespace catalogue
