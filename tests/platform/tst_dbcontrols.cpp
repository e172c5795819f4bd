#include "UiTestShop.h"

#include "platform/db/DataSource.h"
#include "platform/db/DbError.h"
#include "platform/db/Table.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBImage.h"
#include "platform/ui/DBMemo.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/DBText.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/PickList.h"

#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace vx;
using namespace vx::ui;

class TestDBControls : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Schema m_schema = uitest::schema();
    std::unique_ptr<Connection> m_db;

    QVariant stored(const char *column, const char *code)
    {
        return m_db->scalar(QStringLiteral("SELECT %1 FROM ITEMS WHERE CODE = ?").arg(QLatin1String(column)),
                            {QString::fromLatin1(code)});
    }

    QString code(Dataset &ds) { return ds.fieldByName(QStringLiteral("CODE"))->asString(); }

    void show(QWidget &widget)
    {
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
    }

private slots:
    void init()
    {
        m_db = uitest::openShop(m_dir, m_schema,
                                QStringLiteral("%1%2.db").arg(QTest::currentTestFunction(), QTest::currentDataTag()));
    }
    void cleanup() { m_db.reset(); }

    void dbEditShowsTypesAndPosts()
    {
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *name = new DBEdit(&window);
        auto *price = new DBEdit(&window);
        auto *codeBox = new DBEdit(&window);
        auto *other = new QLineEdit(&window);
        for (QWidget *w : {static_cast<QWidget *>(name), static_cast<QWidget *>(price),
                           static_cast<QWidget *>(codeBox), static_cast<QWidget *>(other)})
            layout->addWidget(w);
        name->setDataSource(&source);
        name->setDataField(QStringLiteral("NAME"));
        name->setUpperCase(true);
        price->setDataSource(&source);
        price->setDataField(QStringLiteral("PRICE"));
        codeBox->setDataSource(&source);
        codeBox->setDataField(QStringLiteral("CODE"));
        items.open();
        show(window);

        QCOMPARE(name->text(), QStringLiteral("REMERA BLANCA"));
        QCOMPARE(codeBox->maxLength(), 13);  // the field's size
        items.setRecNo(3);
        QCOMPARE(price->text(), QStringLiteral("1.234,50"));  // display text while not focused
        price->setFocus();
        QCOMPARE(price->text(), QStringLiteral("1234,5"));  // edit text for typing
        other->setFocus();
        QCOMPARE(price->text(), QStringLiteral("1.234,50"));

        // Typing starts editing; posting writes the box through updateData.
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("camisa verde"));
        QCOMPARE(name->text(), QStringLiteral("CAMISA VERDE"));
        QCOMPARE(items.state(), Dataset::State::Edit);
        QCOMPARE(items.fieldByName(QStringLiteral("NAME"))->asString(), QStringLiteral("CAMISA AZUL"));
        items.post();
        QCOMPARE(stored("NAME", "0003").toString(), QStringLiteral("CAMISA VERDE"));

        // Leaving the box writes the field at once.
        price->setFocus();
        price->selectAll();
        QTest::keyClicks(price, QStringLiteral("99,5"));
        other->setFocus();
        QCOMPARE(items.fieldByName(QStringLiteral("PRICE"))->asFloat(), 99.5);
        QCOMPARE(price->text(), QStringLiteral("99,50"));
        items.post();
        QCOMPARE(stored("PRICE", "0003").toDouble(), 99.5);

        // A text the field refuses makes the post fail, and the box keeps it.
        price->setFocus();
        price->selectAll();
        QTest::keyClicks(price, QStringLiteral("mucho"));
        QVERIFY_THROWS_EXCEPTION(DbError, items.post());
        QCOMPARE(items.state(), Dataset::State::Edit);
        QCOMPARE(price->text(), QStringLiteral("mucho"));
        items.cancel();
        QCOMPARE(price->text(), QStringLiteral("99,5"));  // focused: the edit text again
        QCOMPARE(stored("PRICE", "0003").toDouble(), 99.5);

        // Moving on shows the next record; a read-only box refuses typing.
        items.next();
        QCOMPARE(name->text(), QStringLiteral("CAMISA ROJA"));
        name->setReadOnly(true);
        QVERIFY(static_cast<QLineEdit *>(name)->isReadOnly());
        QTest::keyClicks(name, QStringLiteral("X"));
        QCOMPARE(items.state(), Dataset::State::Browse);
        items.close();
        QCOMPARE(name->text(), QString());
    }

    void dbTextMemoAndImageFollowTheRecord()
    {
        // A photo stored with a Windows path in other letter case than the file on disk.
        const QString root = m_dir.filePath(QStringLiteral("root"));
        qputenv("VENDRIX_ROOT", root.toUtf8());
        QDir().mkpath(root + QStringLiteral("/Orvanesys/Imagenes"));
        QImage photo(40, 20, QImage::Format_RGB32);
        photo.fill(Qt::red);
        QVERIFY(photo.save(root + QStringLiteral("/Orvanesys/Imagenes/Camisa.bmp"), "BMP"));
        QImage empty(10, 10, QImage::Format_RGB32);
        empty.fill(Qt::gray);
        QVERIFY(empty.save(root + QStringLiteral("/Orvanesys/Imagenes/SinImg.bmp"), "BMP"));
        m_db->execute(QStringLiteral("UPDATE ITEMS SET PHOTO = 'C:\\ORVANESYS\\IMAGENES\\CAMISA.BMP', NOTE = 'linea 1' "
                                     "WHERE CODE = '0003'"));

        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *price = new DBText(&window);
        auto *note = new DBMemo(&window);
        auto *image = new DBImage(&window);
        auto *other = new QLineEdit(&window);
        layout->addWidget(price);
        layout->addWidget(note);
        layout->addWidget(image);
        layout->addWidget(other);
        price->setDataSource(&source);
        price->setDataField(QStringLiteral("PRICE"));
        note->setDataSource(&source);
        note->setDataField(QStringLiteral("NOTE"));
        image->setDataSource(&source);
        image->setDataField(QStringLiteral("PHOTO"));
        image->setPlaceholder(QStringLiteral("C:\\Orvanesys\\Imagenes\\SINIMG.BMP"));
        items.open();
        show(window);

        QCOMPARE(price->text(), QStringLiteral("10,00"));
        QCOMPARE(image->picture().size(), QSize(10, 10));  // no photo: the placeholder
        items.setRecNo(3);
        QCOMPARE(price->text(), QStringLiteral("1.234,50"));
        QCOMPARE(note->toPlainText(), QStringLiteral("linea 1"));
        QCOMPARE(image->picture().size(), QSize(40, 20));
        QCOMPARE(QColor(image->picture().pixel(5, 5)), QColor(Qt::red));

        note->setFocus();
        note->moveCursor(QTextCursor::End);
        QTest::keyClick(note, Qt::Key_Return);
        QTest::keyClicks(note, QStringLiteral("linea 2"));
        QCOMPARE(items.state(), Dataset::State::Edit);
        other->setFocus();
        QCOMPARE(items.fieldByName(QStringLiteral("NOTE"))->asString(), QStringLiteral("linea 1\nlinea 2"));
        items.post();
        QCOMPARE(stored("NOTE", "0003").toString(), QStringLiteral("linea 1\nlinea 2"));
        window.grab().save(m_dir.filePath(QStringLiteral("controls.png")));
        qunsetenv("VENDRIX_ROOT");
    }

    void navigatorButtonsActAndFollowTheDataset()
    {
        FakeDialogs fake;
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        DBNavigator nav;
        nav.setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next
                              | NavigatorButton::Last | NavigatorButton::Refresh);
        nav.setHint(NavigatorButton::Refresh, QStringLiteral("Refresh de Pantalla"));
        nav.setDataSource(&source);
        QSignalSpy clicked(&nav, &DBNavigator::clicked);
        const auto button = [&nav](NavigatorButton b) { return nav.button(b); };
        items.open();
        show(nav);

        QVERIFY(button(NavigatorButton::Next)->isVisible());
        QVERIFY(!button(NavigatorButton::Insert)->isVisible());
        QVERIFY(!button(NavigatorButton::Post)->isVisible());
        QCOMPARE(button(NavigatorButton::First)->toolTip(), QStringLiteral("Primer Registro"));
        QCOMPARE(nav.hint(NavigatorButton::Refresh), QStringLiteral("Refresh de Pantalla"));
        // At the first record only the moves forward are possible.
        QVERIFY(!button(NavigatorButton::First)->isEnabled());
        QVERIFY(!button(NavigatorButton::Prior)->isEnabled());
        QVERIFY(button(NavigatorButton::Next)->isEnabled());

        QTest::mouseClick(button(NavigatorButton::Next), Qt::LeftButton);
        QCOMPARE(code(items), QStringLiteral("0002"));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().first().value<NavigatorButton>(), NavigatorButton::Next);
        QTest::mouseClick(button(NavigatorButton::Last), Qt::LeftButton);
        QCOMPARE(code(items), QStringLiteral("0005"));
        QVERIFY(!button(NavigatorButton::Next)->isEnabled());
        QVERIFY(!button(NavigatorButton::Last)->isEnabled());
        QTest::mouseClick(button(NavigatorButton::Prior), Qt::LeftButton);
        QCOMPARE(code(items), QStringLiteral("0004"));
        QTest::mouseClick(button(NavigatorButton::First), Qt::LeftButton);
        QCOMPARE(code(items), QStringLiteral("0001"));
        // A move made by a window's code shows at once as well.
        items.last();
        QVERIFY(!button(NavigatorButton::Next)->isEnabled());
        QVERIFY(button(NavigatorButton::Prior)->isEnabled());
        items.first();
        QVERIFY(!button(NavigatorButton::Prior)->isEnabled());
        QVERIFY(button(NavigatorButton::Next)->isEnabled());

        // Refresh shows rows other stations added.
        m_db->execute(QStringLiteral("INSERT INTO ITEMS (CODE, NAME) VALUES ('0000', 'NUEVO')"));
        QCOMPARE(items.recordCount(), 5);
        QTest::mouseClick(button(NavigatorButton::Refresh), Qt::LeftButton);
        QCOMPARE(items.recordCount(), 6);

        // Editing buttons.
        nav.setVisibleButtons(NavigatorButtons(0x3ff));
        QVERIFY(button(NavigatorButton::Edit)->isEnabled());
        QVERIFY(!button(NavigatorButton::Post)->isEnabled());
        nav.click(NavigatorButton::Edit);
        QCOMPARE(items.state(), Dataset::State::Edit);
        QVERIFY(button(NavigatorButton::Post)->isEnabled());
        QVERIFY(button(NavigatorButton::Cancel)->isEnabled());
        QVERIFY(!button(NavigatorButton::Refresh)->isEnabled());
        items.fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("CAMBIADO"));
        nav.click(NavigatorButton::Cancel);
        QCOMPARE(items.state(), Dataset::State::Browse);
        QCOMPARE(items.fieldByName(QStringLiteral("NAME"))->asString(), QStringLiteral("REMERA BLANCA"));

        nav.click(NavigatorButton::Insert);
        QCOMPARE(items.state(), Dataset::State::Insert);
        items.fieldByName(QStringLiteral("CODE"))->setAsString(QStringLiteral("0009"));
        items.fieldByName(QStringLiteral("NAME"))->setAsString(QString(31, QLatin1Char('N')));  // too long
        nav.click(NavigatorButton::Post);
        QCOMPARE(fake.texts(QStringLiteral("error")).size(), 1);
        QCOMPARE(items.state(), Dataset::State::Insert);
        items.fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("NUEVE"));
        nav.click(NavigatorButton::Post);
        QCOMPARE(stored("NAME", "0009").toString(), QStringLiteral("NUEVE"));

        // Deleting asks first: No keeps the record, Yes deletes it.
        fake.confirmAnswers << false << true;
        nav.click(NavigatorButton::Delete);
        QCOMPARE(fake.texts(QStringLiteral("confirm")), QStringList({"¿Eliminar el registro?"}));
        QVERIFY(stored("NAME", "0009").isValid());
        nav.click(NavigatorButton::Delete);
        QVERIFY(!stored("NAME", "0009").isValid());
        nav.setConfirmDelete(false);
        const QString doomed = code(items);
        nav.click(NavigatorButton::Delete);
        QCOMPARE(fake.texts(QStringLiteral("confirm")).size(), 2);
        QVERIFY(!stored("NAME", doomed.toLatin1().constData()).isValid());

        items.close();
        for (QToolButton *b : nav.findChildren<QToolButton *>())
            QVERIFY(!b->isEnabled());
        nav.grab().save(m_dir.filePath(QStringLiteral("navigator.png")));
    }

    void amountAndDateKeyFilters()
    {
        QLineEdit amount;
        QLineEdit single;
        QLineEdit date;
        filterAmountKeys(&amount);
        filterAmountKeys(&single, true);
        filterDateKeys(&date);

        QTest::keyClicks(&amount, QStringLiteral("1.5"));
        QCOMPARE(amount.text(), QStringLiteral("1,5"));
        QTest::keyClicks(&amount, QStringLiteral("a b-2,3.x"));
        QCOMPARE(amount.text(), QStringLiteral("1,5-2,3,"));  // without the one-comma rule commas repeat
        QTest::keyClick(&amount, Qt::Key_Backspace);
        QCOMPARE(amount.text(), QStringLiteral("1,5-2,3"));
        QTest::keyClick(&amount, Qt::Key_G, Qt::ControlModifier);  // the bell passes and types nothing
        QCOMPARE(amount.text(), QStringLiteral("1,5-2,3"));

        QTest::keyClicks(&single, QStringLiteral("12.50.7,3"));
        QCOMPARE(single.text(), QStringLiteral("12,5073"));
        // A comma inside the selection being replaced does not count.
        single.setSelection(2, 1);
        QTest::keyClicks(&single, QStringLiteral("."));
        QCOMPARE(single.text(), QStringLiteral("12,5073"));

        QTest::keyClicks(&date, QStringLiteral("1a2/05-2026."));
        QCOMPARE(date.text(), QStringLiteral("12/052026"));
        QTest::keyClick(&date, Qt::Key_Left);  // keys that type nothing still work
        QTest::keyClicks(&date, QStringLiteral("/"));
        QCOMPARE(date.text(), QStringLiteral("12/05202/6"));

        // A filter of its own: levels 1 to 9, telling the operator what is refused.
        QLineEdit level;
        KeyFilter levels(QStringLiteral("123456789"));
        QStringList refused;
        levels.setRejectHandler([&refused](QChar c) { refused << QString(c); });
        levels.attach(&level);
        QTest::keyClicks(&level, QStringLiteral("0x12"));
        QCOMPARE(level.text(), QStringLiteral("12"));
        QCOMPARE(refused, QStringList({"0", "x"}));

        // Editable combo boxes are filtered through their line edit.
        QComboBox combo;
        combo.setEditable(true);
        filterAmountKeys(&combo, true);
        QTest::keyClicks(combo.lineEdit(), QStringLiteral("3.25,5q"));
        QCOMPARE(combo.currentText(), QStringLiteral("3,255"));
    }

    void upperCaseLimitedEdit()
    {
        Edit edit(5, true);
        QTest::keyClicks(&edit, QStringLiteral("abcdefg"));
        QCOMPARE(edit.text(), QStringLiteral("ABCDE"));
        edit.setText(QStringLiteral("ñu"));
        QCOMPARE(edit.text(), QStringLiteral("ÑU"));
        edit.setUpperCase(false);
        QTest::keyClicks(&edit, QStringLiteral("z"));
        QCOMPARE(edit.text(), QStringLiteral("ÑUz"));
        QVERIFY(!edit.upperCase());
    }

    // A box's length limits what the operator types or pastes, never what the program sets: a price
    // of 23174,40 loaded into a box for six characters keeps every digit.
    void aLengthLimitsOnlyTheOperator_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("edit") << QStringLiteral("edit");
        QTest::newRow("pick list") << QStringLiteral("pick list");
        QTest::newRow("bound box") << QStringLiteral("bound");
    }
    void aLengthLimitsOnlyTheOperator()
    {
        QFETCH(QString, kind);
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        DataSource source(&items);
        Edit edit;
        PickList list;
        DBEdit bound;
        QLineEdit *box = &edit;
        if (kind == QLatin1String("edit")) {
            edit.setMaxLength(6);
        } else if (kind == QLatin1String("pick list")) {
            list.setAutoComplete(false);
            list.setMaxLength(6);
            box = list.lineEdit();
        } else {
            bound.setDataSource(&source);
            bound.setDataField(QStringLiteral("NAME"));
            bound.setMaxLength(6);
            items.open();
            box = &bound;
        }
        QCOMPARE(typedLength(box), 6);
        show(*box->window());
        box->setFocus();
        if (box == &bound) {
            items.edit();
            items.fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("23174,40"));
            items.post();
        } else {
            box->setText(QStringLiteral("23174,40"));
        }
        QCOMPARE(box->text(), QStringLiteral("23174,40"));
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, QStringLiteral("9"));
        QCOMPARE(box->text(), QStringLiteral("23174,40"));  // longer still: refused
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), QStringLiteral("23174,4"));   // shorter: allowed
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("1234567"));
        QCOMPARE(box->text(), QStringLiteral("123456"));
        box->selectAll();
        box->insert(QStringLiteral("abcdefgh"));              // a paste, as the operator's
        QCOMPARE(box->text(), QStringLiteral("123456"));
    }

    void pickListOfManyCodesCompletesFast()
    {
        const int articles = 200000;
        QStringList codes;
        codes.reserve(articles);
        for (int i = articles; i >= 1; --i)  // filled in reverse: the list sorts them
            codes << QStringLiteral("%1").arg(i * 7, 13, 10, QLatin1Char('0'));
        PickList list;
        list.setMaxLength(13);
        QElapsedTimer timer;
        timer.start();
        list.setItems(codes);
        const qint64 filled = timer.elapsed();
        show(list);
        const qint64 shown = timer.elapsed();
        QCOMPARE(list.count(), articles);
        QCOMPARE(list.itemText(0), QStringLiteral("0000000000007"));
        QCOMPARE(list.itemText(articles - 1), QStringLiteral("0000001400000"));

        list.setFocus();
        timer.restart();
        QTest::keyClicks(list.lineEdit(), QStringLiteral("000000098"));
        const qint64 typed = timer.elapsed();
        // The first code that begins with the text (98 = 7 x 14), completed inline.
        QCOMPARE(list.lineEdit()->text(), QStringLiteral("0000000980000"));
        QCOMPARE(list.lineEdit()->selectedText(), QStringLiteral("0000"));
        QCOMPARE(list.completer()->currentCompletion(), QStringLiteral("0000000980000"));
        qInfo("pick list of %d codes: filled %lld ms, shown %lld ms, 9 keys typed %lld ms", articles, filled,
              shown - filled, typed);

        // Without completion the text stays as typed.
        list.setAutoComplete(false);
        list.lineEdit()->clear();
        QTest::keyClicks(list.lineEdit(), QStringLiteral("000000098"));
        QCOMPARE(list.lineEdit()->text(), QStringLiteral("000000098"));
    }

    void pickListSortsWithoutRegardToCase()
    {
        PickList list;
        list.setItems({QStringLiteral("camisa"), QStringLiteral("BUZO"), QStringLiteral("Campera"), QStringLiteral("abrigo")});
        QCOMPARE(list.items(), QStringList({"abrigo", "BUZO", "camisa", "Campera"}));
        list.addText(QStringLiteral("CAMISETA"));
        list.addText(QStringLiteral("zapato"));
        QCOMPARE(list.items(), QStringList({"abrigo", "BUZO", "camisa", "CAMISETA", "Campera", "zapato"}));
        list.setUpperCase(true);
        show(list);
        list.setFocus();
        QTest::keyClicks(list.lineEdit(), QStringLiteral("cami"));
        QCOMPARE(list.currentText(), QStringLiteral("CAMISA"));
        QCOMPARE(list.lineEdit()->selectedText(), QStringLiteral("SA"));
        list.clearItems();
        QCOMPARE(list.count(), 0);
        QCOMPARE(list.currentText(), QStringLiteral("CAMISA"));
        list.setSorted(false);
        list.setItems({QStringLiteral("b"), QStringLiteral("a")});
        QCOMPARE(list.items(), QStringList({"b", "a"}));
    }

    void fieldTextsReadWithoutMovingTheCursor()
    {
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("NAME"));
        DataSource source(&items);
        QSignalSpy scrolled(&source, &DataSource::dataSetScrolled);
        items.open();
        items.setRecNo(2);
        scrolled.clear();
        QList<int> progress;
        const QStringList codes = fieldTexts(items, QStringLiteral("CODE"), [&progress](int done) { progress << done; });
        QCOMPARE(codes, QStringList({"0005", "0003", "0004", "0002", "0001"}));
        QCOMPARE(progress.last(), 5);
        QCOMPARE(items.recNo(), 2);    // the cursor stayed where it was
        QCOMPARE(scrolled.size(), 0);  // and bound controls heard nothing
        QVERIFY_THROWS_EXCEPTION(DbError, fieldTexts(items, QStringLiteral("NOPE")));

        // Several lists in one walk, in a filtered order.
        items.setFilter(QStringLiteral("QTY > 1"));
        items.setFiltered(true);
        const QList<QStringList> lists = fieldTexts(items, {QStringLiteral("CODE"), QStringLiteral("DONE")});
        QCOMPARE(lists, QList<QStringList>({{"0005", "0003", "0002"}, {"True", "False", "False"}}));
    }
};

QTEST_MAIN(TestDBControls)
#include "tst_dbcontrols.moc"
