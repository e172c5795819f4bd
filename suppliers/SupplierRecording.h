#pragma once
// The one way the supplier recordings touch the database: a short transaction whose failure
// reaches the operator as a Spanish message, with the engine's cause kept for whoever looks deeper.
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "suppliers/SupplierPayment.h"

namespace suppliers {

inline PaymentError refusal(const QString &message)
{
    return PaymentError(PaymentError::Kind::Invalid, message);
}

template<class Work> auto inTransaction(vx::Connection &connection, const Work &work)
{
    static const QString failedMessage = QStringLiteral("No se pudo completar el proceso.");
    // Another recording of this window's connection is still open: waiting on it would never end.
    if (connection.inTransaction())
        throw PaymentError(PaymentError::Kind::Busy, QStringLiteral("Archivos ocupados, intente en unos instantes."));
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

} // namespace suppliers
