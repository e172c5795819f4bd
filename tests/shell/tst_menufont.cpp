#include "shell/MenuFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

// The columns and rows in an area that carry ink: pixels clearly darker than the area's
// background, read from its right end.
QRect inkBox(const QImage &image, const QRect &area)
{
    const QColor background = image.pixelColor(area.right() - 2, area.center().y());
    QRect box;
    for (int y = area.top() + 1; y < area.bottom(); ++y) {
        for (int x = area.left(); x < area.right() - 4; ++x) {
            if (background.lightness() - image.pixelColor(x, y).lightness() > 80)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// Where a menu with one item draws that item's ink.
QRect drawnInk(QMenu &menu)
{
    menu.resize(menu.sizeHint());
    const QImage image = menu.grab().toImage();
    return inkBox(image, menu.actionGeometry(menu.actions().constFirst()));
}

int textInkWidth(const QFont &font, const QString &text)
{
    return QFontMetrics(font).boundingRect(text).width();
}

}  // namespace

class TestMenuFont : public QObject {
    Q_OBJECT

private slots:
    void firstAmpersandIsTheAccessKey()
    {
        QCOMPARE(TCambiarLetraMenu::drawnCaption(QStringLiteral("&Articulos")), QStringLiteral("Articulos"));
        QCOMPARE(TCambiarLetraMenu::drawnCaption(QStringLiteral("  C&aja & Bancos  ")), QStringLiteral("  Caja & Bancos  "));
        QCOMPARE(TCambiarLetraMenu::drawnCaption(QStringLiteral("&&Dos")), QStringLiteral("&Dos"));
        QCOMPARE(TCambiarLetraMenu::drawnCaption(QStringLiteral("  SALIR  ")), QStringLiteral("  SALIR  "));
    }

    void boldTenPointSans()
    {
        const QFont font = TCambiarLetraMenu::defaultMenuFont();
        QVERIFY(font.bold());
        QCOMPARE(font.pointSize(), 10);
        const QFontInfo used(font);
        QVERIFY(used.bold());
        QVERIFY2(!QFontDatabase::isFixedPitch(used.family()), qPrintable(used.family()));
        QVERIFY2(!used.family().contains(QStringLiteral("Serif")) || used.family().contains(QStringLiteral("Sans")),
                 qPrintable(used.family()));
    }

    void everyMenuOfTheTreeIsAttached()
    {
        QMenuBar bar;
        QMenu *top = bar.addMenu(QStringLiteral("  STOCK  "));
        QMenu *sub = top->addMenu(QStringLiteral("  &Articulos  "));
        QMenu *deeper = sub->addMenu(QStringLiteral("  Mas  "));
        QMenu *second = bar.addMenu(QStringLiteral("  CAJA  "));
        QStyle *plain = bar.style();
        TCambiarLetraMenu(&bar, TCambiarLetraMenu::defaultMenuFont()).apply();
        QVERIFY(bar.style() != plain);
        for (QMenu *menu : {top, sub, deeper, second})
            QCOMPARE(menu->style(), bar.style());
    }

    // "&Articulos..." is drawn as "Articulos..." in the bold menu font, also after the changer is
    // gone.
    void itemDrawnWithoutMarkerInTheMenuFont()
    {
        QMenuBar bar;
        QMenu *menu = bar.addMenu(QStringLiteral("STOCK"));
        menu->addAction(QStringLiteral("&Articulos de Temporada"));
        const QFont bold = TCambiarLetraMenu::defaultMenuFont();
        const QFont plain = menu->font();
        const int expected = textInkWidth(bold, QStringLiteral("Articulos de Temporada"));
        // The checks below can tell the three renderings apart.
        QVERIFY(qAbs(textInkWidth(bold, QStringLiteral("&Articulos de Temporada")) - expected) > 6);
        QVERIFY(qAbs(textInkWidth(plain, QStringLiteral("Articulos de Temporada")) - expected) > 6);
        {
            TCambiarLetraMenu changer(&bar, bold);
            changer.apply();
        }
        const QRect ink = drawnInk(*menu);
        QVERIFY2(qAbs(ink.width() - expected) <= 3, qPrintable(QStringLiteral("%1 vs %2").arg(ink.width()).arg(expected)));
        // Drawn from the item's left and top edges.
        const QRect item = menu->actionGeometry(menu->actions().constFirst());
        QVERIFY(ink.left() - item.left() <= 4);
        QVERIFY(ink.top() - item.top() <= QFontMetrics(bold).ascent());
    }

    void furtherAmpersandsAreShown()
    {
        QMenuBar bar;
        QMenu *menu = bar.addMenu(QStringLiteral("CAJA"));
        menu->addAction(QStringLiteral("&Caja&Bancos"));
        const QFont bold = TCambiarLetraMenu::defaultMenuFont();
        TCambiarLetraMenu(&bar, bold).apply();
        const int shown = textInkWidth(bold, QStringLiteral("Caja&Bancos"));
        QVERIFY(qAbs(shown - textInkWidth(bold, QStringLiteral("CajaBancos"))) > 6);
        QVERIFY(qAbs(drawnInk(*menu).width() - shown) <= 3);
    }

    // A second changer replaces the font of every menu already attached.
    void secondChangerReplacesTheFont()
    {
        QMenuBar first;
        QMenu *menu = first.addMenu(QStringLiteral("STOCK"));
        menu->addAction(QStringLiteral("Listado de Stock"));
        TCambiarLetraMenu(&first, TCambiarLetraMenu::defaultMenuFont()).apply();
        const int before = drawnInk(*menu).width();

        QMenuBar second;
        QFont larger = TCambiarLetraMenu::defaultMenuFont();
        larger.setPointSize(16);
        TCambiarLetraMenu(&second, larger).apply();
        QCOMPARE(TCambiarLetraMenu::menuFont().pointSize(), 16);
        const int after = drawnInk(*menu).width();
        QVERIFY2(after > before + 20, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        QVERIFY(qAbs(after - textInkWidth(larger, QStringLiteral("Listado de Stock"))) <= 4);
    }

    void menuBarItemsUseTheFontToo()
    {
        QMenuBar bar;
        bar.addMenu(QStringLiteral("&Articulos"));
        const QFont bold = TCambiarLetraMenu::defaultMenuFont();
        TCambiarLetraMenu(&bar, bold).apply();
        bar.resize(bar.sizeHint().width() + 40, bar.sizeHint().height());
        const QImage image = bar.grab().toImage();
        const QRect item = bar.actionGeometry(bar.actions().constFirst());
        const QRect ink = inkBox(image, item.adjusted(0, 0, 8, 0));
        QVERIFY2(qAbs(ink.width() - textInkWidth(bold, QStringLiteral("Articulos"))) <= 3,
                 qPrintable(QString::number(ink.width())));
        QVERIFY(item.width() >= QFontMetrics(bold).horizontalAdvance(QStringLiteral("Articulos")));
    }
};

QTEST_MAIN(TestMenuFont)
#include "tst_menufont.moc"
