#pragma once

#include <QFlags>
#include <QtGlobal>

// The kind of a cell to write.
enum TCellType : quint8 { ctBlank = 0, ctInteger = 1, ctDouble = 2, ctLabel = 3, ctBoolean = 4 };

// Formatting flags of a cell; the writer turns them into the three attribute bytes of a cell
// record. Of the fonts and of the alignments only the first one set counts.
enum class CellAttribute : quint16 {
    Hidden = 0x0001,
    Locked = 0x0002,
    Shaded = 0x0004,
    BottomBorder = 0x0008,
    TopBorder = 0x0010,
    RightBorder = 0x0020,
    LeftBorder = 0x0040,
    KeepFont0 = 0x0080,
    Font1 = 0x0100,
    Font2 = 0x0200,
    Font3 = 0x0400,
    AlignLeft = 0x0800,
    AlignCentre = 0x1000,
    AlignRight = 0x2000,
    Fill = 0x4000,
};
Q_DECLARE_FLAGS(TCellAttributes, CellAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(TCellAttributes)
