#include "CashWindowShop.h"

#include "app/Aguarde.h"
#include "cash/Bcos.h"
#include "cash/BcosPpio.h"
#include "cash/Tarjetas.h"
#include "platform/db/Field.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "sales/CouponRecording.h"

#include <QComboBox>
#include <QLabel>

// The banks, the shop's own accounts and the card file as the operator keeps them.
class TestBanks : public QObject {
    Q_OBJECT

    static QVariant value(CashWindowShop &shop, const QString &sql, const QVariantList &params = {})
    {
        return shop.db().scalar(sql, params);
    }
    static void activate(QDialog &window)
    {
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    static void leave(QWidget *box)
    {
        // The wait window took the activation with it when it closed, as no window manager
        // hands it back here.
        activate(*qobject_cast<QDialog *>(box->window()));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Tab);
    }
    static void addBanks(CashWindowShop &shop, const QList<std::pair<int, QString>> &banks)
    {
        data::RowInserter rows(shop.db(), QStringLiteral("BANCO"), {QStringLiteral("BANCOD"), QStringLiteral("BANDES")});
        for (const auto &[code, name] : banks)
            rows.insert({code, name});
    }
    static void addAccount(CashWindowShop &shop, int bank, int code, const QString &number)
    {
        data::RowInserter(shop.db(), QStringLiteral("CTAPROP"),
                          {QStringLiteral("CTABCO"), QStringLiteral("CTACOD"), QStringLiteral("CTANRO")})
            .insert({bank, code, number});
    }

private slots:
    // Banks: 1 proposed for an empty list and the next code after; leaving an existing code shows
    // its name; searches by code and by name, the name search taking "_" literally; a failed post
    // is said and takes the wait window down.
    void banks()
    {
        CashWindowShop shop;
        TFAguarde wait;
        const auto currentBank = [] { return DM1->Bancos->fieldByName(QStringLiteral("BANDES"))->asString(); };
        shop.onWindow<TFBcos>([&](TFBcos &w) {
            activate(w);
            const QStringList names{QStringLiteral("BANCO_SUR"), QStringLiteral("BANCOXNORTE"), QStringLiteral("AHORRO")};
            for (int i = 0; i < names.size(); ++i) {
                QTest::mouseClick(w.Cod, Qt::LeftButton);
                QCOMPARE(w.Cod->text(), QString::number(i + 1));
                CashWindowShop::type(w.Des, names[i]);
                CashWindowShop::click(w.BActual);
            }
            CashWindowShop::type(w.Cod, QStringLiteral("12"));
            CashWindowShop::type(w.Des, QStringLiteral("doce"));
            CashWindowShop::click(w.BActual);
            CashWindowShop::type(w.Cod, QStringLiteral("2"));
            leave(w.Cod);
            QCOMPARE(w.Des->text(), QStringLiteral("BANCOXNORTE"));

            QTest::mouseClick(w.EdCod, Qt::LeftButton);
            for (const auto &[typed, found] : {std::pair{"1", "BANCO_SUR"}, {"12", "DOCE"}, {"3", "AHORRO"}}) {
                CashWindowShop::type(w.EdCod, QLatin1String(typed));
                QCOMPARE(currentBank(), QLatin1String(found));
            }
            QTest::mouseClick(w.EdDes, Qt::LeftButton);
            for (const auto &[typed, found] : {std::pair{"BANCO_", "BANCO_SUR"}, {"do", "DOCE"}, {"BANCO", "BANCOXNORTE"}}) {
                CashWindowShop::type(w.EdDes, QLatin1String(typed));
                QCOMPARE(currentBank(), QLatin1String(found));
            }

            // Another write holding the connection: the bank is refused, the wait window is gone.
            {
                vx::Transaction held(shop.db());
                QTest::mouseClick(w.Cod, Qt::LeftButton);
                CashWindowShop::type(w.Des, QStringLiteral("FALLA"));
                CashWindowShop::click(w.BActual);
            }
            QVERIFY(!wait.isVisible());
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(!w.isVisible());
        });
        openBcos(nullptr);
        QCOMPARE(shop.count(QStringLiteral("BANCO")), 4);
        QCOMPARE(shop.count(QStringLiteral("BANCO"), QStringLiteral("BANCOD = 12 AND BANDES = 'DOCE'")), 1);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("message")), QStringList(4, QStringLiteral("Proceso Terminado.")));
        const QStringList errors = shop.dialogs.texts(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().startsWith(QStringLiteral("No se pudo completar el proceso.")));
        QVERIFY(!DM1->Bancos->active());
    }

    // Own accounts: 1 proposed when there are none; missing code or number and a missing bank
    // refused with nothing written; a bank chosen by name or code; the grid shows an account's bank.
    void ownAccounts()
    {
        CashWindowShop shop;
        addBanks(shop, {{1, QStringLiteral("NACION")}, {2, QStringLiteral("SUR")}});
        shop.onWindow<TFBcosPpio>([&](TFBcosPpio &w) {
            activate(w);
            QTest::mouseClick(w.EdCod, Qt::LeftButton);
            QCOMPARE(w.EdCod->text(), QStringLiteral("1"));
            CashWindowShop::click(w.BGrabar); // no account number
            QVERIFY(w.EdCod->text().isEmpty());
            QTest::mouseClick(w.EdCod, Qt::LeftButton);
            CashWindowShop::type(w.EdCta, QStringLiteral("111"));
            CashWindowShop::click(w.BGrabar); // no bank
            QCOMPARE(shop.count(QStringLiteral("CTAPROP")), 0);

            w.CBDC->setFocus();
            QTest::keyClick(w.CBDC, Qt::Key_Down);
            QTest::keyClick(w.CBDC, Qt::Key_Down);
            QCOMPARE(w.CBCC->currentText(), QStringLiteral("2"));
            QTest::mouseClick(w.EdCod, Qt::LeftButton);
            CashWindowShop::type(w.EdNombre, QStringLiteral("cuenta sur"));
            CashWindowShop::type(w.EdCta, QStringLiteral("222-1"));
            CashWindowShop::click(w.BGrabar);
            QCOMPARE(w.CBCC->currentText(), QString());

            CashWindowShop::type(w.CBCC->lineEdit(), QStringLiteral("1"));
            leave(w.CBCC);
            QCOMPARE(w.CBDC->currentText(), QStringLiteral("NACION"));
            QTest::mouseClick(w.EdCod, Qt::LeftButton);
            QCOMPARE(w.EdCod->text(), QStringLiteral("2"));
            CashWindowShop::type(w.EdCta, QStringLiteral("111-9"));
            CashWindowShop::click(w.BGrabar);

            QCOMPARE(w.DBGrid1->model()->rowCount(), 2);
            const QModelIndex southAccount = w.DBGrid1->model()->index(0, 0); // code order since EdCod was clicked
            QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, w.DBGrid1->visualRect(southAccount).center());
            QCOMPARE(w.DBEdit1->text(), QStringLiteral("SUR"));
        });
        openBcosPpio(nullptr);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("message")),
                 (QStringList{QStringLiteral("Revise los Datos: - Cód. y/o Número de la Cuenta Nueva - "),
                              QStringLiteral("Proceso Terminado."), QStringLiteral("Proceso Terminado.")}));
        QCOMPARE(shop.dialogs.texts(QStringLiteral("error")), QStringList{vx::shopformat::notANumberMessage(QString())});
        QCOMPARE(shop.count(QStringLiteral("CTAPROP"), QStringLiteral("CTABCO = 2 AND CTACOD = 1 AND CTANRO = '222-1' "
                                                                      "AND CTADES = 'CUENTA SUR'")),
                 1);
        QCOMPARE(shop.count(QStringLiteral("CTAPROP"), QStringLiteral("CTABCO = 1 AND CTACOD = 2")), 1);
    }

    // The card file: 1 proposed for an empty file; days that are no number refused; the bank is
    // the bank of the chosen account (none for an account whose bank is unknown); and a coupon
    // written at the counter for the new card takes its code, term, account and crediting date.
    void cardsReachCoupons()
    {
        CashWindowShop shop;
        addBanks(shop, {{1, QStringLiteral("NACION")}, {2, QStringLiteral("SUR")}});
        addAccount(shop, 1, 1, QStringLiteral("111"));
        addAccount(shop, 2, 2, QStringLiteral("222"));
        addAccount(shop, 9, 3, QStringLiteral("999"));
        shop.onWindow<TFTarjetas>([&](TFTarjetas &w) {
            activate(w);
            QTest::mouseClick(w.EdCod, Qt::LeftButton);
            QCOMPARE(w.EdCod->text(), QStringLiteral("1"));
            CashWindowShop::type(w.EdNom, QStringLiteral("naranja"));
            w.CBCtas->setFocus();
            QTest::keyClick(w.CBCtas, Qt::Key_Down);
            QCOMPARE(w.DBText1->text(), QStringLiteral("NACION"));
            QTest::keyClick(w.CBCtas, Qt::Key_Down);
            QCOMPARE(w.DBText1->text(), QStringLiteral("SUR"));
            CashWindowShop::type(w.EdDias, QStringLiteral("x"));
            CashWindowShop::click(w.BGrabar);
            CashWindowShop::type(w.EdDias, QStringLiteral("25"));
            CashWindowShop::click(w.BGrabar);

            QTest::mouseClick(w.EdCod, Qt::LeftButton);
            QCOMPARE(w.EdCod->text(), QStringLiteral("2"));
            CashWindowShop::type(w.EdNom, QStringLiteral("otra"));
            w.CBCtas->setFocus();
            QTest::keyClick(w.CBCtas, Qt::Key_Down);
            QCOMPARE(w.CBCtas->currentText(), QStringLiteral("999"));
            QCOMPARE(w.DBText1->text(), QString());
            CashWindowShop::type(w.EdDias, QStringLiteral("10"));
            CashWindowShop::click(w.BGrabar);
            QCOMPARE(w.DBGrid1->model()->rowCount(), 2);
            CashWindowShop::click(w.BSalir);
            QVERIFY(!w.isVisible());
        });
        openTarjetas(nullptr);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("error")), QStringList{QStringLiteral("No se pudo completar la grabación...")});
        QCOMPARE(shop.count(QStringLiteral("TARJETAS"), QStringLiteral("TARCOD = 1 AND TARNOM = 'NARANJA' AND "
                                                                       "TARBCO = 'SUR' AND TARCTA = '222' AND TARDIA = 25")),
                 1);
        QCOMPARE(value(shop, QStringLiteral("SELECT TARBCO FROM TARJETAS WHERE TARCOD = 2")).toString(), QString());

        sales::recordCoupon(shop.db(), {QStringLiteral("01/03/2026"), QStringLiteral("15"), QStringLiteral("NARANJA"),
                                        QStringLiteral("C-1"), QStringLiteral("100")});
        QCOMPARE(shop.count(QStringLiteral("CUPONES"), QStringLiteral("CUPTARC = 1 AND CUPDIA = 25 AND CUPCTA = '222'")), 1);
        const QVariant credited = value(shop, QStringLiteral("SELECT CUPFAC FROM CUPONES"));
        QCOMPARE(shop.db().dialect().fromDatabase(credited, vx::FieldType::DateTime).toDateTime().date(),
                 QDate(2026, 3, 26));
    }
};

QTEST_MAIN(TestBanks)
#include "tst_banks.moc"
