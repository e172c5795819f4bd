#include "../common/SaleShop.h"
#include "../common/ShopDatabase.h"

#include "data/DataModule.h"
#include "data/Schema.h"
#include "data/ShopSetup.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"
#include "sales/SaleCancellation.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlError>
#include <QTest>

// When the database goes away, is full, read-only or not a shop's at all: the operator is told
// why in Spanish, nothing is half-written, and the work goes on once the cause is gone.
class TestReliability : public QObject {
    Q_OBJECT

    static QString messageOf(const std::function<void()> &work)
    {
        try {
            work();
        } catch (const vx::DbError &e) {
            return e.message();
        } catch (const std::exception &e) {
            return QString::fromUtf8(e.what());
        }
        return {};
    }

    static QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    static QString writeLink(const QString &folder, const QString &connectionString)
    {
        const QString path = QDir(folder).filePath(QStringLiteral("Vendrix.udl"));
        vx::DataLink::write(path, connectionString);
        return path;
    }

    static QString serverAddress() { return qEnvironmentVariable("VX_TEST_PG"); }

    static int backendOf(vx::Connection &db) { return db.scalar(QStringLiteral("SELECT pg_backend_pid()")).toInt(); }

    // Ends a connection's server process as an administrator or a dropped network would.
    static void killBackend(vx::Connection &killer, int pid)
    {
        killer.scalar(QStringLiteral("SELECT pg_terminate_backend(?)"), {pid});
        QTRY_COMPARE(killer.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE pid = ?"), {pid}).toInt(),
                     0);
    }

    // A small file system of our own, for a full disk or a read-only medium.
    struct Mount {
        QString path;
        bool mounted = false;
        Mount(const QString &where, const QString &size) : path(where)
        {
            QDir().mkpath(path);
            mounted = QProcess::execute(QStringLiteral("mount"),
                                        {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                         QStringLiteral("size=") + size, QStringLiteral("tmpfs"), path})
                      == 0;
        }
        bool remountReadOnly() const
        {
            return QProcess::execute(QStringLiteral("mount"),
                                     {QStringLiteral("-o"), QStringLiteral("remount,ro"), path}) == 0;
        }
        ~Mount()
        {
            if (mounted)
                QProcess::execute(QStringLiteral("umount"), {path});
        }
    };

