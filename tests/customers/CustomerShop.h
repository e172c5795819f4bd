#pragma once

#include "../common/Screenshots.h"
#include "../common/TempRoot.h"
#include "../common/TestDatabase.h"

#include "customers/CustomerStore.h"
#include "data/DataModule.h"
#include "data/RowInserter.h"
#include "data/Schema.h"
#include "platform/db/DateTimeValue.h"
#include "platform/ui/FakeDialogs.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

// Scripted dialogs that can run something while a question is on screen, as another
// workstation does while the operator reads it.
class AskingDialogs : public vx::ui::FakeDialogs {
public:
    std::function<void(const QString &)> duringQuestion;
    bool confirm(QWidget *parent, const QString &text, const QString &caption) override
    {
        if (duringQuestion)
            duringQuestion(text);
        return FakeDialogs::confirm(parent, text, caption);
    }
};

// A shop with every table and no rows, on the engine under test, the data module open on it.
class CustomerShop {
public:
    CustomerShop()
    {
        TestDatabase created = TestDatabase::withSchema(&data::vendrixSchema(), root.path());
        connectionString = created.connectionString;
        dm = std::make_unique<TDM1>(std::move(created.connection));
    }

    vx::Connection &db() { return *dm->ADOConnection1; }

    // A second workstation on the same database.
    std::unique_ptr<vx::Connection> another() { return db().openAnother(); }

    void addCustomer(int code, const QString &name, const QString &observations = {}, double balance = 0)
    {
        data::RowInserter(db(), QStringLiteral("CLIENTE"),
                          {QStringLiteral("CLICOD"), QStringLiteral("CLIAPE"), QStringLiteral("CLIOBS"),
                           QStringLiteral("CLISAL"), QStringLiteral("CLITEL")})
            .insert({code, name, observations, balance, QStringLiteral("TEL %1").arg(code)});
    }
    void addSale(int receipt, int customer, bool voided = false)
    {
        data::RowInserter(db(), QStringLiteral("CLICOM"),
                          {QStringLiteral("COMNRO"), QStringLiteral("COMCLI"), QStringLiteral("COMANU")})
            .insert({receipt, customer, voided});
    }
    void addIssue(int number, int customer)
    {
        data::RowInserter(db(), QStringLiteral("EGRESOS"), {QStringLiteral("EGRNRO"), QStringLiteral("EGRCLI")})
            .insert({number, customer});
    }

    QVariant value(const QString &sql, const QVariantList &params = {}) { return db().scalar(sql, params); }
    int count(const QString &where = QStringLiteral("1 = 1"), const QVariantList &params = {})
    {
        return value(QStringLiteral("SELECT COUNT(*) FROM CLIENTE WHERE ") + where, params).toInt();
    }

    QStringList messages() const { return dialogs.texts(QStringLiteral("message")); }
    QStringList questions() const { return dialogs.texts(QStringLiteral("confirm")); }

    static void screenshot(QWidget &window, const QString &name)
    {
        screenshots::save(window.grab().toImage(), name + QStringLiteral(".png"));
    }

    // Types into a box and leaves it with Tab, as the operator does.
    static void typeAndLeave(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }

    TempRoot root;
    QString connectionString;
    std::unique_ptr<TDM1> dm;
    AskingDialogs dialogs;
};
