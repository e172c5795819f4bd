#include "cash/CashFigures.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"

#include <cmath>

namespace cash {

namespace {

// Each row's amount is taken to the cent before it is added, on both engines alike. The means
// is tested first: most rows are told apart by it alone.
const QString rowCents = QStringLiteral("ROUND(CAJIMP * 100)");
const QString openingSum = QStringLiteral("COALESCE(SUM(CASE CAJMOV WHEN 'S' THEN ROUND(CAJIMP * 100) END), 0)");
const QString cashSum = QStringLiteral(
    "COALESCE(SUM(CASE CAJTIP WHEN 'EF' THEN CASE WHEN CAJMOV IN ('I', 'E', 'J') THEN ROUND(CAJIMP * 100) END END), 0)");
const QString cardSum =
    QStringLiteral("COALESCE(SUM(CASE CAJTIP WHEN 'TT' THEN CASE CAJMOV WHEN 'I' THEN ROUND(CAJIMP * 100) END END), 0)");

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
        QStringLiteral("SELECT %1, %2, %3, COALESCE(MAX(CAJUNO), 0), COUNT(*), "
                       "(SELECT COALESCE(MAX(CAJUNO), 0) FROM CAJAD WHERE CAJMOV = 'I' AND CAJENT IS NOT NULL) "
                       "FROM CAJA")
            .arg(openingSum, cashSum, cardSum),
        {});
    CashFigures figures;
    if (query.next()) {
        figures.openingCents = whole(query.value(0));
        figures.cashCents = whole(query.value(1));
        figures.cardCents = whole(query.value(2));
        figures.lastRow = query.value(3).toLongLong();
        figures.rows = query.value(4).toLongLong();
        figures.lastClosing = query.value(5).toLongLong();
    }
    query.finish();
    return figures;
}

PeriodFigures readPeriodFigures(vx::Connection &connection, const QDate &from, const QDate &to)
{
    QSqlQuery &query = connection.executeCached(
        QStringLiteral("SELECT %1, %2 FROM CAJA WHERE CAJFEC >= ? AND CAJFEC < ?").arg(cashSum, cardSum),
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
