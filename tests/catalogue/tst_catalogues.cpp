// The brand, colour and size windows driven as an operator would, and their save and delete.
#include "CatalogueShop.h"

#include "catalogue/ABMColores.h"
#include "catalogue/ABMEmp.h"
#include "catalogue/ABMTalles.h"
#include "platform/ui/Edit.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

namespace {

std::unique_ptr<TFCatalogo> makeWindow(const QString &kind)
{
    if (kind == QLatin1String("MARCAS"))
        return std::make_unique<TFEmpresas>(nullptr);
    if (kind == QLatin1String("COLORES"))
        return std::make_unique<TFColores>(nullptr);
    return std::make_unique<TFTalles>(nullptr);
}

struct CatalogueScene {
    CatalogueShop shop;
    std::unique_ptr<TFCatalogo> window;

    explicit CatalogueScene(const QString &table, const std::function<void(CatalogueShop &)> &fill = {})
    {
        if (fill)
            fill(shop);
        window = makeWindow(table);
        window->table().open();
        window->show();
        window->activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(window.get()); }
    const catalogue::CatalogueKind &kind() const { return window->kind(); }
    void addEntry(int code, const QString &description)
    {
        shop.db().execute(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)").arg(kind().table, kind().codeField, kind().descField),
                          {double(code), description});
    }
    void typeAndLeave(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    int entries(int code) { return shop.count(kind().table, kind().codeField + QStringLiteral(" = ?"), {double(code)}); }
    QStringList messages() const { return shop.dialogs.texts(QStringLiteral("message")); }
};

void kinds()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("brands") << QStringLiteral("MARCAS");
    QTest::newRow("colours") << QStringLiteral("COLORES");
    QTest::newRow("sizes") << QStringLiteral("TALLES");
}

} // namespace

