#pragma once

// A fresh shop database for the sales recording tests, on the engine under test, with helpers to
// put articles, customers and cards in and to read rows back as the program would see them.
#include "../common/ShopDatabase.h"

#include "platform/db/DateTimeValue.h"

class SalesTestShop : public ShopDatabase {
public:
    void addArticle(const QString &code, double inShop, double cost)
    {
        insert(QStringLiteral("STOCK"),
               {QStringLiteral("ARTCMCT"), QStringLiteral("ARTDES"), QStringLiteral("ARTEX1"),
                QStringLiteral("ARTCOS1"), QStringLiteral("ARTVEN1")},
               {code, QStringLiteral("ARTICULO ") + code.right(4), inShop, cost, cost * 2});
    }
    void addCustomer(int code, const QString &name, const QString &taxCondition)
    {
        insert(QStringLiteral("CLIENTE"),
               {QStringLiteral("CLICOD"), QStringLiteral("CLIAPE"), QStringLiteral("CLIIVA")},
               {code, name, taxCondition});
    }
    void addReceipt(const QString &type, int number)
    {
        insert(QStringLiteral("CLICOM"), {QStringLiteral("COMTIP"), QStringLiteral("COMNRO")}, {type, double(number)});
    }
    void addCard(double code, const QString &name, int days, const QString &account)
    {
        insert(QStringLiteral("TARJETAS"),
               {QStringLiteral("TARCOD"), QStringLiteral("TARNOM"), QStringLiteral("TARDIA"), QStringLiteral("TARCTA")},
               {code, name, days, account});
    }

    // The given columns of every row of a table, in the order of its row key, converted to the
    // values the program reads (dates as date-times, missing values as null).
    QList<QVariantList> rows(const QString &table, const QStringList &columns, const QString &where = {})
    {
        const vx::TableDef *def = data::vendrixSchema().table(table);
        QSqlQuery query = connection->execute(QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4")
                                                  .arg(columns.join(QStringLiteral(", ")), table,
                                                       where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where,
                                                       def->rowKey()));
        QList<QVariantList> out;
        while (query.next()) {
            QVariantList row;
            for (int c = 0; c < columns.size(); ++c)
                row << connection->dialect().fromDatabase(query.value(c), def->column(columns[c])->type);
            out << row;
        }
        return out;
    }
    double stockOf(const QString &code)
    {
        return connection->scalar(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = ?"), {code}).toDouble();
    }
};

inline QDateTime day(int d, int m, int y)
{
    return vx::naiveDateTime(QDate(y, m, d));
}
