#include "../common/TempRoot.h"
#include "../common/TestDatabase.h"

#include "data/DemoShop.h"
#include "data/ShopCheck.h"
#include "data/ShopSetup.h"
#include "data/Schema.h"
#include "cash/CashFigures.h"
#include "demo/DemoCash.h"
#include "demo/DemoHistory.h"
#include "platform/core/Paths.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "platform/ui/Picture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSqlQuery>
#include <QTest>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

class TestShopSetup : public QObject {
    Q_OBJECT

    static QString failure(const data::ShopSetupOptions &options)
    {
        try {
            data::createShop(options);
        } catch (const vx::DbError &e) {
            return e.message();
        }
        return {};
    }

private slots:
    void demoShopIsComplete()
    {
        TempRoot root;
        const QString database = data::createShop({QStringLiteral("admin"), true});
        QCOMPARE(database, root.file(QStringLiteral("Vendrix.db")));
        const vx::DataLink link = vx::DataLink::read(vx::paths::dataLinkFile());
        QCOMPARE(link.resolvedDataSource(), database);
        auto db = vx::Connection::open(link, &data::vendrixSchema());

        QCOMPARE(db->scalar(QStringLiteral("SELECT group_concat(OPENIV) FROM (SELECT OPENIV FROM OPERADOR ORDER BY OPECOD)"))
                     .toString(),
                 QStringLiteral("9,1,2"));
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(DISTINCT OPECLA) FROM OPERADOR")).toInt(), 3);
        QCOMPARE(db->scalar(QStringLiteral("SELECT CLIAPE FROM CLIENTE WHERE CLICOD = 1")).toString(),
                 QStringLiteral("CONSUMIDOR FINAL"));
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(*) FROM CLIENTE WHERE CLIIVA = 'RESP. INSCRIPTO'")).toInt() >= 1);

        // Own codes: unique valid EAN-13 numbers, so the labels scan.
        QSqlQuery codes = db->execute(QStringLiteral("SELECT ARTCMCT, ARTDES, ARTVEN1, ARTCOS1, ARTUTI1 FROM STOCK"));
        QSet<QString> seen;
        while (codes.next()) {
            const QString code = codes.value(0).toString();
            QCOMPARE(code.size(), 13);
            QCOMPARE(data::ean13WithCheckDigit(code.left(12)), code);
            QVERIFY(codes.value(1).toString().size() <= 45);
            QCOMPARE(codes.value(2).toDouble(),
                     std::round(codes.value(3).toDouble() * (1 + codes.value(4).toDouble() / 100) * 100) / 100);
            seen.insert(code);
        }
        QCOMPARE(seen.size(), 200);
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(*) FROM MARCAS")).toInt() > 0);
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(*) FROM TARJETAS")).toInt() > 0);
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(*) FROM BANCO")).toInt() > 0);
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(*) FROM CTAPROP")).toInt() > 0);
        QCOMPARE(db->scalar(QStringLiteral("SELECT FCFILA01 FROM FILCOL WHERE FCTIPO = 'TK'")).toInt(), 20);
        // The opening stock is in the movement journal, so stock and journal agree.
        QCOMPARE(db->scalar(QStringLiteral("SELECT SUM(ARTEX1) FROM STOCK")).toDouble(),
                 db->scalar(QStringLiteral("SELECT SUM(MOVCAN1) FROM MOVIM")).toDouble());
        QVERIFY(QFile::exists(vx::paths::userFolder() + QStringLiteral("MemTik.txt")));
        // The opening stock's movements carry the origin code, as the article window writes them.
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM MOVIM JOIN STOCK ON MOVCMCT = ARTCMCT "
                                           "WHERE MOVCOD = ARTCOD AND ARTCOD <> ARTCMCT"))
                     .toInt(),
                 db->scalar(QStringLiteral("SELECT COUNT(*) FROM MOVIM")).toInt());
    }

    void neverOverwritesAndSaysSo()
    {
        TempRoot root;
        data::createShop({QStringLiteral("admin"), false});
        const QString message = failure({QStringLiteral("otra"), true});
        QVERIFY2(message.contains(QStringLiteral("Vendrix.db")) && message.contains(QStringLiteral("no se sobrescribe")),
                 qPrintable(message));
        auto db = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema());
        QCOMPARE(db->scalar(QStringLiteral("SELECT OPECLA FROM OPERADOR")).toString(), QStringLiteral("admin"));
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM STOCK")).toInt(), 0);
    }

    void aFailureLeavesNothingBehind()
    {
        TempRoot root;
        QVERIFY(failure({QString(), false}).contains(QStringLiteral("vacía")));
        QVERIFY(failure({QStringLiteral("12345678901"), false}).contains(QStringLiteral("10")));
        // The demo's own operators would make the login ambiguous.
        QVERIFY(failure({QStringLiteral("stock1"), true}).contains(QStringLiteral("stock1")));
        QCOMPARE(QDir(root.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
    }

    void shopOnTheEngineUnderTest()
    {
        TempRoot root;
        const TestDatabase empty = TestDatabase::fresh(&data::vendrixSchema(), root.path());
        data::createShop({QStringLiteral("admin"), true, empty.connectionString});
        auto db = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema());
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM STOCK")).toInt(), 200);
        QCOMPARE(db->scalar(QStringLiteral("SELECT CLITDOC FROM CLIENTE WHERE CLICOD = 2")).toString(),
                 QStringLiteral("D.N.I."));
        // The same database again is refused, whatever names it.
        QFile::remove(vx::paths::dataLinkFile());
        const QString message = failure({QStringLiteral("otra"), false, empty.connectionString});
        QVERIFY2(message.contains(QStringLiteral("no se sobrescribe")), qPrintable(message));
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM OPERADOR")).toInt(), 3);
    }

    // The sample shop's past is recorded by the counter's own recording, so its figures agree: every
    // sale is paid by cash rows and card coupons to the cent, and no article was sold past its stock.
    void demoHistoryAgreesWithItself()
    {
        TempRoot root;
        const TestDatabase empty = TestDatabase::fresh(&data::vendrixSchema(), root.path());
        data::ShopSetupOptions options{QStringLiteral("admin"), true, empty.connectionString};
        const QDate today(2026, 12, 8);
        options.demoHistory = [&](vx::Connection &connection) { demo::recordHistory(connection, today); };
        {
            const vx::ReplayedClock opening(vx::naiveDateTime(today.addDays(-demo::historyDays)));
            data::createShop(options);
        }
        auto db = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema());
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(DISTINCT COMDIA) FROM CLICOM")).toInt() >= 20);
        // Rows carry the day they were replayed on, not the day the shop was made: the catalogue's
        // first stock on the first day, the cash rows since the last closing on their own days.
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(*) FROM MOVIM WHERE MOVFEC < ?"),
                           {vx::naiveDateTime(today.addDays(1 - demo::historyDays))})
                    .toInt() > 100);
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(DISTINCT CAJFEC) FROM CAJA WHERE CAJMOV = 'I'")).toInt(), 2);
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM STOCK WHERE ARTEX1 < 0")).toInt(), 0);
        const auto cents = [&](const QString &sql) { return qRound64(db->scalar(sql).toDouble() * 100); };
        const qint64 sold = cents(QStringLiteral("SELECT SUM(COMTOT) FROM CLICOM"));
        const qint64 cash = cents(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA WHERE CAJMOV = 'I' AND CAJTIP = 'EF'"));
        const qint64 cards = cents(QStringLiteral("SELECT SUM(CUPIMP) FROM CUPONES"));
        QVERIFY(cash > 0 && cards > 0);
        // Coupons are credited once their crediting date has come, and only then.
        int credited = 0;
        int presented = 0;
        QSqlQuery coupons = db->execute(QStringLiteral("SELECT CUPEST, CUPFAC FROM CUPONES"));
        while (coupons.next()) {
            const QDate date = db->dialect().fromDatabase(coupons.value(1), vx::FieldType::DateTime).toDateTime().date();
            const bool due = date.isValid() && date <= today;
            const bool isCredited = coupons.value(0).toString() == QLatin1String("A");
            QCOMPARE(isCredited, due);
            ++(isCredited ? credited : presented);
        }
        QVERIFY(credited > 0 && presented > 0);
        // Every cent taken in cash or put in and out of the till is either withdrawn by a closing
        // or still in the till.
        qint64 adjusted = 0;
        for (QDate day = today.addDays(-demo::historyDays); day <= today; day = day.addDays(1))
            adjusted += demo::cashAdjustmentCents(day);
        QVERIFY(adjusted != 0);
        // The central cash holds the closings' withdrawals and the suppliers paid out of it.
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM CAJAD WHERE CAJMOV = 'I'")).toInt(), 4);
        const qint64 withdrawn = cents(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJAD WHERE CAJMOV = 'I'"));
        QCOMPARE(withdrawn + cash::readCashFigures(*db).tillCents(), sold - cards + adjusted);
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM CUPONES WHERE CUPCOM IS NULL OR CUPCOM = ''")).toInt(),
                 0);
        // Goods came in and went out through the receipts and issues, and each location's stock is
        // its journal's sum.
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(DISTINCT INGNRO) FROM INGRESOS WHERE INGNRO > 0")).toInt() >= 3);
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(*) FROM EGRESOS WHERE EGRVTA1 IS NULL")).toInt() > 0);
        QCOMPARE(db->scalar(QStringLiteral(
                                "SELECT COUNT(*) FROM STOCK s WHERE ABS(COALESCE(s.ARTEX1, 0) - (SELECT COALESCE(SUM("
                                "CASE WHEN m.MOVTIP = 'I' THEN m.MOVCAN1 ELSE -m.MOVCAN1 END), 0) FROM MOVIM m WHERE "
                                "m.MOVCMCT = s.ARTCMCT)) > 0.000001 OR ABS(COALESCE(s.ARTEX2, 0) - (SELECT COALESCE("
                                "SUM(CASE WHEN m.MOVTIP = 'I' THEN COALESCE(m.MOVCAN2, 0) ELSE -COALESCE(m.MOVCAN2, 0) "
                                "END), 0) FROM MOVIM m WHERE m.MOVCMCT = s.ARTCMCT)) > 0.000001"))
                     .toInt(),
                 0);
        // Each supplier is owed its open invoices less its open credits; every one has invoices
        // open, and an overpayment left a credit.
        QCOMPARE(db->scalar(QStringLiteral(
                                "SELECT COUNT(*) FROM PROVEEDORES p WHERE ABS(p.CLISAL - (SELECT COALESCE(SUM(CASE "
                                "c.COMTIP WHEN '13' THEN c.COMSAL ELSE -c.COMSAL END), 0) FROM PROCOM c WHERE c.COMCLI = "
                                "p.CLICOD AND c.COMTIP IN ('13', '26'))) > 0.001 OR NOT EXISTS (SELECT 1 FROM PROCOM c "
                                "WHERE c.COMCLI = p.CLICOD AND c.COMTIP = '13' AND c.COMSAL > 0)"))
                     .toInt(),
                 0);
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM PROVEEDORES")).toInt(), 3);
        // Every invoice falls due after its date; the one cancelled owes nothing and was never paid.
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM PROCOM WHERE COMTIP = '13' AND (COMDIAV IS NULL OR "
                                           "COMDIAV < COMDIA)")).toInt(),
                 0);
        QCOMPARE(db->scalar(QStringLiteral("SELECT COUNT(*) FROM PROCOM WHERE COMANU = ? AND COMSAL = 0 AND "
                                           "(COMREC IS NULL OR COMREC = '')"),
                            {db->dialect().toDatabase(true, vx::FieldType::Boolean)})
                     .toInt(),
                 1);
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(*) FROM PROCOM WHERE COMTIP = '26' AND COMSAL > 0")).toInt() > 0);
        QVERIFY(db->scalar(QStringLiteral("SELECT COUNT(*) FROM CAJAD WHERE CAJMOV = 'E'")).toInt() > 0);
        // And by every rule "vendrix check" knows.
        const data::ShopCheckReport check = data::verifyShop(*db);
        QVERIFY2(check.sound(), qPrintable(check.text()));
        // Every photo an article names is a picture this workstation finds.
        QSqlQuery photos = db->execute(QStringLiteral("SELECT ARTFOT FROM STOCK WHERE ARTFOT <> ''"));
        int named = 0;
        for (; photos.next(); ++named)
            QVERIFY2(!vx::ui::loadPicture(photos.value(0).toString()).isNull(), qPrintable(photos.value(0).toString()));
        QVERIFY(named > 0);
    }

    // At a terminal, as the shop owner types it: the password is asked for and not shown.
    void initCommandAsksForThePassword()
    {
        TempRoot root;
        int terminal = -1;
        const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
        QVERIFY(child >= 0);
        if (child == 0) {
            execl(VENDRIX_EXECUTABLE, VENDRIX_EXECUTABLE, "init", static_cast<char *>(nullptr));
            _exit(127);
        }
        QByteArray screen;
        const auto readUntil = [&](const QByteArray &text) {
            char buffer[512];
            while (!screen.contains(text)) {
                const ssize_t n = read(terminal, buffer, sizeof buffer);
                if (n <= 0)
                    return false;
                screen.append(buffer, n);
            }
            return true;
        };
        QVERIFY2(readUntil("Clave del administrador"), screen.constData());
        QVERIFY(write(terminal, "secreta\n", 8) == 8);
        QVERIFY2(readUntil("Archivo de enlace de datos"), screen.constData());
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        close(terminal);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY2(!screen.contains("secreta"), screen.constData());
        auto db = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema());
        QCOMPARE(db->scalar(QStringLiteral("SELECT OPECLA FROM OPERADOR WHERE OPENIV = 9")).toString(),
                 QStringLiteral("secreta"));

        QProcess again;
        again.start(QStringLiteral(VENDRIX_EXECUTABLE), {QStringLiteral("init"), QStringLiteral("--demo"),
                                                         QStringLiteral("--admin-password"), QStringLiteral("x")});
        QVERIFY(again.waitForFinished(30000));
        QCOMPARE(again.exitCode(), 1);
        QVERIFY(QString::fromUtf8(again.readAllStandardError()).contains(QStringLiteral("no se sobrescribe")));
    }

    // "--help" tells how to use every command, and starts no window.
    void helpPrintsTheUsageOfEveryCommand()
    {
        for (const QString &word : {QStringLiteral("--help"), QStringLiteral("-h")}) {
            QProcess vendrix;
            vendrix.start(QStringLiteral(VENDRIX_EXECUTABLE), {word});
            QVERIFY(vendrix.waitForFinished(30000));
            QCOMPARE(vendrix.exitCode(), 0);
            const QString usage = QString::fromUtf8(vendrix.readAllStandardOutput());
            for (const QString &command : {QStringLiteral("vendrix init"), QStringLiteral("vendrix copy-db"),
                                           QStringLiteral("vendrix backup"), QStringLiteral("vendrix restore"),
                                           QStringLiteral("vendrix check"), QStringLiteral("--provider postgresql"),
                                           QStringLiteral("--help")})
                QVERIFY2(usage.contains(command), qPrintable(usage));
        }
    }
};

QTEST_GUILESS_MAIN(TestShopSetup)
#include "tst_shopsetup.moc"
