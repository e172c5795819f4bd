#pragma once

// What each workstation of the stock concurrency test receives or sells, so that the test knows
// what the stock must be afterwards without asking the workstations. Quantities are fractions a
// double holds exactly, so "exactly" means equal.
#include "sales/SaleRecording.h"
#include "stock/GoodsReceipt.h"

#include <QStringList>

namespace stockplan {

inline QStringList articles()
{
    return {QStringLiteral("7790002000018"), QStringLiteral("7790002000025"), QStringLiteral("7790002000032")};
}

constexpr double initialStock = 500;

// The cost of a receipt line tells every receipt apart: the last one recorded must be the cost.
inline QList<stock::ReceiptLine> receiptLines(int workstation, int receipt)
{
    const QStringList codes = articles();
    const double cost = workstation * 1000 + receipt + 0.25;
    return {stock::ReceiptLine{codes[(workstation + receipt) % 3], {}, 1.25, cost, 0.5, cost + 1},
            stock::ReceiptLine{codes[(workstation + 2 * receipt + 1) % 3], {}, 0.5, cost, 0, cost + 1}};
}

inline QList<sales::SaleLine> saleLines(int sale)
{
    const QStringList codes = articles();
    return {sales::SaleLine{codes[sale % 3], 0.75, 10}, sales::SaleLine{codes[(sale + 1) % 3], 0.25, 10}};
}

}  // namespace stockplan
