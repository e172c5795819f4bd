#include "CashWindowShop.h"

#include "cash/Cupones.h"
#include "platform/ui/DBGrid.h"

// The coupon portfolio as the operator works it: double clicks on the grid, the two delete
// buttons answered Yes or No.
class TestCupones : public QObject {
    Q_OBJECT

    static void addCoupon(CashWindowShop &shop, const QString &number, const QString &state)
    {
        data::RowInserter(shop.db(), QStringLiteral("CUPONES"),
                          {QStringLiteral("CUPNRO"), QStringLiteral("CUPEST"), QStringLiteral("CUPIMP")})
            .insert({number, state, 10.0});
    }
    static QString state(CashWindowShop &shop, const QString &number)
    {
        return shop.db().scalar(QStringLiteral("SELECT CUPEST FROM CUPONES WHERE CUPNRO = ?"), {number}).toString();
    }
    // The grid's cell of the coupon with the number, found in the column "Cupón Nro.".
    static QPoint cellOf(TFCupones &w, const QString &number)
    {
        QAbstractItemModel *model = w.DBGrid1->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 4);
            if (index.data().toString() == number)
                return w.DBGrid1->visualRect(index).center();
        }
        return {};
    }
    static void doubleClick(TFCupones &w, const QString &number)
    {
        const QPoint cell = cellOf(w, number);
        QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, cell);
    }

private slots:
    // With no coupon, double click and "Eliminar 1 Cupón" do nothing and ask nothing.
    void emptyPortfolio()
    {
        CashWindowShop shop;
        shop.onWindow<TFCupones>([&](TFCupones &w) {
            QTest::mouseDClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
            CashWindowShop::click(w.BEliminar);
            CashWindowShop::click(w.BEliminarA); // answered No
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        openCupones(nullptr);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("confirm")), QStringList{QStringLiteral("Elimina TODOS los cupones Acreditados?")});
        QVERIFY(shop.dialogs.texts(QStringLiteral("error")).isEmpty());
        QCOMPARE(shop.count(QStringLiteral("CUPONES")), 0);
    }

    // Double clicks turn states back and forth; No deletes nothing; one coupon deleted on Yes; the
    // credited ones deleted are those credited when the operator confirms, not when the list was read.
    void statesAndDeletions()
    {
        CashWindowShop shop;
        addCoupon(shop, QStringLiteral("C1"), QStringLiteral("P"));
        addCoupon(shop, QStringLiteral("C2"), QStringLiteral("A"));
        addCoupon(shop, QStringLiteral("C3"), QStringLiteral("P"));
        addCoupon(shop, QStringLiteral("C4"), QStringLiteral("X"));
        shop.onWindow<TFCupones>([&](TFCupones &w) {
            QCOMPARE(w.DBGrid1->model()->rowCount(), 4);
            for (const auto &[number, after] : {std::pair{"C1", "A"}, {"C1", "P"}, {"C3", "A"}, {"C4", "P"}}) {
                doubleClick(w, QLatin1String(number));
                QCOMPARE(state(shop, QLatin1String(number)), QLatin1String(after));
                QCOMPARE(w.DBEdit2->text(), QLatin1String(after));
            }

            QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, cellOf(w, QStringLiteral("C1")));
            QCOMPARE(w.DBEdit1->text(), QStringLiteral("C1"));
            CashWindowShop::click(w.BEliminar); // No
            shop.dialogs.confirmAnswers.enqueue(true);
            CashWindowShop::click(w.BEliminar);
            QCOMPARE(w.DBGrid1->model()->rowCount(), 3);

            // Another counter credits C4 and turns C2 back to presented after the list was read.
            shop.db().execute(QStringLiteral("UPDATE CUPONES SET CUPEST = 'A' WHERE CUPNRO = 'C4'"));
            shop.db().execute(QStringLiteral("UPDATE CUPONES SET CUPEST = 'P' WHERE CUPNRO = 'C2'"));
            CashWindowShop::click(w.BEliminarA); // No
            QCOMPARE(shop.count(QStringLiteral("CUPONES")), 3);
            shop.dialogs.confirmAnswers.enqueue(true);
            CashWindowShop::click(w.BEliminarA);
            QCOMPARE(w.DBGrid1->model()->rowCount(), 1);
            QCOMPARE(w.DBEdit1->text(), QStringLiteral("C2"));
        });
        openCupones(nullptr);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("confirm")).mid(0, 2),
                 QStringList(2, QStringLiteral("Elimina el cupón Nro.: C1 ?")));
        QCOMPARE(state(shop, QStringLiteral("C2")), QStringLiteral("P"));
        QCOMPARE(shop.count(QStringLiteral("CUPONES")), 1);
        QVERIFY(shop.dialogs.texts(QStringLiteral("error")).isEmpty());
    }
};

QTEST_MAIN(TestCupones)
#include "tst_cupones.moc"