class TestCatalogues : public QObject {
    Q_OBJECT

private slots:
    void codeBoxProposesPadsAndSaves_data() { kinds(); }
    void codeBoxProposesPadsAndSaves()
    {
        QFETCH(QString, table);
        CatalogueScene scene(table);
        QVERIFY(scene.ready());
        QTest::mouseClick(scene.window->EdCod, Qt::LeftButton);
        QCOMPARE(scene.window->EdCod->text(), QStringLiteral("1"));
        scene.typeAndLeave(scene.window->EdCod, QStringLiteral("5"));
        QCOMPARE(scene.window->EdCod->text(), table == QLatin1String("MARCAS") ? QStringLiteral("005") : QStringLiteral("05"));
        scene.typeAndLeave(scene.window->EdDes, QStringLiteral("rojo"));
        QTest::mouseClick(scene.window->BGrabar, Qt::LeftButton);
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Proceso Terminado...")});
        // The same code again replaces the description rather than adding a second entry.
        scene.typeAndLeave(scene.window->EdCod, QStringLiteral("005"));
        QCOMPARE(scene.window->EdDes->text(), QStringLiteral("ROJO"));
        QCOMPARE(scene.messages().last(), QStringLiteral("Codigo Existente..."));
        scene.typeAndLeave(scene.window->EdDes, QStringLiteral("BORDO"));
        QTest::mouseClick(scene.window->BGrabar, Qt::LeftButton);
        QCOMPARE(scene.entries(5), 1);
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT %1 FROM %2").arg(scene.kind().descField, table)).toString(),
                 QStringLiteral("BORDO"));
        // A missing description is told, nothing written.
        scene.typeAndLeave(scene.window->EdCod, QStringLiteral("6"));
        QTest::mouseClick(scene.window->BGrabar, Qt::LeftButton);
        QCOMPARE(scene.messages().last(), QStringLiteral("Faltan datos de Empresa..."));
        QCOMPARE(scene.entries(6), 0);
        CatalogueShop::screenshot(*scene.window, scene.kind().objectName);
    }

    void deleteChecksInOrder_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("usedBy"); // the tables that use code 7
        QTest::addColumn<QString>("refusal");
        QTest::newRow("brand in an issue and an article")
            << QStringLiteral("MARCAS") << QStringLiteral("EGRESOS STOCK") << QStringLiteral("Tiene movientos de Egresos registrados.");
        QTest::newRow("brand only in an article") << QStringLiteral("MARCAS") << QStringLiteral("STOCK")
                                                  << QStringLiteral("Tiene articulos registrados.");
        QTest::newRow("size only in a receipt") << QStringLiteral("TALLES") << QStringLiteral("INGRESOS")
                                                << QStringLiteral("Tiene movientos de Ingresos registrados.");
        QTest::newRow("unused colour") << QStringLiteral("COLORES") << QString() << QString();
    }
    void deleteChecksInOrder()
    {
        QFETCH(QString, table);
        QFETCH(QString, usedBy);
        QFETCH(QString, refusal);
        CatalogueScene scene(table);
        scene.addEntry(7, QStringLiteral("USADO"));
        const QString suffix = scene.kind().codeField.left(3);
        const QHash<QString, QString> prefixes{{QStringLiteral("EGRESOS"), QStringLiteral("EGR")},
                                               {QStringLiteral("INGRESOS"), QStringLiteral("ING")},
                                               {QStringLiteral("STOCK"), QStringLiteral("ART")}};
        for (const QString &user : usedBy.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            scene.shop.db().execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (7)").arg(user, prefixes.value(user) + suffix));
        scene.window->table().refresh();
        scene.window->table().first();
        QVERIFY(scene.ready());
        scene.shop.dialogs.confirmAnswers.enqueue(true);
        QTest::mouseClick(scene.window->BEliminar, Qt::LeftButton);
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("confirm")), QStringList{QStringLiteral("Desea eliminar este registro..?")});
        QCOMPARE(scene.messages(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
        QCOMPARE(scene.entries(7), refusal.isEmpty() ? 0 : 1);
        QVERIFY(!scene.shop.db().inTransaction());
        // On an empty catalogue the button does nothing.
        if (refusal.isEmpty()) {
            QTest::mouseClick(scene.window->BEliminar, Qt::LeftButton);
            QCOMPARE(scene.shop.dialogs.shown.size(), 1);
        }
    }

    void proposedCodesOfABigCatalogue()
    {
        CatalogueScene scene(QStringLiteral("MARCAS"), [](CatalogueShop &shop) {
            vx::Transaction once(shop.db());
            data::RowInserter rows(shop.db(), QStringLiteral("MARCAS"), {QStringLiteral("MARCOD"), QStringLiteral("MARDES")});
            for (int code = 1; code <= 999; ++code)
                rows.insert({code, QStringLiteral("MARCA %1").arg(code)});
            once.commit();
        });
        QVERIFY(scene.ready());
        QTest::mouseClick(scene.window->EdCod, Qt::LeftButton);
        QCOMPARE(scene.window->EdCod->text(), QStringLiteral("1000"));
        scene.typeAndLeave(scene.window->EdDes, QStringLiteral("NUEVA"));
        // Another workstation takes the proposed code meanwhile: this entry moves on, the other stays.
        catalogue::saveCatalogueEntry(scene.shop.db(), scene.kind(), 1000, QStringLiteral("DE OTRA CAJA"), true);
        QTest::mouseClick(scene.window->BGrabar, Qt::LeftButton);
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT MARDES FROM MARCAS WHERE MARCOD = 1000")).toString(),
                 QStringLiteral("DE OTRA CAJA"));
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT MARDES FROM MARCAS WHERE MARCOD = 1001")).toString(),
                 QStringLiteral("NUEVA"));
        QVERIFY(scene.messages().first().contains(QStringLiteral("Codigo 1001")));

        // The search line finds by description as typed, and by code.
        scene.window->CB1->setCurrentText(QStringLiteral("Descripcion"));
        scene.typeAndLeave(scene.window->EdBus, QStringLiteral("MARCA 50"));
        QCOMPARE(scene.window->table().fieldByName(QStringLiteral("MARDES"))->asString(), QStringLiteral("MARCA 50"));
        scene.window->CB1->setCurrentText(QStringLiteral("Codigo"));
        scene.window->EdBus->clear();
        scene.typeAndLeave(scene.window->EdBus, QStringLiteral("077"));
        QCOMPARE(scene.window->table().fieldByName(QStringLiteral("MARCOD"))->asInteger(), 77);
    }
};

QTEST_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