    // An SQLite shop at a path, created and closed again.
    static void createSqliteShop(const QString &path)
    {
        auto db = vx::Connection::openSqlite(path, &data::vendrixSchema(), true);
        db->createSchema();
        saleshop::fill(*db);
    }

private slots:
    void engineCausesInSpanish_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("cause");
        using K = vx::DbError::Kind;
        QTest::newRow("SQLite full") << "13" << "database or disk is full" << int(K::DiskFull) << "El disco está lleno.";
        QTest::newRow("SQLite read-only") << "8" << "attempt to write a readonly database" << int(K::ReadOnly)
                                          << "sólo lectura";
        QTest::newRow("SQLite busy") << "5" << "database is locked" << int(K::Locked) << "ocupada";
        QTest::newRow("SQLite malformed") << "11" << "database disk image is malformed" << int(K::Corrupt) << "dañada";
        QTest::newRow("SQLite not a database") << "26" << "file is not a database" << int(K::NotADatabase)
                                               << "no es una base de datos";
        QTest::newRow("SQLite extended I/O full") << "3338" << "disk I/O error" << int(K::Other) << "disco";
        QTest::newRow("PostgreSQL disk full") << "53100" << "could not extend file" << int(K::DiskFull)
                                              << "El disco está lleno.";
        QTest::newRow("PostgreSQL read-only") << "25006" << "cannot execute INSERT in a read-only transaction"
                                              << int(K::ReadOnly) << "sólo lectura";
        QTest::newRow("PostgreSQL lock timeout") << "55P03" << "canceling statement due to lock timeout"
                                                 << int(K::Locked) << "ocupada";
        QTest::newRow("PostgreSQL corrupt") << "XX001" << "invalid page in block 0" << int(K::Corrupt) << "dañada";
        QTest::newRow("PostgreSQL killed") << "57P01" << "terminating connection due to administrator command"
                                           << int(K::ConnectionLost) << "Se perdió la conexión";
        QTest::newRow("libpq lines, no code")
            << "" << "server closed the connection unexpectedly\n\tThis probably means the server terminated abnormally"
            << int(K::ConnectionLost) << "Se perdió la conexión";
        QTest::newRow("refused") << "" << "connection to server at \"127.0.0.1\", port 1 failed: Connection refused\n\tIs "
                                          "the server running on that host and accepting TCP/IP connections?"
                                 << int(K::Unreachable) << "No se puede conectar";
        QTest::newRow("unknown") << "23505" << "duplicate key value" << int(K::Other) << "";
    }
    void engineCausesInSpanish()
    {
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, cause);
        const vx::EngineCause found = vx::engineCause(QSqlError(QString(), text, QSqlError::StatementError, code));
        QCOMPARE(int(found.kind), kind);
        QVERIFY2(cause.isEmpty() ? found.text.isEmpty() : found.text.contains(cause), qPrintable(found.text));
    }

    // Another program's database, an empty file, a text: refused by name, and not a byte changed.
    void foreignDatabasesAreRefusedUntouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty") << "empty";
        QTest::newRow("another program's") << "foreign";
        if (!TestDatabase::onPostgres())
            QTest::newRow("text file") << "text";
    }
    void foreignDatabasesAreRefusedUntouched()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        TestDatabase foreign = TestDatabase::fresh(&data::vendrixSchema(), dir.path());
        if (kind == QLatin1String("foreign"))
            foreign.connection->execute(QStringLiteral("CREATE TABLE NOTAS (TEXTO VARCHAR(40))"));
        foreign.connection.reset();
        const QString file = QDir(dir.path()).filePath(QStringLiteral("test0.db"));
        QString path;
        if (!TestDatabase::onPostgres()) {
            path = vx::DataLink::fromConnectionString(foreign.connectionString).value(QStringLiteral("Data Source"));
            if (kind == QLatin1String("text")) {
                QFile text(path);
                QVERIFY(text.open(QIODevice::WriteOnly));
                text.write(QByteArray("Lista de precios\n").repeated(300));
            }
        }
        const QByteArray before = path.isEmpty() ? QByteArray() : bytesOf(path);
        const QString link = writeLink(dir.path(), foreign.connectionString);

        const QString message = messageOf([&] { TDM1 module(link); });
        if (TestDatabase::onPostgres()) {
            QVERIFY2(message.startsWith(QStringLiteral("La base de datos \"vxt_"))
                         && message.endsWith(QStringLiteral("no es una base de datos de Vendrix.")),
                     qPrintable(message));
            auto again = vx::Connection::open(vx::DataLink::fromConnectionString(foreign.connectionString), nullptr);
            QVERIFY(!again->tableExists(QStringLiteral("OPERADOR")));
            QVERIFY(!again->tableExists(vx::Schema::versionTable()));
        } else {
            QCOMPARE(message, QStringLiteral("El archivo \"%1\" no es una base de datos de Vendrix.")
                                  .arg(QDir::toNativeSeparators(path)));
            QVERIFY(bytesOf(path) == before);
            QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
        }
        Q_UNUSED(file);
    }

    // The version of the tables a shop records decides which program may work on it; a shop from
    // before versions were recorded is the first version, and "vendrix upgrade" records it.
    void schemaVersionDecidesWhoOpens_data()
    {
        QTest::addColumn<int>("stored");   // 0: no version recorded
        QTest::addColumn<int>("program");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("same") << 1 << 1 << QString();
        QTest::newRow("before versions") << 0 << 1 << QString();
        QTest::newRow("newer shop") << 4 << 3 << "es de una versión más nueva de Vendrix (sus tablas son de la versión 4; "
                                                 "este programa conoce hasta la 3)";
        QTest::newRow("older shop") << 1 << 2 << "es de una versión anterior de Vendrix (sus tablas son de la versión 1; "
                                                 "este programa usa la 2). Para actualizarla, cierre Vendrix en todos los "
                                                 "puestos, haga una copia de la base de datos y ejecute \"vendrix upgrade\".";
    }
    void schemaVersionDecidesWhoOpens()
    {
        QFETCH(int, stored);
        QFETCH(int, program);
        QFETCH(QString, refusal);
        ShopDatabase shop;
        QCOMPARE(shop.db().storedVersion(), data::schemaVersion);
        const QString table = vx::Schema::versionTable();
        if (stored == 0)
            shop.db().execute(QStringLiteral("DROP TABLE %1").arg(table));
        else
            shop.db().execute(QStringLiteral("UPDATE %1 SET VERSION = ?").arg(table), {stored});
        const vx::Schema schema(data::vendrixSchema().tables(), QStringLiteral("Vendrix"), program);
        const auto link = vx::DataLink::fromConnectionString(shop.connectionString);
        const QString message =
            messageOf([&] { vx::Connection::open(link, &schema, vx::Connection::Expect::Shop); });
        QVERIFY2(refusal.isEmpty() ? message.isEmpty() : message.contains(refusal), qPrintable(message));
        QCOMPARE(shop.db().storedVersion(), stored);

        if (stored > data::schemaVersion) {
            QTemporaryDir dir;
            QVERIFY(messageOf([&] { data::upgradeShop(writeLink(dir.path(), shop.connectionString)); })
                        .contains(QStringLiteral("más nueva")));
            QCOMPARE(shop.db().storedVersion(), stored);
        }
    }

    // "vendrix upgrade" adds what each later version brought to a shop of any earlier one, on the
    // engine the shop is on, and records this version; a second run has nothing left to do.
    void upgradeAddsTheIndexesOfLaterVersions_data()
    {
        QTest::addColumn<int>("stored");  // 0: no version recorded, the first version
        QTest::addColumn<QStringList>("missing");
        const QStringList second{QStringLiteral("IX_STOCK_ARTCMCT_ARTDES"), QStringLiteral("IX_ITECLI_ITECLI_ITEFEC"),
                                 QStringLiteral("IX_ITECLI_ITEOPE_ITEFEC")};
        const QStringList third{QStringLiteral("IX_INGRESOS_INGCLI"), QStringLiteral("IX_PAGOS_COBPRO")};
        QTest::newRow("before versions") << 0 << second + third;
        QTest::newRow("first version") << 1 << second + third;
        QTest::newRow("second version") << 2 << third;
    }
    void upgradeAddsTheIndexesOfLaterVersions()
    {
        QFETCH(int, stored);
        QFETCH(QStringList, missing);
        ShopDatabase shop;
        const auto present = [&](const QString &index) {
            return shop.db()
                       .scalar(TestDatabase::onPostgres()
                                   ? QStringLiteral("SELECT COUNT(*) FROM pg_indexes WHERE indexname = lower(?)")
                                   : QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name = ?"),
                               {index})
                       .toInt() == 1;
        };
        for (const QString &index : missing) {
            QVERIFY2(present(index), qPrintable(index));
            shop.db().execute(QStringLiteral("DROP INDEX ") + index);
        }
        if (stored == 0)
            shop.db().execute(QStringLiteral("DROP TABLE %1").arg(vx::Schema::versionTable()));
        else
            shop.db().execute(QStringLiteral("UPDATE %1 SET VERSION = ?").arg(vx::Schema::versionTable()), {stored});
        QTemporaryDir dir;
        const QString udl = writeLink(dir.path(), shop.connectionString);
        QVERIFY(data::upgradeShop(udl).contains(QStringLiteral("quedó en la versión %1").arg(data::schemaVersion)));
        QCOMPARE(shop.db().storedVersion(), data::schemaVersion);
        for (const QString &index : missing)
            QVERIFY2(present(index), qPrintable(index));
        QVERIFY(data::upgradeShop(udl).contains(QStringLiteral("no hay nada que actualizar")));
    }

    // A shop that can only be read opens for looking things up, says that nothing can be
    // recorded, and a sale tried anyway says why it failed.
    void readOnlyShopOpensWithItsWarning()
    {
        QTemporaryDir dir;
        std::unique_ptr<Mount> medium;
        QString connectionString;
        std::unique_ptr<ShopDatabase> server;
        if (TestDatabase::onPostgres()) {
            server = std::make_unique<ShopDatabase>();
            saleshop::fill(server->db());
            const QString name =
                vx::DataLink::fromConnectionString(server->connectionString).value(QStringLiteral("Initial Catalog"));
            server->db().execute(QStringLiteral("ALTER DATABASE %1 SET default_transaction_read_only = on").arg(name));
            connectionString = server->connectionString;
        } else {
            medium = std::make_unique<Mount>(dir.filePath(QStringLiteral("cd")), QStringLiteral("8m"));
            if (!medium->mounted)
                QSKIP("mount is not allowed here: no read-only medium to try");
            const QString path = QDir(medium->path).filePath(QStringLiteral("Vendrix.db"));
            createSqliteShop(path);
            QVERIFY(medium->remountReadOnly());
            connectionString = QStringLiteral("Provider=SQLite;Data Source=%1;").arg(path);
        }
        TDM1 module(writeLink(dir.path(), connectionString));
        QVERIFY2(module.readOnlyWarning().contains(QStringLiteral("no se podrá grabar nada")),
                 qPrintable(module.readOnlyWarning()));
        QCOMPARE(module.ADOConnection1->scalar(QStringLiteral("SELECT COUNT(*) FROM STOCK")).toInt(), 4);
        const QString failure = messageOf([&] { sales::recordSale(*module.ADOConnection1, saleshop::sale({"0000000000001"})); });
        QVERIFY2(failure.startsWith(QStringLiteral("No se pudo completar el proceso. Reingrese la transacción\n"))
                     && failure.contains(QStringLiteral("sólo lectura")),
                 qPrintable(failure));
    }

    void fullDiskSaysSoAndRecoversWhenSpaceIsBack()
    {
        if (TestDatabase::onPostgres())
            QSKIP("the server's disk is not the test's to fill");
        QTemporaryDir dir;
        Mount disk(dir.filePath(QStringLiteral("disk")), QStringLiteral("3m"));
        if (!disk.mounted)
            QSKIP("mount is not allowed here: no small disk to fill");
        const QString path = QDir(disk.path).filePath(QStringLiteral("Vendrix.db"));
        createSqliteShop(path);
        TDM1 module(writeLink(dir.path(), QStringLiteral("Provider=SQLite;Data Source=%1;").arg(path)));
        vx::Connection &db = *module.ADOConnection1;
        sales::recordSale(db, saleshop::sale({"0000000000001"}));

        QFile filler(QDir(disk.path).filePath(QStringLiteral("relleno")));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(64 * 1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        const QByteArray small(512, 'x');
        while (filler.write(small) == small.size() && filler.flush()) {
        }
        filler.close();

        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << saleshop::articleCodes()[i % 4];
        const QString failure = messageOf([&] { sales::recordSale(db, saleshop::sale(lines)); });
        QVERIFY2(failure.startsWith(QStringLiteral("No se pudo completar el proceso. Reingrese la transacción\n"))
                     && failure.contains(QStringLiteral("El disco está lleno.")),
                 qPrintable(failure));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM CLICOM")).toInt(), 1);

        QVERIFY(filler.remove());
        sales::recordSale(db, saleshop::sale(lines));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM CLICOM")).toInt(), 2);
        QCOMPARE(saleshop::brokenRule(db), QString());
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    }

    // The server ends the workstation's connection between two sales or in the middle of one.
    void lostConnectionIsOpenedAgain_data()
    {
        QTest::addColumn<bool>("duringSale");
        QTest::newRow("between sales") << false;
        QTest::newRow("during a sale") << true;
    }
    void lostConnectionIsOpenedAgain()
    {
        if (!TestDatabase::onPostgres())
            QSKIP("an SQLite file has no connection to lose");
        QFETCH(bool, duringSale);
        ShopDatabase shop;
        saleshop::fill(shop.db());
        vx::Connection &db = shop.db();
        db.usePrivateCopy(QStringLiteral("TMP1"));
        db.execute(QStringLiteral("INSERT INTO TMP1 (TM1CHR1) VALUES ('linea')"));
        auto killer = db.openAnother();
        QSignalSpy reconnected(&db, &vx::Connection::reconnected);
        const int pid = backendOf(db);
        const auto sale = saleshop::sale({"0000000000001", "0000000000002"});

        if (duringSale) {
            bool killed = false;
            const QString failure = messageOf([&] {
                sales::recordSale(db, sale, [&](const QString &) {
                    if (!std::exchange(killed, true))
                        killBackend(*killer, pid);
                });
            });
            QCOMPARE(failure, QStringLiteral("No se pudo completar el proceso. Reingrese la transacción\nSe perdió la "
                                             "conexión con el servidor de datos (%1) y se restableció. La operación no "
                                             "se grabó: puede repetirla ahora.")
                                  .arg(serverAddress()));
            QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM CLICOM")).toInt(), 0);
            QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM EGRESOS")).toInt(), 0);
        } else {
            killBackend(*killer, pid);
        }
        // Repeated at once, the sale is recorded, whole and once.
        QCOMPARE(sales::recordSale(db, sale).receiptNumber, 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM ITECLI")).toInt(), 2);
        QCOMPARE(saleshop::brokenRule(db), QString());
        QCOMPARE(reconnected.count(), 1);
        QVERIFY(backendOf(db) != pid);
        // The scratch table is this workstation's again, empty.
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM TMP1")).toInt(), 0);
        QCOMPARE(killer->scalar(QStringLiteral("SELECT COUNT(*) FROM TMP1")).toInt(), 0);
    }

    // The server stops: every operation says so, in the operator's words, until it is back; then
    // work goes on without restarting the program.
    void serverAwayThenBack()
    {
        const QString script = qEnvironmentVariable("VX_PG_CLUSTER");
        if (!TestDatabase::onPostgres() || script.isEmpty())
            QSKIP("needs the test server and its script");
        ShopDatabase shop;
        saleshop::fill(shop.db());
        vx::Connection &db = shop.db();
        const QString port = serverAddress().section(QLatin1Char(':'), 1);
        QProcess restart;
        restart.setProcessChannelMode(QProcess::ForwardedChannels);
        restart.start(script, {QStringLiteral("restart"), qEnvironmentVariable("VX_PG_CLUSTER_DIR"), port,
                               QStringLiteral("8")});
        const auto probe = vx::DataLink::fromConnectionString(TestDatabase::serverConnectionString("postgres"));
        QTRY_VERIFY_WITH_TIMEOUT(!messageOf([&] { vx::Connection::open(probe, nullptr); }).isEmpty(), 20000);

        const QString lost =
            QStringLiteral("Se perdió la conexión con el servidor de datos (%1). Verifique la red.").arg(serverAddress());
        QCOMPARE(messageOf([&] { db.scalar(QStringLiteral("SELECT COUNT(*) FROM CLICOM")); }), lost);
        QCOMPARE(messageOf([&] { sales::recordSale(db, saleshop::sale({"0000000000003"})); }),
                 QStringLiteral("No se pudo completar el proceso. Reingrese la transacción\n") + lost);
        const QString cancel = messageOf([&] {
            sales::cancelSale(db, {1, QDate::currentDate(), false, 1});
        });
        QVERIFY2(cancel.contains(lost) && !cancel.contains(QStringLiteral("Archivos ocupados")), qPrintable(cancel));

        QVERIFY(restart.waitForFinished(60000));
        QCOMPARE(restart.exitCode(), 0);
        QCOMPARE(sales::recordSale(db, saleshop::sale({"0000000000003"})).receiptNumber, 1);
        QCOMPARE(saleshop::brokenRule(db), QString());
    }
};

QTEST_GUILESS_MAIN(TestReliability)
#include "tst_reliability.moc"
