// The receipt, issue and movement queries as an operator uses them at levels 2 and 9: all lines,
// a date range, one article, totals over exactly the lines listed, and the journal's reconciliation.
#include "SalesScene.h"

#include "platform/core/ShopFormat.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/PickList.h"
#include "stock/ConsEgr.h"
#include "stock/ConsIng.h"
#include "stock/ConsMov.h"

#include <QRadioButton>

namespace {

void addMovements(QueryShop &shop)
{
    shop.addArticle(QStringLiteral("0000000001234"), QStringLiteral("REMERA"));
    shop.addArticle(QStringLiteral("0000000012300"), QStringLiteral("BUZO"));
    shop.addArticle(QStringLiteral("0000000000123"), QStringLiteral("GORRO"));
    shop.addArticle(QStringLiteral("D'A"), QStringLiteral("DANGELO"));
    const QDateTime today(QDate::currentDate(), QTime(9, 30));
    shop.addReceipt(1, at(10, "00:00:00"), QStringLiteral("0000000001234"), 5);
    shop.addReceipt(2, at(12, "23:59:59"), QStringLiteral("D'A"), 3);
    shop.addReceipt(3, at(11), QStringLiteral("0000000012300"), 0, 0);  // both 0: never listed
    shop.addReceipt(4, today, QStringLiteral("0000000000123"), 2, 4);
    shop.addReceipt(5, at(11), QStringLiteral("GONE"), 7);              // article gone: never listed
    shop.addReceipt(6, at(13, "00:00:00"), QStringLiteral("0000000000123"), QVariant(), 6);
    shop.addIssue(1, at(10), QStringLiteral("0000000001234"), 1);
    shop.addIssue(2, at(11), QStringLiteral("0000000012300"), 2);
    shop.addIssue(3, at(12), QStringLiteral("0000000000123"), 1, 1);
    shop.addIssue(4, at(12), QStringLiteral("D'A"), 4);
}

QString shown(TFConsMovBase &w)
{
    return QStringLiteral("%1 %2 %3").arg(w.list().recordCount()).arg(w.EdCan->text(), w.EdCan2->text());
}

void choose(vx::ui::PickList *list, const QString &text)
{
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClick(list->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(list->lineEdit(), text);
    QTest::keyClick(list->lineEdit(), Qt::Key_Return);
}

}  // namespace

class TestMovementQueries : public QObject {
    Q_OBJECT

private slots:
    void receiptsAllByDateAndByArticle()
    {
        for (const int level : {9, 2}) {
            QueryShop shop;
            addMovements(shop);
            QueryShop::login(level);
            TFConsIng window;
            const QString xlsPath = shop.root.file(QStringLiteral("ingresos.xls"));
            shop.dialogs.fileAnswers << xlsPath;
            QStringList seen;
            QString from, to, description;
            bool costs = false, exports = false;
            whileShown<TFConsIng>(shop, [&](TFConsIng &w) {
                costs = !w.DBGrid1->isColumnHidden(w.DBGrid1->columnOf(QStringLiteral("INGCOS1")));
                exports = w.BExportar->isVisible();
                seen << shown(w);
                QTest::mouseClick(w.BxFec, Qt::LeftButton);  // both dates empty: from 2000 to today
                seen << shown(w);
                from = w.EdDesF->text();
                to = w.EdHasF->text();
                QueryShop::typeAndLeave(w.EdDesF, QStringLiteral("10/11/2026"));
                QueryShop::typeAndLeave(w.EdHasF, QStringLiteral("12/11/2026"));
                QTest::mouseClick(w.BxFec, Qt::LeftButton);
                seen << shown(w);
                if (exports)
                    QTest::mouseClick(w.BExportar, Qt::LeftButton);
                choose(w.CBCod, QStringLiteral("D'A"));
                seen << shown(w);
                snapshot(w);
                description = w.CBDes->currentText();
                choose(w.CBCod, QStringLiteral("0000000012300"));  // no line listed: the list stays
                seen << shown(w);
                QTest::mouseClick(w.BxTodos, Qt::LeftButton);
                seen << shown(w);
                QTest::mouseClick(w.BCerrar, Qt::LeftButton);
            });
            openMovementQuery(window);
            QCOMPARE(seen, (QStringList{"4 10 10", "4 10 10", "2 8 0", "1 3 0", "1 3 0", "4 10 10"}));
            QCOMPARE(from, QStringLiteral("01/01/2000"));
            QCOMPARE(to, vx::shopformat::formatDate(QDate::currentDate()));
            QCOMPARE(description, QStringLiteral("DANGELO"));
            QCOMPARE(costs, level == 9);
            QCOMPARE(exports, level == 9);
            QVERIFY(shop.dialogs.texts(QStringLiteral("error")).isEmpty());
            if (level != 9)
                continue;
            if (LibreOfficeCsv::soffice().isEmpty())
                QSKIP("LibreOffice is not installed.");
            QString error;
            const QStringList sheet = LibreOfficeCsv::convert(xlsPath, &error);
            QVERIFY2(sheet.size() == 4, qPrintable(sheet.join('\n') + error));
            QCOMPARE(sheet[0].section(',', 0, 0), QStringLiteral("Consulta de Ingresos"));
            QCOMPARE(sheet[1], QStringLiteral("Fecha,Nro.Comp.,Codigo,Descripcion,Cant.1,Cant.2,Costo,Proveedor"));
            // The line's own date, not the article's.
            QVERIFY2(sheet[2].startsWith(QStringLiteral("10/11/2026")) && sheet[2].contains(QStringLiteral("REMERA")),
                     qPrintable(sheet[2]));
        }
    }

