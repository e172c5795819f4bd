#pragma once

#include "data/RowInserter.h"
#include "data/ShopSetup.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "sales/SaleRecording.h"

#include <QDate>

// A shop ready to sell: the starting rows and a few articles whose stock came in by a movement, so
// that stock always equals its movement journal.
namespace saleshop {

inline QStringList articleCodes()
{
    return {QStringLiteral("0000000000001"), QStringLiteral("0000000000002"), QStringLiteral("0000000000003"),
            QStringLiteral("0000000000004")};
}

inline void fill(vx::Connection &db)
{
    data::writeStartingRows(db, QStringLiteral("1234"));
    data::RowInserter stock(db, QStringLiteral("STOCK"),
                            {QStringLiteral("ARTCMCT"), QStringLiteral("ARTDES"), QStringLiteral("ARTEX1"),
                             QStringLiteral("ARTCOS1"), QStringLiteral("ARTVEN1")});
    data::RowInserter moves(db, QStringLiteral("MOVIM"),
                            {QStringLiteral("MOVCMCT"), QStringLiteral("MOVCAN1"), QStringLiteral("MOVTIP"),
                             QStringLiteral("MOVNRO")});
    for (const QString &code : articleCodes()) {
        stock.insert({code, QStringLiteral("ARTICULO ") + code.right(1), 1000.0, 5.0, 10.0});
        moves.insert({code, 1000.0, QStringLiteral("I"), 0});
    }
}

// A cash sale of the given articles, one of each at 10.
inline sales::SaleEntry sale(const QStringList &codes)
{
    sales::SaleEntry entry;
    entry.dateText = vx::shopformat::formatDate(QDate::currentDate());
    entry.customerName = QStringLiteral("CONSUMIDOR FINAL");
    for (const QString &code : codes)
        entry.lines.append({code, 1.0, 10.0});
    entry.cash = 10.0 * codes.size();
    entry.operatorCode = 1;
    entry.accessLevel = 9;
    return entry;
}

// The first rule of the shop's books that the database breaks, or nothing.
inline QString brokenRule(vx::Connection &db)
{
    struct Rule {
        const char *what;
        const char *sql;  // counts the rows that break it
    };
    static const Rule rules[] = {
        {"receipt number twice", "SELECT COUNT(*) FROM (SELECT COMNRO FROM CLICOM GROUP BY COMNRO HAVING COUNT(*) > 1) t"},
        {"sale without lines", "SELECT COUNT(*) FROM CLICOM c WHERE NOT EXISTS (SELECT 1 FROM ITECLI i WHERE i.ITECOM = c.COMNRO)"},
        {"lines without sale", "SELECT COUNT(*) FROM ITECLI i WHERE NOT EXISTS (SELECT 1 FROM CLICOM c WHERE c.COMNRO = i.ITECOM)"},
        {"sale whose issues or movements differ from its lines",
         "SELECT COUNT(*) FROM CLICOM c WHERE (SELECT COUNT(*) FROM ITECLI i WHERE i.ITECOM = c.COMNRO) "
         "<> (SELECT COUNT(*) FROM EGRESOS e WHERE e.EGRNRO = c.COMNRO) OR (SELECT COUNT(*) FROM ITECLI i "
         "WHERE i.ITECOM = c.COMNRO) <> (SELECT COUNT(*) FROM MOVIM m WHERE m.MOVNRO = c.COMNRO AND m.MOVTIP = 'E')"},
        {"issues without sale", "SELECT COUNT(*) FROM EGRESOS e WHERE NOT EXISTS (SELECT 1 FROM CLICOM c WHERE c.COMNRO = e.EGRNRO)"},
        {"cash rows differ from sales",
         "SELECT ABS((SELECT COUNT(*) FROM CAJA) - (SELECT COUNT(*) FROM CLICOM)) "
         "+ ABS(COALESCE((SELECT SUM(CAJIMP) FROM CAJA), 0) - COALESCE((SELECT SUM(COMTOT) FROM CLICOM), 0))"},
        {"stock differs from its movements",
         "SELECT COUNT(*) FROM STOCK s WHERE s.ARTEX1 <> (SELECT COALESCE(SUM(CASE WHEN m.MOVTIP = 'I' THEN m.MOVCAN1 "
         "ELSE -m.MOVCAN1 END), 0) FROM MOVIM m WHERE m.MOVCMCT = s.ARTCMCT)"},
    };
    for (const Rule &rule : rules) {
        const double broken = db.scalar(QString::fromLatin1(rule.sql)).toDouble();
        if (broken != 0)
            return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(rule.what)).arg(broken);
    }
    return {};
}

}  // namespace saleshop
