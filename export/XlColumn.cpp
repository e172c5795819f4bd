#include "export/XlColumn.h"

#include "platform/db/DataSource.h" // DBGrid.h keeps a QPointer to one
#include "platform/db/Field.h"
#include "platform/ui/DBGrid.h"

#include <algorithm>

TCellType cellTypeForField(vx::FieldType type)
{
    switch (type) {
    case vx::FieldType::AutoInc:
    case vx::FieldType::Integer:
    case vx::FieldType::SmallInt:
        return ctInteger;
    case vx::FieldType::Boolean:
        return ctBoolean;
    case vx::FieldType::Float:
        return ctDouble;
    case vx::FieldType::DateTime:
    case vx::FieldType::String:
    case vx::FieldType::Memo:
        break;
    }
    return ctLabel;
}

int cappedColWidth(int width)
{
    return std::min(width, 0xFFFF);
}

void TxlColumn::Assign(const vx::Field &field)
{
    TExportField::Assign(field);
    Title = field.displayLabel();
    // Fields align numbers right and everything else left.
    Alignment = field.isNumeric() ? Qt::AlignRight : Qt::AlignLeft;
    ColWidth = 0;
    DataType = cellTypeForField(field.dataType());
}

void TxlColumn::Assign(const vx::ui::DBGrid &grid, int column)
{
    const vx::ui::GridColumn &shown = grid.column(column);
    const vx::Field *field = grid.columnField(column);
    DataField = shown.fieldName;
    Save = shown.visible;
    Title = grid.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    Alignment = shown.alignment & Qt::AlignHorizontal_Mask;
    if (!Alignment)
        Alignment = field && field->isNumeric() ? Qt::AlignRight : Qt::AlignLeft;
    ColWidth = cappedColWidth(grid.columnWidth(column) * 37);
    if (field)
        DataType = cellTypeForField(field->dataType());
}

void TxlColumn::Assign(const TxlColumn &other)
{
    DataField = other.DataField;
    Save = other.Save;
    Title = other.Title;
    Alignment = other.Alignment;
    ColWidth = other.ColWidth;
    DataType = other.DataType;
}

TCellAttributes TxlColumn::alignmentAttributes() const
{
    if (Alignment & Qt::AlignRight)
        return CellAttribute::AlignRight;
    if (Alignment & Qt::AlignHCenter)
        return CellAttribute::AlignCentre;
    return CellAttribute::AlignLeft;
}

QString TxlColumn::defaultDisplayName() const
{
    return QStringLiteral("TxlColumn");
}

std::unique_ptr<TExportField> TxlColumns::createItem() const
{
    return std::make_unique<TxlColumn>();
}
