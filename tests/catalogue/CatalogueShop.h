#pragma once

#include "../common/Screenshots.h"
#include "../common/TempRoot.h"
#include "../common/TestDatabase.h"

#include "data/DataModule.h"
#include "data/RowInserter.h"
#include "data/Schema.h"
#include "platform/db/DateTimeValue.h"
#include "platform/ui/FakeDialogs.h"
#include "app/uGlobales.h"

#include <QDir>
#include <QWidget>

#include <memory>

// A shop with every table and no rows, on the engine under test, with the data module open on it
// and the dialogs scripted. The operator is number 3 at the level given.
class CatalogueShop {
public:
    explicit CatalogueShop(int level = 9)
    {
        TestDatabase created = TestDatabase::withSchema(&data::vendrixSchema(), root.path());
        connectionString = created.connectionString;
        dm = std::make_unique<TDM1>(std::move(created.connection));
        setLevel(level);
        uGlobales::session().operatorCode = 3;
        for (int i = 0; i < uGlobales::articleListCount; ++i)
            uGlobales::setArticleListChanged(uGlobales::ArticleList(i), false);
    }

    void setLevel(int level) { uGlobales::session().accessLevel = level; }
    vx::Connection &db() { return *dm->ADOConnection1; }
    // A connection of its own to the same database, as another workstation has.
    std::unique_ptr<vx::Connection> otherWorkstation() const
    {
        return vx::Connection::open(vx::DataLink::fromConnectionString(connectionString), &data::vendrixSchema());
    }

    void addArticle(const QString &code, const QString &description, double stock1 = 0, double stock2 = 0,
                    const QVariant &reorder = {}, const QVariant &cost1 = {}, const QString &origin = {})
    {
        data::RowInserter(db(), QStringLiteral("STOCK"),
                          {QStringLiteral("ARTCMCT"), QStringLiteral("ARTDES"), QStringLiteral("ARTEX1"),
                           QStringLiteral("ARTEX2"), QStringLiteral("ARTREP"), QStringLiteral("ARTCOS1"),
                           QStringLiteral("ARTCOD")})
            .insert({code, description, stock1, stock2, reorder, cost1, origin});
    }
    void addReceipt(const QString &code, double quantity)
    {
        data::RowInserter(db(), QStringLiteral("INGRESOS"),
                          {QStringLiteral("INGNRO"), QStringLiteral("INGCMCT"), QStringLiteral("INGCAN1")})
            .insert({1, code, quantity});
    }
    void addIssue(const QString &code, double quantity)
    {
        data::RowInserter(db(), QStringLiteral("EGRESOS"),
                          {QStringLiteral("EGRNRO"), QStringLiteral("EGRCMCT"), QStringLiteral("EGRCAN1")})
            .insert({1, code, quantity});
    }
    void addMovement(const QString &code, const QString &direction, double quantity)
    {
        data::RowInserter(db(), QStringLiteral("MOVIM"),
                          {QStringLiteral("MOVTIP"), QStringLiteral("MOVCMCT"), QStringLiteral("MOVCAN1")})
            .insert({direction, code, quantity});
    }
    void addSaleLine(const QString &code)
    {
        data::RowInserter(db(), QStringLiteral("ITECLI"), {QStringLiteral("ITECOD")}).insert({code});
    }

    int count(const QString &table, const QString &where = {}, const QVariantList &params = {})
    {
        const QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + table +
                            (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where);
        return db().scalar(sql, params).toInt();
    }
    QVariant value(const QString &sql, const QVariantList &params = {}) { return db().scalar(sql, params); }

    static void screenshot(QWidget &window, const QString &name)
    {
        screenshots::save(window.grab().toImage(), name + QStringLiteral(".png"));
    }

    TempRoot root;
    QString connectionString;
    std::unique_ptr<TDM1> dm;
    vx::ui::FakeDialogs dialogs;
};
