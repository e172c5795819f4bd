#pragma once

#include "../common/TempRoot.h"
#include "../common/TestDatabase.h"

#include "data/DataModule.h"
#include "data/ShopSetup.h"
#include "platform/core/Paths.h"

#include <memory>

// A fresh shop for one test: a temporary root, its database (administrator password "admin",
// level 9; on the PostgreSQL server when VX_TEST_PG names one) and the data module open on it.
class ShellShop {
public:
    ShellShop()
    {
        const QString server =
            TestDatabase::onPostgres() ? TestDatabase::fresh(nullptr, root.path()).connectionString : QString();
        data::createShop({QStringLiteral("admin"), false, server});
        dm = std::make_unique<TDM1>(vx::paths::dataLinkFile());
    }

    void addOperator(int code, const QString &name, const QString &password, int level)
    {
        dm->ADOConnection1->execute(
            QStringLiteral("INSERT INTO OPERADOR (OPECOD, OPEAPE, OPECLA, OPENIV) VALUES (?, ?, ?, ?)"),
            {code, name, password, level});
    }

    int operatorCount()
    {
        return dm->ADOConnection1->scalar(QStringLiteral("SELECT COUNT(*) FROM OPERADOR")).toInt();
    }

    TempRoot root;
    std::unique_ptr<TDM1> dm;
};
