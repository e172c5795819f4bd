#include "sales/SaleCancellation.h"

#include "data/RowInserter.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "sales/SaleRecording.h"
#include "sales/SaleTotals.h"

#include <QDateTime>
#include <QSqlQuery>

#include <optional>

namespace sales {

namespace {

const QString busyMessage = QStringLiteral("Archivos ocupados, intente en unos instantes.");
const QString voidedMessage = QStringLiteral("Comprobante Anulado.");
const QString failedMessage =
    QStringLiteral("No se pudo concluir el proceso. \nIntente nuevamente o aguarde unos instantes...");

QVariant stored(vx::Connection &connection, bool value)
{
    return connection.dialect().toDatabase(value, vx::FieldType::Boolean);
}

// The receipt header a cancellation works on, and what ties its own rows to it.
struct ReceiptRow {
    ReceiptToCancel receipt;
    QVariant date;              // COMDIA as stored
    std::optional<double> card; // the card part of the tender; unknown for sales recorded before it was kept
    int sharingTheNumber = 0;   // receipts recorded with the same number, this one included
};

ReceiptRow chooseReceipt(vx::Connection &connection, double number, qint64 key)
{
    QSqlQuery query = connection.execute(QStringLiteral("SELECT COMUNO, COMANU, COMTOT, COMSAL, COMDIA, %1 FROM CLICOM "
                                                        "WHERE COMNRO = ? ORDER BY COMUNO")
                                             .arg(QLatin1String(cardPaidColumn)),
                                         {number});
    ReceiptRow out;
    std::optional<ReceiptRow> firstVoided;
    while (query.next()) {
        ++out.sharingTheNumber;
        ReceiptRow row;
        row.receipt.key = query.value(0).toLongLong();
        const bool voided = connection.dialect().fromDatabase(query.value(1), vx::FieldType::Boolean).toBool();
        row.receipt.state = voided ? ReceiptToCancel::State::Voided : ReceiptToCancel::State::Open;
        row.receipt.total = query.value(2).toDouble();
        row.receipt.balance = query.value(3).toDouble();
        row.date = query.value(4);
        if (!query.value(5).isNull())
            row.card = query.value(5).toDouble();
        const bool chosen = key >= 0 ? row.receipt.key == key : !voided;
        if (chosen && out.receipt.state == ReceiptToCancel::State::Missing) {
            const int sharing = out.sharingTheNumber;
            out = row;
            out.sharingTheNumber = sharing;
        } else if (key < 0 && voided && !firstVoided) {
            firstVoided = row;
        }
    }
    if (out.receipt.state == ReceiptToCancel::State::Missing && firstVoided) {
        const int sharing = out.sharingTheNumber;
        out = *firstVoided;
        out.sharingTheNumber = sharing;
    }
    return out;
}

struct Line {
    qint64 id;
    QString article;
    double quantity;
};

// The receipt's own lines not voided yet: those that carry its key. Lines recorded before the key
// was kept carry none; they belong to the number, and, when the number was used more than once,
// to the receipt of their date.
QList<Line> openLines(vx::Connection &connection, double number, const ReceiptRow &row)
{
    const QVariant no = stored(connection, false);
    const QString key = QString::number(row.receipt.key);
    const QString linked = QStringLiteral("%1 = ?").arg(QLatin1String(lineHeaderColumn));
    const bool hasLinked =
        connection.scalar(QStringLiteral("SELECT COUNT(*) FROM ITECLI WHERE ITECOM = ? AND ") + linked, {number, key})
            .toInt() > 0;
    QString sql = QStringLiteral("SELECT ITEUNO, ITECOD, ITECAN FROM ITECLI WHERE ITECOM = ? "
                                 "AND (ITEANU IS NULL OR ITEANU = ?) AND ");
    QVariantList params{number, no};
    if (hasLinked) {
        sql += linked;
        params << key;
    } else {
        sql += QStringLiteral("(%1 IS NULL OR %1 = '')").arg(QLatin1String(lineHeaderColumn));
        if (row.sharingTheNumber > 1) {
            sql += QStringLiteral(" AND ITEFEC = ?");
            params << row.date;
        }
    }
    QSqlQuery query = connection.execute(sql + QStringLiteral(" ORDER BY ITEUNO"), params);
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

struct Coupon {
    qint64 id;
    double amount;
    bool pending;
};

// The card coupons of the sale: written under its number on its date.
QList<Coupon> couponsOf(vx::Connection &connection, const QString &number, const QVariant &date)
{
    QSqlQuery query = connection.execute(
        QStringLiteral("SELECT Id, CUPIMP, CUPEST FROM CUPONES WHERE CUPCOM = ? AND CUPFEC = ? ORDER BY Id"),
        {number, date});
    QList<Coupon> out;
    while (query.next())
        out.append({query.value(0).toLongLong(), query.value(1).toDouble(),
                    query.value(2).toString().trimmed() == QLatin1String("P")});
    return out;
}

// Pays the sale back as it was paid: the cash part out of the cash; of the card part, the coupons
// still pending are withdrawn (never presented, the buyer's card is never charged) and what the
// card company already credited goes out as a card refund.
void refund(vx::Connection &connection, const CancellationRequest &request, const ReceiptRow &row,
            const QString &number)
{
    const QList<Coupon> coupons = couponsOf(connection, number, row.date);
    double card = 0;
    if (row.card) {
        card = *row.card;
    } else {
        for (const Coupon &coupon : coupons)
            card += coupon.amount;
    }
    // Only as many pending coupons as the card part covers: a coupon under the same number that
    // this sale did not take stays for its own.
    double withdrawn = 0;
    for (const Coupon &coupon : coupons) {
        if (!coupon.pending || withdrawn + coupon.amount > card + 0.005)
            continue;
        connection.execute(QStringLiteral("DELETE FROM CUPONES WHERE Id = ?"), {coupon.id});
        withdrawn += coupon.amount;
    }
    const double cash = toCents(row.receipt.paid() - card);
    const double credited = toCents(card - withdrawn);

    const QDateTime date(request.date, QTime(0, 0));
    data::RowInserter rows(connection, QStringLiteral("CAJA"),
                           {QStringLiteral("CAJMOV"), QStringLiteral("CAJCOM"), QStringLiteral("CAJTIP"),
                            QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC"), QStringLiteral("CAJSAL"),
                            QStringLiteral("CAJCON")});
    const QString remark = QStringLiteral("Por ANULACION de Comprob. ") + number;
    if (cash != 0)
        rows.insert({QStringLiteral("E"), number, QStringLiteral("EF"), -cash, date, date, remark});
    if (credited > 0)
        rows.insert({QStringLiteral("E"), number, QStringLiteral("TT"), -credited, date, date, remark});
}

CancellationResult voidReceipt(vx::Connection &connection, const CancellationRequest &request,
                               const std::function<void(const QString &)> &progress)
{
    const ReceiptRow row = chooseReceipt(connection, request.receiptNumber, request.receiptKey);
    if (row.receipt.state != ReceiptToCancel::State::Open)
        throw CancellationError(CancellationError::Kind::Voided, voidedMessage);
    const QVariant yes = stored(connection, true);
    const QString number = vx::shopformat::formatGeneral(request.receiptNumber);
    connection.execute(QStringLiteral("UPDATE CLICOM SET COMANU = ? WHERE COMUNO = ?"), {yes, row.receipt.key});

    const QDateTime now = QDateTime::currentDateTime();
    data::RowInserter movements(connection, QStringLiteral("MOVIM"),
                                {QStringLiteral("MOVFEC"), QStringLiteral("MOVHOR"), QStringLiteral("MOVCMCT"),
                                 QStringLiteral("MOVCAN1"), QStringLiteral("MOVOPE"), QStringLiteral("MOVTIP"),
                                 QStringLiteral("MOVOBS"), QStringLiteral("MOVNRO")});
    CancellationResult result;
    const QList<Line> lines = openLines(connection, request.receiptNumber, row);
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
        refund(connection, request, row, number);
        result.refunded = true;
    }
    return result;
}

} // namespace

CancellationError::CancellationError(Kind kind, const QString &message)
    : std::runtime_error(message.toStdString()), m_kind(kind)
{
}

ReceiptToCancel findReceiptToCancel(vx::Connection &connection, double receiptNumber, qint64 receiptKey)
{
    return chooseReceipt(connection, receiptNumber, receiptKey).receipt;
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
