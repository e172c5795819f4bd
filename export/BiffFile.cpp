#include "export/BiffFile.h"

#include "export/BiffRecord.h"
#include "export/ExportError.h"
#include "export/VariantConversion.h"
#include "export/Windows1252.h"

#include <QFont>
#include <QIODevice>

#include <array>
#include <cmath>
#include <exception>

namespace {

namespace RecordNumber {
constexpr quint16 dimensions = 0x0000;
constexpr quint16 blank = 0x0001;
constexpr quint16 integer = 0x0002;
constexpr quint16 number = 0x0003;
constexpr quint16 label = 0x0004;
constexpr quint16 boolErr = 0x0005;
constexpr quint16 bof = 0x0009;
constexpr quint16 eof = 0x000A;
constexpr quint16 note = 0x001C;
constexpr quint16 colWidth = 0x0024;
constexpr quint16 font = 0x0031;
constexpr quint16 codePage = 0x0042;
} // namespace RecordNumber

constexpr quint16 biffVersion2 = 0x0002;
constexpr quint16 windows1252 = 1252; // the code page Windows1252 writes every text in
// The BOF type of a worksheet; readers such as xlrd refuse a file with any other type.
constexpr quint16 worksheetStream = 0x0010;

// `what` is UTF-8. Kept out of line: every cell checks its row and column.
[[noreturn]] Q_DECL_COLD_FUNCTION Q_NEVER_INLINE void refuseWord(int value, const char *what)
{
    throw ExportError(QStringLiteral("%1 %2 está fuera del rango que admite la hoja (0 a 65535).")
                          .arg(QString::fromUtf8(what))
                          .arg(value));
}

quint16 checkedWord(int value, const char *what)
{
    if (Q_UNLIKELY(value < 0 || value > 0xFFFF))
        refuseWord(value, what);
    return static_cast<quint16>(value);
}

quint8 checkedColumnByte(int column)
{
    if (column < 0 || column > 0xFF)
        throw ExportError(
            QStringLiteral("La columna %1 está fuera del rango de anchos de columna (0 a 255).").arg(column));
    return static_cast<quint8>(column);
}

quint16 checkedRow(int row)
{
    return checkedWord(row, "La fila");
}

quint16 checkedColumn(int column)
{
    return checkedWord(column, "La columna");
}

bool has(TCellAttributes attributes, CellAttribute flag)
{
    return attributes.testFlag(flag);
}

std::array<quint8, 3> attributeBytes(TCellAttributes attributes)
{
    std::array<quint8, 3> bytes{};
    if (has(attributes, CellAttribute::Hidden))
        bytes[0] += 0x80;
    if (has(attributes, CellAttribute::Locked))
        bytes[0] += 0x40;

    if (!has(attributes, CellAttribute::KeepFont0)) {
        if (has(attributes, CellAttribute::Font1))
            bytes[1] = 0x40;
        else if (has(attributes, CellAttribute::Font2))
            bytes[1] = 0x80;
        else if (has(attributes, CellAttribute::Font3))
            bytes[1] = 0xC0;
    }

    if (has(attributes, CellAttribute::Shaded))
        bytes[2] += 0x80;
    if (has(attributes, CellAttribute::BottomBorder))
        bytes[2] += 0x40;
    if (has(attributes, CellAttribute::TopBorder))
        bytes[2] += 0x20;
    if (has(attributes, CellAttribute::RightBorder))
        bytes[2] += 0x10;
    if (has(attributes, CellAttribute::LeftBorder))
        bytes[2] += 0x08;
    if (has(attributes, CellAttribute::AlignLeft))
        bytes[2] += 1;
    else if (has(attributes, CellAttribute::AlignCentre))
        bytes[2] += 2;
    else if (has(attributes, CellAttribute::AlignRight))
        bytes[2] += 3;
    if (has(attributes, CellAttribute::Fill))
        bytes[2] += 4;
    return bytes;
}

// Height in twentieths of a point; a font sized in pixels is taken at 96 pixels per inch.
quint16 fontHeight(const QFont &font)
{
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    return static_cast<quint16>(qBound(0.0, std::round(points * 20), 65535.0));
}

quint16 fontStyle(const QFont &font)
{
    quint16 style = 0;
    if (font.bold())
        style |= 0x0001;
    if (font.italic())
        style |= 0x0002;
    if (font.underline())
        style |= 0x0004;
    if (font.strikeOut())
        style |= 0x0008;
    return style;
}

// The seven bytes every cell record begins with: row, column and the attribute bytes.
BiffRecord cellRecord(quint16 number, int row, int column, TCellAttributes attributes)
{
    BiffRecord record(number);
    record.addWord(checkedRow(row));
    record.addWord(checkedColumn(column));
    for (const quint8 byte : attributeBytes(attributes))
        record.addByte(byte);
    return record;
}

} // namespace

TBiffFile::TBiffFile(QIODevice *stream) : m_stream(stream), m_uncaughtAtCreation(std::uncaught_exceptions())
{
    BiffRecord record(RecordNumber::bof);
    record.addWord(biffVersion2);
    record.addWord(worksheetStream);
    writeRecord(record);
}

TBiffFile::~TBiffFile()
{
    if (m_state != State::Open || std::uncaught_exceptions() > m_uncaughtAtCreation)
        return;
    try {
        finish();
    } catch (const ExportError &) {
        // Nobody is left to tell; callers that need to know call finish() themselves.
    }
}

