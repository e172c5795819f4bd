#pragma once

// What each counter workstation of the concurrency test sells, so that the test knows what the
// stock must be afterwards without asking the workstations.
#include "sales/SaleRecording.h"

#include <QStringList>

namespace plan {

inline QStringList articles()
{
    return {QStringLiteral("7790001000019"), QStringLiteral("7790001000026"), QStringLiteral("7790001000033"),
            QStringLiteral("7790001000040"), QStringLiteral("7790001000057")};
}

constexpr double initialStock = 5000;

// Every fourth sale is paid partly by card, with a coupon written first; its amount tells the
// coupon and the sale's card row apart from every other.
inline bool paidByCard(int sale)
{
    return sale % 4 == 0;
}
inline double cardAmount(int workstation, int sale)
{
    return workstation * 1000 + sale + 0.5;
}

// The lines of sale `sale` of workstation `workstation`: two articles, one unit and two units.
inline QList<sales::SaleLine> lines(int workstation, int sale)
{
    const QStringList codes = articles();
    return {sales::SaleLine{codes[(workstation + sale) % 5], 1, 10},
            sales::SaleLine{codes[(workstation + 2 * sale + 1) % 5], 2, 15}};
}

} // namespace plan
