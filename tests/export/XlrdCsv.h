#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Reads a spreadsheet file back through Python's xlrd (Debian's python3-xlrd, hence
// /usr/bin/python3), as the same CSV lines LibreOffice gives: numbers as %.15g, booleans as 1
// and 0, empty and blank cells as nothing, text quoted when it holds a comma or a quote.
namespace XlrdCsv {

inline QString python()
{
    return QStringLiteral("/usr/bin/python3");
}

inline bool available()
{
    QProcess process;
    process.start(python(), {QStringLiteral("-c"), QStringLiteral("import xlrd")});
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// The CSV lines of the file's sheet; on failure, empty with xlrd's complaint in *error.
inline QStringList convert(const QString &spreadsheetPath, QString *error)
{
    static const QString script = QStringLiteral(R"(
import sys, xlrd
sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
def text(cell):
    if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
        return ''
    if cell.ctype == xlrd.XL_CELL_NUMBER:
        return '%.15g' % cell.value
    if cell.ctype == xlrd.XL_CELL_BOOLEAN:
        return '1' if cell.value else '0'
    if cell.ctype == xlrd.XL_CELL_TEXT:
        value = cell.value
        return '"' + value.replace('"', '""') + '"' if (',' in value or '"' in value) else value
    return '<%s>' % xlrd.error_text_from_code.get(cell.value, cell.value)
out = []
for r in range(sheet.nrows):
    row = [text(sheet.cell(r, c)) for c in range(sheet.row_len(r))]
    row += [''] * (sheet.ncols - len(row))
    out.append(','.join(row))
sys.stdout.write('\n'.join(out))
)");
    QProcess process;
    process.start(python(), {QStringLiteral("-c"), script, spreadsheetPath});
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        *error = QStringLiteral("xlrd refused the file: ") + QString::fromUtf8(process.readAllStandardError());
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace XlrdCsv