    void issuesByDescriptionListCodesThatContainIt()
    {
        for (const int level : {9, 2}) {
            QueryShop shop;
            addMovements(shop);
            QueryShop::login(level);
            TFConsEgr window;
            QStringList seen;
            int costsShown = 0;
            whileShown<TFConsEgr>(shop, [&](TFConsEgr &w) {
                for (const QString &field : {QStringLiteral("EGRCOS1"), QStringLiteral("EGRCOS2")})
                    costsShown += w.DBGrid1->isColumnHidden(w.DBGrid1->columnOf(field)) ? 0 : 1;
                seen << shown(w);
                for (const QString &code : {QStringLiteral("123"), QStringLiteral("%"), QStringLiteral("'")}) {
                    QueryShop::typeAndLeave(w.CBCod, code);
                    QTest::mouseClick(w.BxArt, Qt::LeftButton);
                    seen << shown(w);
                }
                snapshot(w);
                QTest::keyClick(&w, Qt::Key_Escape);
            });
            openMovementQuery(window);
            // "123" lists 0000000000123, 0000000001234 and 0000000012300; "%" is only a character.
            QCOMPARE(seen, (QStringList{"4 8 1", "3 4 1", "0 0 0", "1 4 0"}));
            QCOMPARE(costsShown, level == 9 ? 2 : 0);
            QVERIFY(shop.dialogs.texts(QStringLiteral("error")).isEmpty());
        }
    }

    void journalReconcilesWithStock()
    {
        for (const int level : {9, 2}) {
            QueryShop shop;
            shop.addArticle(QStringLiteral("0000000000057"), QStringLiteral("CINTO"), 6, 1);
            shop.addMove(QStringLiteral("I"), at(10), QStringLiteral("0000000000057"), 5);
            shop.addMove(QStringLiteral("I"), at(11), QStringLiteral("0000000000057"), 3, QVariant());
            shop.addMove(QStringLiteral("E"), at(12), QStringLiteral("0000000000057"), 2, 1);
            shop.addMove(QStringLiteral("E"), at(12), QStringLiteral("0000000000099"), 4);  // article gone
            for (int i = 0; i < 501; ++i)
                shop.addMove(QStringLiteral("I"), at(1), QStringLiteral("0000000000077"), 1);
            QueryShop::login(level);
            QStringList seen;
            int columns = 0;
            bool atLast = false;
            shop.dialogs.confirmAnswers << false;
            whileShown<TFMovim>(shop, [&](TFMovim &w) {
                columns = w.DBGrid1->columnCount();
                atLast = w.movements().recNo() == 505 && w.movements().recordCount() == 505
                         && w.movements().fieldByName(QStringLiteral("MOVFEC"))->asDateTime().date() == QDate(2026, 11, 12);
                const auto state = [&w] {
                    return QStringList{w.EdIng1->text(), w.EdEgr1->text(), w.Edit1->text(), w.EdIng2->text(),
                                       w.EdEgr2->text(), w.Edit2->text(), w.DBEdit1->text(), w.DBEdit5->text(),
                                       QString::number(w.movements().recordCount()), w.DBEdit5->isVisible() ? "S" : "-"}
                        .join(QLatin1Char(' '));
                };
                for (const QString &typed : {QStringLiteral("57"), QStringLiteral("99"), QStringLiteral("77")}) {
                    QueryShop::typeAndLeave(w.EdArt, typed);
                    seen << state();
                    if (typed == QStringLiteral("57"))
                        snapshot(w);
                }
                QCOMPARE(w.EdArt->currentText(), QStringLiteral("0000000000077"));
                QueryShop::typeAndLeave(w.EdArt, QString());  // an empty box changes nothing
                seen << state();
                QTest::mouseClick(w.BCerrar, Qt::LeftButton);
            });
            openMovim(nullptr);
            // Received 5 and 3, issued 2 beside a stock of 6; an article gone shows no stock; a No to
            // the question about 501 lines leaves no totals of another list.
            QCOMPARE(seen, (QStringList{"8 2 6 0 1 -1 CINTO 6 3 S", "0 4 -4 0 0 0   1 S", "        501 S",
                                        "        501 S"}));
            QCOMPARE(shop.dialogs.texts(QStringLiteral("confirm")).size(), 1);
            QVERIFY(atLast);
            // Level 9 sees every column of the journal.
            QCOMPARE(columns, level == 9 ? int(data::vendrixSchema().table(QStringLiteral("MOVIM"))->columns.size()) : 7);
        }
    }
};

QTEST_MAIN(TestMovementQueries)
#include "tst_movementqueries.moc"
