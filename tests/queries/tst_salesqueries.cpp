// The sales queries as an operator uses them at levels 2 and 9: by receipt, by article and by
// customer, with totals that cover exactly the lines listed, printed and exported.
#include "SalesScene.h"

#include "customers/ConsVenCli.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/PickList.h"
#include "sales/ConsVentArt.h"
#include "sales/ConsVtas.h"

#include <QLabel>
#include <QRadioButton>

namespace {

void typeDates(QLineEdit *from, QLineEdit *to, const QString &first, const QString &last)
{
    QueryShop::typeAndLeave(from, first);
    QueryShop::typeAndLeave(to, last);
}

bool costShown(vx::ui::DBGrid *grid, const QString &field)
{
    return !grid->isColumnHidden(grid->columnOf(field));
}

// Units, sale, cost, difference and rows listed, as the window shows them.
QString totalsOf(TFSaleLinesQuery &w)
{
    return QStringList{w.EdUni->text(), w.EdPreC->text(), w.EdCUS->text(), w.EdDif->text(),
                       QString::number(w.list().recordCount())}
        .join(QLatin1Char(' '));
}

QStringList pdfLines(const QString &path)
{
    return pdf::pages(path).join(QLatin1Char('\n')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace

class TestSalesQueries : public QObject {
    Q_OBJECT

private slots:
    void receiptsOfARange()
    {
        for (const int level : {9, 2}) {
            QueryShop shop;
            addNovemberSales(shop);
            QueryShop::login(level);
            TFConsVtas window;
            const QString pdfPath = shop.root.file(QStringLiteral("ventas%1.pdf").arg(level));
            shop.dialogs.fileAnswers.enqueue(pdfPath);
            QString total, cost, costLabel;
            int receipts = 0, lines = 0;
            bool costsShown = false;
            whileShown<TFConsVtas>(shop, [&](TFConsVtas &w) {
                QCOMPARE(w.EdDesF->text(), vx::shopformat::formatDate(QDate::currentDate()));
                QCOMPARE(w.Edit1->text(), QStringLiteral("0,00"));
                typeDates(w.EdDesF, w.EdHasF, QStringLiteral("10/11/26"), QStringLiteral("12/11/2026"));
                QCOMPARE(w.EdDesF->text(), QStringLiteral("10/11/2026"));
                QTest::mouseClick(w.BxTot, Qt::LeftButton);
                total = w.Edit1->text();
                receipts = w.receipts().recordCount();
                lines = w.lines().recordCount();
                cost = w.Edit3->text();
                costLabel = w.Label2->text();
                costsShown = w.Edit3->isVisible() && costShown(w.DBGrid2, QStringLiteral("ITECAU"));
                QCOMPARE(w.BImp->isVisible(), true);
                snapshot(w);
                QTest::mouseClick(w.BImp, Qt::LeftButton);
                // From after to: nothing, totalled 0.
                typeDates(w.EdDesF, w.EdHasF, QStringLiteral("12/11/2026"), QStringLiteral("10/11/2026"));
                QTest::mouseClick(w.BxTot, Qt::LeftButton);
                QCOMPARE(w.receipts().recordCount(), 0);
                QCOMPARE(w.Edit1->text(), QStringLiteral("0,00"));
                // A date that is not one says so and leaves the list as it was.
                typeDates(w.EdDesF, w.EdHasF, QStringLiteral("10/11/2026"), QStringLiteral("12/11/2026"));
                QTest::mouseClick(w.BxTot, Qt::LeftButton);
                QueryShop::typeAndLeave(w.EdDesF, QStringLiteral("32/13/2026"));
                QTest::mouseClick(w.BxTot, Qt::LeftButton);
                QCOMPARE(w.receipts().recordCount(), 4);
                QTest::keyClick(&w, Qt::Key_Escape);
            });
            openConsVtas(window);
            QCOMPARE(total, QStringLiteral("170,50"));  // 100,50 + 30 + 40: the cancelled receipt and kind "11" left out
            QCOMPARE(receipts, 4);
            QCOMPARE(lines, 2);
            QCOMPARE(costsShown, level == 9);
            if (level == 9) {
                QCOMPARE(cost, QStringLiteral("8,00"));  // the cancelled line costs nothing
                QCOMPARE(costLabel, QStringLiteral("Costo del Comp.  1"));
            }
            QCOMPARE(shop.dialogs.texts(QStringLiteral("error")).size(), 2);
            QVERIFY(!window.receipts().active());

            // The printed list: every receipt of the range, the cancelled one marked, the screen's total.
            keepCopy(pdfPath);
            QCOMPARE(pdf::info(pdfPath).value(QStringLiteral("Page size")).left(9), QStringLiteral("595 x 842"));
            const QStringList printed = pdfLines(pdfPath);
            const QString all = printed.join(QLatin1Char('\n'));
            QVERIFY2(all.contains(QStringLiteral("Desde el 10/11/2026 - Hasta el 12/11/2026")), qPrintable(all));
            QCOMPARE(printed.filter(QStringLiteral("/11/2026")).size(), 5);  // the title and four receipts
            QCOMPARE(printed.filter(QStringLiteral("Anulado")).size(), 1);
            QVERIFY(printed.filter(QStringLiteral("Anulado")).first().contains(QStringLiteral("50,00")));
            QVERIFY2(all.contains(QRegularExpression(QStringLiteral("Total Ventas:\\s+170,50"))), qPrintable(all));
        }
    }

    void linesOfAnArticle()
    {
        for (const int level : {9, 2}) {
            QueryShop shop;
            addNovemberSales(shop);
            QueryShop::login(level);
            TFConsVentArt window;
            const QString pdfPath = shop.root.file(QStringLiteral("articulos%1.pdf").arg(level));
            const QString xlsPath = shop.root.file(QStringLiteral("articulos%1.xls").arg(level));
            shop.dialogs.fileAnswers << pdfPath << xlsPath;
            QStringList seen;
            bool costs = false;
            whileShown<TFConsVentArt>(shop, [&](TFConsVentArt &w) {
                costs = costShown(w.DBGrid1, QStringLiteral("ITECAU")) && w.EdCUS->isVisible() && w.EdDif->isVisible()
                        && w.BImp->isVisible();
                typeDates(w.EdDes, w.EdHas, QStringLiteral("10/11/2026"), QStringLiteral("12/11/2026"));
                QTest::mouseClick(w.BConsultar, Qt::LeftButton);
                seen << totalsOf(w);
                QTest::mouseClick(w.RBxCod, Qt::LeftButton);
                QueryShop::typeAndLeave(w.CBCod, QStringLiteral("0000000000100"));
                QCOMPARE(w.CBDes->currentText(), QStringLiteral("CAMISA AZUL"));
                QueryShop::typeAndLeave(w.CBCodH, QStringLiteral("0000000000199"));
                QTest::mouseClick(w.BConsultar, Qt::LeftButton);
                seen << totalsOf(w);
                QTest::mouseClick(w.RBxDes, Qt::LeftButton);
                QueryShop::typeAndLeave(w.CBDes, QStringLiteral("PANTALON"));
                QTest::mouseClick(w.BConsultar, Qt::LeftButton);
                seen << totalsOf(w);
                QCOMPARE(w.CBCod->currentText(), QStringLiteral("0000000000150"));
                QueryShop::typeAndLeave(w.CBDes, QStringLiteral("NO EXISTE"));
                QTest::mouseClick(w.BConsultar, Qt::LeftButton);
                seen << totalsOf(w);
                QTest::mouseClick(w.RBxFec, Qt::LeftButton);
                QTest::mouseClick(w.BConsultar, Qt::LeftButton);
                snapshot(w);
                if (level == 9) {
                    QTest::mouseClick(w.BImp, Qt::LeftButton);
                    QTest::mouseClick(w.BExportar, Qt::LeftButton);
                }
                QTest::mouseClick(w.BCerrar, Qt::LeftButton);
            });
            openSaleLinesQuery(window);
            QCOMPARE(costs, level == 9);
            const QStringList expected{"2,00 20,00 8,00 12,00 4",  // null quantity and cancelled lines count 0
                                       "2,00 20,00 8,00 12,00 3",
                                       "0,00 0,00 0,00 0,00 1",    // its only line is cancelled
                                       "0,00 0,00 0,00 0,00 0"};
            QCOMPARE(seen, expected);
            QCOMPARE(shop.messages(), QStringList{QStringLiteral("No hay un artículo con la descripción \"NO EXISTE\".")}
                                          + (level == 9 ? QStringList{QStringLiteral("Exportación Terminada.")} : QStringList{}));
            if (level != 9)
                continue;
            keepCopy(pdfPath);
            QCOMPARE(pdf::info(pdfPath).value(QStringLiteral("Page size")).left(9), QStringLiteral("842 x 595"));
            const QStringList printed = pdfLines(pdfPath);
            QVERIFY(printed.join('\n').contains(
                QRegularExpression(QStringLiteral("CONSULTA DE VENTAS\\s+Desde el 10/11/2026 - Hasta el 12/11/2026"))));
            QCOMPARE(printed.filter(QStringLiteral("Anulado")).size(), 2);
            QVERIFY(printed.filter(QStringLiteral("CAMISA AZUL")).first().contains(QStringLiteral("20,00")));
            QVERIFY(printed.join('\n').contains(QStringLiteral("Diferencia Venta - Costo: 12,00")));
            if (LibreOfficeCsv::soffice().isEmpty())
                QSKIP("LibreOffice is not installed.");
            QString error;
            const QStringList sheet = LibreOfficeCsv::convert(xlsPath, &error);
            QVERIFY2(!sheet.isEmpty(), qPrintable(error));
            QCOMPARE(sheet.first().section(',', 0, 0), QStringLiteral("Consulta de Ventas desde el 10/11/2026 hasta el 12/11/2026"));
            QCOMPARE(sheet.size(), 2 + 4);
            QCOMPARE(sheet.filter(QStringLiteral("Anulado")).size(), 2);
        }
    }

    void linesOfACustomerOrOperator()
    {
        for (const int level : {9, 2}) {
            QueryShop shop;
            addNovemberSales(shop);
            QueryShop::login(level);
            TFConsVenCli window;
            QStringList seen;
            QString goneName = QStringLiteral("?");
            bool costs = false;
            whileShown<TFConsVenCli>(shop, [&](TFConsVenCli &w) {
                costs = costShown(w.DBGrid1, QStringLiteral("ITECAU")) && w.EdCUS->isVisible();
                typeDates(w.EdDes, w.EdHas, QStringLiteral("10/11/2026"), QStringLiteral("12/11/2026"));
                QTest::mouseClick(w.RBxCli, Qt::LeftButton);
                QCOMPARE(w.CBCliente->currentText(), TFConsVenCli::everyone());
                QTest::mouseClick(w.BConsultar, Qt::LeftButton);
                seen << totalsOf(w);
                snapshot(w);
                if (w.list().locate(QStringLiteral("ITECOM"), 3))
                    goneName = w.list().fieldByName(QStringLiteral("CLIAPE"))->asString();
                QueryShop::typeAndLeave(w.CBCliente, QStringLiteral("PEREZ ANA"));
                QTest::mouseClick(w.BConsultar, Qt::LeftButton);
                seen << totalsOf(w);
                QueryShop::typeAndLeave(w.CBCliente, QStringLiteral("NADIE"));
                QTest::mouseClick(w.BConsultar, Qt::LeftButton);
                seen << totalsOf(w);
                QTest::mouseClick(w.RBxOpe, Qt::LeftButton);
                QueryShop::typeAndLeave(w.CBOperador, QStringLiteral("LUIS OPE"));
                QTest::mouseClick(w.BConsultar, Qt::LeftButton);
                seen << totalsOf(w);
                QTest::keyClick(&w, Qt::Key_Escape);
            });
            openSaleLinesQuery(window);
            QCOMPARE(costs, level == 9);
            const QStringList expected{"2,00 20,00 8,00 12,00 4",  // as many as by article
                                       "2,00 20,00 8,00 12,00 2",
                                       "0,00 0,00 0,00 0,00 0",
                                       "0,00 0,00 0,00 0,00 1"};
            QCOMPARE(seen, expected);
            QCOMPARE(goneName, QString());
            QCOMPARE(shop.messages(), QStringList{QStringLiteral("No hay un cliente llamado \"NADIE\".")});
        }
    }
};

QTEST_MAIN(TestSalesQueries)
#include "tst_salesqueries.moc"
