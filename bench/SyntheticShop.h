#pragma once

#include "bench/Bench.h"
#include "platform/db/Connection.h"

#include <QString>

#include <cstdint>
#include <memory>

// A seeded synthetic clothing shop for the benchmarks: articles with stock and prices, customers,
// and a few years of goods receipts, goods issues and sales with the stock movements they cause.
// The same seed and sizes always give the same shop.
namespace bench {

struct ShopSize {
    qint64 articles = 200000;
    qint64 movements = 2000000; // rows of MOVIM; receipts, issues and sales follow from them
    qint64 customers = 0;       // rows of CLIENTE; 0: one per hundred articles, 20 to 30 000
    std::uint32_t seed = 20250101;
};

// How many rows each table received.
struct ShopCounts {
    qint64 articles = 0;
    qint64 customers = 0;
    qint64 movements = 0;
    qint64 receiptLines = 0; // INGRESOS
    qint64 issueLines = 0;   // EGRESOS: goods issues and the lines of sales
    qint64 sales = 0;        // CLICOM
    qint64 saleLines = 0;    // ITECLI
};

// The sizes given by --articles=N, --movements=M, --customers=C and --seed=S, with full-scale
// defaults.
ShopSize shopSizeFromOptions(const Context &context);

// Fills a database whose schema has just been created, in one transaction. Throws vx::DbError
// when a row cannot be written (nothing is then left behind).
ShopCounts fillSyntheticShop(vx::Connection &connection, const ShopSize &size);

// Creates an SQLite file at `path` with the schema and fills it.
std::unique_ptr<vx::Connection> createSyntheticShop(const QString &path, const ShopSize &size,
                                                    ShopCounts *counts = nullptr);

// The supplier side, added only by the suites that time it: suppliers, their invoices and credits,
// and card coupons half of them credited.
struct SupplierShopSize {
    qint64 suppliers = 200;
    qint64 documents = 200000; // PROCOM rows
    qint64 busiestOpen = 5000; // open documents of supplier 1, the busiest
    qint64 coupons = 50000;
    // Documents typed by mistake and cancelled, and payments, both among the suppliers other than
    // the busiest (whose open documents stay as they are).
    qint64 cancelled = 0;
    qint64 payments = 0;
};

// Adds them to a shop filled before, in one transaction, through the supplier recordings' own
// writers; the cancellations and payments follow, each its own recording. Returns nothing;
// throws vx::DbError or suppliers::PaymentError.
void addSupplierShop(vx::Connection &connection, const SupplierShopSize &size);
// The supplier side's size from the options --suppliers, --documents, --busiest, --coupons,
// --cancelled and --payments, each defaulting to `defaults`'.
SupplierShopSize supplierShopSizeFromOptions(const Context &context, const SupplierShopSize &defaults);
// A synthetic shop at `path` without movements (unless --movements asks; the supplier side reads
// none, they would only lengthen the set-up) and with the supplier side added. Returns the seconds
// the supplier side took to write.
double createSupplierShop(const QString &path, const Context &context, const SupplierShopSize &size);
// The cancellations and payments of addSupplierShop alone.
void addCancellationsAndPayments(vx::Connection &connection, const SupplierShopSize &size);

// Writes `count` card coupons, every other one credited ("A"), in the caller's transaction or
// its own.
void addCoupons(vx::Connection &connection, qint64 count);

// The own code (ARTCMCT) of the article written `article`-th (0-based): 13 digits, a valid EAN-13
// number. Codes are scattered, so their sorted order is not the order the rows were written in.
QString syntheticOwnCode(qint64 article);

} // namespace bench
