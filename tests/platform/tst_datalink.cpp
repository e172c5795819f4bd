#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace vx;

class TestDataLink : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write test file");
        f.write(bytes);
        return path;
    }

    static QString messageOf(const std::function<void()> &work)
    {
        try {
            work();
        } catch (const DbError &e) {
            return e.message();
        }
        return {};
    }

    static QByteArray utf16(const QString &text, bool littleEndian)
    {
        QByteArray out;
        for (const QChar c : text) {
            const char low = char(c.unicode() & 0xFF);
            const char high = char(c.unicode() >> 8);
            out.append(littleEndian ? low : high).append(littleEndian ? high : low);
        }
        return out;
    }

private slots:
    void init()
    {
        // A failed open releases its database before removing it.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("still in use")));
    }

    // Files as other tools write them: the data source they name, or the reason they are refused.
    void readsWhatOtherToolsWrite_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("dataSource");  // empty: refused
        const QString text = QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n"
                                            "Provider=SQLite;Data Source=/tienda/Ñandú.db;\r\n");
        QTest::newRow("UTF-16LE without mark") << utf16(text, true) << QStringLiteral("/tienda/Ñandú.db");
        QTest::newRow("UTF-16BE without mark") << utf16(text, false) << QStringLiteral("/tienda/Ñandú.db");
        QTest::newRow("quoted semicolon")
            << QByteArray("[oledb]\nProvider=SQLite;Data Source=\"/Tienda;2/Vendrix.db\";User ID=caja\n")
            << QStringLiteral("/Tienda;2/Vendrix.db");
        QTest::newRow("single quotes, doubled quote")
            << QByteArray("[oledb]\nProvider=SQLite; Data Source = '/D''Angelo;=x.db' ;\n") << QStringLiteral("/D'Angelo;=x.db");
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xd8", 16) << QString();
        QTest::newRow("Windows code page") << QByteArray("[oledb]\nProvider=SQLite;Data Source=/\xd1" "and\xfa.db\n")
                                           << QStringLiteral("/Ñandú.db");
        QTest::newRow("NUL in UTF-8") << QByteArray("[oledb]\nProvider=SQLite") + QByteArray(1, '\0') + QByteArray(";Data Source=x.db\n") << QString();
    }
    void readsWhatOtherToolsWrite()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, dataSource);
        const QString path = writeFile(QStringLiteral("tool.udl"), bytes);
        if (dataSource.isEmpty()) {
            QCOMPARE(messageOf([&] { DataLink::read(path); }),
                     QStringLiteral("El archivo \"%1\" no es un archivo de enlace de datos válido.").arg(path));
            return;
        }
        const DataLink link = DataLink::read(path);
        QCOMPARE(link.provider(), QStringLiteral("SQLite"));
        QCOMPARE(link.value(QStringLiteral("Data Source")), dataSource);
    }

    void readsUtf16WithByteOrderMarkAndUtf8()
    {
        const QString path = m_dir.filePath(QStringLiteral("utf16.udl"));
        DataLink::write(path, QStringLiteral("Provider=SQLite;Data Source=Tienda Ñandú.db;"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("\xFF\xFE[\0o\0"));
        const DataLink link = DataLink::read(path);
        QCOMPARE(link.provider(), QStringLiteral("SQLite"));
        QCOMPARE(link.resolvedDataSource(), m_dir.filePath(QStringLiteral("Tienda Ñandú.db")));

        const QString utf8 = writeFile(QStringLiteral("utf8.udl"),
                                       "[oledb]\n; comment\nprovider=sqlite; data source = \"/abs/shop.db\" ;User ID=x\n");
        const DataLink other = DataLink::read(utf8);
        QCOMPARE(other.value(QStringLiteral("Data Source")), QStringLiteral("/abs/shop.db"));
        QCOMPARE(other.resolvedDataSource(), QStringLiteral("/abs/shop.db"));
        QCOMPARE(other.value(QStringLiteral("user id")), QStringLiteral("x"));
        QVERIFY(!other.contains(QStringLiteral("Password")));
    }

    void brokenLinksSayWhichFileAndWhy()
    {
        const QString missing = m_dir.filePath(QStringLiteral("nowhere.udl"));
        QString message = messageOf([&] { DataLink::read(missing); });
        QVERIFY2(message.contains(QLatin1String("nowhere.udl")) && message.contains(QLatin1String("No se encuentra")),
                 qPrintable(message));

        const QString empty = writeFile(QStringLiteral("empty.udl"), "[oledb]\n; nothing here\n");
        message = messageOf([&] { DataLink::read(empty); });
        QVERIFY2(message.contains(QLatin1String("empty.udl")) && message.contains(QStringLiteral("cadena de conexión")),
                 qPrintable(message));

        const QString jet = writeFile(QStringLiteral("jet.udl"),
                                      "[oledb]\nProvider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\shop.mdb;\n");
        message = messageOf([&] { Connection::open(DataLink::read(jet), nullptr); });
        QVERIFY2(message.contains(QLatin1String("Microsoft.Jet.OLEDB.4.0")) && message.contains(QLatin1String("jet.udl")),
                 qPrintable(message));

        // A database that does not exist is reported and not created.
        const QString absent = writeFile(QStringLiteral("absent.udl"), "[oledb]\nProvider=SQLite;Data Source=absent.db;\n");
        message = messageOf([&] { Connection::open(DataLink::read(absent), nullptr); });
        QVERIFY2(message.contains(QLatin1String("absent.db")) && message.contains(QLatin1String("no existe")),
                 qPrintable(message));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("absent.db"))));

        // A file that is not a database.
        writeFile(QStringLiteral("garbage.db"), QByteArray(4096, 'x'));
        const QString garbage = writeFile(QStringLiteral("garbage.udl"), "[oledb]\nProvider=SQLite;Data Source=garbage.db\n");
        message = messageOf([&] { Connection::open(DataLink::read(garbage), nullptr); });
        QVERIFY2(message.contains(QLatin1String("garbage.db")) && message.contains(QLatin1String("garbage.udl")),
                 qPrintable(message));
    }

    void unreachableServerIsNamed()
    {
        const QString link = writeFile(QStringLiteral("server.udl"),
                                       "[oledb]\nProvider=PostgreSQL;Data Source=127.0.0.1;Port=1;"
                                       "Initial Catalog=tienda;User ID=caja;\n");
        const QString message = messageOf([&] { Connection::open(DataLink::read(link), nullptr); });
        QVERIFY2(message.contains(QLatin1String("tienda")) && message.contains(QLatin1String("127.0.0.1"))
                     && message.contains(QLatin1String("server.udl"))
                     && message.contains(QStringLiteral("No se puede conectar con el servidor de datos (127.0.0.1:1)"))
                     && !message.contains(QLatin1Char('\n')),
                 qPrintable(message));
    }

    void opensTheDatabaseInWalModeWithFullSync()
    {
        auto created = Connection::openSqlite(m_dir.filePath(QStringLiteral("ok.db")), nullptr, true);
        created.reset();
        const QString link = writeFile(QStringLiteral("ok.udl"), "[oledb]\nProvider=SQLite;Data Source=ok.db;\n");
        auto connection = Connection::open(DataLink::read(link), nullptr);
        QCOMPARE(connection->scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
        QCOMPARE(connection->scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2);
        QVERIFY(connection->scalar(QStringLiteral("PRAGMA busy_timeout")).toInt() >= 5000);
        QCOMPARE(connection->scalar(QStringLiteral("SELECT vx_upper('añejo ü')")).toString(), QStringLiteral("AÑEJO Ü"));
    }
};

QTEST_GUILESS_MAIN(TestDataLink)
#include "tst_datalink.moc"
