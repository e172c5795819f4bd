// The image window: the photo of the current article, or the placeholder with the reason; the
// searches; "&Nuevo" reloading in place; where the photo buttons store a chosen file.
#include "CatalogueShop.h"

#include "catalogue/ABMArt.h"
#include "catalogue/Imagenes.h"
#include "catalogue/MODArt.h"
#include "catalogue/PhotoFile.h"
#include "platform/core/Paths.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/PickList.h"
#include "shell/Ficha1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QtEndian>

namespace {

QString imageFolder()
{
    return QDir(vx::paths::userFolder()).filePath(QStringLiteral("Imagenes"));
}

void savePicture(const QString &path, const QColor &colour, const QSize &size = QSize(120, 90))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path));
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A BMP whose header claims 30 000 x 30 000 pixels, with no pixels behind it.
QByteArray hugeBmpHeader()
{
    QByteArray bytes(54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    const auto put32 = [&bytes](int at, quint32 value) { qToLittleEndian(value, bytes.data() + at); };
    put32(2, 54 + 30000u * 30000u * 3u / 4u);
    put32(10, 54);
    put32(14, 40);
    put32(18, 30000);
    put32(22, 30000);
    qToLittleEndian<quint16>(1, bytes.data() + 26);
    qToLittleEndian<quint16>(24, bytes.data() + 28);
    return bytes;
}

QColor centre(const QImage &image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

struct ImageScene {
    CatalogueShop shop;
    TFImagen window;

    ImageScene()
    {
        QDir().mkpath(imageFolder());
        window.show();
    }
    void add(const QString &code, const QString &description, const QString &photo)
    {
        data::RowInserter(shop.db(), QStringLiteral("STOCK"),
                          {QStringLiteral("ARTCMCT"), QStringLiteral("ARTDES"), QStringLiteral("ARTFOT")})
            .insert({code, description, photo});
    }
    void goTo(const QString &code) { QVERIFY(window.stock().locate(QStringLiteral("ARTCMCT"), code)); }
};

}  // namespace

class TestImagenes : public QObject {
    Q_OBJECT

private slots:
    void eachArticleShowsItsPhotoOrWhyNot()
    {
        ImageScene scene;
        const QString folder = imageFolder();
        savePicture(QDir(folder).filePath(QStringLiteral("remera.bmp")), Qt::red);
        savePicture(QDir(folder).filePath(QStringLiteral("camisa.png")), Qt::blue);
        savePicture(QDir(folder).filePath(QStringLiteral("grande.jpg")), Qt::green, QSize(6000, 4000));
        writeFile(QDir(folder).filePath(QStringLiteral("texto.bmp")), "no soy una imagen");
        writeFile(QDir(folder).filePath(QStringLiteral("enorme.bmp")), hugeBmpHeader());
        QDir(folder).mkdir(QStringLiteral("carpeta.bmp"));
        struct Case {
            const char *code, *photo, *problem;
            QColor shown;  // the placeholder's own grey when not the article's photo
        };
        const QColor none(235, 235, 235);
        const Case cases[] = {
            {"0000000000001", "C:\\ORVANESYS\\VENDRIX V2\\USUARIO\\IMAGENES\\REMERA.BMP", "", Qt::red},
            {"0000000000002", "", "", none},
            {"0000000000003", "C:\\Orvanesys\\Vendrix V2\\Usuario\\Imagenes\\falta.bmp", "No se encuentra el archivo.",
             none},
            {"0000000000004", "C:\\Orvanesys\\Vendrix V2\\Usuario\\Imagenes\\texto.bmp", "El archivo no es una imagen.",
             none},
            {"0000000000005", "C:\\Orvanesys\\Vendrix V2\\Usuario\\Imagenes\\carpeta.bmp",
             "El archivo no es una imagen.", none},
            {"0000000000006", "C:\\Orvanesys\\Vendrix V2\\Usuario\\Imagenes\\enorme.bmp",
             "La imagen es demasiado grande.", none},
            {"0000000000007", "C:\\Orvanesys\\Vendrix V2\\Usuario\\Imagenes\\grande.jpg", "", Qt::green},
        };
        for (const Case &c : cases)
            scene.add(QString::fromLatin1(c.code), QStringLiteral("ART"), QString::fromLatin1(c.photo));
        // The photo the old modification window stored: the upper-cased full path.
        scene.add(QStringLiteral("0000000000008"), QStringLiteral("ART"), QDir(folder).filePath(QStringLiteral("camisa.png")).toUpper());
        scene.window.prepare();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        const QSize frame = scene.window.Image1->contentsRect().size();
        // Going down the list with the navigator's keys in the grid, one article at a time.
        scene.window.DBGrid1->setFocus();
        for (const Case &c : cases) {
            QCOMPARE(scene.window.DBCodigo->text(), QString::fromLatin1(c.code));
            QCOMPARE(scene.window.LabFoto->text(), QString::fromUtf8(c.problem));
            if (QString::fromLatin1(c.code).endsWith(QLatin1Char('3')))
                CatalogueShop::screenshot(scene.window, QStringLiteral("imagenes"));
            const QImage shown = scene.window.Image1->picture();
            QCOMPARE(centre(shown).rgb() & 0xF0F0F0, c.shown.rgb() & 0xF0F0F0);
            QVERIFY(shown.width() <= frame.width() && shown.height() <= frame.height());
            QTest::keyClick(scene.window.DBGrid1, Qt::Key_Down);
        }
        QCOMPARE(centre(scene.window.Image1->picture()), QColor(Qt::blue));

        // The shop's own placeholder, when it has one.
        savePicture(QDir(folder).filePath(QStringLiteral("SINIMG.BMP")), Qt::yellow);
        scene.goTo(QStringLiteral("0000000000003"));
        QCOMPARE(centre(scene.window.Image1->picture()), QColor(Qt::yellow));
        QCOMPARE(scene.window.LabFoto->text(), QStringLiteral("No se encuentra el archivo."));
    }

    void searchesPlaceTheListAndNuevoReloadsInPlace()
    {
        ImageScene scene;
        savePicture(QDir(imageFolder()).filePath(QStringLiteral("nueva.png")), Qt::blue);
        scene.add(QStringLiteral("0000000000001"), QStringLiteral("CAMISA"), QString());
        scene.add(QStringLiteral("0000000000002"), QStringLiteral("CAMPERA"), QString());
        scene.add(QStringLiteral("0000000000003"), QStringLiteral("REMERA"), QString());
        TFABMArt articles;
        scene.window.prepare();
        // Letter by letter, the list follows the description; a description nobody has is said.
        scene.window.EdDes1->setFocus();
        const std::pair<char, const char *> steps[] = {{'C', "0000000000001"}, {'A', "0000000000001"},
                                                       {'M', "0000000000001"}, {'P', "0000000000002"}};
        for (const auto &[letter, code] : steps) {
            QTest::keyClicks(scene.window.EdDes1, QString(QLatin1Char(letter)));
            QCOMPARE(scene.window.DBCodigo->text(), QString::fromLatin1(code));
            QCOMPARE(scene.window.CBRub->currentText(), QString::fromLatin1(code));
        }
        QTest::keyClicks(scene.window.EdDes1, QStringLiteral("X"));
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Codigo no encontrado.")});
        QCOMPARE(scene.window.DBCodigo->text(), QStringLiteral("0000000000002"));
        // The own-code list: chosen, the description follows.
        scene.window.CBRub->setFocus();
        scene.window.CBRub->setEditText(QString());
        QTest::keyClicks(scene.window.CBRub, QStringLiteral("0000000000003"));
        QTest::keyClick(scene.window.CBRub, Qt::Key_Return);
        QCOMPARE(scene.window.DBCodigo->text(), QStringLiteral("0000000000003"));
        QCOMPARE(scene.window.EdDes1->text(), QStringLiteral("REMERA"));

        // "&Nuevo": the article window on this article; what it saves shows here, in the same window.
        QString loaded;
        scene.shop.dialogs.onModal = [&](QDialog *dialog) {
            if (dialog == &articles)
                loaded = articles.COD->text();
            scene.shop.db().execute(QStringLiteral("UPDATE STOCK SET ARTFOT = 'C:\\ORVANESYS\\VENDRIX V2\\USUARIO\\IMAGENES\\NUEVA.PNG' WHERE ARTCMCT = '0000000000003'"));
            return int(QDialog::Accepted);
        };
        QTest::mouseClick(scene.window.BitBtn1, Qt::LeftButton);
        QCOMPARE(loaded, QStringLiteral("0000000000003"));
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("modal")), QStringList{QStringLiteral("FABMArt")});
        QVERIFY(scene.window.isVisible());
        QCOMPARE(scene.window.DBFoto->text(), QStringLiteral("C:\\ORVANESYS\\VENDRIX V2\\USUARIO\\IMAGENES\\NUEVA.PNG"));
        QCOMPARE(centre(scene.window.Image1->picture()), QColor(Qt::blue));
        QVERIFY(!scene.shop.dm->Stock->active());
    }

    void photoButtonsStoreWhatEveryWorkstationFinds()
    {
        CatalogueShop shop;
        shop.addArticle(QStringLiteral("0000000000001"), QStringLiteral("CAMISA"));
        TFABMArt articles;
        TFModArt change;
        shop.dm->Stock->open();
        const QString under = QDir(imageFolder()).filePath(QStringLiteral("Remera Azul.png"));
        const QString tooLong = QStringLiteral("/fotos/") + QString(95, QLatin1Char('a')) + QStringLiteral(".bmp");
        struct Case {
            QString chosen, stored;
            bool refused;
        };
        const Case cases[] = {
            {under, QStringLiteral("C:\\ORVANESYS\\VENDRIX V2\\USUARIO\\IMAGENES\\REMERA AZUL.PNG"), false},
            {QStringLiteral("/fotos/camisa.jpg"), QStringLiteral("/FOTOS/CAMISA.JPG"), false},
            {tooLong, QStringLiteral("/FOTOS/CAMISA.JPG"), true},
        };
        for (const Case &c : cases) {
            shop.dialogs.fileAnswers.enqueue(c.chosen);
            articles.BitBtn1->click();
            QCOMPARE(articles.EdFoto->text(), c.stored);
            shop.dialogs.fileAnswers.enqueue(c.chosen);
            change.BitBtn1->click();
            QCOMPARE(shop.value(QStringLiteral("SELECT ARTFOT FROM STOCK")).toString(), c.stored);
        }
        QCOMPARE(shop.dialogs.texts(QStringLiteral("message")).size(), 2);
        QVERIFY(shop.dialogs.texts(QStringLiteral("message")).first().contains(QStringLiteral("más de 100 caracteres")));
        QVERIFY(catalogue::photoFileOptions().filter.contains(QStringLiteral("*.jpg")));
    }

    void mainWindowCommandMakesAFreshWindow()
    {
        CatalogueShop shop;
        shop.addArticle(QStringLiteral("0000000000001"), QStringLiteral("CAMISA"));
        TFF1 main;
        bool listed = false;
        shop.dialogs.onModal = [&](QDialog *dialog) {
            auto *window = qobject_cast<TFImagen *>(dialog);
            listed = window && window->stock().recordCount() == 1 && shop.dm->Imagen->active();
            window->EdDes1->setText(QStringLiteral("CAM"));
            return int(QDialog::Rejected);
        };
        main.Imagenes1Click();
        QVERIFY(listed);
        QVERIFY(!shop.dm->Imagen->active());
        QCOMPARE(main.findChildren<TFImagen *>().size(), 0);
    }
};

QTEST_MAIN(TestImagenes)
#include "tst_imagenes.moc"
