#include "SalesTestShop.h"

#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/FakeDialogs.h"
#include "sales/Cobro.h"
#include "sales/CouponRecording.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QStringList couponColumns()
{
    return {QStringLiteral("CUPTARD"), QStringLiteral("CUPTARC"), QStringLiteral("CUPDIA"), QStringLiteral("CUPCTA"),
            QStringLiteral("CUPFAC"),  QStringLiteral("CUPFEC"),  QStringLiteral("CUPNRO"), QStringLiteral("CUPCOM"),
            QStringLiteral("CUPEST"),  QStringLiteral("CUPIMP")};
}

} // namespace

class TestCobro : public QObject {
    Q_OBJECT

    std::unique_ptr<SalesTestShop> m_shop;
    std::unique_ptr<TDM1> m_module;

    SalesTestShop &shop() { return *m_shop; }

private slots:
    void init()
    {
        m_shop = std::make_unique<SalesTestShop>();
        shop().addCard(3, QStringLiteral("VISA"), 30, QStringLiteral("BANCO NACION 123"));
        shop().addCard(5, QStringLiteral("AMEX"), 15, QStringLiteral("BANCO RIO 9"));
        m_module = std::make_unique<TDM1>(shop().db().openAnother());
    }
    void cleanup()
    {
        m_module.reset();
        m_shop.reset();
    }

    void couponOfACatalogueCard()
    {
        const qint64 id = sales::recordCoupon(shop().db(), {QStringLiteral("01/03/2026"), QStringLiteral("42"),
                                                            QStringLiteral("VISA"), QStringLiteral("000123"),
                                                            QStringLiteral("100,00")});
        QCOMPARE(shop().db().scalar(QStringLiteral("SELECT MAX(Id) FROM CUPONES")).toLongLong(), id);
        QCOMPARE(shop().rows(QStringLiteral("CUPONES"), couponColumns()),
                 (QList<QVariantList>{{QStringLiteral("VISA"), 3, 30.0, QStringLiteral("BANCO NACION 123"),
                                       day(31, 3, 2026), day(1, 3, 2026), QStringLiteral("000123"),
                                       QStringLiteral("42"), QStringLiteral("P"), 100.0}}));
    }

    void couponOfACardNotInTheCatalogue()
    {
        // The receipt number box was still empty: the sale's recording gives the coupon its number.
        sales::recordCoupon(shop().db(), {QStringLiteral("01/03/2026"), QString(), QStringLiteral("NARANJA"),
                                          QStringLiteral("77"), QStringLiteral("55,5")});
        QCOMPARE(shop().rows(QStringLiteral("CUPONES"), couponColumns()),
                 (QList<QVariantList>{{QStringLiteral("NARANJA"), QVariant(), QVariant(), QVariant(), QVariant(),
                                       day(1, 3, 2026), QStringLiteral("77"), QVariant(), QStringLiteral("P"), 55.5}}));
    }

