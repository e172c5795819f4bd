// The sales window's article pick lists on a shop of a few hundred articles: what each list holds
// for what the operator typed, articles another workstation creates while the window is open, and
// the drop-down worked with the keyboard alone.
#include "VentasShop.h"

#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "sales/Ventas.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>

namespace {

constexpr int articleCount = 300;

QString ownCode(int i)
{
    return QString::number(i * 37).rightJustified(13, QLatin1Char('0'));
}

QString description(int i)
{
    static const QStringList garments{"CAMISA", "CAMPERA", "ÑANDU", "REMERA", "PANTALON"};
    static const QStringList colours{"AZUL", "ROJO", "NEGRO", "BLANCO"};
    return QStringLiteral("%1 %2 T%3").arg(garments[i % garments.size()], colours[i % colours.size()]).arg(i);
}

QString origin(int i)
{
    // Several articles share an origin code: the list shows it once.
    return (i % 3 == 0 ? QStringLiteral("ÑX-%1") : QStringLiteral("AB-%1")).arg(i / 2);
}

}  // namespace

class TestVentasLists : public QObject {
    Q_OBJECT

    std::unique_ptr<VentasShop> shop;
    std::unique_ptr<vx::ui::FakeDialogs> dialogs;
    std::unique_ptr<TFVentas> w;
    QList<QStringList> columns{{}, {}, {}};

    int lines() { return shop->count(QStringLiteral("TMP1")); }

    // Typed key by key; QTest types ASCII only, so "ñ" goes as the key event a keyboard sends.
    static void type(QWidget *box, const QString &text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(box, char(c.unicode()));
                continue;
            }
            const auto key = Qt::Key(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Press, box, key, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, box, key, QString(c), Qt::NoModifier);
        }
    }

    // What a list should hold for a prefix: the distinct texts that begin with it, by code point,
    // the first page of them.
    QStringList expected(int column, const QString &prefix, int page)
    {
        QStringList texts;
        for (const QString &text : std::as_const(columns[column]))
            if (text.startsWith(prefix) && !texts.contains(text))
                texts << text;
        std::sort(texts.begin(), texts.end());
        return texts.mid(0, page);
    }

