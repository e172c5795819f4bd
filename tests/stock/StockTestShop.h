#pragma once

// A fresh shop database for the stock movement tests, on the engine under test, with articles
// whose stock may be missing, and the rows read back as the program would see them.
#include "../common/ShopDatabase.h"

#include "platform/db/DateTimeValue.h"

#include <optional>

class StockTestShop : public ShopDatabase {
public:
    // An article with its two stocks (nullopt: never set), costs and list prices.
    void addArticle(const QString &code, std::optional<double> stock1, std::optional<double> stock2 = 0.0,
                    double price2 = 20)
    {
        insert(QStringLiteral("STOCK"),
               {QStringLiteral("ARTCMCT"), QStringLiteral("ARTDES"), QStringLiteral("ARTEX1"), QStringLiteral("ARTEX2"),
                QStringLiteral("ARTCOS1"), QStringLiteral("ARTCOS2"), QStringLiteral("ARTVEN1"),
                QStringLiteral("ARTVEN2"), QStringLiteral("ARTVEN3")},
               {code, QStringLiteral("ARTICULO ") + code.right(4), stock1 ? QVariant(*stock1) : QVariant(),
                stock2 ? QVariant(*stock2) : QVariant(), 5.0, 6.0, 10.0, price2, 30.0});
    }

    // The given columns of every row of a table, in the order of its row key, as the program reads
    // them (dates as date-times, missing values as null).
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

    QVariant value(const QString &sql, const QVariantList &params = {}) { return connection->scalar(sql, params); }
};

inline QDateTime day(int d, int m, int y)
{
    return vx::naiveDateTime(QDate(y, m, d));
}
