#include "suppliers/SupplierDocuments.h"

#include "data/RowWriter.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierText.h"

#include <QSqlQuery>

namespace suppliers {

namespace {

const QString failedMessage = QStringLiteral("No se pudo completar el proceso.");

PaymentError invalid(const QString &message)
{
    return PaymentError(PaymentError::Kind::Invalid, message);
}

template<class Work> auto inTransaction(vx::Connection &connection, const Work &work)
{
    try {
        vx::Transaction transaction(connection);
        const auto result = work();
        transaction.commit();
        return result;
    } catch (const PaymentError &) {
        throw;
    } catch (const std::exception &error) {
        const QString cause = vx::causeOf(error);
        const auto *db = dynamic_cast<const vx::DbError *>(&error);
        throw PaymentError(PaymentError::Kind::Failed,
                           cause.isEmpty() ? failedMessage : failedMessage + QLatin1Char('\n') + cause,
                           db ? db->message() : QString::fromUtf8(error.what()));
    }
}

} // namespace

qint64 writeSupplierDocument(vx::Connection &connection, const SupplierDocument &document)
{
    const qint64 cents = toCents(document.total);
    if (cents <= 0)
        throw invalid(QStringLiteral("El importe del comprobante debe ser mayor que cero."));
    if (!document.date.isValid())
        throw invalid(QStringLiteral("Debe ingresar la fecha del comprobante."));
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
        throw invalid(QStringLiteral("El proveedor ya tiene %1 número %2.")
                          .arg(credit ? QStringLiteral("un crédito") : QStringLiteral("una factura"),
                               numberText(document.number)));
    const qint64 key = data::RowWriter(connection).insertReturningKey(
        QStringLiteral("PROCOM"),
        {QStringLiteral("COMTIP"), QStringLiteral("COMCLI"), QStringLiteral("COMNRO"), QStringLiteral("COMDIA"),
         QStringLiteral("COMTOT"), QStringLiteral("COMSAL"), QStringLiteral("BON"), QStringLiteral("COMOPE")},
        {type, document.supplierCode, document.number, vx::naiveDateTime(document.date), fromCents(cents),
         fromCents(cents), QStringLiteral("N"), document.operatorCode});
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

int writeSupplier(vx::Connection &connection, const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        throw invalid(QStringLiteral("Debe ingresar el nombre del proveedor."));
    if (connection.scalar(QStringLiteral("SELECT COUNT(*) FROM PROVEEDORES WHERE CLIAPE = ?"), {trimmed}).toLongLong() > 0)
        throw invalid(QStringLiteral("Ya hay un proveedor llamado %1.").arg(trimmed));
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