private slots:
    void init()
    {
        shop = std::make_unique<VentasShop>();
        shop->db().beginTransaction();
        for (int i = 1; i <= articleCount; ++i) {
            shop->addArticle(ownCode(i), description(i), origin(i), i % 7, 100 + i);
            columns[0] << ownCode(i);
            columns[1] << description(i);
            columns[2] << origin(i);
        }
        shop->db().commit();
        dialogs = std::make_unique<vx::ui::FakeDialogs>();
        w = std::make_unique<TFVentas>();
        QVERIFY(w->prepareOpening());
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }

    void cleanup()
    {
        w.reset();
        dialogs.reset();
        shop.reset();
    }

    void listsHoldWhatBeginsWithTheTypedText_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("nothing typed") << "CBCod" << 0 << "" << "";
        QTest::newRow("code with leading zeros") << "CBCod" << 0 << "000000000" << "000000000";
        QTest::newRow("code, narrower") << "CBCod" << 0 << "00000000011" << "00000000011";
        QTest::newRow("code nobody has") << "CBCod" << 0 << "9" << "9";
        QTest::newRow("description in lower case") << "CBDes" << 1 << "camp" << "CAMP";
        QTest::newRow("description with Ñ") << "CBDes" << 1 << "ñandu r" << "ÑANDU R";
        QTest::newRow("origin code") << "CBCodP" << 2 << "ab-1" << "AB-1";
        QTest::newRow("origin code with ñ") << "CBCodP" << 2 << "ñx-" << "ÑX-";
    }

    void listsHoldWhatBeginsWithTheTypedText()
    {
        QFETCH(QString, box);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, prefix);
        auto *list = w->findChild<vx::ui::PickList *>(box);
        QVERIFY(list);
        list->setFocus();
        type(list->lineEdit(), typed);
        const int page = 50;
        QCOMPARE(list->items(), expected(column, prefix, page));
        if (box == QLatin1String("CBDes") && !list->items().isEmpty()) {
            // The description completes inline; the completed part is selected.
            QCOMPARE(list->currentText(), list->items().constFirst());
            QCOMPARE(list->lineEdit()->selectedText(), list->items().constFirst().mid(prefix.size()));
        } else {
            QCOMPARE(list->currentText(), prefix);
        }
        QCOMPARE(lines(), 0);
    }

    void anotherWorkstationsArticleIsThereAtTheNextKey()
    {
        const QString code = QStringLiteral("0000000000005");
        // The lists already answered the first keys when the other workstation writes.
        QTest::keyClicks(w->CBCod->lineEdit(), QStringLiteral("00000000000"));
        QVERIFY(!w->CBCod->items().contains(code));
        QTest::keyClicks(w->CBDes, QStringLiteral("BU"));
        QVERIFY(w->CBDes->items().isEmpty());
        std::unique_ptr<vx::Connection> other = shop->db().openAnother();
        QSqlQuery insert(other->database());
        insert.prepare(QStringLiteral("INSERT INTO STOCK (ARTCMCT, ARTDES, ARTCOD, ARTEX1, ARTVEN1, ARTVEN2, ARTVEN3, "
                                      "ARTVEN4) VALUES (?, 'BUZO NUEVO', 'NEW-1', 4, 55, 0, 0, 0)"));
        insert.addBindValue(code);
        QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));

        QTest::keyClick(w->CBCod->lineEdit(), '0');
        QVERIFY(w->CBCod->items().contains(code));
        QTest::keyClick(w->CBDes, 'Z');
        QCOMPARE(w->CBDes->items(), QStringList{QStringLiteral("BUZO NUEVO")});

        // Scanned: found and added, without reopening the window.
        w->CBCod->lineEdit()->clear();
        QTest::keyClicks(w->CBCod->lineEdit(), code);
        QVERIFY(dialogs->shown.isEmpty());
        QSqlQuery line = shop->db().execute(QStringLiteral("SELECT TM1CHR1, TM1CHR10, TM1PRE1 FROM TMP1"));
        QVERIFY(line.next());
        QCOMPARE(line.value(0).toString(), code);
        QCOMPARE(line.value(1).toString(), QStringLiteral("BUZO NUEVO"));
        QCOMPARE(line.value(2).toDouble(), 55.0);
        QVERIFY(!line.next());
    }

    void dropDownOpensAndChoosesWithTheKeyboard()
    {
        // The customer box holds the name the window put there: its drop-down lists from the first
        // customer, one added since the window opened included.
        data::RowInserter(shop->db(), QStringLiteral("CLIENTE"), {QStringLiteral("CLICOD"), QStringLiteral("CLIAPE")})
            .insert({2, QStringLiteral("ABREGU JUAN")});
        w->CBCliente->setFocus();
        QTest::keyClick(w->CBCliente, Qt::Key_F4);
        QTRY_VERIFY(w->CBCliente->view()->isVisible());
        QCOMPARE(w->CBCliente->items(), QStringList({"ABREGU JUAN", "CONSUMIDOR FINAL"}));
        QCOMPARE(w->CBCliente->currentText(), QStringLiteral("CONSUMIDOR FINAL"));
        QTest::keyClick(w->CBCliente->view(), Qt::Key_Escape);
        QTRY_VERIFY(!w->CBCliente->view()->isVisible());

        // Own code: a few digits, Alt+Down opens the list, Down and Enter choose: one line.
        w->CBCod->setFocus();
        QTest::keyClicks(w->CBCod->lineEdit(), QStringLiteral("00000000003"));
        QTest::keyClick(w->CBCod, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(w->CBCod->view()->isVisible());
        const QStringList shown = expected(0, QStringLiteral("00000000003"), 50);
        QCOMPARE(w->CBCod->items(), shown);
        QTest::keyClick(w->CBCod->view(), Qt::Key_Down);
        QTest::keyClick(w->CBCod->view(), Qt::Key_Return);
        QTRY_VERIFY(!w->CBCod->view()->isVisible());
        QSqlQuery line = shop->db().execute(QStringLiteral("SELECT TM1CHR1 FROM TMP1"));
        QVERIFY(line.next());
        QCOMPARE(line.value(0).toString(), shown.at(1));
        QVERIFY(!line.next());
        QVERIFY(!w->entryArmed());

        // Description: F4 opens the whole list; End reaches past the first page, which is read as
        // the list scrolls; Enter shows that article without adding it.
        w->CBDes->setFocus();
        QTest::keyClick(w->CBDes, Qt::Key_F4);
        QTRY_VERIFY(w->CBDes->view()->isVisible());
        QTest::keyClick(w->CBDes->view(), Qt::Key_End);
        QTest::keyClick(w->CBDes->view(), Qt::Key_End);
        QVERIFY(w->CBDes->count() > 50);
        const QString last = w->CBDes->itemText(w->CBDes->view()->currentIndex().row());
        QCOMPARE(w->CBDes->items(), expected(1, QString(), int(w->CBDes->count())));
        QTest::keyClick(w->CBDes->view(), Qt::Key_Return);
        QTRY_VERIFY(!w->CBDes->view()->isVisible());
        const int i = columns[1].indexOf(last);
        QVERIFY(i >= 0);
        QCOMPARE(w->CBCod->currentText(), columns[0].at(i));
        QCOMPARE(w->EdPre->text(), QStringLiteral("%1,00").arg(101 + i));
        QCOMPARE(lines(), 1);

        // Origin code: Down in the closed box takes the first code that begins with what was typed,
        // and its article becomes a line.
        w->CBCodP->setFocus();
        QTest::keyClicks(w->CBCodP->lineEdit(), QStringLiteral("ab-1"));
        QTest::keyClick(w->CBCodP->lineEdit(), Qt::Key_Down);
        QCOMPARE(lines(), 2);
        QCOMPARE(shop->db().scalar(QStringLiteral("SELECT TM1CHR1 FROM TMP1 WHERE TM1CHR1 = ?"), {ownCode(2)}).toString(),
                 ownCode(2));
    }
};

QTEST_MAIN(TestVentasLists)
#include "tst_ventas_lists.moc"
