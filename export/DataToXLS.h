#pragma once

#include "export/BiffFile.h"
#include "export/DataExport.h"
#include "export/XlBand.h"
#include "export/XlColumn.h"

#include <memory>

// Lets a handler change a detail cell before it is written: its value, cell type and attributes.
using TGetDetailCellParams = std::function<void(int ARow, int ACol, const TxlColumn &AColumn, QVariant &AValue,
                                                TCellType &AColumnType, TCellAttributes &AAttributes)>;

// Exports a dataset to a spreadsheet file: an optional title line, an optional note, a line of
// column titles and a line per record. Without columns it exports every field of the dataset,
// titled by its display label.
class TDataToXLS : public TDataExport {
    Q_OBJECT
public:
    explicit TDataToXLS(QObject *parent = nullptr);
    ~TDataToXLS() override;

    TxlColumns &Columns() { return m_columns; }
    TxlTitle &Title() { return m_title; }
    TxlHeader &Header() { return m_header; }
    TxlDetail &Detail() { return m_detail; }
    QString Comment() const { return m_comment; }
    void setComment(const QString &comment) { m_comment = comment; }

    TGetDetailCellParams OnGetDetailParams;

protected:
    void BeginExport() override;
    void EndExport() override;
    void WriteRecord() override;
    TExportFields *GetExportFields() override { return &m_columns; }
    void abortExport() override;

private:
    void writeHeaderLine();

    TxlColumns m_columns{this};
    TxlTitle m_title;
    TxlHeader m_header;
    TxlDetail m_detail;
    QString m_comment;

    std::unique_ptr<TBiffFile> m_writer;
    int m_row = 0;
};
