#include "export/DataToXLS.h"

#include "export/XlsxFile.h"

#include "platform/db/Dataset.h"
#include "platform/db/Field.h"
#include "platform/ui/Dialogs.h"

#include <QFileInfo>
#include <QTemporaryFile>

namespace {

// Every export declares the same extent, whatever the data: readers go by the cells.
constexpr int declaredRowsEnd = 1025;
constexpr int declaredColumnsEnd = 4;

// "65 534": the figures of the question, grouped in thousands by spaces.
QString grouped(int number)
{
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return digits;
}

} // namespace

QString TDataToXLS::workbookQuestion(int rows)
{
    return QStringLiteral("La lista tiene %1 filas y una planilla .xls admite %2. ¿Graba un libro .xlsx?")
        .arg(grouped(rows), grouped(xlsDataRows));
}

QString TDataToXLS::workbookName(const QString &fileName)
{
    if (fileName.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive))
        return fileName + QLatin1Char('x');
    return fileName + QStringLiteral(".xlsx");
}

void TDataToXLS::SaveToFile(const QString &fileName)
{
    checkCanExport();
    const int rows = DataSet()->recordCount();
    if (rows <= xlsDataRows) {
        TDataExport::SaveToFile(fileName);
        m_lastFileName = fileName;
        return;
    }
    if (!vx::ui::dialogs().confirm(nullptr, workbookQuestion(rows), QString()))
        throw ExportDeclined(QStringLiteral("No se exportó la lista: no cabe en una planilla .xls."));
    const QString target = workbookName(fileName);
    const std::unique_ptr<QTemporaryFile> file = fileBeside(target);
    m_workbookPath = file->fileName();
    try {
        exportTo(nullptr);
    } catch (...) {
        m_workbookPath.clear();
        throw;
    }
    m_workbookPath.clear();
    replaceFile(*file, target);
    m_lastFileName = target;
}

TDataToXLS::TDataToXLS(QObject *parent) : TDataExport(parent)
{
    m_title.Font.setBold(true);
    m_header.Font.setBold(true);
}

TDataToXLS::~TDataToXLS()
{
    // Destroyed from one of its own event handlers: the export stops here and its output
    // stays without an end, as after any failure.
    if (m_writer)
        m_writer->abandon();
}

void TDataToXLS::BeginExport()
{
    TDataExport::BeginExport();
    TBiffFile *sheet = nullptr;
    if (m_workbookPath.isEmpty()) {
        auto biff = std::make_unique<TBiffFile>(stream());
        sheet = biff.get();
        m_writer = std::move(biff);
        sheet->WriteCodePage();
    } else {
        m_writer = std::make_unique<TXlsxFile>(m_workbookPath);
    }
    m_row = 0;
    m_writer->WriteFont(m_detail.Font);
    m_writer->WriteFont(m_title.Font);
    m_writer->WriteFont(m_header.Font);
    if (sheet)
        sheet->WriteDimensions(0, declaredRowsEnd, 0, declaredColumnsEnd);
    if (!m_title.Text.isEmpty()) {
        m_writer->WriteLabel(0, 0, CellAttribute::Font1, m_title.Text);
        ++m_row;
    }
    if (!m_comment.isEmpty())
        m_writer->WriteNote(0, 0, m_comment);
    writeHeaderLine();
}

void TDataToXLS::writeHeaderLine()
{
    int outputColumn = 0;
    for (int i = 0; i < m_columns.count(); ++i) {
        const TxlColumn *column = m_columns.column(i);
        if (!column->Save)
            continue;
        if (column->ColWidth > 0)
            m_writer->WriteColWidth(outputColumn, cappedColWidth(column->ColWidth));
        m_writer->WriteLabel(m_row, outputColumn, CellAttribute::Font2, column->Title);
        ++outputColumn;
    }
    ++m_row;
}

void TDataToXLS::WriteRecord()
{
    int outputColumn = 0;
    for (int i = 0; i < m_columns.count(); ++i) {
        const TxlColumn *column = m_columns.column(i);
        if (!column->Save)
            continue;
        QVariant value = exportedField(i, column->DataField)->value();
        TCellType cellType = column->DataType;
        TCellAttributes attributes = column->alignmentAttributes();
        if (OnGetDetailParams) {
            const QPointer<TDataExport> self(this);
            OnGetDetailParams(m_row, outputColumn, *column, value, cellType, attributes);
            checkStillExporting(self);
        }
        m_writer->WriteCell(m_row, outputColumn, attributes, cellType, value);
        ++outputColumn;
    }
    ++m_row;
}

void TDataToXLS::EndExport()
{
    m_writer->finish();
    m_writer.reset();
    TDataExport::EndExport();
}

void TDataToXLS::abortExport()
{
    if (m_writer)
        m_writer->abandon();
    m_writer.reset();
    TDataExport::abortExport();
}
