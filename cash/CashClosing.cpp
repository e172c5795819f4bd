#include "cash/CashClosing.h"

#include "data/RowWriter.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"

#include <cmath>

namespace cash {

namespace {

const QString failedMessage = QStringLiteral("No se pudo completar el proceso.");

QStringList cashColumns()
{
    return {QStringLiteral("CAJFEC"), QStringLiteral("CAJENT"), QStringLiteral("CAJMOV"), QStringLiteral("CAJCOM"),
            QStringLiteral("CAJIMP"), QStringLiteral("CAJCON")};
}

// The till the figures counted, as the cash book holds it now: a row of it gone (closed by another
// workstation) shows in its amount.
bool tillUnchanged(vx::Connection &connection, const CashFigures &figures)
{
    const QVariant cents = connection.scalar(
        QStringLiteral("SELECT COALESCE(SUM(ROUND(CAJIMP * 100)), 0) FROM CAJA WHERE CAJUNO <= ? AND "
                       "(CAJMOV = 'S' OR (CAJTIP = 'EF' AND CAJMOV IN ('I', 'E', 'J')))"),
        {figures.lastRow});
    return std::llround(cents.toDouble()) == figures.tillCents();
}

bool closedSince(vx::Connection &connection, const CashFigures &figures)
{
    const bool newOpening =
        connection.scalar(QStringLiteral("SELECT COUNT(*) FROM CAJA WHERE CAJMOV = 'S' AND CAJUNO > ?"), {figures.lastRow})
            .toLongLong() > 0;
    const bool newClosing = connection
                                .scalar(QStringLiteral("SELECT COUNT(*) FROM CAJAD WHERE CAJMOV = 'I' AND "
                                                       "CAJENT IS NOT NULL AND CAJUNO > ?"),
                                        {figures.lastClosing})
                                .toLongLong() > 0;
    return newOpening || newClosing || !tillUnchanged(connection, figures);
}

void check(const ClosingRequest &request)
{
    if (!request.closingDate.isValid())
        throw CashError(CashError::Kind::Invalid, QStringLiteral("Debe ingresar la fecha del cierre."));
    if (!request.openingCents)
        return;
    if (!request.openingDate.isValid())
        throw CashError(CashError::Kind::Invalid, QStringLiteral("Debe ingresar la fecha de apertura."));
    if (request.withdrawalCents + *request.openingCents != request.figures.tillCents())
        throw CashError(CashError::Kind::Invalid,
                        QStringLiteral("El retiro y el saldo para apertura deben sumar el efectivo en caja (%1).")
                            .arg(centsText(request.figures.tillCents())));
}

ClosedCash write(vx::Connection &connection, const ClosingRequest &request)
{
    if (closedSince(connection, request.figures))
        throw CashError(CashError::Kind::ClosedElsewhere, closedElsewhereMessage());
    data::RowWriter rows(connection);
    const QDateTime closing = vx::naiveDateTime(request.closingDate);
    rows.insert(QStringLiteral("CAJAD"), cashColumns(),
                {closing, closing, QStringLiteral("I"), QStringLiteral("0"), fromCents(request.withdrawalCents),
                 QStringLiteral("Por Cierre de Caja del ") + vx::shopformat::formatDate(request.closingDate)});
    ClosedCash closed;
    closed.rowsClosed =
        connection.execute(QStringLiteral("DELETE FROM CAJA WHERE CAJUNO <= ?"), {request.figures.lastRow})
            .numRowsAffected();
    connection.noteWrite();
    if (request.openingCents) {
        const QDateTime opening = vx::naiveDateTime(request.openingDate);
        rows.insert(QStringLiteral("CAJA"), cashColumns(),
                    {opening, opening, QStringLiteral("S"), QStringLiteral("0"), fromCents(*request.openingCents),
                     QStringLiteral("Saldo Inicial de Caja del ") + vx::shopformat::formatDate(request.openingDate)});
    }
    closed.closingDate = request.closingDate;
    closed.withdrawalCents = request.withdrawalCents;
    closed.openingCents = request.openingCents;
    closed.openingDate = request.openingDate;
    return closed;
}

} // namespace

QString closedElsewhereMessage()
{
    return QStringLiteral("La caja fue cerrada desde otro puesto. Vuelva a abrir el cierre.");
}

ClosedCash closeCash(vx::Connection &connection, const ClosingRequest &request)
{
    check(request);
    try {
        vx::Transaction transaction(connection);
        const ClosedCash closed = write(connection, request);
        transaction.commit();
        return closed;
    } catch (const CashError &) {
        throw;
    } catch (const std::exception &failure) {
        const QString cause = vx::causeOf(failure);
        const auto *db = dynamic_cast<const vx::DbError *>(&failure);
        throw CashError(CashError::Kind::Failed,
                        cause.isEmpty() ? failedMessage : failedMessage + QLatin1Char('\n') + cause,
                        db ? db->message() : QString::fromUtf8(failure.what()));
    }
}

} // namespace cash
