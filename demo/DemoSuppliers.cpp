#include "demo/DemoSuppliers.h"

#include "demo/DemoHistory.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "suppliers/SupplierDocuments.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierText.h"

namespace demo {

namespace {

const char *const names[] = {"TEXTILES DEL SUR", "BOTONES Y AVIOS LOPEZ", "HILADOS DEL NORTE"};
constexpr int buyerCode = 1;

// The supplier's oldest open invoice, as the payments window lists it; nothing when none is open.
std::optional<suppliers::MarkedDocument> oldestInvoice(vx::Connection &connection, int supplier)
{
    const QVariant key = connection.scalar(
        QStringLiteral("SELECT MIN(COMUNO) FROM PROCOM WHERE COMCLI = ? AND COMTIP = '13' AND COMSAL > 0"), {supplier});
    if (key.isNull())
        return std::nullopt;
    const double balance =
        connection.scalar(QStringLiteral("SELECT COMSAL FROM PROCOM WHERE COMUNO = ?"), {key}).toDouble();
    return suppliers::MarkedDocument{key.toLongLong(), suppliers::toCents(balance)};
}

void pay(vx::Connection &connection, const QDate &day, int supplier)
{
    const std::optional<suppliers::MarkedDocument> invoice = oldestInvoice(connection, supplier);
    if (!invoice)
        return;
    suppliers::PaymentEntry entry;
    entry.supplierCode = supplier;
    entry.marked = {*invoice};
    const qint64 owed = invoice->shownCents;
    const bool credited =
        connection.scalar(QStringLiteral("SELECT COUNT(*) FROM PROCOM WHERE COMCLI = ? AND COMTIP = '26'"), {supplier})
            .toLongLong() > 0;
    // The first supplier is paid in full in cash; the second, the first time, 50,00 more than it
    // was owed (the rest stays as a credit); the third half by transfer.
    if (supplier == 1)
        entry.cash = suppliers::fromCents(owed);
    else if (supplier == 2)
        entry.cash = suppliers::fromCents(credited ? owed : owed + 5000);
    else
        entry.otherMeans = suppliers::fromCents(owed / 2);
    entry.dateText = vx::shopformat::formatDate(day);
    entry.centralCash = true;
    entry.operatorCode = buyerCode;
    suppliers::recordPayment(connection, entry);
}

} // namespace

void suppliersDay(vx::Connection &connection, const QDate &day)
{
    if (connection.scalar(QStringLiteral("SELECT COUNT(*) FROM PROVEEDORES")).toLongLong() == 0) {
        for (const char *name : names)
            suppliers::createSupplier(connection, QLatin1String(name));
    }
    if (day.dayOfWeek() == Qt::Monday) {
        DemoRandom random(quint32(day.toJulianDay()));
        for (int supplier = 1; supplier <= 3; ++supplier) {
            const int sent =
                connection.scalar(QStringLiteral("SELECT COUNT(*) FROM PROCOM WHERE COMCLI = ? AND COMTIP = '13'"), {supplier})
                    .toInt();
            const double total = 150 + random.below(60000) / 100.0;
            suppliers::recordSupplierDocument(connection, {supplier, suppliers::DocumentType::Invoice,
                                                           double(supplier * 1000 + sent + 1), day, total, buyerCode,
                                                           day.addDays(30), {}});
        }
        // On the first Monday an invoice typed for the wrong supplier is recorded and cancelled.
        if (connection.scalar(QStringLiteral("SELECT COUNT(*) FROM PROCOM WHERE COMTIP = '13'")).toLongLong() == 3) {
            const qint64 mistake = suppliers::recordSupplierDocument(
                connection, {3, suppliers::DocumentType::Invoice, 3999, day, 99.99, buyerCode, day.addDays(30),
                             QStringLiteral("CARGADA POR ERROR")});
            suppliers::cancelSupplierDocument(connection, mistake);
        }
    }
    if (day.dayOfWeek() == Qt::Friday)
        pay(connection, day, 1 + day.weekNumber() % 3);
}

}  // namespace demo
