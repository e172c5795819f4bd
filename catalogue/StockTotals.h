#pragma once

#include <QString>

namespace vx {
class Table;
}

namespace catalogue {

// The stock valued at cost and at sale price per location, and the units per location, as the
// stock list shows them: amounts in fixed notation with 2 decimals, units in general notation.
struct StockTotals {
    QString cost1;   // ARTEX1 x ARTCOS1
    QString cost2;   // ARTEX2 x ARTCOS2
    QString sale1;   // ARTEX1 x ARTVEN1
    QString sale2;   // ARTEX2 x ARTVEN2
    QString units1;  // ARTEX1
    QString units2;  // ARTEX2
};

// The totals over the articles a cursor of its own on STOCK shows (its filter text), read with one aggregate
// statement. Each stored value counts as its 15-digit decimal, products and sums are exact, and
// each amount is rounded once, half away from zero, as amounts are shown; an empty value counts
// as 0. The same on every engine (numeric on PostgreSQL, an aggregate of ours on SQLite).
// Throws DbError.
StockTotals stockTotals(vx::Table &stock);

// An exact decimal text ("-12.345", "7") rounded to cents, half away from zero, in the shop's
// fixed notation ("-12,35").
QString decimalAsAmount(const QString &decimal);
// An exact decimal text in the shop's general notation ("12,5").
QString decimalAsUnits(const QString &decimal);

}  // namespace catalogue
