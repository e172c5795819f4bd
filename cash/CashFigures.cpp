#include "cash/CashFigures.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"

#include <cmath>

namespace cash {

namespace {

// Each row's amount is taken to the cent before it is added, on both engines alike.
const QString rowCents = QStringLiteral("ROUND(CAJIMP * 100)");
const QString isOpening = QStringLiteral("CAJMOV = 'S'");
const QString isCash = QStringLiteral("CAJTIP = 'EF' AND CAJMOV IN ('I', 'E', 'J')");
const QString isCard = QStringLiteral("CAJMOV = 'I' AND CAJTIP = 'TT'");

QString sumWhere(const QString &condition)
{
    return QStringLiteral("COALESCE(SUM(CASE WHEN %1 THEN %2 ELSE 0 END), 0)").arg(condition, rowCents);
}

QString countWhere(const QString &condition)
{
    return QStringLiteral("COALESCE(SUM(CASE WHEN %1 THEN 1 ELSE 0 END), 0)").arg(condition);
}

qint64 whole(const QVariant &value)
{
    return std::llround(value.toDouble());
}

QVariant storedDay(vx::Connection &connection, const QDate &date)
{
    return connection.dialect().toDatabase(vx::naiveDateTime(date), vx::FieldType::DateTime);
}

} // namespace

qint64 toCents(double amount)
{
    return std::llround(amount * 100);
}

double fromCents(qint64 cents)
{
    return double(cents) / 100;
}

QString centsText(qint64 cents)
{
    return vx::shopformat::formatFixed(fromCents(cents), 2);
}

CashFigures readCashFigures(vx::Connection &connection)
{
    QSqlQuery &query = connection.executeCached(
        QStringLiteral("SELECT %1, %2, %3, COALESCE(MAX(CAJUNO), 0), %4, COUNT(*), "
                       "(SELECT COALESCE(MAX(CAJUNO), 0) FROM CAJAD WHERE CAJMOV = 'I' AND CAJENT IS NOT NULL) "
                       "FROM CAJA")
            .arg(sumWhere(isOpening), sumWhere(isCash), sumWhere(isCard),
                 countWhere(QStringLiteral("(%1) OR (%2)").arg(isOpening, isCash))),
        {});
    CashFigures figures;
    if (query.next()) {
        figures.openingCents = whole(query.value(0));
        figures.cashCents = whole(query.value(1));
        figures.cardCents = whole(query.value(2));
        figures.lastRow = query.value(3).toLongLong();
        figures.tillRows = query.value(4).toLongLong();
        figures.rows = query.value(5).toLongLong();
        figures.lastClosing = query.value(6).toLongLong();
    }
    query.finish();
    return figures;
}

PeriodFigures readPeriodFigures(vx::Connection &connection, const QDate &from, const QDate &to)
{
    QSqlQuery &query = connection.executeCached(
        QStringLiteral("SELECT %1, %2 FROM CAJA WHERE CAJFEC >= ? AND CAJFEC < ?").arg(sumWhere(isCash), sumWhere(isCard)),
        {storedDay(connection, from), storedDay(connection, to.addDays(1))});
    PeriodFigures figures;
    if (query.next()) {
        figures.cashCents = whole(query.value(0));
        figures.cardCents = whole(query.value(1));
    }
    query.finish();
    return figures;
}

QString dayRangeFilter(const QString &column, const QDate &from, const QDate &to)
{
    return QStringLiteral("%1 >= '%2' and %1 < '%3'")
        .arg(column, vx::shopformat::formatDate(from), vx::shopformat::formatDate(to.addDays(1)));
}

qint64 closingWithdrawalsCents(vx::Connection &connection, const QDate &from, const QDate &to)
{
    return whole(connection.scalar(
        QStringLiteral("SELECT COALESCE(SUM(%1), 0) FROM CAJAD WHERE CAJENT >= ? AND CAJENT < ?").arg(rowCents),
        {storedDay(connection, from), storedDay(connection, to.addDays(1))}));
}

CashError::CashError(Kind kind, const QString &message, const QString &cause)
    : std::runtime_error(message.toStdString()), m_kind(kind), m_cause(cause)
{
}

} // namespace cash
