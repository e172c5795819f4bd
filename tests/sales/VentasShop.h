#pragma once

// A shop for the sales window's tests: a temporary root, its database (SQLite, or the test
// PostgreSQL server when VX_TEST_PG is set), the data module open on it, and a few articles.
#include "../common/TempRoot.h"
#include "../common/TestDatabase.h"

#include "data/DataModule.h"
#include "data/RowInserter.h"
#include "data/ShopSetup.h"
#include "platform/core/Paths.h"
#include "app/uGlobales.h"

#include <memory>

class VentasShop {
public:
    VentasShop()
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

    // An article with its four list prices; the cost is half the first price.
    void addArticle(const QString &ownCode, const QString &description, const QString &origin, double stock,
                    double price1, double price2 = 0, double price3 = 0, double price4 = 0)
    {
        data::RowInserter(db(), QStringLiteral("STOCK"),
                          {QStringLiteral("ARTCMCT"), QStringLiteral("ARTDES"), QStringLiteral("ARTCOD"),
                           QStringLiteral("ARTEX1"), QStringLiteral("ARTVEN1"), QStringLiteral("ARTVEN2"),
                           QStringLiteral("ARTVEN3"), QStringLiteral("ARTVEN4"), QStringLiteral("ARTCOS1")})
            .insert({ownCode, description, origin, stock, price1, price2, price3, price4, price1 / 2});
    }

    void addReceipt(int number, const QString &type)
    {
        data::RowInserter(db(), QStringLiteral("CLICOM"),
                          {QStringLiteral("COMNRO"), QStringLiteral("COMTIP"), QStringLiteral("COMCLI")})
            .insert({number, type, 1});
    }

    int count(const QString &table, const QString &where = {})
    {
        return db()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM %1%2")
                        .arg(table, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where))
            .toInt();
    }

    TempRoot root;
    std::unique_ptr<TDM1> dm;
};
