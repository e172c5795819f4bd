#include "suppliers/SupplierDocuments.h"

#include "data/RowWriter.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierRecording.h"
#include "suppliers/SupplierText.h"

#include <QSqlQuery>

#include <cmath>

namespace suppliers {

namespace {

constexpr int noteSize = 60;

} // namespace

qint64 writeSupplierDocument(vx::Connection &connection, const SupplierDocument &document)
{
    const qint64 cents = toCents(document.total);
    if (cents <= 0)
        throw refusal(QStringLiteral("El importe del comprobante debe ser mayor que cero."));
    if (!document.date.isValid())
        throw refusal(QStringLiteral("Debe ingresar la fecha del comprobante."));
    if (document.dueDate.isValid() && document.dueDate < document.date)
        throw refusal(QStringLiteral("El vencimiento no puede ser anterior a la fecha del comprobante."));
    if (document.note.size() > noteSize)
        throw refusal(QStringLiteral("La nota admite hasta %1 caracteres.").arg(noteSize));
    if (document.number <= 0 || document.number != std::floor(document.number))
        throw refusal(QStringLiteral("El número del comprobante debe ser un entero mayor que cero."));
    const bool credit = document.type == DocumentType::Credit;
    const QString type = credit ? QStringLiteral("26") : QStringLiteral("13");
    QSqlQuery &found = connection.executeCached(
        QStringLiteral("SELECT MIN(CLIUNO) FROM PROVEEDORES WHERE CLICOD = ?"), {document.supplierCode});
    const QVariant supplier = found.next() ? found.value(0) : QVariant();
    found.finish();
    if (supplier.isNull())
        throw PaymentError(PaymentError::Kind::NoSupplier, noSupplierMessage());
    QSqlQuery &same = connection.executeCached(
        QStringLiteral("SELECT COUNT(*) FROM PROCOM WHERE COMCLI = ? AND COMTIP = ? AND COMNRO = ?"),
        {document.supplierCode, type, document.number});
    const bool taken = same.next() && same.value(0).toLongLong() > 0;
    same.finish();
    if (taken)
        throw refusal(QStringLiteral("El proveedor ya tiene %1 número %2.")
                          .arg(credit ? QStringLiteral("un crédito") : QStringLiteral("una factura"),
                               numberText(document.number)));
    const qint64 key = data::RowWriter(connection).insertReturningKey(
        QStringLiteral("PROCOM"),
        {QStringLiteral("COMTIP"), QStringLiteral("COMCLI"), QStringLiteral("COMNRO"), QStringLiteral("COMDIA"),
         QStringLiteral("COMTOT"), QStringLiteral("COMSAL"), QStringLiteral("BON"), QStringLiteral("COMOPE"),
         QStringLiteral("COMDIAV"), QStringLiteral("COMNOTA")},
        {type, document.supplierCode, document.number, vx::naiveDateTime(document.date), fromCents(cents),
         fromCents(cents), QStringLiteral("N"), document.operatorCode,
         document.dueDate.isValid() ? QVariant(vx::naiveDateTime(document.dueDate)) : QVariant(), document.note});
    connection.executeCached(QStringLiteral("UPDATE PROVEEDORES SET CLISAL = ROUND((COALESCE(CLISAL, 0) + ?) * 100) / 100 "
                                            "WHERE CLIUNO = ?"),
                             {fromCents(credit ? -cents : cents), supplier});
    connection.noteWrite();
    return key;
}

qint64 recordSupplierDocument(vx::Connection &connection, const SupplierDocument &document)
{
    return inTransaction(connection, [&] { return writeSupplierDocument(connection, document); });
}

void cancelSupplierDocument(vx::Connection &connection, qint64 key)
{
    inTransaction(connection, [&] {
        QSqlQuery query = connection.execute(
            QStringLiteral("SELECT COMTIP, COMCLI, COMNRO, COMTOT, COMSAL, COMANU, COMREC FROM PROCOM WHERE COMUNO = ?"),
            {key});
        if (!query.next())
            throw refusal(QStringLiteral("El comprobante ya no existe."));
        const QString type = query.value(0).toString();
        const int supplier = query.value(1).toInt();
        const double number = query.value(2).toDouble();
        const qint64 total = toCents(query.value(3).toDouble());
        const qint64 open = toCents(query.value(4).toDouble());
        const bool cancelled = connection.dialect().fromDatabase(query.value(5), vx::FieldType::Boolean).toBool();
        const bool paid = !query.value(6).toString().trimmed().isEmpty();
        query.finish();
        if (type != QLatin1String("13") && type != QLatin1String("26"))
            throw refusal(QStringLiteral("Sólo se anulan facturas y créditos; un recibo de pago no se anula."));
        if (cancelled)
            throw refusal(QStringLiteral("El comprobante ya está anulado."));
        // A payment line for the number: an invoice paid, or a credit an overpayment left.
        const bool paymentLine =
            connection
                .scalar(QStringLiteral("SELECT COUNT(*) FROM PAGOS WHERE COBPRO = ? AND COBTIP = ? AND COBNRO = ?"),
                        {supplier, type, numberText(number)})
                .toLongLong() > 0;
        if (paid || paymentLine || open != total)
            throw refusal(QStringLiteral("El comprobante tiene pagos registrados; no se puede anular."));
        connection.execute(QStringLiteral("UPDATE PROCOM SET COMANU = ?, COMSAL = 0 WHERE COMUNO = ?"),
                           {connection.dialect().toDatabase(true, vx::FieldType::Boolean), key});
        const qint64 back = type == QLatin1String("26") ? total : -total;
        connection.execute(QStringLiteral("UPDATE PROVEEDORES SET CLISAL = ROUND((COALESCE(CLISAL, 0) + ?) * 100) / 100 "
                                          "WHERE CLICOD = ?"),
                           {fromCents(back), supplier});
        connection.noteWrite();
        return 0;
    });
}

QList<DocumentLine> documentsOf(vx::Connection &connection, int supplierCode)
{
    const vx::SqlDialect &dialect = connection.dialect();
    QSqlQuery query = connection.execute(
        QStringLiteral("SELECT COMUNO, COMTIP, COMNRO, COMDIA, COMDIAV, COMTOT, COMSAL, COMANU, COMNOTA FROM PROCOM "
                       "WHERE COMCLI = ? AND COMTIP IN ('13', '26') ORDER BY COMDIA DESC, COMUNO DESC"),
        {supplierCode});
    QList<DocumentLine> out;
    while (query.next()) {
        DocumentLine line;
        line.key = query.value(0).toLongLong();
        line.type = query.value(1).toString() == QLatin1String("26") ? DocumentType::Credit : DocumentType::Invoice;
        line.number = query.value(2).toDouble();
        line.date = dialect.fromDatabase(query.value(3), vx::FieldType::DateTime).toDateTime().date();
        line.dueDate = dialect.fromDatabase(query.value(4), vx::FieldType::DateTime).toDateTime().date();
        line.total = query.value(5).toDouble();
        line.balance = query.value(6).toDouble();
        line.cancelled = dialect.fromDatabase(query.value(7), vx::FieldType::Boolean).toBool();
        line.note = query.value(8).toString();
        out << line;
    }
    return out;
}

int writeSupplier(vx::Connection &connection, const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        throw refusal(QStringLiteral("Debe ingresar el nombre del proveedor."));
    if (connection.scalar(QStringLiteral("SELECT COUNT(*) FROM PROVEEDORES WHERE CLIAPE = ?"), {trimmed}).toLongLong() > 0)
        throw refusal(QStringLiteral("Ya hay un proveedor llamado %1.").arg(trimmed));
    const int code = connection.scalar(QStringLiteral("SELECT COALESCE(MAX(CLICOD), 0) + 1 FROM PROVEEDORES")).toInt();
    data::RowWriter(connection).insert(QStringLiteral("PROVEEDORES"),
                                       {QStringLiteral("CLICOD"), QStringLiteral("CLIAPE"), QStringLiteral("CLISAL")},
                                       {code, trimmed, 0.0});
    return code;
}

int createSupplier(vx::Connection &connection, const QString &name)
{
    return inTransaction(connection, [&] { return writeSupplier(connection, name); });
}

} // namespace suppliers
