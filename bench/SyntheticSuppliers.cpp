// The supplier side of the synthetic shop: suppliers with invoices and credits written through the
// recordings' writers, and card coupons.
#include "bench/SyntheticShop.h"

#include "data/RowInserter.h"
#include "platform/db/DateTimeValue.h"
#include "suppliers/SupplierDocuments.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierText.h"

#include <QSqlQuery>

#include <algorithm>

namespace bench {

SupplierShopSize supplierShopSizeFromOptions(const Context &context, const SupplierShopSize &defaults)
{
    SupplierShopSize size;
    size.suppliers = context.option(QStringLiteral("suppliers"), defaults.suppliers);
    size.documents = context.option(QStringLiteral("documents"), defaults.documents);
    size.busiestOpen = std::min(size.documents, context.option(QStringLiteral("busiest"), defaults.busiestOpen));
    size.coupons = context.option(QStringLiteral("coupons"), defaults.coupons);
    size.cancelled = context.option(QStringLiteral("cancelled"), defaults.cancelled);
    size.payments = context.option(QStringLiteral("payments"), defaults.payments);
    return size;
}

double createSupplierShop(const QString &path, const Context &context, const SupplierShopSize &size)
{
    ShopSize shop = shopSizeFromOptions(context);
    shop.movements = context.option(QStringLiteral("movements"), 0);
    const std::unique_ptr<vx::Connection> connection = createSyntheticShop(path, shop);
    return timeSeconds([&] { addSupplierShop(*connection, size); });
}

void addSupplierShop(vx::Connection &connection, const SupplierShopSize &size)
{
    vx::Transaction transaction(connection);
    for (qint64 i = 1; i <= size.suppliers; ++i)
        suppliers::writeSupplier(connection, QStringLiteral("PROVEEDOR %1").arg(i, 4, 10, QLatin1Char('0')));
    const QDate first(2023, 1, 2);
    // The busiest supplier's documents first, over its last two years; the rest spread over the
    // others, one credit in ten.
    for (qint64 i = 0; i < size.documents; ++i) {
        const bool busiest = i < size.busiestOpen;
        const int supplier = busiest ? 1 : int(2 + (i * 7919) % std::max<qint64>(1, size.suppliers - 1));
        const bool credit = !busiest && i % 10 == 0;
        const double total = double((i * 3797) % 90000 + 1000) / 100;
        suppliers::writeSupplierDocument(
            connection, {supplier, credit ? suppliers::DocumentType::Credit : suppliers::DocumentType::Invoice,
                         double(i + 1), first.addDays(int(i * 1095 / size.documents)), total, 1, {}, {}});
    }
    addCoupons(connection, size.coupons);
    transaction.commit();
    connection.noteWrite();
    addCancellationsAndPayments(connection, size);
}

void addCancellationsAndPayments(vx::Connection &connection, const SupplierShopSize &size)
{
    const qint64 others = std::max<qint64>(1, size.suppliers - 1);
    // The newest invoice of one supplier in every few, cancelled before anything is paid on it.
    for (qint64 k = 0; k < size.cancelled; ++k) {
        const int supplier = int(2 + (k * 104729) % others);
        const QVariant key = connection.scalar(QStringLiteral("SELECT MAX(COMUNO) FROM PROCOM WHERE COMCLI = ? AND "
                                                              "COMTIP = '13' AND (COMREC IS NULL OR COMREC = '') AND "
                                                              "(COMANU IS NULL OR COMANU = ?)"),
                                               {supplier, connection.dialect().toDatabase(false, vx::FieldType::Boolean)});
        if (!key.isNull())
            suppliers::cancelSupplierDocument(connection, key.toLongLong());
    }
    // Payments against a supplier's oldest open invoice: most pay part of it, one in five pays
    // more than is owed and leaves a credit.
    for (qint64 k = 0; k < size.payments; ++k) {
        const int supplier = int(2 + (k * 7907) % others);
        QSqlQuery oldest = connection.execute(
            QStringLiteral("SELECT COMUNO, COMSAL, COMDIA FROM PROCOM WHERE COMCLI = ? AND COMTIP = '13' AND COMSAL > 0 "
                           "ORDER BY COMDIA, COMUNO LIMIT 1"),
            {supplier});
        if (!oldest.next())
            continue;
        suppliers::PaymentEntry entry;
        entry.supplierCode = supplier;
        const qint64 open = suppliers::toCents(oldest.value(1).toDouble());
        entry.marked << suppliers::MarkedDocument{oldest.value(0).toLongLong(), open};
        entry.cash = suppliers::fromCents(k % 5 == 0 ? open + 1000 : std::max<qint64>(1, open / 2));
        const QDate date =
            connection.dialect().fromDatabase(oldest.value(2), vx::FieldType::DateTime).toDateTime().date().addDays(30);
        oldest.finish();
        entry.dateText = date.toString(QStringLiteral("dd/MM/yyyy"));
        entry.centralCash = true;
        suppliers::recordPayment(connection, entry);
    }
}

void addCoupons(vx::Connection &connection, qint64 count)
{
    const bool own = !connection.inTransaction();
    std::optional<vx::Transaction> transaction;
    if (own)
        transaction.emplace(connection);
    data::RowInserter insert(connection, QStringLiteral("CUPONES"),
                             {QStringLiteral("CUPTARC"), QStringLiteral("CUPTARD"), QStringLiteral("CUPFEC"),
                              QStringLiteral("CUPCOM"), QStringLiteral("CUPNRO"), QStringLiteral("CUPCTA"),
                              QStringLiteral("CUPDIA"), QStringLiteral("CUPFAC"), QStringLiteral("CUPEST"),
                              QStringLiteral("CUPIMP")});
    const QDate first(2026, 1, 5);
    for (qint64 i = 0; i < count; ++i) {
        const QDate sold = first.addDays(int(i * 330 / std::max<qint64>(1, count)));
        insert.insert({int(1 + i % 3), QStringLiteral("TARJETA %1").arg(1 + i % 3), vx::naiveDateTime(sold),
                       QString::number(i + 1), QStringLiteral("%1").arg(i * 31 + 7, 8, 10, QLatin1Char('0')),
                       QStringLiteral("CTA 100-%1").arg(1 + i % 3), 18, vx::naiveDateTime(sold.addDays(18)),
                       i % 2 == 0 ? QStringLiteral("A") : QStringLiteral("P"), double((i * 613) % 50000 + 500) / 100});
    }
    if (transaction)
        transaction->commit();
    connection.noteWrite();
}

} // namespace bench
