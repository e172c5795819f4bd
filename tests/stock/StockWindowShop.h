#pragma once

// A shop for the stock windows' tests: a temporary root, its database (SQLite, or the test
// PostgreSQL server when VX_TEST_PG is set), the data module open on it, and helpers to put
// articles and customers in.
#include "../common/TempRoot.h"
#include "../common/TestDatabase.h"

#include "app/uGlobales.h"
#include "data/DataModule.h"
#include "data/RowInserter.h"
#include "data/ShopSetup.h"
#include "platform/core/Paths.h"

#include <memory>

class StockWindowShop {
public:
    StockWindowShop()
    {
        QString connection;
        if (TestDatabase::onPostgres())
            connection = TestDatabase::fresh(nullptr, root.path()).connectionString;
        data::createShop({QStringLiteral("admin"), false, connection});
        dm = std::make_unique<TDM1>(vx::paths::dataLinkFile());
        uGlobales::session().operatorCode = 1;
        uGlobales::session().accessLevel = 9;
        uGlobales::setAllArticleListsChanged();
    }

    vx::Connection &db() { return *dm->ADOConnection1; }

    void addArticle(const QString &ownCode, const QString &description, const QString &origin, double stock1,
                    double stock2 = 0, double price2 = 20, const QString &brand = {})
    {
        data::RowInserter(db(), QStringLiteral("STOCK"),
                          {QStringLiteral("ARTCMCT"), QStringLiteral("ARTDES"), QStringLiteral("ARTCOD"),
                           QStringLiteral("ARTEX1"), QStringLiteral("ARTEX2"), QStringLiteral("ARTCOS1"),
                           QStringLiteral("ARTCOS2"), QStringLiteral("ARTVEN1"), QStringLiteral("ARTVEN2"),
                           QStringLiteral("ARTVEN3"), QStringLiteral("ARTVEN4"), QStringLiteral("ARTMARD")})
            .insert({ownCode, description, origin, stock1, stock2, 5.0, 6.0, 10.0, price2, 30.0, 40.0, brand});
    }

    void addCustomer(int code, const QString &name)
    {
        data::RowInserter(db(), QStringLiteral("CLIENTE"), {QStringLiteral("CLICOD"), QStringLiteral("CLIAPE")})
            .insert({code, name});
    }

    QVariant value(const QString &sql, const QVariantList &params = {}) { return db().scalar(sql, params); }
    int count(const QString &table, const QString &where = {})
    {
        return value(QStringLiteral("SELECT COUNT(*) FROM %1%2")
                         .arg(table, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where))
            .toInt();
    }

    TempRoot root;
    std::unique_ptr<TDM1> dm;
};
