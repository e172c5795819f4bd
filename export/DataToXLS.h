#pragma once

#include "export/BiffFile.h"
#include "export/ExportError.h"
#include "export/DataExport.h"
#include "export/XlBand.h"
#include "export/XlColumn.h"

#include <memory>

// The operator chose not to write a list too long for a .xls sheet as a workbook.
class ExportDeclined : public ExportError {
public:
    using ExportError::ExportError;
};

// Lets a handler change a detail cell before it is written: its value, cell type and attributes.
using TGetDetailCellParams = std::function<void(int ARow, int ACol, const TxlColumn &AColumn, QVariant &AValue,
                                                TCellType &AColumnType, TCellAttributes &AAttributes)>;

// Exports a dataset to a spreadsheet file: an optional title line, an optional note, a line of
// column titles and a line per record. Without columns it exports every field of the dataset,
// titled by its display label.
//
// A .xls sheet holds 65 536 rows. A list longer than its data rows admit is offered, through the
// dialogs service, as an .xlsx workbook with the same title, header and cell types, written
// under the same name with the extension .xlsx; a list that fits is written as .xls.
class TDataToXLS : public TDataExport {
    Q_OBJECT
public:
    // The data rows a .xls sheet admits under its title and header lines.
    static constexpr int xlsDataRows = 65534;
    // The question asked for a list of `rows` rows.
    static QString workbookQuestion(int rows);
    // Where the workbook of a list meant for `fileName` is written.
    static QString workbookName(const QString &fileName);

    explicit TDataToXLS(QObject *parent = nullptr);
    ~TDataToXLS() override;

    TxlColumns &Columns() { return m_columns; }
    TxlTitle &Title() { return m_title; }
    TxlHeader &Header() { return m_header; }
    TxlDetail &Detail() { return m_detail; }
    QString Comment() const { return m_comment; }
    void setComment(const QString &comment) { m_comment = comment; }

    TGetDetailCellParams OnGetDetailParams;

    // Writes the list to the file; a list longer than a sheet goes to an .xlsx workbook when the
    // operator accepts, and throws ExportDeclined when not (nothing written).
    void SaveToFile(const QString &fileName) override;
    // The file the last SaveToFile wrote (the .xlsx name for a workbook).
    QString LastFileName() const { return m_lastFileName; }

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

    std::unique_ptr<SheetWriter> m_writer;
    QString m_workbookPath; // set while a workbook is written
    QString m_lastFileName;
    int m_row = 0;
};
