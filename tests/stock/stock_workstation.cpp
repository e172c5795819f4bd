// One workstation of the stock concurrency test: "ingreso" records goods receipts one after
// another (every other one with the number the window would propose), "venta" records sales of the
// same articles. Prints how many proposed numbers another workstation took first.
#include "StockWorkstationPlan.h"

#include "data/Schema.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "uso: stock_workstation ENLACE.udl ingreso|venta PUESTO CANTIDAD\n");
        return 2;
    }
    const bool receiving = QByteArray(argv[2]) == "ingreso";
    const int workstation = QByteArray(argv[3]).toInt();
    const int count = QByteArray(argv[4]).toInt();
    int renumbered = 0;
    try {
        auto db = vx::Connection::open(vx::DataLink::read(QString::fromLocal8Bit(argv[1])), &data::vendrixSchema());
        for (int i = 0; i < count; ++i) {
            if (receiving) {
                stock::ReceiptEntry entry;
                if (i % 2 == 0)
                    entry.number = {QString::number(stock::nextNumber(*db, stock::receiptSeries)), true};
                entry.dateText = QStringLiteral("08/12/2026");
                entry.lines = stockplan::receiptLines(workstation, i);
                entry.operatorCode = workstation;
                renumbered += stock::recordReceipt(*db, entry).numberChanged ? 1 : 0;
            } else {
                sales::SaleEntry entry;
                entry.dateText = QStringLiteral("08/12/2026");
                entry.customerName = QStringLiteral("CONSUMIDOR FINAL");
                entry.lines = stockplan::saleLines(i);
                entry.operatorCode = workstation;
                sales::recordSale(*db, entry);
            }
        }
        std::printf("%d\n", renumbered);
    } catch (const stock::MovementRecordingError &e) {
        std::fprintf(stderr, "%s: %s\n", e.what(), qPrintable(e.cause()));
        return 1;
    } catch (const sales::SaleRecordingError &e) {
        std::fprintf(stderr, "%s: %s\n", e.what(), qPrintable(e.cause()));
        return 1;
    } catch (const vx::DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
