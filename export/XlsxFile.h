#pragma once

#include "export/DateTexts.h"
#include "export/SheetWriter.h"

#include <QFont>
#include <QHash>
#include <QList>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// Writes one worksheet as an .xlsx workbook, for lists longer than a .xls sheet admits. The file
// is written only by finish(); rows go to a temporary file on the way, so a list of any length
// takes little memory. Cell values are turned as the .xls writer turns them. Failures throw
// ExportError with the library's reason.
class TXlsxFile : public SheetWriter {
public:
    // The most rows a worksheet holds.
    static constexpr int maxRows = 1048576;

    explicit TXlsxFile(const QString &path);
    ~TXlsxFile() override;
    TXlsxFile(const TXlsxFile &) = delete;
    TXlsxFile &operator=(const TXlsxFile &) = delete;

    void WriteFont(const QFont &font) override;
    void WriteColWidth(int column, int width) override;
    void WriteNote(int row, int column, const QString &text) override;
    void WriteLabel(int row, int column, TCellAttributes attributes, const QString &value) override;
    void WriteCell(int row, int column, TCellAttributes attributes, TCellType cellType,
                   const QVariant &value) override;
    void finish() override;
    void abandon() override;

private:
    lxw_format *format(TCellAttributes attributes);
    void check(int error, int row, int column) const;

    QString m_path;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    QList<QFont> m_fonts;
    QHash<int, lxw_format *> m_formats;
    DateTexts m_texts;
};
