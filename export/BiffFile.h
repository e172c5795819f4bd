#pragma once

#include "export/DateTexts.h"
#include "export/SheetWriter.h"

#include <QString>
#include <QVariant>
#include <QtGlobal>

class BiffRecord;
class QFont;
class QIODevice;


// Writes one worksheet as BIFF2 records (the old ".xls" format) straight to a stream that the
// caller owns, in the order of the calls: nothing is kept, nothing is sought back to.
//
// Creating it writes BOF; finish() (or, failing that, the destructor) writes EOF. A writer
// destroyed while an exception unwinds, or after its stream refused bytes, leaves the file
// without EOF, so that an interrupted export never looks complete. Every operation throws
// StreamWriteError when the stream does not take the whole record, ValueConversionError when
// a value does not fit the cell type asked for (nothing of that cell is written), and
// ExportError for a row, column or width beyond what the record's field can hold.
class TBiffFile : public SheetWriter {
public:
    static constexpr int maxTextLength = 255;

    explicit TBiffFile(QIODevice *stream);
    ~TBiffFile() override;
    TBiffFile(const TBiffFile &) = delete;
    TBiffFile &operator=(const TBiffFile &) = delete;

    // Writes EOF now and reports a failure, which the destructor cannot. Nothing may be
    // written afterwards.
    void finish() override;
    // Gives the sheet up: it stays without EOF and nothing more is written.
    void abandon() override { m_state = State::Broken; }

    void WriteDimensions(int firstRow, int lastRowPlusOne, int firstColumn, int lastColumnPlusOne);
    // Fonts are numbered in the order they are written, from 0.
    void WriteFont(const QFont &font) override;
    // CODEPAGE: the code page the texts are written in (Windows-1252), which readers such as
    // xlrd need to read any letter outside plain ASCII.
    void WriteCodePage();
    // Width in 1/256 of a character.
    void WriteColWidth(int firstColumn, int lastColumn, int width);
    void WriteColWidth(int column, int width) override;
    void WriteNote(int row, int column, const QString &text) override;

    // A null value, or ctBlank, gives a blank cell; otherwise the value is converted to the type.
    void WriteCell(int row, int column, TCellAttributes attributes, TCellType cellType, const QVariant &value) override;
    void WriteBlank(int row, int column, TCellAttributes attributes);
    // The INTEGER record holds 0..65535; any other value is written as a NUMBER so that the
    // reader still gets the true value.
    void WriteInteger(int row, int column, TCellAttributes attributes, qint64 value);
    void WriteNumber(int row, int column, TCellAttributes attributes, double value);
    void WriteLabel(int row, int column, TCellAttributes attributes, const QString &value) override;
    void WriteBoolean(int row, int column, TCellAttributes attributes, bool value);

private:
    void writeRecord(BiffRecord &record);

    enum class State { Open, Finished, Broken };

    QIODevice *m_stream;
    DateTexts m_texts;
    int m_uncaughtAtCreation;
    State m_state = State::Open;
};
