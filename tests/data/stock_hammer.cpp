// Lowers one article's stock by one, many times, each in its own transaction, as a counter
// workstation does with every sale. Used by the concurrency test as a second process.
#include "data/Schema.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "uso: stock_hammer ENLACE.udl CODIGO VECES\n");
        return 2;
    }
    try {
        auto db = vx::Connection::open(vx::DataLink::read(QString::fromLocal8Bit(argv[1])), &data::vendrixSchema());
        const QString code = QString::fromLocal8Bit(argv[2]);
        const int times = QByteArray(argv[3]).toInt();
        for (int i = 0; i < times; ++i) {
            vx::Transaction transaction(*db);
            db->execute(QStringLiteral("UPDATE STOCK SET ARTEX1 = ARTEX1 - ? WHERE ARTCMCT = ?"), {1.0, code});
            transaction.commit();
        }
    } catch (const vx::DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
