#pragma once

#include "../common/Screenshots.h"
#include "../common/TempRoot.h"
#include "../common/TestDatabase.h"

#include "app/uGlobales.h"
#include "data/DataModule.h"
#include "data/RowInserter.h"
#include "data/Schema.h"
#include "platform/db/Query.h"
#include "platform/ui/FakeDialogs.h"

#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>
#include <QWidget>

#include <memory>

// A shop with every table, on the engine under test, the data module open on it, and the rows
// the queries read written directly: articles, receipt and issue lines, journal rows, sales.
class QueryShop {
public:
    QueryShop()
    {
        TestDatabase created = TestDatabase::withSchema(&data::vendrixSchema(), root.path());
        dm = std::make_unique<TDM1>(std::move(created.connection));
    }

    vx::Connection &db() { return *dm->ADOConnection1; }

    void insert(const QString &table, const QStringList &columns, const QVariantList &values)
    {
        data::RowInserter(db(), table, columns).insert(values);
    }
    void addArticle(const QString &code, const QString &description, double stock1 = 0, double stock2 = 0)
    {
        insert(QStringLiteral("STOCK"), {"ARTCMCT", "ARTDES", "ARTEX1", "ARTEX2"}, {code, description, stock1, stock2});
    }
    void addReceipt(int number, const QDateTime &when, const QString &code, const QVariant &q1, const QVariant &q2 = 0,
                    double cost = 10)
    {
        insert(QStringLiteral("INGRESOS"), {"INGNRO", "INGFEC", "INGCMCT", "INGCAN1", "INGCAN2", "INGCOS1"},
               {number, when, code, q1, q2, cost});
    }
    void addIssue(int number, const QDateTime &when, const QString &code, const QVariant &q1, const QVariant &q2 = 0)
    {
        insert(QStringLiteral("EGRESOS"), {"EGRNRO", "EGRFEC", "EGRCMCT", "EGRCAN1", "EGRCAN2", "EGRCOS1"},
               {number, when, code, q1, q2, 5.0});
    }
    void addMove(const QString &kind, const QDateTime &when, const QString &code, const QVariant &q1,
                 const QVariant &q2 = 0)
    {
        insert(QStringLiteral("MOVIM"), {"MOVTIP", "MOVFEC", "MOVHOR", "MOVCMCT", "MOVCAN1", "MOVCAN2", "MOVOBS"},
               {kind, when, when.time().toString(QStringLiteral("hh:mm:ss")), code, q1, q2, QStringLiteral("Prueba")});
    }
    void addReceiptHeader(int number, const QDateTime &when, double total, const QVariant &cancelled = false,
                          const QString &kind = QStringLiteral("1B"), int customer = 1)
    {
        insert(QStringLiteral("CLICOM"), {"COMNRO", "COMDIA", "COMTOT", "COMANU", "COMTIP", "COMCLI"},
               {number, when, total, cancelled, kind, customer});
    }
    void addLine(int receipt, const QDateTime &when, const QString &code, const QVariant &quantity, double price,
                 double cost, const QVariant &cancelled = false, int customer = 1, int operatorCode = 1)
    {
        insert(QStringLiteral("ITECLI"),
               {"ITECOM", "ITEFEC", "ITECOD", "ITECAN", "ITEPRE", "ITECAU", "ITEANU", "ITECLI", "ITEOPE"},
               {receipt, when, code, quantity, price, cost, cancelled, customer, operatorCode});
    }
    void addCustomer(int code, const QString &name)
    {
        insert(QStringLiteral("CLIENTE"), {"CLICOD", "CLIAPE"}, {code, name});
    }
    void addOperator(int code, const QString &name, int level = 9)
    {
        insert(QStringLiteral("OPERADOR"), {"OPECOD", "OPEAPE", "OPENIV", "OPECLA"},
               {code, name, level, QStringLiteral("c%1").arg(code)});
    }

    // Every row of a query, each as the listed values of some fields.
    static QList<QStringList> rows(vx::Dataset &q, const QStringList &fields)
    {
        QList<QStringList> out;
        for (q.first(); !q.eof(); q.next()) {
            QStringList row;
            for (const QString &f : fields)
                row << q.fieldByName(f)->asString();
            out << row;
        }
        return out;
    }

    static void login(int level)
    {
        uGlobales::session().accessLevel = level;
        uGlobales::session().operatorCode = 1;
        uGlobales::setAllArticleListsChanged();
    }

    // Types into a box and leaves it with Tab, as the operator does.
    static void typeAndLeave(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    static void typeAndLeave(QComboBox *box, const QString &text) { typeAndLeave(box->lineEdit(), text); }

    QStringList messages() const { return dialogs.texts(QStringLiteral("message")); }

    TempRoot root;
    std::unique_ptr<TDM1> dm;
    vx::ui::FakeDialogs dialogs;
};

inline QDateTime at(int day, const QString &time = QStringLiteral("10:00:00"))
{
    return QDateTime(QDate(2026, 11, day), QTime::fromString(time, QStringLiteral("hh:mm:ss")));
}
