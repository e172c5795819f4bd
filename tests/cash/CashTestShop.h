#pragma once
// A fresh shop for the cash tests, on the engine under test: sales recorded and cancelled through
// the sales recordings, and the cash book read back.
#include "../sales/SalesTestShop.h"

#include "cash/CashFigures.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DateTimeValue.h"
#include "sales/SaleCancellation.h"
#include "sales/SaleRecording.h"

class CashTestShop : public SalesTestShop {
public:
    CashTestShop() { addArticle(article, 1000, 1); }

    // A sale of one article at `price`, paid `cash` in cash and `card` by card (both 0: all cash).
    int sell(double price, double cash = 0, double card = 0)
    {
        sales::SaleEntry entry;
        entry.dateText = vx::shopformat::formatDate(QDate::currentDate());
        entry.lines = {{article, 1, price}};
        entry.cash = cash;
        entry.card = card;
        return sales::recordSale(db(), entry).receiptNumber;
    }
    void refund(int receipt)
    {
        sales::CancellationRequest request;
        request.receiptNumber = receipt;
        request.date = QDate::currentDate();
        request.refund = true;
        sales::cancelSale(db(), request);
    }
    void cashRow(const QString &kind, const QString &means, double amount, const QDate &written = QDate::currentDate())
    {
        insert(QStringLiteral("CAJA"),
               {QStringLiteral("CAJMOV"), QStringLiteral("CAJTIP"), QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC")},
               {kind, means, amount, vx::naiveDateTime(written)});
    }
    cash::CashFigures figures() { return cash::readCashFigures(db()); }
    double sumOf(const QString &table, const QString &where = {})
    {
        return connection
            ->scalar(QStringLiteral("SELECT COALESCE(SUM(CAJIMP), 0) FROM %1%2")
                         .arg(table, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where))
            .toDouble();
    }

    const QString article = QStringLiteral("0000000000001");
};
