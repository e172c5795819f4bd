#include "app/GlobalFunction.h"

#include <QTest>

using namespace GlobalFunction;

class TestGlobalFunction : public QObject {
    Q_OBJECT

private slots:
    void roundsHalfToEven()
    {
        QCOMPARE(roundHalfEven(2.5), 2);
        QCOMPARE(roundHalfEven(3.5), 4);
        QCOMPARE(roundHalfEven(-2.5), -2);
        QCOMPARE(roundHalfEven(-3.5), -4);
        QCOMPARE(roundHalfEven(2.4999), 2);
        QCOMPARE(roundHalfEven(2.5001), 3);
        QCOMPARE(roundHalfEven(0.5), 0);
        QCOMPARE(roundHalfEven(1e12 + 0.5), qint64(1000000000000));
    }

    void padsArticleCodesToThirteen()
    {
        QCOMPARE(articleCode(QStringLiteral("123")), QStringLiteral("0000000000123"));
        QCOMPARE(articleCode(QString()), QStringLiteral("0000000000000"));
        QCOMPARE(articleCode(QStringLiteral("7790001234567")), QStringLiteral("7790001234567"));
        // A longer text is kept whole rather than cut.
        QCOMPARE(articleCode(QStringLiteral("77900012345678")), QStringLiteral("77900012345678"));
        QCOMPARE(padLeft(QStringLiteral("7"), 3), QStringLiteral("  7"));
    }

    void conversionsFollowTheShop()
    {
        QCOMPARE(strToFloat(QStringLiteral("1.234,5")), 1234.5);
        QCOMPARE(floatToFixed(1234.5, 2), QStringLiteral("1234,50"));
        QCOMPARE(floatToFixed(1e15, 2), QStringLiteral("1000000000000000,00"));
        QCOMPARE(floatToStr(12.5), QStringLiteral("12,5"));
        QCOMPARE(strToDate(QStringLiteral("8/12/2026")), QDate(2026, 12, 8));
        QCOMPARE(dateToStr(QDate(2026, 1, 3)), QStringLiteral("03/01/2026"));
    }

    void badTextRaisesTheOperatorsMessage()
    {
        try {
            strToFloat(QStringLiteral("12a"));
            QFAIL("accepted 12a");
        } catch (const ConvertError &e) {
            QCOMPARE(e.message(), QStringLiteral("'12a' no es un valor numérico válido"));
        }
        QVERIFY_THROWS_EXCEPTION(ConvertError, strToDate(QStringLiteral("31/02/2026")));
        QVERIFY_THROWS_EXCEPTION(ConvertError, strToFloat(QString()));
    }
};

QTEST_MAIN(TestGlobalFunction)
#include "tst_globalfunction.moc"
