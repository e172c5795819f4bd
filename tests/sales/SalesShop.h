#pragma once

#include "../common/TempRoot.h"
#include "../common/TestDatabase.h"

#include "data/DataModule.h"
#include "data/RowInserter.h"
#include "data/Schema.h"
#include "data/ShopSetup.h"
#include "platform/core/Paths.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// A fresh shop for one test on the engine under test, its data module, and a working folder of
// its own: the root folder, so that the user folder and the working folder are two places.
class SalesShop {
public:
    struct Line {
        QString article;
        double quantity;
        double listPrice;
    };

    SalesShop()
    {
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(root.path());
        TestDatabase created = TestDatabase::withSchema(&data::vendrixSchema(), m_dir.path());
        data::writeStartingRows(*created.connection, QStringLiteral("admin"));
        dm = std::make_unique<TDM1>(std::move(created.connection));
    }
    ~SalesShop()
    {
        dm.reset();
        QDir::setCurrent(m_previousFolder);
    }

    vx::Connection &db() { return *dm->ADOConnection1; }

    QVariant scalar(const QString &sql, const QVariantList &params = {}) { return db().scalar(sql, params); }

    void insert(const QString &table, const QStringList &columns, const QVariantList &values)
    {
        data::RowInserter(db(), table, columns).insert(values);
    }

    void article(const QString &code, const QString &description, double stock)
    {
        insert(QStringLiteral("STOCK"), {QStringLiteral("ARTCMCT"), QStringLiteral("ARTDES"), QStringLiteral("ARTEX1")},
               {code, description, stock});
    }

    void customer(int code, const QString &name, const QString &address, const QString &taxCondition,
                  const QString &taxNumber)
    {
        insert(QStringLiteral("CLIENTE"),
               {QStringLiteral("CLICOD"), QStringLiteral("CLIAPE"), QStringLiteral("CLIDIR"), QStringLiteral("CLIIVA"),
                QStringLiteral("CLICUI")},
               {code, name, address, taxCondition, taxNumber});
    }

    // The rows the sale recording leaves for a sale paid in cash: per line the stock issue, the
    // movement, the receipt line and the lowered stock; the receipt; the cash row.
    void sale(int number, const QDate &date, int customerCode, double percentage, const QList<Line> &lines)
    {
        const QDateTime day(date, QTime(0, 0));
        const QString observation = QStringLiteral("Por Venta Nro. %1").arg(number);
        double subtotal = 0;
        for (const Line &line : lines) {
            const double price = line.listPrice - line.listPrice * percentage / 100;
            subtotal += line.quantity * line.listPrice;
            insert(QStringLiteral("EGRESOS"),
                   {QStringLiteral("EGRNRO"), QStringLiteral("EGRFEC"), QStringLiteral("EGRCMCT"),
                    QStringLiteral("EGRCAN1"), QStringLiteral("EGRVTA1"), QStringLiteral("EGROBS")},
                   {number, day, line.article, line.quantity, price, observation});
            insert(QStringLiteral("MOVIM"),
                   {QStringLiteral("MOVFEC"), QStringLiteral("MOVCMCT"), QStringLiteral("MOVCAN1"),
                    QStringLiteral("MOVNRO"), QStringLiteral("MOVTIP"), QStringLiteral("MOVOBS"),
                    QStringLiteral("MOVOPE")},
                   {day, line.article, line.quantity, number, QStringLiteral("E"), observation, 1});
            insert(QStringLiteral("ITECLI"),
                   {QStringLiteral("ITECOM"), QStringLiteral("ITECLI"), QStringLiteral("ITETIP"),
                    QStringLiteral("ITECOD"), QStringLiteral("ITECAN"), QStringLiteral("ITEPOR"),
                    QStringLiteral("ITEEDI"), QStringLiteral("ITEPRE"), QStringLiteral("ITEFEC"),
                    QStringLiteral("ITEOPE"), QStringLiteral("ITEANU")},
                   {number, customerCode, QStringLiteral("1B"), line.article, line.quantity,
                    percentage != 0 ? QVariant(percentage) : QVariant(), line.listPrice, price, day, 1, false});
            db().execute(QStringLiteral("UPDATE STOCK SET ARTEX1 = ARTEX1 - ? WHERE ARTCMCT = ?"),
                         {line.quantity, line.article});
        }
        const double total = subtotal - subtotal * percentage / 100;
        insert(QStringLiteral("CLICOM"),
               {QStringLiteral("COMTIP"), QStringLiteral("COMNRO"), QStringLiteral("COMCLI"), QStringLiteral("COMTOT"),
                QStringLiteral("COMSUB"), QStringLiteral("COMPOR"), QStringLiteral("COMDIA"), QStringLiteral("COMSAL"),
                QStringLiteral("COMOPE"), QStringLiteral("COMANU")},
               {QStringLiteral("1B"), number, customerCode, total, subtotal, percentage, day, 0.0, 1, false});
        if (total != 0) {
            insert(QStringLiteral("CAJA"),
                   {QStringLiteral("CAJMOV"), QStringLiteral("CAJCOM"), QStringLiteral("CAJTIP"),
                    QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC"), QStringLiteral("CAJENT"),
                    QStringLiteral("CAJCON")},
                   {QStringLiteral("I"), QString::number(number), QStringLiteral("EF"), total, day, day, observation});
        }
    }

    // Writes a text file, creating its folder.
    static void writeFile(const QString &folder, const QString &name, const QByteArray &bytes)
    {
        QDir().mkpath(folder);
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    TempRoot root;
    std::unique_ptr<TDM1> dm;

private:
    QTemporaryDir m_dir;
    QString m_previousFolder;
};
