#include "stock/GoodsReceipt.h"

#include "data/RowWriter.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "stock/StockUpdate.h"
#include "suppliers/SupplierDocuments.h"
#include "suppliers/SupplierText.h"

#include <cmath>

namespace stock {

namespace {

class ReceiptWriter {
public:
    ReceiptWriter(vx::Connection &connection, const ReceiptEntry &entry, const MovementProgress &progress)
        : m_connection(connection), m_rows(connection), m_entry(entry), m_progress(progress), m_now(vx::naiveNow())
    {
    }

    RecordedMovement write()
    {
        const QDateTime date = documentDate(m_entry.dateText);
        // Under the write lock: a supplier deleted at another workstation is not named by the receipt.
        if (m_entry.supplierCode != 0 &&
            !m_connection.scalar(QStringLiteral("SELECT 1 FROM PROVEEDORES WHERE CLICOD = ? LIMIT 1"), {m_entry.supplierCode})
                 .isValid())
            throw MovementRecordingError::failed(
                QStringLiteral("El proveedor con Código %1 ya no existe.").arg(m_entry.supplierCode));
        const QVariant supplier = m_entry.supplierCode != 0 ? QVariant(m_entry.supplierCode) : QVariant();
        const RecordedMovement recorded = decideNumber(m_connection, receiptSeries, m_entry.number);
        const QString journalText = QStringLiteral("Por Ingreso Nro. %1").arg(recorded.number);
        const QVariant storedDate = m_connection.dialect().toDatabase(date, vx::FieldType::DateTime);
        for (const ReceiptLine &line : m_entry.lines) {
            say("Grabando datos en Ingresos...");
            m_rows.insert(QStringLiteral("INGRESOS"),
                          {QStringLiteral("INGNRO"), QStringLiteral("INGNIV"), QStringLiteral("INGFEC"),
                           QStringLiteral("INGHOR"), QStringLiteral("INGCMCT"), QStringLiteral("INGCAN1"),
                           QStringLiteral("INGCOS1"), QStringLiteral("INGCAN2"), QStringLiteral("INGCOS2"),
                           QStringLiteral("INGOPE"), QStringLiteral("INGCLI")},
                          {recorded.number, m_entry.accessLevel, date, m_now, line.articleCode, line.quantity1,
                           line.cost1, line.quantity2, line.cost2, m_entry.operatorCode, supplier});
            say("Actualizando Stock...");
            StockChange change;
            change.code = line.articleCode;
            change.description = line.description;
            change.quantity1 = line.quantity1;
            change.quantity2 = line.quantity2;
            receiveStock(m_connection, change, storedDate, line.cost1, line.cost2);
            say("Actualizando en Movimientos...");
            writeJournalLine(m_rows, {"I", line.articleCode, line.quantity1, line.quantity2, recorded.number, journalText,
                                      m_entry.operatorCode},
                             m_now);
        }
        if (m_entry.invoiceNumber != 0)
            writeInvoice(date, recorded.number);
        return recorded;
    }

private:
    void writeInvoice(const QDateTime &date, int receiptNumber) const
    {
        if (m_entry.supplierCode == 0)
            throw MovementRecordingError::failed(QStringLiteral("La factura del ingreso necesita un proveedor."));
        say("Registrando la factura del proveedor...");
        suppliers::SupplierDocument invoice;
        invoice.supplierCode = m_entry.supplierCode;
        invoice.type = suppliers::DocumentType::Invoice;
        invoice.number = m_entry.invoiceNumber;
        invoice.date = date.date();
        invoice.total = suppliers::fromCents(receiptCostCents(m_entry.lines));
        invoice.operatorCode = m_entry.operatorCode;
        invoice.note = QStringLiteral("Por Ingreso Nro. %1").arg(receiptNumber);
        suppliers::writeSupplierDocument(m_connection, invoice);
    }

    void say(const char *text) const
    {
        if (m_progress)
            m_progress(QString::fromLatin1(text));
    }

    vx::Connection &m_connection;
    data::RowWriter m_rows;
    const ReceiptEntry &m_entry;
    const MovementProgress &m_progress;
    const QDateTime m_now;
};

}  // namespace

qint64 receiptCostCents(const QList<ReceiptLine> &lines)
{
    qint64 cents = 0;
    for (const ReceiptLine &line : lines)
        cents += std::llround((line.quantity1 * line.cost1 + line.quantity2 * line.cost2) * 100);
    return cents;
}

RecordedMovement recordReceipt(vx::Connection &connection, const ReceiptEntry &entry,
                               const MovementProgress &progress)
{
    if (entry.lines.isEmpty())
        throw MovementRecordingError::failed(QStringLiteral("El ingreso no tiene artículos."));
    return recordInTransaction(connection, [&] { return ReceiptWriter(connection, entry, progress).write(); });
}

}  // namespace stock
