#include "suppliers/ConsProvAccount.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlConditionBuilder.h"

#include <QSqlQuery>

namespace suppliers {

namespace {

// A document's or payment's part in the account, in cents: an invoice adds, a credit or a
// payment takes away, a cancelled document moves nothing. Binds one value: true.
const QString movedCents = QStringLiteral("CASE WHEN P.COMANU = ? THEN 0 WHEN P.COMTIP = '13' "
                                          "THEN ROUND(P.COMTOT * 100) ELSE -ROUND(P.COMTOT * 100) END");

// The supplier's invoices, credits and payment receipts, without the credit an overpayment left
// (written with its receipt's number and date): the receipt already counts that money. Binds the
// supplier's code.
const QString listedRows = QStringLiteral(
    "P.COMCLI = ? AND P.COMTIP IN ('13', '26', '10') AND NOT (P.COMTIP = '26' AND EXISTS (SELECT 1 FROM PROCOM R "
    "WHERE R.COMCLI = P.COMCLI AND R.COMTIP = '10' AND R.COMNRO = P.COMNRO AND R.COMDIA = P.COMDIA))");

struct AccountStatement {
    QString sql;
    QVariantList params;
};

AccountStatement accountStatement(vx::Connection &connection, int supplierCode, const vx::DayRange &days)
{
    const vx::SqlDialect &dialect = connection.dialect();
    const QVariant yes = dialect.toDatabase(true, vx::FieldType::Boolean);
    const QVariant code = dialect.toDatabase(supplierCode, vx::FieldType::Integer);
    const QVariant firstDay = dialect.toDatabase(QDateTime(days.first, QTime(0, 0)), vx::FieldType::DateTime);
    const vx::SqlCondition inRange = vx::SqlConditionBuilder(dialect).days(QStringLiteral("P.COMDIA"), days).build();

    // What precedes the first day (an undated document too) is one aggregate row; the range's
    // rows follow it, and one window over both gives each line the balance after it.
    const QString opening =
        QStringLiteral("SELECT 0 AS ORD, NULL AS FEC, '' AS KIND, 0 AS NRO, 0 AS DEBE, 0 AS HABER, "
                       "COALESCE(SUM(%1), 0) AS MOV, 'Saldo Anterior' AS NOTE, 0 AS UNO FROM PROCOM P "
                       "WHERE %2 AND (P.COMDIA < ? OR P.COMDIA IS NULL)")
            .arg(movedCents, listedRows);
    const QString lines =
        QStringLiteral("SELECT 1, P.COMDIA, CASE P.COMTIP WHEN '13' THEN 'FAC.' WHEN '26' THEN 'CRE.' ELSE 'PAGO' END, "
                       "P.COMNRO, CASE WHEN P.COMTIP = '13' THEN P.COMTOT ELSE 0 END, "
                       "CASE WHEN P.COMTIP = '13' THEN 0 ELSE P.COMTOT END, %1, "
                       "CASE WHEN P.COMANU = ? THEN 'Anulado' WHEN P.COMTIP = '10' THEN COALESCE(P.COMREL, '') "
                       "ELSE COALESCE(P.COMNOTA, '') END, P.COMUNO FROM PROCOM P WHERE %2 AND %3")
            .arg(movedCents, listedRows, inRange.sql);
    const QString order = QStringLiteral("ORDER BY A.ORD, A.FEC, A.UNO");
    AccountStatement statement;
    statement.sql =
        QStringLiteral("INSERT INTO TMP1 (TM1NUM1, TM1DAT1, TM1CHR8, TM1NUM2, TM1PRE1, TM1PRE2, TM1PRE3, TM1PRE4, "
                       "TM1CHR10, TM1NUM3) "
                       "SELECT ROW_NUMBER() OVER (%1) - 1, A.FEC, A.KIND, A.NRO, A.DEBE, A.HABER, "
                       "SUM(A.MOV) OVER (%1 ROWS BETWEEN UNBOUNDED PRECEDING AND CURRENT ROW) / 100.0, "
                       "A.MOV / 100.0, A.NOTE, A.UNO FROM (%2 UNION ALL %3) A")
            .arg(order, opening, lines);
    statement.params = QVariantList{yes, code, firstDay, yes, yes, code} + inRange.params;
    return statement;
}

} // namespace

int writeAccount(vx::Connection &connection, int supplierCode, const vx::DayRange &days)
{
    const AccountStatement statement = accountStatement(connection, supplierCode, days);
    connection.execute(QStringLiteral("DELETE FROM TMP1"));
    QSqlQuery written = connection.execute(statement.sql, statement.params);
    const int rows = written.numRowsAffected();
    connection.noteWrite();
    return rows;
}

AccountTotals accountTotals(vx::Connection &connection)
{
    QSqlQuery query = connection.execute(
        QStringLiteral("SELECT COALESCE(SUM(CASE WHEN TM1NUM1 = 0 THEN ROUND(TM1PRE4 * 100) ELSE 0 END), 0), "
                       "COALESCE(SUM(CASE WHEN TM1NUM1 > 0 AND TM1PRE4 > 0 THEN ROUND(TM1PRE4 * 100) ELSE 0 END), 0), "
                       "COALESCE(SUM(CASE WHEN TM1NUM1 > 0 AND TM1PRE4 < 0 THEN -ROUND(TM1PRE4 * 100) ELSE 0 END), 0), "
                       "COALESCE(SUM(ROUND(TM1PRE4 * 100)), 0) FROM TMP1"));
    AccountTotals totals;
    if (query.next()) {
        totals.opening = query.value(0).toDouble() / 100;
        totals.owed = query.value(1).toDouble() / 100;
        totals.paid = query.value(2).toDouble() / 100;
        totals.closing = query.value(3).toDouble() / 100;
    }
    return totals;
}

} // namespace suppliers
