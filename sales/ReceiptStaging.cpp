#include "sales/ReceiptStaging.h"

#include "data/RowInserter.h"
#include "platform/db/Connection.h"
#include "platform/db/Table.h"

#include <optional>

namespace sales {

namespace {

const QString markerColumn = QStringLiteral("TM1CHR11");

} // namespace

QString ReceiptStaging::marker()
{
    return QStringLiteral("COMPROBANTE");
}

ReceiptStaging::ReceiptStaging(vx::Connection &connection) : m_connection(connection) {}

ReceiptStaging::~ReceiptStaging() = default;

vx::Table &ReceiptStaging::view()
{
    if (!m_view) {
        m_view = std::make_unique<vx::Table>(&m_connection, QStringLiteral("TMP1"));
        m_view->setObjectName(QStringLiteral("TMP1Comprobante"));
        m_view->setFilter(QStringLiteral("%1 = '%2'").arg(markerColumn, marker()));
        m_view->setFiltered(true);
        m_view->setIndexFieldNames(QStringLiteral("TM1UNO"));
    }
    if (!m_view->active())
        m_view->open();
    return *m_view;
}

void ReceiptStaging::clear()
{
    m_connection.execute(QStringLiteral("DELETE FROM TMP1 WHERE %1 = ?").arg(markerColumn), {marker()});
    if (m_view && m_view->active())
        m_view->refresh();
}

void ReceiptStaging::stage(const QList<StagedLine> &lines, const QString &receiptNumber, const QDate &date)
{
    {
        // One commit for the old rows' removal and the new rows, unless the caller's transaction
        // already groups them.
        std::optional<vx::Transaction> transaction;
        if (!m_connection.inTransaction())
            transaction.emplace(m_connection);
        m_connection.execute(QStringLiteral("DELETE FROM TMP1 WHERE %1 = ?").arg(markerColumn), {marker()});
        data::RowInserter rows(m_connection, QStringLiteral("TMP1"),
                               {markerColumn, QStringLiteral("TM1CHR1"), QStringLiteral("TM1CHR10"),
                                QStringLiteral("TM1NUM1"), QStringLiteral("TM1PRE1"), QStringLiteral("TM1PRE2"),
                                QStringLiteral("TM1PRE3"), QStringLiteral("TM1CHR3"), QStringLiteral("TM1DAT1")});
        const QVariant day = date.isValid() ? QVariant(QDateTime(date, QTime(0, 0))) : QVariant();
        for (const StagedLine &line : lines) {
            rows.insert({marker(), line.code, line.description, line.quantity, line.unitPrice, line.amount,
                         line.percentage, receiptNumber, day});
        }
        if (transaction)
            transaction->commit();
    }
    vx::Table &view = this->view();
    view.refresh();
    view.first();
}

void ReceiptStaging::close()
{
    clear();
    if (m_view)
        m_view->close();
}

QList<StagedLine> saleLines(vx::Dataset &lines)
{
    const QStringList names{QStringLiteral("TM1CHR1"), QStringLiteral("TM1CHR10"), QStringLiteral("TM1NUM1"),
                            QStringLiteral("TM1PRE1"), QStringLiteral("TM1PRE2"),  markerColumn};
    QList<StagedLine> out;
    const QList<QVariantList> rows = lines.columnValues(names);
    for (const QVariantList &row : rows) {
        if (row[5].toString() == ReceiptStaging::marker())
            continue;
        out.append({row[0].toString(), row[1].toString(), row[2].toDouble(), row[3].toDouble(), row[4].toDouble(), 0});
    }
    return out;
}

} // namespace sales
