// A counter workstation recording sales of two lines one after another, for as long as it is
// asked to, through the same recording the sales window uses. The copy test runs it beside a
// database copy.
#include "data/Schema.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"
#include "sales/SaleRecording.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "uso: sale_counter ENLACE.udl CODIGO1 CODIGO2 VENTAS\n");
        return 2;
    }
    try {
        auto db = vx::Connection::open(vx::DataLink::read(QString::fromLocal8Bit(argv[1])), &data::vendrixSchema());
        const int count = QByteArray(argv[4]).toInt();
        for (int i = 0; i < count; ++i) {
            sales::SaleEntry entry;
            entry.dateText = QStringLiteral("19/10/2008");
            entry.customerName = QStringLiteral("CONSUMIDOR FINAL");
            entry.lines = {{QString::fromLocal8Bit(argv[2]), 1, 10}, {QString::fromLocal8Bit(argv[3]), 2, 15}};
            entry.cash = 40;
            entry.operatorCode = 1;
            entry.accessLevel = 9;
            sales::recordSale(*db, entry);
            std::printf("%d\n", i + 1);
            std::fflush(stdout);
        }
    } catch (const sales::SaleRecordingError &e) {
        std::fprintf(stderr, "%s: %s\n", e.what(), qPrintable(e.cause()));
        return 1;
    } catch (const vx::DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
