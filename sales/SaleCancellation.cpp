#include "sales/SaleCancellation.h"

#include "data/RowInserter.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QDateTime>
#include <QSqlQuery>

namespace sales {

namespace {

const QString busyMessage = QStringLiteral("Archivos ocupados, intente en unos instantes.");
const QString voidedMessage = QStringLiteral("Comprobante Anulado.");
const QString failedMessage =
    QStringLiteral("No se pudo concluir el proceso. \nIntente nuevamente o aguarde unos instantes...");

struct ReceiptRow {
    qint64 id = -1;
    ReceiptToCancel receipt;
};

ReceiptRow firstReceipt(vx::Connection &connection, double number)
{
    QSqlQuery query = connection.execute(
        QStringLiteral("SELECT COMUNO, COMANU, COMTOT, COMSAL FROM CLICOM WHERE COMNRO = ? ORDER BY COMUNO"), {number});
    ReceiptRow out;
    if (!query.next())
        return out;
    out.id = query.value(0).toLongLong();
    const bool voided = connection.dialect().fromDatabase(query.value(1), vx::FieldType::Boolean).toBool();
    out.receipt.state = voided ? ReceiptToCancel::State::Voided : ReceiptToCancel::State::Open;
    out.receipt.total = query.value(2).toDouble();
    out.receipt.balance = query.value(3).toDouble();
    return out;
}

struct Line {
    qint64 id;
    QString article;
    double quantity;
};

QList<Line> openLines(vx::Connection &connection, double number)
{
    const QVariant no = connection.dialect().toDatabase(false, vx::FieldType::Boolean);
    QSqlQuery query = connection.execute(QStringLiteral("SELECT ITEUNO, ITECOD, ITECAN FROM ITECLI WHERE ITECOM = ? "
                                                        "AND (ITEANU IS NULL OR ITEANU = ?) ORDER BY ITEUNO"),
                                         {number, no});
    QList<Line> out;
    while (query.next())
        out.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toDouble()});
    return out;
}

void report(const std::function<void(const QString &)> &progress, const QString &text)
{
    if (progress)
        progress(text);
}

CancellationResult voidReceipt(vx::Connection &connection, const CancellationRequest &request,
                               const std::function<void(const QString &)> &progress)
{
    const ReceiptRow row = firstReceipt(connection, request.receiptNumber);
    if (row.receipt.state != ReceiptToCancel::State::Open)
        throw CancellationError(CancellationError::Kind::Voided, voidedMessage);
    const QVariant yes = connection.dialect().toDatabase(true, vx::FieldType::Boolean);
    const QString number = vx::shopformat::formatGeneral(request.receiptNumber);
    connection.execute(QStringLiteral("UPDATE CLICOM SET COMANU = ? WHERE COMUNO = ?"), {yes, row.id});

    const QDateTime now = QDateTime::currentDateTime();
    data::RowInserter movements(connection, QStringLiteral("MOVIM"),
                                {QStringLiteral("MOVFEC"), QStringLiteral("MOVHOR"), QStringLiteral("MOVCMCT"),
                                 QStringLiteral("MOVCAN1"), QStringLiteral("MOVOPE"), QStringLiteral("MOVTIP"),
                                 QStringLiteral("MOVOBS"), QStringLiteral("MOVNRO")});
    CancellationResult result;
    const QList<Line> lines = openLines(connection, request.receiptNumber);
    for (const Line &line : lines) {
        report(progress, QStringLiteral("Devolviendo a Stock: %1").arg(line.article));
        connection.executeCached(QStringLiteral("UPDATE ITECLI SET ITEANU = ? WHERE ITEUNO = ?"), {yes, line.id});
        // The first article of the code gets its units back, as a lookup by code finds it.
        connection.executeCached(QStringLiteral("UPDATE STOCK SET ARTEX1 = COALESCE(ARTEX1, 0) + ? WHERE ARTUNO = "
                                                "(SELECT MIN(ARTUNO) FROM STOCK WHERE ARTCMCT = ?)"),
                                 {line.quantity, line.article});
        movements.insert({QDateTime(now.date(), QTime(0, 0)), vx::shopformat::formatTime(now.time()), line.article,
                          line.quantity, request.operatorCode, QStringLiteral("I"),
                          QStringLiteral("Por Anulacion Comprob. ") + number, request.receiptNumber});
        ++result.linesReturned;
    }

    if (request.refund && row.receipt.refundable()) {
        report(progress, QStringLiteral("Actualizando en Caja..."));
        const QDateTime date(request.date, QTime(0, 0));
        data::RowInserter(connection, QStringLiteral("CAJA"),
                          {QStringLiteral("CAJMOV"), QStringLiteral("CAJCOM"), QStringLiteral("CAJTIP"),
                           QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC"), QStringLiteral("CAJSAL"),
                           QStringLiteral("CAJCON")})
            .insert({QStringLiteral("E"), number, QStringLiteral("EF"), -row.receipt.paid(), date, date,
                     QStringLiteral("Por ANULACION de Comprob. ") + number});
        result.refunded = true;
    }
    return result;
}

} // namespace

CancellationError::CancellationError(Kind kind, const QString &message)
    : std::runtime_error(message.toStdString()), m_kind(kind)
{
}

ReceiptToCancel findReceiptToCancel(vx::Connection &connection, double receiptNumber)
{
    return firstReceipt(connection, receiptNumber).receipt;
}

CancellationResult cancelSale(vx::Connection &connection, const CancellationRequest &request,
                              const std::function<void(const QString &)> &progress)
{
    if (connection.inTransaction())
        throw CancellationError(CancellationError::Kind::Busy, busyMessage);
    std::unique_ptr<vx::Transaction> transaction;
    // The engine's reason in Spanish, when there is one, follows the window's message.
    const auto failed = [](const std::exception &failure) {
        const QString cause = vx::causeOf(failure);
        return CancellationError(CancellationError::Kind::Failed,
                                 cause.isEmpty() ? failedMessage : failedMessage + QLatin1Char('\n') + cause);
    };
    try {
        transaction = std::make_unique<vx::Transaction>(connection);
    } catch (const vx::DbError &failure) {
        // Only another workstation's lock is "busy"; a lost server or a full disk is said as such.
        if (failure.kind() == vx::DbError::Kind::Locked)
            throw CancellationError(CancellationError::Kind::Busy, busyMessage);
        throw failed(failure);
    }
    try {
        const CancellationResult result = voidReceipt(connection, request, progress);
        transaction->commit();
        return result;
    } catch (const CancellationError &) {
        throw;
    } catch (const std::exception &failure) {
        throw failed(failure);
    }
}

} // namespace sales
