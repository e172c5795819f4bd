#pragma once

#include "export/CellTypes.h"

#include <QString>
#include <QVariant>

class QFont;

// What the dataset export writes a sheet through: the .xls sheet of a list that fits one, or the
// .xlsx workbook of a longer list. Rows are written in order, from the top.
class SheetWriter {
public:
    virtual ~SheetWriter() = default;

    // Fonts are numbered in the order they are written, from 0; a cell's Font1..Font3 name them.
    virtual void WriteFont(const QFont &font) = 0;
    // Width in 1/256 of a character.
    virtual void WriteColWidth(int column, int width) = 0;
    virtual void WriteNote(int row, int column, const QString &text) = 0;
    virtual void WriteLabel(int row, int column, TCellAttributes attributes, const QString &value) = 0;
    // A null value, or ctBlank, gives a blank cell; otherwise the value is converted to the type.
    virtual void WriteCell(int row, int column, TCellAttributes attributes, TCellType cellType,
                           const QVariant &value) = 0;
    // Completes the sheet and reports a failure.
    virtual void finish() = 0;
    // Gives the sheet up: it stays incomplete and nothing more is written.
    virtual void abandon() = 0;
};
