#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <memory>

namespace vx {
class Connection;
class Dataset;
class Table;
} // namespace vx

namespace sales {

// One printed line of a receipt or ticket.
struct StagedLine {
    QString code;          // TM1CHR1
    QString description;   // TM1CHR10
    double quantity = 0;   // TM1NUM1
    double unitPrice = 0;  // TM1PRE1
    double amount = 0;     // TM1PRE2
    double percentage = 0; // TM1PRE3, the receipt's discount on the line
};

// The rows a receipt or ticket prints from: the printout's own view of the work table TMP1. The
// sale on the sales window keeps its lines in the same table while it prints, so every staging
// row carries a marker in TM1CHR11 and this view sees, appends and deletes only marked rows.
class ReceiptStaging {
public:
    // The marker the staging rows carry in TM1CHR11.
    static QString marker();

    explicit ReceiptStaging(vx::Connection &connection);
    ~ReceiptStaging();
    ReceiptStaging(const ReceiptStaging &) = delete;
    ReceiptStaging &operator=(const ReceiptStaging &) = delete;

    // The view, open on the staging rows in the order they were appended.
    vx::Table &view();
    // Deletes every staging row; the sale's own lines stay.
    void clear();
    // Replaces the staging rows with the lines, each with the receipt number as text and the
    // receipt date, in one commit.
    void stage(const QList<StagedLine> &lines, const QString &receiptNumber, const QDate &date);
    // Clears the staging rows and closes the view.
    void close();

private:
    vx::Connection &m_connection;
    std::unique_ptr<vx::Table> m_view;
};

// The sale's lines as the sales window holds them (TM1CHR1 code, TM1CHR10 description, TM1NUM1
// quantity, TM1PRE1 unit price, TM1PRE2 amount), from first to last in the dataset's order;
// staging rows are skipped. The cursor is left where it was.
QList<StagedLine> saleLines(vx::Dataset &lines);

} // namespace sales
