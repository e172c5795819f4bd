#pragma once

#include "export/BiffFile.h"
#include "export/ExportField.h"

#include "platform/db/SchemaTypes.h"

#include <qnamespace.h>

namespace vx::ui {
class DBGrid;
}

// The cell type a field's values are written as: whole numbers as integers, booleans as
// booleans, floating point as numbers, everything else (texts, dates, memos) as text.
TCellType cellTypeForField(vx::FieldType type);

// The widest column a sheet can record (its width field has 16 bits); a wider one is capped,
// so that a grid column stretched across a wide screen never stops an export.
int cappedColWidth(int width);

// A spreadsheet column: the field it shows, its title, alignment, width and cell type.
class TxlColumn : public TExportField {
public:
    QString Title;
    Qt::Alignment Alignment = Qt::AlignLeft;
    int ColWidth = 0; // 1/256 of a character; 0 writes no width
    TCellType DataType = ctLabel;

    // Name, visibility, display label, alignment and cell type of the field; no width.
    void Assign(const vx::Field &field) override;
    // What a grid's column shows: field, visibility, caption, alignment, and its width on screen
    // (pixels × 37, capped); the cell type follows the column's field when it has one.
    void Assign(const vx::ui::DBGrid &grid, int column);
    void Assign(const TxlColumn &other);

    // The alignment part of a detail cell's attributes.
    TCellAttributes alignmentAttributes() const;

protected:
    QString defaultDisplayName() const override;
};

class TxlColumns : public TExportFields {
public:
    using TExportFields::TExportFields;

    TxlColumn *column(int index) const { return static_cast<TxlColumn *>(item(index)); }
    TxlColumn *addColumn() { return static_cast<TxlColumn *>(addItem()); }

protected:
    std::unique_ptr<TExportField> createItem() const override;
};
