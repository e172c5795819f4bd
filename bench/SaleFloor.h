#pragma once

#include "bench/FloorStatements.h"
#include "platform/core/ShopFormat.h"
#include "sales/SaleRecording.h"

#include <QTime>

// What recording a sale cannot go below on an engine, for the benchmarks to set the recording
// beside.
namespace bench {

// The recording's writes and nothing else: no number, customer or article to look up, values
// converted beforehand, statements prepared once.
class SaleFloor {
public:
    explicit SaleFloor(vx::Connection &connection)
        : m_sql(connection), m_saleDate(m_sql.today()), m_now(m_sql.now()),
          m_hour(vx::shopformat::formatTime(QTime::currentTime())),
          m_issue(m_sql.prepare("INSERT INTO EGRESOS (EGRNRO, EGRNIV, EGROPE, EGRFEC, EGRHOR, EGRCMCT, EGRCAN1, "
                                "EGRCOS1, EGRVTA1, EGROBS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          m_stock(m_sql.prepare("UPDATE STOCK SET ARTFEC2 = ?, ARTEX1 = ARTEX1 - ? WHERE ARTCMCT = ?")),
          m_movement(m_sql.prepare("INSERT INTO MOVIM (MOVFEC, MOVHOR, MOVCMCT, MOVCAN1, MOVNRO, MOVTIP, MOVOBS, "
                                   "MOVOPE) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")),
          m_line(m_sql.prepare("INSERT INTO ITECLI (ITECOM, ITECLI, ITETIP, ITECOD, ITECAN, ITEPOR, ITEEDI, ITEPRE, "
                               "ITEFEC, ITECAU, ITEOPE, ITESC) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          m_header(m_sql.prepare("INSERT INTO CLICOM (COMTIP, COMNRO, COMCLI, COMTOT, COMSUB, COMPOR, COMDIA, COMSAL, "
                                 "COMOPE, COMTUS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          m_cash(m_sql.prepare("INSERT INTO CAJA (CAJMOV, CAJCOM, CAJTIP, CAJIMP, CAJFEC, CAJENT, CAJCON) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?)"))
    {
    }

    void record(const sales::SaleEntry &entry, int number)
    {
        using Sql = FloorStatements;
        m_sql.begin();
        const QString remark = QStringLiteral("Por Venta Nro. %1").arg(number);
        double subtotal = 0;
        for (const sales::SaleLine &line : entry.lines)
            subtotal += line.quantity * line.unitPrice;
        Sql::run(m_header, {QStringLiteral("1B"), double(number), 1, subtotal, subtotal, 0.0, m_saleDate, 0.0,
                            entry.operatorCode, 0.0});
        const QString headerKey = QString::number(number);
        for (const sales::SaleLine &line : entry.lines) {
            Sql::run(m_issue, {number, entry.accessLevel, entry.operatorCode, m_saleDate, m_now, line.articleCode,
                               line.quantity, 10.0, line.unitPrice, remark});
            Sql::run(m_stock, {m_saleDate, line.quantity, line.articleCode});
            Sql::run(m_movement, {m_saleDate, m_hour, line.articleCode, line.quantity, number, QStringLiteral("E"),
                                  remark, entry.operatorCode});
            Sql::run(m_line, {double(number), 1.0, QStringLiteral("1B"), line.articleCode, line.quantity, QVariant(),
                              line.unitPrice, line.unitPrice, m_saleDate, 10.0, entry.operatorCode, headerKey});
        }
        Sql::run(m_cash, {QStringLiteral("I"), QString::number(number), QStringLiteral("EF"), subtotal, m_saleDate,
                          m_saleDate, remark});
        m_sql.commit();
    }

private:
    FloorStatements m_sql;
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
