#include "../common/SaleShop.h"
#include "../common/ShopDatabase.h"
#include "../common/TempRoot.h"
#include "../shell/ShellFixture.h"

#include "app/Aguarde.h"

#include "backup/BackgroundCopy.h"
#include "backup/Backup.h"
#include "backup/CopyCommands.h"
#include "backup/CopyFiles.h"
#include "backup/IdleThread.h"
#include "platform/core/Paths.h"
#include "platform/db/DbError.h"
#include "platform/db/DataLink.h"
#include "platform/ui/FakeDialogs.h"
#include "shell/Ficha1.h"
#include "shell/Password.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QPointer>
#include <QTest>

#include <atomic>
#include <future>
#include <mutex>
#include <thread>

// Backup copies made while a counter sells, put back into an empty database, and the check that
// tells a whole shop from a damaged one; on the engine under test.
class TestBackup : public QObject {
    Q_OBJECT

    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };

    static Run run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(300000))
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError()).trimmed()};
    }
    static Run vendrix(const QStringList &arguments) { return run(QStringLiteral(VENDRIX_EXECUTABLE), arguments); }

    // A shop ready to sell, named by the workstation's data-link file, with a long movement
    // journal (each article in and out again) so that a copy takes a while.
    static std::unique_ptr<ShopDatabase> sellingShop(int journalPairs = 20000)
    {
        auto shop = std::make_unique<ShopDatabase>();
        saleshop::fill(shop->db());
        vx::Transaction transaction(shop->db());
        data::RowInserter moves(shop->db(), QStringLiteral("MOVIM"),
                                {QStringLiteral("MOVCMCT"), QStringLiteral("MOVCAN1"), QStringLiteral("MOVTIP"),
                                 QStringLiteral("MOVNRO"), QStringLiteral("MOVOBS")});
        const QStringList codes = saleshop::articleCodes();
        for (int i = 0; i < journalPairs; ++i) {
            const QString &code = codes[i % codes.size()];
            moves.insert({code, 3.0, QStringLiteral("I"), 0, QStringLiteral("INGRESO DE PRUEBA")});
            moves.insert({code, 3.0, QStringLiteral("E"), 0, QStringLiteral("EGRESO DE PRUEBA")});
        }
        transaction.commit();
        vx::DataLink::write(vx::paths::dataLinkFile(), shop->connectionString);
        return shop;
    }

    // The copy a "vendrix backup" run made, from what it printed.
    static QString madeCopy(const Run &backup)
    {
        const qsizetype at = backup.out.indexOf(QStringLiteral("Copia de seguridad: "));
        if (at < 0)
            return {};
        const QString line = backup.out.mid(at + 20).section(QLatin1Char('\n'), 0, 0);
        return line.left(line.lastIndexOf(QStringLiteral(" (")));
    }

    // A new database on the engine under test with the shop's tables and no rows in them (as the
    // README's restore on a new computer makes one with no tables), named by a data-link file.
    static QString emptyDatabaseLink(const QString &folder, const QString &name)
    {
        TestDatabase empty = TestDatabase::withSchema(&data::vendrixSchema(), folder);
        const QString link = QDir(folder).filePath(name + QStringLiteral(".udl"));
        vx::DataLink::write(link, empty.connectionString);
        return link;
    }

