// Records many small sales from one process, as a counter workstation does: each takes the next
// receipt number and lowers one article's stock, in its own transaction. The concurrency test
// runs several of these at once against one database.
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
            const double next =
                db->scalar(QStringLiteral("SELECT COALESCE(MAX(COMNRO), 0) + 1 FROM CLICOM WHERE COMTIP IN ('1A', '1B', '1C')"))
                    .toDouble();
            db->execute(QStringLiteral("INSERT INTO CLICOM (COMTIP, COMNRO, COMTOT) VALUES ('1B', ?, ?)"), {next, 10.0});
            db->execute(QStringLiteral("UPDATE STOCK SET ARTEX1 = ARTEX1 - ? WHERE ARTCMCT = ?"), {1.0, code});
            transaction.commit();
        }
    } catch (const vx::DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
