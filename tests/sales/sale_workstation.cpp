// One counter workstation recording sales one after another, as a cashier does: the window
// proposes the next number when it opens (every other sale), the card coupon is written before
// the sale, and the sale is recorded. Prints how many proposed numbers another workstation took
// first. The concurrency test runs several of these at once.
#include "WorkstationPlan.h"

#include "data/Schema.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"
#include "sales/CouponRecording.h"
#include "sales/ReceiptNumbers.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "uso: sale_workstation ENLACE.udl PUESTO VENTAS\n");
        return 2;
    }
    const int workstation = QByteArray(argv[2]).toInt();
    const int count = QByteArray(argv[3]).toInt();
    int renumbered = 0;
    try {
        auto db = vx::Connection::open(vx::DataLink::read(QString::fromLocal8Bit(argv[1])), &data::vendrixSchema());
        for (int i = 0; i < count; ++i) {
            sales::SaleEntry entry;
            if (i % 2 == 0) {
                entry.receiptNumberText = QString::number(sales::highestReceiptNumber(*db) + 1);
                entry.receiptNumberProposed = true;
            }
            entry.dateText = QStringLiteral("08/12/2026");
            entry.customerName = QStringLiteral("CONSUMIDOR FINAL");
            entry.lines = plan::lines(workstation, i);
            entry.operatorCode = workstation;
            entry.cash = 40;
            if (plan::paidByCard(i)) {
                entry.card = plan::cardAmount(workstation, i);
                entry.cash = 0;
                entry.couponIds << sales::recordCoupon(
                    *db, {entry.dateText, entry.receiptNumberText, QStringLiteral("VISA"), QString::number(i),
                          QString::number(entry.card).replace(QLatin1Char('.'), QLatin1Char(','))});
            }
            renumbered += sales::recordSale(*db, entry).numberChanged ? 1 : 0;
        }
        std::printf("%d\n", renumbered);
    } catch (const sales::SaleRecordingError &e) {
        std::fprintf(stderr, "%s: %s\n", e.what(), qPrintable(e.cause()));
        return 1;
    } catch (const sales::CouponRecordingError &e) {
        std::fprintf(stderr, "%s: %s\n", e.what(), qPrintable(e.cause()));
        return 1;
    } catch (const vx::DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
