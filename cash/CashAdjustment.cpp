#include "cash/CashAdjustment.h"

#include "data/RowWriter.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"

#include <functional>

namespace cash {

namespace {

const QString failedMessage = QStringLiteral("No se pudo completar el proceso.");

template<class Result> Result inTransaction(vx::Connection &connection, const std::function<Result()> &work)
{
    try {
        vx::Transaction transaction(connection);
        const Result result = work();
        transaction.commit();
        return result;
    } catch (const std::exception &failure) {
        const QString cause = vx::causeOf(failure);
        const auto *db = dynamic_cast<const vx::DbError *>(&failure);
        throw CashError(CashError::Kind::Failed,
                        cause.isEmpty() ? failedMessage : failedMessage + QLatin1Char('\n') + cause,
                        db ? db->message() : QString::fromUtf8(failure.what()));
    }
}

} // namespace

void recordAdjustment(vx::Connection &connection, const Adjustment &adjustment)
{
    if (adjustment.amount < 0)
        throw CashError(CashError::Kind::Invalid, QStringLiteral("El importe debe ser positivo."));
    if (!adjustment.date.isValid())
        throw CashError(CashError::Kind::Invalid, QStringLiteral("Debe ingresar la fecha."));
    const qint64 cents = toCents(adjustment.amount);
    const QDateTime date = vx::naiveDateTime(adjustment.date);
    const QDateTime today = vx::naiveDateTime(vx::naiveNow().date());
    inTransaction<bool>(connection, [&] {
        data::RowWriter(connection).insert(
            QStringLiteral("CAJA"),
            {QStringLiteral("CAJMOV"), QStringLiteral("CAJTIP"), QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC"),
             adjustment.moneyIn ? QStringLiteral("CAJENT") : QStringLiteral("CAJSAL"), QStringLiteral("CAJCON")},
            {QStringLiteral("J"), QStringLiteral("EF"), fromCents(adjustment.moneyIn ? cents : -cents), today, date,
             QStringLiteral("AJUSTE en CAJA/ ") + adjustment.text});
        return true;
    });
}

qint64 clearCardRows(vx::Connection &connection, const QDate &from, const QDate &to)
{
    const QVariant start = connection.dialect().toDatabase(vx::naiveDateTime(from), vx::FieldType::DateTime);
    const QVariant end = connection.dialect().toDatabase(vx::naiveDateTime(to.addDays(1)), vx::FieldType::DateTime);
    return inTransaction<qint64>(connection, [&] {
        const qint64 deleted =
            connection
                .execute(QStringLiteral("DELETE FROM CAJA WHERE CAJTIP = 'TT' AND CAJFEC >= ? AND CAJFEC < ?"), {start, end})
                .numRowsAffected();
        connection.noteWrite();
        return deleted;
    });
}

} // namespace cash
