#include "../common/TempRoot.h"
#include "../common/ShopDatabase.h"

#include "data/DatabaseCopy.h"
#include "data/ShopSetup.h"
#include "platform/core/Paths.h"
#include "platform/db/DataLink.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <ctime>

// A shop moves between engines: from its SQLite file to the database under test and back.
class TestDatabaseCopy : public QObject {
    Q_OBJECT

    // Every row of every table, as text, in row-key order.
    static QStringList contents(vx::Connection &db)
    {
        QStringList out;
        for (const vx::TableDef &table : data::vendrixSchema().tables()) {
            QStringList columns;
            for (const vx::ColumnDef &c : table.columns)
                columns << db.dialect().selectColumn(c.name, c.type);
            const auto rows = db.openStream(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                                .arg(columns.join(QStringLiteral(", ")), table.name, table.rowKey()),
                                            {}, 0);
            QVariantList values;
            while (rows->next(values)) {
                QStringList cells;
                for (int c = 0; c < values.size(); ++c) {
                    const QVariant v = db.dialect().fromDatabase(values[c], table.columns[c].type);
                    cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
                }
                out << table.name + QLatin1Char('|') + cells.join(QLatin1Char('|'));
            }
        }
        return out;
    }

    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };

    static Run vendrix(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(VENDRIX_EXECUTABLE), arguments);
        if (!process.waitForFinished(120000))
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError()).trimmed()};
    }

    static void useTimeZone(const char *zone)
    {
        qputenv("TZ", zone);
        tzset();
    }

