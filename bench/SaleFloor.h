#pragma once

#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "sales/SaleRecording.h"

#include <QSqlError>
#include <QSqlQuery>

// What recording a sale cannot go below on an engine, for the benchmarks to set the recording
// beside.
namespace bench {

// The recording's writes and nothing else: no number, customer or article to look up, values
// converted beforehand, statements prepared once.
class SaleFloor {
public:
    explicit SaleFloor(vx::Connection &connection)
        : m_db(connection.database()), m_dialect(connection.dialect()),
          m_saleDate(m_dialect.toDatabase(vx::naiveDateTime(QDate::currentDate()), vx::FieldType::DateTime)),
          m_now(m_dialect.toDatabase(vx::naiveNow(), vx::FieldType::DateTime)),
          m_hour(vx::shopformat::formatTime(QTime::currentTime())),
          m_issue(prepared("INSERT INTO EGRESOS (EGRNRO, EGRNIV, EGROPE, EGRFEC, EGRHOR, EGRCMCT, EGRCAN1, EGRCOS1, "
                           "EGRVTA1, EGROBS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          m_stock(prepared("UPDATE STOCK SET ARTFEC2 = ?, ARTEX1 = ARTEX1 - ? WHERE ARTCMCT = ?")),
          m_movement(prepared("INSERT INTO MOVIM (MOVFEC, MOVHOR, MOVCMCT, MOVCAN1, MOVNRO, MOVTIP, MOVOBS, MOVOPE) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?)")),
          m_line(prepared("INSERT INTO ITECLI (ITECOM, ITECLI, ITETIP, ITECOD, ITECAN, ITEPOR, ITEEDI, ITEPRE, ITEFEC, "
                          "ITECAU, ITEOPE, ITESC) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          m_header(prepared("INSERT INTO CLICOM (COMTIP, COMNRO, COMCLI, COMTOT, COMSUB, COMPOR, COMDIA, COMSAL, "
                            "COMOPE, COMTUS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          m_cash(prepared("INSERT INTO CAJA (CAJMOV, CAJCOM, CAJTIP, CAJIMP, CAJFEC, CAJENT, CAJCON) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?)"))
    {
    }

    void record(const sales::SaleEntry &entry, int number)
    {
        QSqlQuery control(m_db);
        for (const QString &statement : m_dialect.beginWriteTransaction())
            check(control.exec(statement), control);
        const QString remark = QStringLiteral("Por Venta Nro. %1").arg(number);
        double subtotal = 0;
        for (const sales::SaleLine &line : entry.lines)
            subtotal += line.quantity * line.unitPrice;
        run(m_header, {QStringLiteral("1B"), double(number), 1, subtotal, subtotal, 0.0, m_saleDate, 0.0,
                       entry.operatorCode, 0.0});
        const QString headerKey = QString::number(number);
        for (const sales::SaleLine &line : entry.lines) {
            run(m_issue, {number, entry.accessLevel, entry.operatorCode, m_saleDate, m_now, line.articleCode,
                          line.quantity, 10.0, line.unitPrice, remark});
            run(m_stock, {m_saleDate, line.quantity, line.articleCode});
            run(m_movement, {m_saleDate, m_hour, line.articleCode, line.quantity, number, QStringLiteral("E"), remark,
                             entry.operatorCode});
            run(m_line, {double(number), 1.0, QStringLiteral("1B"), line.articleCode, line.quantity, QVariant(),
                         line.unitPrice, line.unitPrice, m_saleDate, 10.0, entry.operatorCode, headerKey});
        }
        run(m_cash, {QStringLiteral("I"), QString::number(number), QStringLiteral("EF"), subtotal, m_saleDate,
                     m_saleDate, remark});
        check(control.exec(QStringLiteral("COMMIT")), control);
    }

private:
    QSqlQuery prepared(const char *sql)
    {
        QSqlQuery query(m_db);
        check(query.prepare(QString::fromLatin1(sql)), query);
        return query;
    }
    static void run(QSqlQuery &query, const QVariantList &values)
    {
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        check(query.exec(), query);
    }
    static void check(bool ok, const QSqlQuery &query)
    {
        if (!ok)
            throw vx::DbError(vx::Connection::errorText(query.lastError()));
    }

    QSqlDatabase m_db;
    const vx::SqlDialect &m_dialect;
    QVariant m_saleDate;
    QVariant m_now;
    QString m_hour;
    QSqlQuery m_issue;
    QSqlQuery m_stock;
    QSqlQuery m_movement;
    QSqlQuery m_line;
    QSqlQuery m_header;
    QSqlQuery m_cash;
};

}  // namespace bench