private slots:
    // A counter keeps selling while three copies are made; the last one goes back into an empty
    // database, where the check finds every sale whole and none committed before the copy missing.
    void copiesWhileSellingRestoreWhole()
    {
        TempRoot root;
        const auto shop = sellingShop();
        QProcess counter;
        counter.start(QStringLiteral(SALE_WRITER), {vx::paths::dataLinkFile(), QStringLiteral("7")});
        QVERIFY(counter.waitForStarted());
        QByteArray said;
        QTRY_VERIFY2_WITH_TIMEOUT((said += counter.readAllStandardOutput()).count('S') >= 5,
                                  counter.readAllStandardError().constData(), 30000);
        const auto committed = [&] {
            counter.waitForReadyRead(1000);
            return (said += counter.readAllStandardOutput()).count('S');
        };
        QString copy;
        qsizetype committedBefore = 0;
        for (int i = 0; i < 3; ++i) {
            committedBefore = committed();
            const Run backup = vendrix({QStringLiteral("backup"), root.file(QStringLiteral("copias"))});
            QVERIFY2(backup.exitCode == 0, qPrintable(backup.err));
            copy = madeCopy(backup);
            QVERIFY2(QFile::exists(copy), qPrintable(backup.out));
        }
        QVERIFY(committed() > committedBefore);
        counter.kill();
        counter.waitForFinished();
        const int sold = shop->count(QStringLiteral("CLICOM"));
        QCOMPARE(QDir(root.file(QStringLiteral("copias"))).entryList(QDir::Files).size(), 3);

        const QString restored = emptyDatabaseLink(root.path(), QStringLiteral("restaurada"));
        const Run restore = vendrix({QStringLiteral("restore"), copy, restored});
        QVERIFY2(restore.exitCode == 0, qPrintable(restore.err));
        const Run check = vendrix({QStringLiteral("check"), restored});
        QVERIFY2(check.exitCode == 0 && check.out.endsWith(QStringLiteral("Resultado: sin fallas.\n")), qPrintable(check.out));
        auto back = vx::Connection::open(vx::DataLink::read(restored), &data::vendrixSchema(), vx::Connection::Expect::Shop);
        const int copied = back->scalar(QStringLiteral("SELECT COUNT(*) FROM CLICOM")).toInt();
        QVERIFY2(copied >= committedBefore && copied <= sold,
                 qPrintable(QStringLiteral("%1 sales copied, %2 committed before, %3 in all").arg(copied).arg(committedBefore).arg(sold)));
        QVERIFY(saleshop::brokenRule(*back).isEmpty());
        if (!TestDatabase::onPostgres()) {
            const Run onCopy = vendrix({QStringLiteral("check"), copy});
            QVERIFY2(onCopy.exitCode == 0, qPrintable(onCopy.out + onCopy.err));
            // A file standing alone (no journal beside it needed), readable from a read-only medium.
            QFile header(copy);
            QVERIFY(header.open(QIODevice::ReadOnly));
            QCOMPARE(header.read(20).mid(18), QByteArray("\x01\x01", 2));
        }
    }

    // A disk that fills up or cannot be written to: a Spanish reason, no file left behind, and
    // the shop as it was.
    void failingDiskLeavesNothing_data()
    {
        QTest::addColumn<QString>("mount");  // tmpfs options; empty: a folder that cannot be made
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << QStringLiteral("size=4k") << QStringLiteral("El disco está lleno.");
        QTest::newRow("read-only disk") << QStringLiteral("ro") << QStringLiteral("sólo lectura");
        QTest::newRow("folder under a file") << QString() << QStringLiteral("no se pudo crear la carpeta");
    }
    void failingDiskLeavesNothing()
    {
        QFETCH(QString, mount);
        QFETCH(QString, reason);
        TempRoot root;
        const auto shop = sellingShop(5000);
        shop->db().execute(QStringLiteral("UPDATE STOCK SET ARTDES = 'SIN CAMBIOS'"));
        const int rows = shop->count(QStringLiteral("MOVIM"));
        const QString folder = root.file(QStringLiteral("disco"));
        Run backup;
        if (mount.isEmpty()) {
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            backup = vendrix({QStringLiteral("backup"), folder + QStringLiteral("/copias")});
            QVERIFY(QFileInfo(folder).isFile());
        } else {
            // A small disk of its own, in a mount namespace of the test's, so no privilege is needed.
            QVERIFY(QDir().mkpath(folder));
            // The marker tells a disk that was mounted from a machine that allows no namespace.
            const QString script = QStringLiteral("mount -t tmpfs -o %1 tmpfs \"$1\" || exit 99; echo mounted >&2; "
                                                  "\"$2\" backup \"$1\"; "
                                                  "status=$?; echo \"left:$(ls -A \"$1\")\" >&2; exit $status")
                                       .arg(mount);
            backup = run(QStringLiteral("unshare"), {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"), script,
                                                     QStringLiteral("sh"), folder, QStringLiteral(VENDRIX_EXECUTABLE)});
            if (!backup.err.startsWith(QStringLiteral("mounted")))
                QSKIP(qPrintable(QStringLiteral("a small disk cannot be mounted here: ") + backup.err));
            QVERIFY2(backup.err.endsWith(QStringLiteral("left:")), qPrintable(backup.err));
        }
        QCOMPARE(backup.exitCode, 1);
        QVERIFY2(backup.err.contains(reason) && backup.err.contains(QStringLiteral("no quedó ninguna copia a medias")),
                 qPrintable(backup.err));
        QCOMPARE(shop->count(QStringLiteral("MOVIM")), rows);
        QCOMPARE(shop->count(QStringLiteral("STOCK"), QStringLiteral("ARTDES = 'SIN CAMBIOS'")), 4);
    }

    // The check of a copy (and the sync alongside) runs at the lowest priority, so that a counter's
    // sale never waits for a core behind it; the read of the shop keeps the caller's priority, so
    // that its snapshot is held no longer than needed; progress reaches the caller on its own thread.
    void copyYieldsTheCoresToTheCounters()
    {
        if (TestDatabase::onPostgres())
            QSKIP("the server's own dump makes a PostgreSQL copy");
        TempRoot root;
        const auto shop = sellingShop(5000);
        backup::CopySource source(shop->db());
        std::mutex mutex;
        QMap<QString, bool> idle;
        source.milestone = [&](const char *part) {
            const std::lock_guard lock(mutex);
            idle.insert(QString::fromLatin1(part), backup::atIdlePriority());
        };
        const std::thread::id caller = std::this_thread::get_id();
        QStringList heard;
        bool elsewhere = false;
        backup::makeCopy(source, root.file(QStringLiteral("copias")), [&](const QString &line) {
            heard << line;
            elsewhere = elsewhere || std::this_thread::get_id() != caller;
        });
        const QMap<QString, bool> expected{{QStringLiteral("pages begun"), false},  {QStringLiteral("pages copied"), false},
                                           {QStringLiteral("checkpoint ended"), false}, {QStringLiteral("check begun"), true},
                                           {QStringLiteral("check A ended"), true},  {QStringLiteral("check B ended"), true},
                                           {QStringLiteral("sync ended"), true},     {QStringLiteral("copy whole"), true}};
        QCOMPARE(idle, expected);
        QVERIFY(!elsewhere);
        QVERIFY(heard.contains(QStringLiteral("Copiando la base de datos...")) && heard.contains(QStringLiteral("Verificando la copia...")));
        QVERIFY(!backup::atIdlePriority());
    }

    // The shop is read many pages at a time, and the copy is still its pages byte for byte: past
    // the header's own counters, up to a file end that falls inside a read.
    void copyIsTheShopPageForPage()
    {
        if (TestDatabase::onPostgres())
            QSKIP("the server's own dump makes a PostgreSQL copy");
        TempRoot root;
        const auto shop = sellingShop(5000);
        shop->db().execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        const backup::CopySource source(shop->db());
        const QString copy = backup::makeCopy(source, root.file(QStringLiteral("copias")), {}).path;
        QFile original(source.sqliteFile);
        QFile copied(copy);
        QVERIFY(original.open(QIODevice::ReadOnly) && copied.open(QIODevice::ReadOnly));
        const QByteArray shopBytes = original.readAll();
        const QByteArray copyBytes = copied.readAll();
        QCOMPARE(copyBytes.size(), shopBytes.size());
        QVERIFY(shopBytes.size() % (256 * 1024) != 0);
        constexpr qsizetype header = 100;
        qsizetype differs = header;
        while (differs < shopBytes.size() && shopBytes[differs] == copyBytes[differs])
            ++differs;
        QVERIFY2(differs == shopBytes.size(), qPrintable(QStringLiteral("the copy differs at byte %1").arg(differs)));
    }

    // Another workstation rewrites every journal row at once, over and over, and carries its journal
    // into the shop's file after each: every copy made meanwhile holds one of those moments whole.
    void copyIsOneMomentWhileTheShopIsCheckpointed()
    {
        if (TestDatabase::onPostgres())
            QSKIP("the server's own dump makes a PostgreSQL copy");
        TempRoot root;
        const auto shop = sellingShop(20000);
        const int rows = shop->count(QStringLiteral("MOVIM"));
        const backup::CopySource source(shop->db());
        std::atomic<bool> stop{false};
        std::atomic<int> rewrites{0};
        QString failure;
        std::thread workstation([&] {
            try {
                auto db = vx::Connection::openSqlite(source.sqliteFile, &data::vendrixSchema(), false);
                // Not waiting for the disk, it rewrites many times while one copy is made.
                db->execute(QStringLiteral("PRAGMA synchronous=OFF"));
                while (!stop) {
                    db->execute(QStringLiteral("UPDATE MOVIM SET MOVCAN1 = MOVCAN1 + 1 WHERE MOVOBS LIKE '%DE PRUEBA'"));
                    db->execute(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
                    ++rewrites;
                }
            } catch (const vx::DbError &error) {
                failure = error.message();
            }
        });
        struct Joined {
            std::atomic<bool> &stop;
            std::thread &thread;
            ~Joined()
            {
                stop = true;
                if (thread.joinable())
                    thread.join();
            }
        } joined{stop, workstation};
        QTRY_VERIFY2(rewrites >= 2 || !failure.isEmpty(), "the other workstation does not write");
        for (int i = 0; i < 3; ++i) {
            const int before = rewrites;
            const QString copy = backup::makeCopy(source, root.file(QStringLiteral("copias%1").arg(i)), {}).path;
            QVERIFY2(rewrites > before, "no rewrite happened while the copy was made");
            auto copied = vx::Connection::openSqlite(copy, &data::vendrixSchema(), false);
            QCOMPARE(copied->scalar(QStringLiteral("SELECT COUNT(*) FROM MOVIM")).toInt(), rows);
            QCOMPARE(copied->scalar(QStringLiteral("SELECT COUNT(DISTINCT MOVCAN1) FROM MOVIM WHERE MOVOBS LIKE '%DE PRUEBA'"))
                         .toInt(),
                     1);
        }
        stop = true;
        workstation.join();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    // The administrator chooses "UTILIDADES" / "Copia de Seguridad" with the mouse: the wait window
    // is up meanwhile, and a message tells the copy's name, size and folder, or why there is none.
    void menuCommandCopiesAndTells()
    {
        ShellShop shop;
        vx::ui::FakeDialogs dialogs;
        TFAguarde wait;
        TFF1 main;
        auto *login = new TFIngreso;
        login->show();
        QTest::keyClicks(login->Password, QStringLiteral("admin"));
        QTest::keyClick(login->Password, Qt::Key_Return);
        QVERIFY(main.isVisible());
        const auto choose = [&] {
            QTest::mouseClick(main.MainMenu1, Qt::LeftButton, {},
                              main.MainMenu1->actionGeometry(main.UTILIDADES1->menuAction()).center());
            QTRY_VERIFY(main.UTILIDADES1->isVisible());
            QTest::mouseClick(main.UTILIDADES1, Qt::LeftButton, {},
                              main.UTILIDADES1->actionGeometry(main.CopiadeSeguridad1).center());
        };
        choose();
        QTRY_COMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].kind, QStringLiteral("information"));
        QCOMPARE(dialogs.shown[0].caption, QStringLiteral("Copia de Seguridad"));
        const QStringList copies = QDir(backup::defaultFolder()).entryList(QDir::Files);
        QCOMPARE(copies.size(), 1);
        const QString size = backup::sizeText(QFileInfo(QDir(backup::defaultFolder()).filePath(copies[0])).size());
        QCOMPARE(dialogs.shown[0].text, QStringLiteral("Copia de seguridad terminada.\n\nArchivo: %1\nTamaño: %2\nCarpeta: %3")
                                            .arg(copies[0], size, QDir::toNativeSeparators(backup::defaultFolder())));
        QVERIFY(!wait.isVisible());

        QVERIFY(QDir(backup::defaultFolder()).removeRecursively());
        QFile blocker(backup::defaultFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        choose();
        QTRY_COMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown[1].kind, QStringLiteral("error"));
        QVERIFY2(dialogs.shown[1].text.contains(QStringLiteral("no se pudo crear la carpeta")), qPrintable(dialogs.shown[1].text));
        QVERIFY(!wait.isVisible());
    }

    // Ninety days of a copy at each start and one after each closing: the copies of the last 30
    // days stay (all of today's), and of the months before, the last copy of each.
    void keepsThirtyDaysAndOneCopyAMonth()
    {
        if (TestDatabase::onPostgres())
            QSKIP("the keeping rule works on file names alone");
        TempRoot root;
        const QString folder = root.file(QStringLiteral("copias"));
        QVERIFY(QDir().mkpath(folder));
        const auto touch = [&folder](const QString &name) { QFile(QDir(folder).filePath(name)).open(QIODevice::WriteOnly); };
        touch(QStringLiteral("notas.txt"));
        touch(QStringLiteral("Vendrix 2020-01-01 000000.db.parcial"));
        const QDate first(2026, 9, 1);
        for (int day = 0; day < 90; ++day) {
            for (const QTime &time : {QTime(9, 0), QTime(20, 30)}) {
                touch(backup::copyFileName(QDateTime(first.addDays(day), time), QStringLiteral("db")));
                backup::pruneCopies(folder);
            }
        }
        QStringList expected{QStringLiteral("notas.txt"), QStringLiteral("Vendrix 2020-01-01 000000.db.parcial"),
                             backup::copyFileName(QDateTime(QDate(2026, 9, 30), QTime(20, 30)), QStringLiteral("db")),
                             backup::copyFileName(QDateTime(QDate(2026, 11, 29), QTime(9, 0)), QStringLiteral("db"))};
        for (QDate day(2026, 10, 31); day <= QDate(2026, 11, 29); day = day.addDays(1))
            expected << backup::copyFileName(QDateTime(day, QTime(20, 30)), QStringLiteral("db"));
        QStringList left = QDir(folder).entryList(QDir::Files);
        left.sort();
        expected.sort();
        QCOMPARE(left, expected);

        // The copy of the first start of a day is made once that day.
        ShopDatabase shop;
        saleshop::fill(shop.db());
        const QDateTime morning(QDate(2026, 12, 1), QTime(8, 0));
        const auto made = backup::copyOfTheDay(shop.db(), {}, morning);
        QVERIFY(made && QFileInfo(made->path).fileName() == backup::copyFileName(morning, QStringLiteral("db")));
        QVERIFY(!backup::copyOfTheDay(shop.db(), {}, morning.addSecs(3600)));
        QVERIFY(backup::copyOfTheDay(shop.db(), {}, morning.addDays(1)));
    }

    // The copy of the day at start-up is made beside the operator; its failure is told when it ends.
    void copyOfTheDayInTheBackground_data()
    {
        QTest::addColumn<bool>("folderBlocked");
        QTest::newRow("made") << false;
        QTest::newRow("folder blocked") << true;
    }
    void copyOfTheDayInTheBackground()
    {
        QFETCH(bool, folderBlocked);
        TempRoot root;
        vx::ui::FakeDialogs dialogs;
        const auto shop = sellingShop(100);
        QFile blocker(backup::defaultFolder());
        if (folderBlocked)
            QVERIFY(QDir().mkpath(vx::paths::userFolder()) && blocker.open(QIODevice::WriteOnly));
        {
            QObject owner;
            backup::copyOfTheDayAtStart(shop->db(), &owner);
            if (folderBlocked) {
                QTRY_COMPARE(dialogs.shown.size(), 1);
                QVERIFY2(dialogs.shown[0].text.startsWith(QStringLiteral("No se pudo hacer la copia de seguridad del día.\n"))
                             && dialogs.shown[0].text.contains(QStringLiteral("no se pudo crear la carpeta")),
                         qPrintable(dialogs.shown[0].text));
                return;
            }
            QTRY_COMPARE(QDir(backup::defaultFolder()).entryList(QDir::Files).size(), 1);
            // A second start the same day finds the day's copy made.
            backup::copyOfTheDayAtStart(shop->db(), &owner);
        }
        QCOMPARE(QDir(backup::defaultFolder()).entryList(QDir::Files).size(), 1);
        QCOMPARE(dialogs.shown.size(), 0);
    }

    // A background copy: its starter goes on at once, a wait hears its progress, and how it ended
    // comes back through the starter's event loop, after which it is gone.
    void backgroundCopyHandsBackHowItEnded_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("made") << QString();
        QTest::newRow("failed") << QStringLiteral("El disco está lleno.");
    }
    void backgroundCopyHandsBackHowItEnded()
    {
        QFETCH(QString, failure);
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        QStringList ended;
        QPointer<backup::BackgroundCopy> copy = new backup::BackgroundCopy(
            [released, failure](const backup::Progress &say) {
                say(QStringLiteral("Copiando la base de datos... 50 %"));
                released.wait();
                if (!failure.isEmpty())
                    throw vx::DbError(failure);
            },
            [&ended](const QString &how) { ended << how; });
        QVERIFY(copy->running());
        std::thread releaser([&release] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            release.set_value();
        });
        QStringList heard;
        copy->waitTelling([&heard](const QString &line) { heard << line; });
        releaser.join();
        QVERIFY(!copy->running());
        QVERIFY2(heard.contains(QStringLiteral("Copiando la base de datos... 50 %")), qPrintable(heard.join(QLatin1Char('|'))));
        QVERIFY(ended.isEmpty());
        QTRY_VERIFY(copy.isNull());
        QCOMPARE(ended, QStringList{failure});
    }

    // A copy goes back only into a database without rows, and only when it is a whole copy of
    // this program's shop.
    void restoreRefusesWhatItMustNot()
    {
        TempRoot root;
        const auto shop = sellingShop(100);
        sales::recordSale(shop->db(), saleshop::sale({saleshop::articleCodes().first()}));
        const Run backup = vendrix({QStringLiteral("backup"), root.file(QStringLiteral("copias"))});
        QVERIFY2(backup.exitCode == 0, qPrintable(backup.err));
        const QString copy = madeCopy(backup);

        QFile other(root.file(QStringLiteral("otra.db")));
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write("no es una base de datos") > 0);
        other.close();
        struct Refusal {
            QString file;
            QString reason;
        };
        QList<Refusal> refusals{{copy, QStringLiteral("no está vacía (la tabla STOCK tiene 4 filas)")},
                                {other.fileName(), QStringLiteral("no es una copia de seguridad de Vendrix")}};
        if (!TestDatabase::onPostgres()) {
            const QString newer = root.file(QStringLiteral("nueva.db"));
            QVERIFY(QFile::copy(copy, newer));
            vx::Connection::openSqlite(newer, nullptr, false)->execute(QStringLiteral("UPDATE VXSCHEMA SET VERSION = 99"));
            const QString torn = root.file(QStringLiteral("cortada.db"));
            QVERIFY(QFile::copy(copy, torn));
            QVERIFY(QFile::resize(torn, QFileInfo(torn).size() / 2));
            refusals << Refusal{newer, QStringLiteral("versión más nueva")} << Refusal{torn, QStringLiteral("La copia")};
        }
        for (const Refusal &refusal : refusals) {
            const Run restore = vendrix({QStringLiteral("restore"), refusal.file});
            QCOMPARE(restore.exitCode, 1);
            QVERIFY2(restore.err.contains(refusal.reason), qPrintable(restore.err));
        }
        QCOMPARE(shop->count(QStringLiteral("CLICOM")), 1);
        QCOMPARE(shop->count(QStringLiteral("MOVIM")), 205);
    }

    // A copy made by the first version (without the sales queries' indexes) restores whole and
    // comes out at this version, indexes included; the copy itself is left as it was.
    void restoresACopyOfAnEarlierVersion()
    {
        if (TestDatabase::onPostgres())
            QSKIP("an earlier version's copy is planted by editing an SQLite file");
        TempRoot root;
        const auto shop = sellingShop(10);
        sales::recordSale(shop->db(), saleshop::sale({saleshop::articleCodes().first()}));
        const Run backup = vendrix({QStringLiteral("backup"), root.file(QStringLiteral("copias"))});
        QVERIFY2(backup.exitCode == 0, qPrintable(backup.err));
        const QString older = root.file(QStringLiteral("primera.db"));
        QVERIFY(QFile::copy(madeCopy(backup), older));
        const QString dropped = QStringLiteral("IX_ITECLI_ITEOPE_ITEFEC");
        const auto indexCount = [&](vx::Connection &db) {
            return db.scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name = ?"),
                             {dropped})
                .toInt();
        };
        {
            auto copy = vx::Connection::openSqlite(older, nullptr, false);
            copy->execute(QStringLiteral("DROP INDEX ") + dropped);
            copy->execute(QStringLiteral("UPDATE VXSCHEMA SET VERSION = 1"));
        }
        const QString link = root.file(QStringLiteral("restaurada.udl"));
        const Run restore = vendrix({QStringLiteral("restore"), older, link});
        QVERIFY2(restore.exitCode == 0, qPrintable(restore.err));
        auto restored = vx::Connection::open(vx::DataLink::read(link), &data::vendrixSchema(),
                                             vx::Connection::Expect::Shop);
        QCOMPARE(restored->storedVersion(), data::schemaVersion);
        QCOMPARE(indexCount(*restored), 1);
        QCOMPARE(restored->scalar(QStringLiteral("SELECT COUNT(*) FROM CLICOM")).toInt(), 1);
        QCOMPARE(indexCount(*vx::Connection::openSqlite(older, nullptr, false)), 0);
    }

    // The README's restore on a new computer, its lines after the build run as written.
    void readmeRestoreOnANewComputer()
    {
        if (TestDatabase::onPostgres())
            QSKIP("the README restores an SQLite copy");
        QFile readme(QStringLiteral(README_FILE));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const qsizetype start = text.indexOf(QStringLiteral("```sh\n"), text.indexOf(QStringLiteral("<!-- restore-on-a-new-computer"))) + 6;
        const QStringList lines = text.mid(start, text.indexOf(QStringLiteral("```"), start) - start)
                                      .split(QLatin1Char('\n'))
                                      .filter(QRegularExpression(QStringLiteral("^build/bin/vendrix ")));
        QCOMPARE(lines.size(), 2);

        TempRoot old;
        const auto shop = sellingShop(10);
        sales::recordSale(shop->db(), saleshop::sale({saleshop::articleCodes().first()}));
        const Run backup = vendrix({QStringLiteral("backup"), old.file(QStringLiteral("usb"))});
        QVERIFY2(backup.exitCode == 0, qPrintable(backup.err));
        const TempRoot fresh;
        QString script = lines.join(QLatin1Char('\n'));
        script.replace(QStringLiteral("/media/usb/Vendrix 2026-12-08 201500.db"), madeCopy(backup))
            .replace(QStringLiteral("build/bin/vendrix"), QStringLiteral(VENDRIX_EXECUTABLE));
        const Run shell = run(QStringLiteral("bash"), {QStringLiteral("-euo"), QStringLiteral("pipefail"), QStringLiteral("-c"), script});
        QVERIFY2(shell.exitCode == 0, qPrintable(shell.out + shell.err));
        QVERIFY(shell.out.endsWith(QStringLiteral("Resultado: sin fallas.\n")));
        auto restored = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema(),
                                             vx::Connection::Expect::Shop);
        QCOMPARE(restored->scalar(QStringLiteral("SELECT COUNT(*) FROM CLICOM")).toInt(), 1);
        QVERIFY(restored->description().contains(fresh.path()));
    }

    // Each kind of damage planted in a sound shop is found and named, and the exit code says so.
    void checkFindsEachPlantedFault_data()
    {
        QTest::addColumn<QString>("plant");  // an SQL statement; empty: damage the file itself
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("detail");
        QTest::newRow("sound") << QString() << QString() << QString();
        QTest::newRow("sale without lines") << QStringLiteral("DELETE FROM ITECLI WHERE ITECOM = 2")
                                            << QStringLiteral("Ventas con sus renglones")
                                            << QStringLiteral("comprobante 2 del ");
        QTest::newRow("lines without sale") << QStringLiteral("DELETE FROM CLICOM WHERE COMNRO = 2")
                                            << QStringLiteral("Renglones de ventas existentes")
                                            << QStringLiteral("comprobante 2: 2 renglones sin la venta");
        QTest::newRow("sale without cash") << QStringLiteral("DELETE FROM CAJA WHERE CAJCOM = '2'")
                                           << QStringLiteral("Ventas de la caja abierta con sus movimientos de caja")
                                           << QStringLiteral(": sin sus movimientos de caja");
        QTest::newRow("cash not the sale") << QStringLiteral("UPDATE CAJA SET CAJIMP = 5 WHERE CAJCOM = '1'")
                                           << QStringLiteral("Ventas de la caja abierta con sus movimientos de caja")
                                           << QStringLiteral("comprobante 1: la caja suma 5,00 y la venta 10,00");
        QTest::newRow("stock off its journal")
            << QStringLiteral("UPDATE STOCK SET ARTEX1 = ARTEX1 + 1 WHERE ARTCMCT = '0000000000003'")
            << QStringLiteral("Stock de cada artículo igual a sus movimientos")
            << QStringLiteral("artículo 0000000000003: stock 1000 / 0, movimientos 999 / 0");
        QTest::newRow("coupon of no sale") << QStringLiteral("UPDATE CUPONES SET CUPCOM = '77'")
                                           << QStringLiteral("Cupones de tarjeta de ventas existentes")
                                           << QStringLiteral("cupón 4501: su venta (comprobante \"77\") no existe");
        if (!TestDatabase::onPostgres())
            QTest::newRow("damaged file") << QString() << QStringLiteral("Integridad de la base de datos") << QString();
    }
    void checkFindsEachPlantedFault()
    {
        QFETCH(QString, plant);
        QFETCH(QString, rule);
        QFETCH(QString, detail);
        TempRoot root;
        auto shop = sellingShop(0);
        const QStringList codes = saleshop::articleCodes();
        sales::recordSale(shop->db(), saleshop::sale({codes[0]}));
        sales::recordSale(shop->db(), saleshop::sale({codes[1], codes[2]}));
        sales::SaleEntry byCard = saleshop::sale({codes[3]});
        byCard.cash = 0;
        byCard.card = 10;
        const int cardSale = sales::recordSale(shop->db(), byCard).receiptNumber;
        shop->insert(QStringLiteral("CUPONES"),
                     {QStringLiteral("CUPNRO"), QStringLiteral("CUPCOM"), QStringLiteral("CUPIMP"), QStringLiteral("CUPEST")},
                     {QStringLiteral("4501"), QString::number(cardSale), 10.0, QStringLiteral("P")});
        if (!plant.isEmpty()) {
            shop->db().execute(plant);
        } else if (!rule.isEmpty()) {
            // Zeroes the root page of a sales index: the rows are there, their index is not.
            const QString file = vx::DataLink::fromConnectionString(shop->connectionString).resolvedDataSource();
            const qint64 page = shop->db()
                                    .scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE type = 'index' "
                                                           "AND tbl_name = 'ITECLI' ORDER BY name LIMIT 1"))
                                    .toLongLong();
            const qint64 pageSize = shop->db().scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
            shop->connection.reset();
            QFile damaged(file);
            QVERIFY(page > 1 && damaged.open(QIODevice::ReadWrite));
            QVERIFY(damaged.seek((page - 1) * pageSize));
            damaged.write(QByteArray(int(pageSize), '\0'));
        }
        const Run check = vendrix({QStringLiteral("check")});
        if (rule.isEmpty()) {
            QVERIFY2(check.exitCode == 0 && check.out.contains(QStringLiteral("Resultado: sin fallas.")),
                     qPrintable(check.out + check.err));
            return;
        }
        QVERIFY2(check.exitCode == 1, qPrintable(check.out + check.err));
        QVERIFY2(check.out.contains(QStringLiteral("  FALLA     %1: ").arg(rule)), qPrintable(check.out));
        QVERIFY2(check.out.contains(detail), qPrintable(check.out));
        QVERIFY(check.out.contains(QRegularExpression(QStringLiteral("Resultado: \\d+ fallas?\\.\\n$"))));
        if (plant.isEmpty()) {
            // The copy of a damaged file fails its own check: no copy is offered as good.
            const Run backup = vendrix({QStringLiteral("backup"), root.file(QStringLiteral("copias"))});
            QVERIFY2(backup.exitCode == 1 && backup.err.contains(QStringLiteral("no pasó la verificación de integridad")),
                     qPrintable(backup.err));
            QCOMPARE(QDir(root.file(QStringLiteral("copias"))).entryList(QDir::Files), QStringList());
        }
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