    void couponThatDoesNotConvertStoresNothing_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("amount");
        QTest::newRow("date") << QStringLiteral("31/02/2026") << QStringLiteral("10,00");
        QTest::newRow("empty date") << QString() << QStringLiteral("10,00");
        QTest::newRow("amount") << QStringLiteral("01/03/2026") << QStringLiteral("10,0x");
    }
    void couponThatDoesNotConvertStoresNothing()
    {
        QFETCH(QString, date);
        QFETCH(QString, amount);
        try {
            sales::recordCoupon(shop().db(),
                                {date, QStringLiteral("42"), QStringLiteral("VISA"), QStringLiteral("1"), amount});
            QFAIL("the coupon was stored");
        } catch (const sales::CouponRecordingError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("No se pudo completar el proceso..."));
            QVERIFY(!e.cause().isEmpty());
        }
        QCOMPARE(shop().count(QStringLiteral("CUPONES")), 0);
    }

    void windowProposesTheAmountAndListsTheCards()
    {
        TFCobro window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Cobros con Tarjetas"));
        // Total 180, cash 80.
        window.prepare(QStringLiteral("01/03/2026"), QStringLiteral("42"), 180.0 - 80.0);
        QCOMPARE(window.EdImp->text(), QStringLiteral("100,00"));
        QCOMPARE(window.EdFec->text(), QStringLiteral("01/03/2026"));
        QCOMPARE(window.EdFac->text(), QStringLiteral("42"));
        QStringList cards;
        for (int i = 0; i < window.CBTarj->count(); ++i)
            cards << window.CBTarj->itemText(i);
        QCOMPARE(cards, (QStringList{QStringLiteral("AMEX"), QStringLiteral("VISA")}));
        QVERIFY(window.CBTarj->currentText().isEmpty());
        QVERIFY(window.BBConfirmar->isDefault());
        QVERIFY(!window.writtenCoupon());
    }

    void confirmingTwiceWritesTwoCoupons()
    {
        vx::ui::FakeDialogs dialogs;
        TFCobro window;
        for (const char *amount : {"60", "40,5"}) {
            window.prepare(QStringLiteral("01/03/2026"), QStringLiteral("42"), 100);
            window.CBTarj->setEditText(QStringLiteral("VISA"));
            window.EdCupon->setText(QStringLiteral("555"));
            window.EdImp->setText(QString::fromLatin1(amount));
            window.BBConfirmar->click();
            QCOMPARE(window.result(), int(QDialog::Accepted));
        }
        // The amount handed back is the second one, as the box showed it.
        QVERIFY(window.writtenCoupon());
        QCOMPARE(window.writtenCoupon()->amountText, QStringLiteral("40,50"));
        QCOMPARE(window.writtenCoupon()->couponId,
                 shop().db().scalar(QStringLiteral("SELECT MAX(Id) FROM CUPONES")).toLongLong());
        QCOMPARE(shop().rows(QStringLiteral("CUPONES"), {QStringLiteral("CUPIMP"), QStringLiteral("CUPFAC")}),
                 (QList<QVariantList>{{60.0, day(31, 3, 2026)}, {40.5, day(31, 3, 2026)}}));
        for (QLineEdit *box : {window.EdFec, window.EdFac, window.EdNTar, window.EdCupon, window.EdImp})
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QVERIFY(window.CBTarj->currentText().isEmpty());
        QVERIFY(dialogs.shown.isEmpty());
    }

    void failedCouponSaysSoAndHandsNothingBack()
    {
        vx::ui::FakeDialogs dialogs;
        TFCobro window;
        window.prepare(QStringLiteral("01/03/2026"), QStringLiteral("42"), 100);
        window.EdFec->setText(QStringLiteral("99/99/2026"));
        window.BBConfirmar->click();
        QCOMPARE(dialogs.texts(QStringLiteral("message")),
                 QStringList{QStringLiteral("No se pudo completar el proceso...")});
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QVERIFY(!window.writtenCoupon());
        QCOMPARE(shop().count(QStringLiteral("CUPONES")), 0);
        QVERIFY(window.EdImp->text().isEmpty());
    }

    void leavingTheBoxes()
    {
        TFCobro window;
        window.prepare(QString(), QStringLiteral("42"), 100);
        window.EdFecExit();
        QCOMPARE(window.EdFec->text(), vx::shopformat::formatDate(QDate::currentDate()));
        window.EdImp->clear();
        window.EdImpExit();
        QCOMPARE(window.EdImp->text(), QStringLiteral("0,00"));
        window.EdImp->setText(QStringLiteral("12,3"));
        window.EdImpExit();
        QCOMPARE(window.EdImp->text(), QStringLiteral("12,30"));
    }

    void cancellingWritesNothing()
    {
        TFCobro window;
        for (QPushButton *button : {window.BBCancelar, window.BBSalir}) {
            window.prepare(QStringLiteral("01/03/2026"), QStringLiteral("42"), 100);
            window.CBTarj->setEditText(QStringLiteral("VISA"));
            window.EdNTar->setText(QStringLiteral("4509"));
            button->click();
            QCOMPARE(window.result(), int(QDialog::Rejected));
            QVERIFY(window.EdNTar->text().isEmpty());
            QVERIFY(window.EdFec->text().isEmpty());
            QVERIFY(window.CBTarj->currentText().isEmpty());
        }
        QVERIFY(!window.writtenCoupon());
        QCOMPARE(shop().count(QStringLiteral("CUPONES")), 0);
    }
};

QTEST_MAIN(TestCobro)
#include "tst_cobro.moc"
