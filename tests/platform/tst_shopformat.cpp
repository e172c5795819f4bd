#include "platform/core/ShopFormat.h"

#include <QTest>

using namespace vx::shopformat;

class TestShopFormat : public QObject {
    Q_OBJECT
private slots:
    void pictures_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("money") << "0.00" << 1234.5 << "1234,50";
        QTest::newRow("half away from zero on the decimal digits") << "0.00" << 2.675 << "2,68";
        QTest::newRow("negative rounds away from zero") << "0.00" << -2.675 << "-2,68";
        QTest::newRow("grouping") << "#,##0.00" << 1234567.891 << "1.234.567,89";
        QTest::newRow("grouping small") << "#,##0.00" << 12.0 << "12,00";
        QTest::newRow("carry into a new digit") << "0.00" << 999.999 << "1000,00";
        QTest::newRow("optional decimals") << "0.##" << 3.1 << "3,1";
        QTest::newRow("optional decimals dropped") << "0.##" << 3.0 << "3";
        QTest::newRow("huge stays fixed") << "0.00" << 1e20 << "100000000000000000000,00";
        QTest::newRow("tiny rounds to zero") << "0.00" << 0.004 << "0,00";
        QTest::newRow("negative zero prints without sign") << "0.00" << -0.001 << "0,00";
        QTest::newRow("negative section") << "0.00;(0.00)" << -5.5 << "(5,50)";
        QTest::newRow("zero section") << "0.00;-0.00;\"cero\"" << 0.0 << "cero";
        QTest::newRow("literal prefix") << "$ #,##0.00" << 1500.0 << "$ 1.500,00";
        QTest::newRow("integer picture") << "0" << 12.5 << "13";
        QTest::newRow("leading zeros") << "000" << 7.0 << "007";
    }
    void pictures()
    {
        QFETCH(QString, picture);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(formatFloat(picture, value), expected);
    }

    void fixedAndGeneral()
    {
        QCOMPARE(formatFixed(12.5, 2), QStringLiteral("12,50"));
        QCOMPARE(formatFixed(-0.5, 0), QStringLiteral("-1"));
        QCOMPARE(formatGeneral(12.5), QStringLiteral("12,5"));
        QCOMPARE(formatGeneral(3.0), QStringLiteral("3"));
        QCOMPARE(formatGeneral(0.1 + 0.2), QStringLiteral("0,3"));
    }

    void numbersReadInShopNotation()
    {
        QCOMPARE(parseNumber(QStringLiteral("1234,5")).value(), 1234.5);
        QCOMPARE(parseNumber(QStringLiteral("-3")).value(), -3.0);
        QCOMPARE(parseNumber(QStringLiteral("1.234,50")).value(), 1234.5);
        QCOMPARE(parseNumber(QStringLiteral(",5")).value(), 0.5);
        QCOMPARE(parseNumber(QStringLiteral(" 7 ")).value(), 7.0);
        QCOMPARE(parseNumber(QStringLiteral("1.500")).value(), 1500.0);
        // A point that is not a thousands separator is not the shop's notation.
        QVERIFY(!parseNumber(QStringLiteral("1.5")));
        QVERIFY(!parseNumber(QStringLiteral("")));
        QVERIFY(!parseNumber(QStringLiteral("-")));
        QVERIFY(!parseNumber(QStringLiteral("12a")));
        QVERIFY(!parseNumber(QStringLiteral("1,2,3")));
    }

    void datesAndTimes()
    {
        const auto date = parseDateTime(QStringLiteral("8/12/2026"));
        QVERIFY(date);
        QCOMPARE(date->date(), QDate(2026, 12, 8));
        QCOMPARE(date->time(), QTime(0, 0));
        QCOMPARE(parseDate(QStringLiteral("08/12/26")).value(), QDate(2026, 12, 8));
        QCOMPARE(parseDate(QStringLiteral("01/01/99")).value(), QDate(1999, 1, 1));
        QCOMPARE(parseDateTime(QStringLiteral("31/12/2026 23:59:58"))->time(), QTime(23, 59, 58));
        QVERIFY(!parseDate(QStringLiteral("31/02/2026")));
        QVERIFY(!parseDate(QStringLiteral("2026-12-08")));
        QVERIFY(!parseDate(QStringLiteral("")));
        QCOMPARE(formatDate(QDate(2026, 1, 5)), QStringLiteral("05/01/2026"));
        QCOMPARE(formatDateTime(QDateTime(QDate(2026, 1, 5), QTime(0, 0), Qt::UTC)), QStringLiteral("05/01/2026"));
        QCOMPARE(formatDateTime(QDateTime(QDate(2026, 1, 5), QTime(9, 3, 1), Qt::UTC)),
                 QStringLiteral("05/01/2026 09:03:01"));
    }
};

QTEST_GUILESS_MAIN(TestShopFormat)
#include "tst_shopformat.moc"