void TBiffFile::finish()
{
    BiffRecord record(RecordNumber::eof);
    writeRecord(record);
    m_state = State::Finished;
}

void TBiffFile::WriteDimensions(int firstRow, int lastRowPlusOne, int firstColumn, int lastColumnPlusOne)
{
    BiffRecord record(RecordNumber::dimensions);
    record.addWord(checkedRow(firstRow));
    record.addWord(checkedRow(lastRowPlusOne));
    record.addWord(checkedColumn(firstColumn));
    record.addWord(checkedColumn(lastColumnPlusOne));
    writeRecord(record);
}

void TBiffFile::WriteFont(const QFont &font)
{
    BiffRecord record(RecordNumber::font);
    record.addWord(fontHeight(font));
    record.addWord(fontStyle(font));
    record.addShortText(font.family(), maxTextLength);
    writeRecord(record);
}

void TBiffFile::WriteCodePage()
{
    BiffRecord record(RecordNumber::codePage);
    record.addWord(windows1252);
    writeRecord(record);
}

void TBiffFile::WriteColWidth(int firstColumn, int lastColumn, int width)
{
    BiffRecord record(RecordNumber::colWidth);
    record.addByte(checkedColumnByte(firstColumn));
    record.addByte(checkedColumnByte(lastColumn));
    record.addWord(checkedWord(width, "El ancho de columna"));
    writeRecord(record);
}

void TBiffFile::WriteColWidth(int column, int width)
{
    WriteColWidth(column, column, width);
}

void TBiffFile::WriteNote(int row, int column, const QString &text)
{
    const QByteArray bytes = Windows1252::fromUnicode(text, maxTextLength);
    BiffRecord record(RecordNumber::note);
    record.addWord(checkedRow(row));
    record.addWord(checkedColumn(column));
    record.addWord(static_cast<quint16>(bytes.size()));
    record.addBytes(bytes);
    writeRecord(record);
}

void TBiffFile::WriteCell(int row, int column, TCellAttributes attributes, TCellType cellType, const QVariant &value)
{
    if (value.isNull()) {
        WriteBlank(row, column, attributes);
        return;
    }
    switch (cellType) {
    case ctBlank:
        WriteBlank(row, column, attributes);
        return;
    case ctInteger:
        WriteInteger(row, column, attributes, VariantConversion::toInteger(value));
        return;
    case ctDouble:
        WriteNumber(row, column, attributes, VariantConversion::toDouble(value));
        return;
    case ctLabel:
        WriteLabel(row, column, attributes, m_texts.text(value));
        return;
    case ctBoolean:
        WriteBoolean(row, column, attributes, VariantConversion::toBoolean(value));
        return;
    }
    throw ExportError(QStringLiteral("Tipo de celda desconocido: %1.").arg(int(cellType)));
}

void TBiffFile::WriteBlank(int row, int column, TCellAttributes attributes)
{
    BiffRecord record = cellRecord(RecordNumber::blank, row, column, attributes);
    writeRecord(record);
}

void TBiffFile::WriteInteger(int row, int column, TCellAttributes attributes, qint64 value)
{
    if (value < 0 || value > 0xFFFF) {
        WriteNumber(row, column, attributes, static_cast<double>(value));
        return;
    }
    BiffRecord record = cellRecord(RecordNumber::integer, row, column, attributes);
    record.addWord(static_cast<quint16>(value));
    writeRecord(record);
}

void TBiffFile::WriteNumber(int row, int column, TCellAttributes attributes, double value)
{
    // Not a number and infinity are not figures a shop can read: the cell stays empty.
    if (!std::isfinite(value)) {
        WriteBlank(row, column, attributes);
        return;
    }
    BiffRecord record = cellRecord(RecordNumber::number, row, column, attributes);
    record.addDouble(value);
    writeRecord(record);
}

void TBiffFile::WriteLabel(int row, int column, TCellAttributes attributes, const QString &value)
{
    BiffRecord record = cellRecord(RecordNumber::label, row, column, attributes);
    record.addShortText(value, maxTextLength);
    writeRecord(record);
}

void TBiffFile::WriteBoolean(int row, int column, TCellAttributes attributes, bool value)
{
    BiffRecord record = cellRecord(RecordNumber::boolErr, row, column, attributes);
    record.addByte(value ? 1 : 0);
    record.addByte(0); // a boolean, not an error code
    writeRecord(record);
}

void TBiffFile::writeRecord(BiffRecord &record)
{
    if (m_state == State::Finished)
        throw ExportError(QStringLiteral("La hoja ya fue cerrada; no se puede seguir escribiendo."));
    if (m_state == State::Broken)
        throw StreamWriteError(QStringLiteral("La hoja quedó incompleta; no se puede seguir escribiendo."));
    const QByteArrayView bytes = record.bytes();
    const qint64 written = m_stream ? m_stream->write(bytes.data(), bytes.size()) : -1;
    if (written != bytes.size()) {
        m_state = State::Broken;
        const QString reason = m_stream ? m_stream->errorString() : QStringLiteral("no hay flujo");
        throw StreamWriteError(
            QStringLiteral("No se pudo escribir la hoja de cálculo (se escribieron %1 de %2 bytes): %3")
                .arg(qMax<qint64>(written, 0))
                .arg(bytes.size())
                .arg(reason));
    }
}
