#include "export/DataToXLS.h"

#include "platform/db/Dataset.h"
#include "platform/db/Field.h"

namespace {

// Every export declares the same extent, whatever the data: readers go by the cells.
constexpr int declaredRowsEnd = 1025;
constexpr int declaredColumnsEnd = 4;

} // namespace

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
    m_writer = std::make_unique<TBiffFile>(stream());
    m_row = 0;
    m_writer->WriteCodePage();
    m_writer->WriteFont(m_detail.Font);
    m_writer->WriteFont(m_title.Font);
    m_writer->WriteFont(m_header.Font);
    m_writer->WriteDimensions(0, declaredRowsEnd, 0, declaredColumnsEnd);
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
