#include "sales/ReceiptStaging.h"

#include "platform/db/Connection.h"
#include "platform/db/Table.h"

#include <optional>

namespace sales {

namespace {

const QString markerColumn = QStringLiteral("TM1CHR11");

}  // namespace

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
    vx::Table &rows = view();
    // One commit for all the rows, unless the caller's transaction already groups them.
    std::optional<vx::Transaction> transaction;
    if (!m_connection.inTransaction())
        transaction.emplace(m_connection);
    rows.disableControls();
    try {
        for (const StagedLine &line : lines) {
            rows.append();
            rows.fieldByName(markerColumn)->setValue(marker());
            rows.fieldByName(QStringLiteral("TM1CHR1"))->setValue(line.code);
            rows.fieldByName(QStringLiteral("TM1CHR10"))->setValue(line.description);
            rows.fieldByName(QStringLiteral("TM1NUM1"))->setValue(line.quantity);
            rows.fieldByName(QStringLiteral("TM1PRE1"))->setValue(line.unitPrice);
            rows.fieldByName(QStringLiteral("TM1PRE2"))->setValue(line.amount);
            rows.fieldByName(QStringLiteral("TM1PRE3"))->setValue(line.percentage);
            rows.fieldByName(QStringLiteral("TM1CHR3"))->setValue(receiptNumber);
            if (date.isValid())
                rows.fieldByName(QStringLiteral("TM1DAT1"))->setValue(QDateTime(date, QTime(0, 0)));
            rows.post();
        }
        if (transaction)
            transaction->commit();
    } catch (...) {
        if (rows.state() == vx::Dataset::State::Insert)
            rows.cancel();
        rows.enableControls();
        throw;
    }
    rows.enableControls();
    rows.first();
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
                            QStringLiteral("TM1PRE1"), QStringLiteral("TM1PRE2"), markerColumn};
    QList<StagedLine> out;
    const QList<QVariantList> rows = lines.columnValues(names);
    for (const QVariantList &row : rows) {
        if (row[5].toString() == ReceiptStaging::marker())
            continue;
        out.append({row[0].toString(), row[1].toString(), row[2].toDouble(), row[3].toDouble(), row[4].toDouble(), 0});
    }
    return out;
}

}  // namespace sales