private slots:
    void cleanup() { useTimeZone("UTC"); }

    void roundTripKeepsEveryRowAndCounter()
    {
        // Midnight of 19/10/2008 does not exist on a Buenos Aires clock; the shop's date must
        // survive the trip all the same.
        useTimeZone("America/Argentina/Buenos_Aires");
        TempRoot root;
        data::createShop({QStringLiteral("admin"), true});
        auto original = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema());
        original->execute(QStringLiteral("INSERT INTO CLIENTE (CLICOD, CLIAPE, CLIOBS) VALUES (9, 'D''ANGELO ÑUÑEZ', "
                                         "'?? ''quoted'' ; -- not sql')"));
        original->execute(QStringLiteral("INSERT INTO BANCO (BANCOD, BANDES) VALUES (9, 'sin autonumero')"));
        data::RowInserter(*original, QStringLiteral("CAJA"), {QStringLiteral("CAJFEC"), QStringLiteral("CAJENT")})
            .insert({vx::naiveDateTime(QDate(2008, 10, 19)), vx::naiveDateTime(QDate(2007, 12, 30), QTime(0, 30))});
        // A gap in the row numbers, and the last article gone: its number is not handed out again.
        original->execute(QStringLiteral("DELETE FROM STOCK WHERE ARTUNO = 3 OR ARTUNO = 200"));

        ShopDatabase server;  // the engine under test, empty
        QStringList progress;
        data::copyDatabase(*original, server.db(), [&progress](const QString &line) { progress << line; });
        QCOMPARE(progress.size(), data::vendrixSchema().tables().size());
        QCOMPARE(progress.first().simplified(), QStringLiteral("STOCK: 198 filas"));
        QVERIFY(progress.contains(QStringLiteral("%1 1 fila").arg(QStringLiteral("FILCOL:"), -18)));

        TempRoot back;
        auto copy = vx::Connection::openSqlite(back.file(QStringLiteral("back.db")), &data::vendrixSchema(), true);
        data::copyDatabase(server.db(), *copy, [](const QString &) {});
        const QStringList before = contents(*original);
        QVERIFY(before.size() > 400);
        QCOMPARE(before.filter(QStringLiteral("|2008-10-19T00:00:00")).size(), 1);
        QCOMPARE(before.filter(QStringLiteral("|2007-12-30T00:30:00")).size(), 1);
        QCOMPARE(contents(server.db()), before);
        QCOMPARE(contents(*copy), before);

        for (vx::Connection *db : {&server.db(), copy.get()}) {
            db->execute(QStringLiteral("INSERT INTO STOCK (ARTCMCT) VALUES ('NUEVO')"));
            QCOMPARE(db->scalar(QStringLiteral("SELECT ARTUNO FROM STOCK WHERE ARTCMCT = 'NUEVO'")).toInt(), 201);
        }
    }

    void refusesATargetThatHoldsRows()
    {
        TempRoot root;
        data::createShop({QStringLiteral("admin"), false});
        auto original = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema());
        ShopDatabase target;
        target.db().execute(QStringLiteral("INSERT INTO MARCAS (MARCOD, MARDES) VALUES (1, 'YA ESTABA')"));
        try {
            data::copyDatabase(*original, target.db(), [](const QString &) {});
            QFAIL("copied into a database that holds rows");
        } catch (const vx::DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("la tabla MARCAS tiene 1 fila")), qPrintable(e.message()));
            QVERIFY2(e.message().endsWith(QStringLiteral("No se copió nada.")), qPrintable(e.message()));
        }
        QCOMPARE(target.db().scalar(QStringLiteral("SELECT COUNT(*) FROM OPERADOR")).toInt(), 0);
        QVERIFY(!target.db().inTransaction());
    }

    // A workstation keeps recording sales while the shop is copied: every sale in a copy has its
    // header and both its lines, never lines without a header.
    void copyWhileSalesAreRecorded()
    {
        ShopDatabase shop;
        shop.insert(QStringLiteral("STOCK"), {QStringLiteral("ARTCMCT"), QStringLiteral("ARTEX1"), QStringLiteral("ARTCOS1")},
                    {QStringLiteral("7790001000019"), 100000.0, 5.0});
        shop.insert(QStringLiteral("STOCK"), {QStringLiteral("ARTCMCT"), QStringLiteral("ARTEX1"), QStringLiteral("ARTCOS1")},
                    {QStringLiteral("7790001000026"), 100000.0, 7.0});
        {
            // Earlier sales, so that each table takes a while to copy.
            vx::Transaction transaction(shop.db());
            data::RowInserter headers(shop.db(), QStringLiteral("CLICOM"),
                                      {QStringLiteral("COMTIP"), QStringLiteral("COMNRO"), QStringLiteral("COMANU")});
            data::RowInserter lines(shop.db(), QStringLiteral("ITECLI"),
                                    {QStringLiteral("ITECOM"), QStringLiteral("ITECOD"), QStringLiteral("ITEANU")});
            for (int n = 1; n <= 3000; ++n) {
                headers.insert({QStringLiteral("1B"), n, false});
                lines.insert({n, QStringLiteral("7790001000019"), false});
                lines.insert({n, QStringLiteral("7790001000026"), false});
            }
            transaction.commit();
        }
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("shop.udl"));
        vx::DataLink::write(link, shop.connectionString);
        QProcess counter;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TZ"), QStringLiteral("America/Argentina/Buenos_Aires"));
        counter.setProcessEnvironment(environment);
        counter.start(QStringLiteral(SALE_COUNTER),
                      {link, QStringLiteral("7790001000019"), QStringLiteral("7790001000026"), QStringLiteral("100000")});
        QVERIFY(counter.waitForStarted());
        QByteArray printed;
        QTRY_VERIFY2_WITH_TIMEOUT((printed += counter.readAllStandardOutput()).contains('\n'),
                                  counter.readAllStandardError().constData(), 30000);

        int recordedDuringCopies = 0;
        for (int copyNumber = 0; copyNumber < 4; ++copyNumber) {
            auto target = vx::Connection::openSqlite(dir.filePath(QStringLiteral("copy%1.db").arg(copyNumber)),
                                                     &data::vendrixSchema(), true);
            const int before = shop.count(QStringLiteral("CLICOM"));
            data::copyDatabase(shop.db(), *target, [](const QString &) {});
            recordedDuringCopies += shop.count(QStringLiteral("CLICOM")) - before;
            const auto copied = [&target](const QString &sql) { return target->scalar(sql).toInt(); };
            QCOMPARE(copied(QStringLiteral("SELECT COUNT(*) FROM ITECLI WHERE ITECOM NOT IN (SELECT COMNRO FROM CLICOM)")), 0);
            QCOMPARE(copied(QStringLiteral("SELECT COUNT(*) FROM CLICOM WHERE (SELECT COUNT(*) FROM ITECLI "
                                           "WHERE ITECOM = COMNRO) <> 2")),
                     0);
            QCOMPARE(copied(QStringLiteral("SELECT COUNT(*) FROM EGRESOS")), 2 * (copied(QStringLiteral("SELECT COUNT(*) FROM CLICOM")) - 3000));
            // The sale's date is the day typed, on a clock where that midnight never happened.
            QCOMPARE(copied(QStringLiteral("SELECT COUNT(*) FROM CLICOM WHERE COMNRO > 3000 AND COMDIA <> '2008-10-19 00:00:00'")), 0);
        }
        counter.kill();
        counter.waitForFinished();
        QVERIFY2(recordedDuringCopies > 0, "no sale was recorded while the shop was copied");

        // The recorded sales are not cancelled: their yes/no columns hold "no", not nothing.
        const QVariant no = shop.db().dialect().toDatabase(false, vx::FieldType::Boolean);
        const int sales = shop.count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO > 3000"));
        QVERIFY(sales > 0);
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT COUNT(*) FROM CLICOM WHERE COMNRO > 3000 AND COMANU = ?"), {no}).toInt(),
                 sales);
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT COUNT(*) FROM ITECLI WHERE ITECOM > 3000 AND ITEANU = ?"), {no}).toInt(),
                 2 * sales);
    }

    // What the operator types: a new target created and named by a new data-link file, or
    // nothing at all when the copy fails.
    void copyDbCommandCreatesTheTargetOrCopiesNothing()
    {
        if (TestDatabase::onPostgres())
            QSKIP("the command's own cases need no server; the move to one is tested below");
        TempRoot root;
        data::createShop({QStringLiteral("admin"), true});
        const QString shop = vx::paths::dataLinkFile();

        Run run = vendrix({QStringLiteral("copy-db"), shop, root.file(QStringLiteral("back.udl")), QStringLiteral("--provider"),
                           QStringLiteral("sqlite"), QStringLiteral("--file"), QStringLiteral("back.db")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY2(run.out.contains(QStringLiteral("  %1 200 filas\n").arg(QStringLiteral("STOCK:"), -18)), qPrintable(run.out));
        auto back = vx::Connection::open(vx::DataLink::read(root.file(QStringLiteral("back.udl"))), &data::vendrixSchema());
        QCOMPARE(back->scalar(QStringLiteral("SELECT COUNT(*) FROM STOCK")).toInt(), 200);
        back.reset();

        // A source without a shop's tables fails after the new target file was made: it goes again.
        auto broken = vx::Connection::openSqlite(root.file(QStringLiteral("broken.db")), &data::vendrixSchema(), true);
        broken->execute(QStringLiteral("CREATE TABLE STOCK (ARTUNO INTEGER)"));
        broken.reset();
        vx::DataLink::write(root.file(QStringLiteral("broken.udl")), QStringLiteral("Provider=SQLite;Data Source=broken.db;"));

        const struct {
            QStringList arguments;
            QString reason;
        } refusals[] = {
            {{shop, root.file(QStringLiteral("back.udl")), QStringLiteral("--provider"), QStringLiteral("sqlite")},
             QStringLiteral("no se sobrescribe")},
            {{shop, root.file(QStringLiteral("back.udl"))}, QStringLiteral("no está vacía (la tabla STOCK tiene 200 filas)")},
            {{root.file(QStringLiteral("broken.udl")), root.file(QStringLiteral("new.udl")), QStringLiteral("--file"),
              QStringLiteral("new.db")},
             QStringLiteral("no tiene la tabla")},
        };
        for (const auto &refusal : refusals) {
            run = vendrix(QStringList{QStringLiteral("copy-db")} + refusal.arguments);
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.contains(refusal.reason) && run.err.endsWith(QStringLiteral("No se copió nada.")),
                     qPrintable(run.err));
        }
        QVERIFY(!QFile::exists(root.file(QStringLiteral("new.db"))));
        QVERIFY(!QFile::exists(root.file(QStringLiteral("new.udl"))));
    }

    // The README's move to PostgreSQL, its lines run as written against the test server.
    void readmeMoveToPostgresql()
    {
        if (!TestDatabase::onPostgres())
            QSKIP("needs the PostgreSQL test server");
        QFile readme(QStringLiteral(README_FILE));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const qsizetype marker = text.indexOf(QStringLiteral("<!-- move-to-postgresql"));
        QVERIFY(marker >= 0);
        const qsizetype start = text.indexOf(QStringLiteral("```sh\n"), marker) + 6;
        QString script = text.mid(start, text.indexOf(QStringLiteral("```"), start) - start);
        QVERIFY(script.contains(QStringLiteral("copy-db")));

        // Only what names this machine changes: the server, its port, its administrator, the program.
        const QString server = qEnvironmentVariable("VX_TEST_PG");
        const QString unique = QStringLiteral("_%1").arg(QCoreApplication::applicationPid());
        script.replace(QStringLiteral("SERVER"), server.section(QLatin1Char(':'), 0, 0))
            .replace(QStringLiteral("5432"), server.section(QLatin1Char(':'), 1, 1))
            .replace(QStringLiteral("-U postgres"), QStringLiteral("-U vx"))
            .replace(QStringLiteral("build/bin/vendrix"), QStringLiteral(VENDRIX_EXECUTABLE))
            .replace(QRegularExpression(QStringLiteral("\\b(tienda|caja)\\b")), QStringLiteral("\\1") + unique);

        TempRoot root;
        data::createShop({QStringLiteral("admin"), true});
        auto original = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema());
        const QStringList before = contents(*original);
        original.reset();

        QProcess shell;
        shell.setWorkingDirectory(root.path());
        shell.start(QStringLiteral("bash"), {QStringLiteral("-euo"), QStringLiteral("pipefail"), QStringLiteral("-c"), script});
        QVERIFY(shell.waitForFinished(180000));
        QVERIFY2(shell.exitCode() == 0, shell.readAllStandardError().constData());

        const vx::DataLink moved = vx::DataLink::read(vx::paths::dataLinkFile());
        QCOMPARE(moved.provider(), QStringLiteral("PostgreSQL"));
        auto shopOnServer = vx::Connection::open(moved, &data::vendrixSchema());
        QCOMPARE(contents(*shopOnServer), before);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseCopy)
#include "tst_databasecopy.moc"
