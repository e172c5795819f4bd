#include "export/XlsxFile.h"

#include "export/ExportError.h"
#include "export/VariantConversion.h"

#include <QDir>

#include <xlsxwriter.h>

#include <cmath>

namespace {

bool has(TCellAttributes attributes, CellAttribute flag)
{
    return attributes.testFlag(flag);
}

// The font a cell's attributes name: 0 unless Font1..Font3 is set (the first one set counts).
int fontIndex(TCellAttributes attributes)
{
    if (has(attributes, CellAttribute::KeepFont0))
        return 0;
    if (has(attributes, CellAttribute::Font1))
        return 1;
    if (has(attributes, CellAttribute::Font2))
        return 2;
    if (has(attributes, CellAttribute::Font3))
        return 3;
    return 0;
}

uint8_t alignment(TCellAttributes attributes)
{
    if (has(attributes, CellAttribute::AlignLeft))
        return LXW_ALIGN_LEFT;
    if (has(attributes, CellAttribute::AlignCentre))
        return LXW_ALIGN_CENTER;
    if (has(attributes, CellAttribute::AlignRight))
        return LXW_ALIGN_RIGHT;
    return LXW_ALIGN_NONE;
}

} // namespace

TXlsxFile::TXlsxFile(const QString &path) : m_path(path)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    const QByteArray name = QFile::encodeName(path);
    m_book = workbook_new_opt(name.constData(), &options);
    if (m_book)
        m_sheet = workbook_add_worksheet(m_book, nullptr);
    if (!m_sheet)
        throw ExportError(QStringLiteral("No se pudo crear el libro %1.").arg(QDir::toNativeSeparators(path)));
}

TXlsxFile::~TXlsxFile()
{
    abandon();
}

void TXlsxFile::abandon()
{
    if (!m_book)
        return;
    // The library writes the file only when the workbook is closed; one given up leaves no file.
    workbook_close(m_book);
    m_book = nullptr;
    QFile::remove(m_path);
}

void TXlsxFile::finish()
{
    if (!m_book)
        throw ExportError(QStringLiteral("El libro ya fue cerrado; no se puede seguir escribiendo."));
    const lxw_error error = workbook_close(m_book);
    m_book = nullptr;
    if (error != LXW_NO_ERROR)
        throw StreamWriteError(QStringLiteral("No se pudo grabar el libro %1: %2")
                                   .arg(QDir::toNativeSeparators(m_path), QString::fromUtf8(lxw_strerror(error))));
}

void TXlsxFile::check(int error, int row, int column) const
{
    if (error == LXW_NO_ERROR)
        return;
    throw ExportError(QStringLiteral("No se pudo escribir la celda de la fila %1, columna %2: %3")
                          .arg(row + 1)
                          .arg(column + 1)
                          .arg(QString::fromUtf8(lxw_strerror(lxw_error(error)))));
}

void TXlsxFile::WriteFont(const QFont &font)
{
    m_fonts.append(font);
}

lxw_format *TXlsxFile::format(TCellAttributes attributes)
{
    const int font = fontIndex(attributes);
    const uint8_t align = alignment(attributes);
    const int key = font * 16 + align;
    if (lxw_format *known = m_formats.value(key))
        return known;
    lxw_format *made = workbook_add_format(m_book);
    if (font < m_fonts.size()) {
        const QFont &f = m_fonts.at(font);
        format_set_font_name(made, f.family().toUtf8().constData());
        format_set_font_size(made, f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 0.75);
        if (f.bold())
            format_set_bold(made);
        if (f.italic())
            format_set_italic(made);
        if (f.underline())
            format_set_underline(made, LXW_UNDERLINE_SINGLE);
        if (f.strikeOut())
            format_set_font_strikeout(made);
    }
    if (align != LXW_ALIGN_NONE)
        format_set_align(made, align);
    m_formats.insert(key, made);
    return made;
}

void TXlsxFile::WriteColWidth(int column, int width)
{
    check(worksheet_set_column(m_sheet, lxw_col_t(column), lxw_col_t(column), width / 256.0, nullptr), 0, column);
}

void TXlsxFile::WriteNote(int row, int column, const QString &text)
{
    check(worksheet_write_comment(m_sheet, lxw_row_t(row), lxw_col_t(column), text.toUtf8().constData()), row,
          column);
}

void TXlsxFile::WriteLabel(int row, int column, TCellAttributes attributes, const QString &value)
{
    check(worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column), value.toUtf8().constData(),
                                 format(attributes)),
          row, column);
}

void TXlsxFile::WriteCell(int row, int column, TCellAttributes attributes, TCellType cellType, const QVariant &value)
{
    lxw_format *cellFormat = format(attributes);
    const auto r = lxw_row_t(row);
    const auto c = lxw_col_t(column);
    if (value.isNull() || cellType == ctBlank) {
        check(worksheet_write_blank(m_sheet, r, c, cellFormat), row, column);
        return;
    }
    switch (cellType) {
    case ctInteger:
        check(worksheet_write_number(m_sheet, r, c, double(VariantConversion::toInteger(value)), cellFormat), row,
              column);
        return;
    case ctDouble: {
        // Not a number and infinity are not figures a shop can read: the cell stays empty.
        const double number = VariantConversion::toDouble(value);
        check(std::isfinite(number) ? worksheet_write_number(m_sheet, r, c, number, cellFormat)
                                    : worksheet_write_blank(m_sheet, r, c, cellFormat),
              row, column);
        return;
    }
    case ctLabel:
        WriteLabel(row, column, attributes, m_texts.text(value));
        return;
    case ctBoolean:
        check(worksheet_write_boolean(m_sheet, r, c, VariantConversion::toBoolean(value), cellFormat), row, column);
        return;
    case ctBlank:
        break;
    }
    throw ExportError(QStringLiteral("Tipo de celda desconocido: %1.").arg(int(cellType)));
}
