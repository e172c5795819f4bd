#include "UiTestShop.h"

#include "platform/db/DataSource.h"
#include "platform/db/DbError.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/TitleSort.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QFont>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTest>

#include <set>

using namespace vx;
using namespace vx::ui;

namespace {

const QColor reorderGreen(192, 220, 192);

GridColumn gridColumn(const char *field, const char *title = "", int width = 0)
{
    GridColumn c;
    c.fieldName = QString::fromLatin1(field);
    c.title = QString::fromUtf8(title);
    c.width = width;
    return c;
}

// Notes the rows a grid paints and hands the painting to the grid's own delegate.
class PaintedRows : public QStyledItemDelegate {
public:
    explicit PaintedRows(QAbstractItemDelegate *own) : m_own(own) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        rows.insert(index.row());
        m_own->paint(painter, option, index);
    }
    mutable std::set<int> rows;

private:
    QAbstractItemDelegate *m_own;
};

}  // namespace

class TestDBGrid : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Schema m_schema = uitest::schema();
    std::unique_ptr<Connection> m_db;

    QString text(const DBGrid &grid, int row, int column) const
    {
        return grid.model()->index(row, column).data().toString();
    }

    QStringList columnTexts(const DBGrid &grid, int column) const
    {
        QStringList out;
        for (int row = 0; row < grid.model()->rowCount(); ++row)
            out << text(grid, row, column);
        return out;
    }

    void show(QWidget &widget)
    {
        widget.resize(760, 260);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
    }

    QPoint cellPoint(const DBGrid &grid, int row, int column) const
    {
        return grid.visualRect(grid.model()->index(row, column)).center();
    }

    QPoint titlePoint(const DBGrid &grid, int column) const
    {
        return QPoint(grid.horizontalHeader()->sectionViewportPosition(column) + 4, grid.horizontalHeader()->height() / 2);
    }

    QString storedName(const QString &code)
    {
        return m_db->scalar(QStringLiteral("SELECT NAME FROM ITEMS WHERE CODE = ?"), {code}).toString();
    }

private slots:
    void init()
    {
        m_db = uitest::openShop(m_dir, m_schema, QStringLiteral("%1.db").arg(QTest::currentTestFunction()));
    }
    void cleanup() { m_db.reset(); }

    void titleSortRule()
    {
        QCOMPARE(titleSortText(QString(), QStringLiteral("ARTDES")), QStringLiteral("ARTDES ASC"));
        QCOMPARE(titleSortText(QStringLiteral("ARTDES ASC"), QStringLiteral("ARTDES")), QStringLiteral("ARTDES DESC"));
        QCOMPARE(titleSortText(QStringLiteral("ARTDES DESC"), QStringLiteral("ARTDES")), QStringLiteral("ARTDES ASC"));
        QCOMPARE(titleSortText(QStringLiteral("ARTDES DESC"), QStringLiteral("ARTCMCT")), QStringLiteral("ARTCMCT ASC"));
        // Index field names and plain names count as ascending; only the first field matters.
        QCOMPARE(titleSortText(QStringLiteral("COMDIA;COMNRO"), QStringLiteral("COMDIA")), QStringLiteral("COMDIA DESC"));
        QCOMPARE(titleSortText(QStringLiteral("COMDIA;COMNRO"), QStringLiteral("COMNRO")), QStringLiteral("COMNRO ASC"));
        QCOMPARE(titleSortText(QStringLiteral("artdes asc, ARTCMCT DESC"), QStringLiteral("ARTDES")),
                 QStringLiteral("ARTDES DESC"));
        // A longer name that merely begins like the field is another field.
        QCOMPARE(titleSortText(QStringLiteral("TM1NUM10 ASC"), QStringLiteral("TM1NUM1")), QStringLiteral("TM1NUM1 ASC"));
    }

    void showsRowsTitlesAndFormats()
    {
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        DBGrid grid;
        grid.setDataSource(&source);
        GridColumn done = gridColumn("DONE", "Hecho");
        done.yesNo = true;
        GridColumn code = gridColumn("CODE", "CODIGO ", 13);
        code.titleBold = true;
        grid.setColumns({code, gridColumn("NAME"), gridColumn("QTY", "Cant.", 6), gridColumn("PRICE", "Precio"),
                         gridColumn("DAY", "Fecha"), done});
        // Titles show before the dataset opens.
        QCOMPARE(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("CODIGO "));
        QCOMPARE(grid.model()->rowCount(), 0);
        items.open();
        show(grid);

        QCOMPARE(grid.model()->rowCount(), 5);
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Descripcion"));
        QVERIFY(grid.model()->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(!grid.model()->headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QCOMPARE(columnTexts(grid, 0), QStringList({"0001", "0002", "0003", "0004", "0005"}));
        QCOMPARE(text(grid, 1, 2), QStringLiteral("2,50"));
        QCOMPARE(text(grid, 2, 3), QStringLiteral("1.234,50"));
        QCOMPARE(text(grid, 2, 4), QStringLiteral("03/12/2026"));
        QCOMPARE(columnTexts(grid, 5), QStringList({"Si", "No", "No", "No", "Si"}));
        const auto alignment = [&grid](int column) {
            return Qt::Alignment(grid.model()->index(0, column).data(Qt::TextAlignmentRole).toInt());
        };
        QVERIFY(alignment(2) & Qt::AlignRight);
        QVERIFY(alignment(1) & Qt::AlignLeft);

        // Widths in characters: the 13-character code is wider than the 6-character quantity.
        QVERIFY(grid.columnWidth(0) > grid.columnWidth(2));
        grid.setColumnVisible(3, false);
        QVERIFY(grid.isColumnHidden(3));
        QVERIFY(!grid.isColumnHidden(4));
        QCOMPARE(grid.horizontalHeader()->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(grid.viewport()->cursor().shape(), Qt::ArrowCursor);
        grid.grab().save(m_dir.filePath(QStringLiteral("grid.png")));

        // Without columns of its own the grid shows every visible field.
        DBGrid plain;
        plain.setDataSource(&source);
        QCOMPARE(plain.model()->columnCount(), items.fieldCount());
        QCOMPARE(plain.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ID"));
        QCOMPARE(plain.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Descripcion"));
        items.close();
        QCOMPARE(plain.model()->rowCount(), 0);
        QCOMPARE(grid.model()->rowCount(), 0);
    }

    void selectionFollowsTheDatasetBothWays()
    {
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        DBGrid grid;
        grid.setDataSource(&source);
        grid.setColumns({gridColumn("CODE"), gridColumn("NAME")});
        items.open();
        show(grid);
        QCOMPARE(grid.currentIndex().row(), 0);

        QVERIFY(items.locate(QStringLiteral("CODE"), QStringLiteral("0004")));
        QTRY_COMPARE(grid.currentIndex().row(), 3);
        QVERIFY(grid.selectionModel()->isRowSelected(3, {}));
        QCOMPARE(grid.selectionModel()->selectedIndexes().size(), 2);  // the whole row, nothing else
        // A walk is followed once, where it ends.
        QSignalSpy moves(grid.selectionModel(), &QItemSelectionModel::currentRowChanged);
        for (items.first(); !items.eof(); items.next()) {
        }
        items.first();
        QTRY_COMPARE(grid.currentIndex().row(), 0);
        QCOMPARE(moves.size(), 1);

        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellPoint(grid, 2, 1));
        QCOMPARE(items.recNo(), 3);
        QCOMPARE(items.fieldByName(QStringLiteral("CODE"))->asString(), QStringLiteral("0003"));
        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(items.fieldByName(QStringLiteral("CODE"))->asString(), QStringLiteral("0004"));
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(items.recNo(), 5);

        // Re-sorting keeps the record and the selection moves with it.
        items.setSort(QStringLiteral("CODE DESC"));
        QCOMPARE(items.fieldByName(QStringLiteral("CODE"))->asString(), QStringLiteral("0005"));
        QTRY_COMPARE(grid.currentIndex().row(), 0);
    }

    void titleClickSortsAndMarksTheTitle()
    {
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        DataSource source(&items);
        DBGrid grid;
        grid.setDataSource(&source);
        grid.setColumns({gridColumn("CODE"), gridColumn("NAME", "DESCRIPCION", 20), gridColumn("QTY")});
        connect(&grid, &DBGrid::TitleClick, &grid, &DBGrid::sortByTitle);
        QSignalSpy clicks(&grid, &DBGrid::TitleClick);
        items.open();
        show(grid);

        QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, titlePoint(grid, 1));
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.first().first().toInt(), 1);
        QCOMPARE(items.sort(), QStringLiteral("NAME ASC"));
        QCOMPARE(columnTexts(grid, 1).first(), QStringLiteral("BUZO GRIS"));
        QVERIFY(grid.titleBold(1));

        QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, titlePoint(grid, 1));
        QCOMPARE(items.sort(), QStringLiteral("NAME DESC"));
        QCOMPARE(columnTexts(grid, 1).first(), QStringLiteral("REMERA BLANCA"));
        QVERIFY(grid.titleBold(1));

        QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, titlePoint(grid, 2));
        QCOMPARE(items.sort(), QStringLiteral("QTY ASC"));
        QCOMPARE(columnTexts(grid, 2), QStringList({"0,00", "1,00", "2,50", "5,00", "7,00"}));
        QVERIFY(grid.titleBold(2));
        QVERIFY(!grid.titleBold(1));
        QVERIFY(!grid.model()->headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(grid.model()->headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        // The selection stays on the record it was on.
        QTRY_COMPARE(grid.currentIndex().row(), items.recNo() - 1);
    }

    void cellColourHookSeesEachRowsValues()
    {
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        DBGrid grid;
        grid.setDataSource(&source);
        grid.setColumns({gridColumn("CODE"), gridColumn("NAME"), gridColumn("QTY"), gridColumn("REP")});
        // Articles below their reorder point, both rounded half to even first.
        grid.setCellColor([](const GridRow &row, int) {
            const double qty = std::nearbyint(row.value(QStringLiteral("QTY")).toDouble());
            const double rep = std::nearbyint(row.value(QStringLiteral("REP")).toDouble());
            return qty < rep ? reorderGreen : QColor();
        });
        items.open();
        show(grid);

        // 0001: 0 < 0 no; 0002: 2.5 -> 2 < 4 yes; 0003: 5 < 3 no; 0004: 1 < 1 no; 0005: 7 < 2 no.
        QList<bool> marked;
        for (int row = 0; row < 5; ++row)
            marked << (grid.model()->index(row, 1).data(Qt::BackgroundRole).value<QColor>() == reorderGreen);
        QCOMPARE(marked, QList<bool>({false, true, false, false, false}));

        // The colour reaches the screen: a cell of the (unselected) marked row is painted green.
        const QImage shot = grid.viewport()->grab().toImage();
        const QRect cell = grid.visualRect(grid.model()->index(1, 1));
        QCOMPARE(QColor(shot.pixel(cell.left() + 2, cell.top() + 2)), reorderGreen);
        const QRect plainCell = grid.visualRect(grid.model()->index(3, 1));
        QVERIFY(QColor(shot.pixel(plainCell.left() + 2, plainCell.top() + 2)) != reorderGreen);

        // The current record being edited is judged by its unposted values.
        items.locate(QStringLiteral("CODE"), QStringLiteral("0004"));
        items.edit();
        items.fieldByName(QStringLiteral("QTY"))->setAsFloat(0);
        QCOMPARE(grid.model()->index(3, 0).data(Qt::BackgroundRole).value<QColor>(), reorderGreen);
        items.cancel();
        QVERIFY(!grid.model()->index(3, 0).data(Qt::BackgroundRole).isValid());
        grid.grab().save(m_dir.filePath(QStringLiteral("reorder.png")));
    }

    void modelPassesTheItemModelTester()
    {
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        DBGrid grid;
        grid.setReadOnly(false);
        QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.setDataSource(&source);
        grid.setColumns({gridColumn("CODE"), gridColumn("NAME"), gridColumn("DONE")});
        items.open();
        show(grid);
        items.setSort(QStringLiteral("NAME DESC"));
        items.setFilter(QStringLiteral("QTY > 1"));
        items.setFiltered(true);
        QCOMPARE(grid.model()->rowCount(), 3);
        items.setFiltered(false);

        items.append();
        QCOMPARE(grid.model()->rowCount(), 6);
        QTRY_COMPARE(grid.currentIndex().row(), 5);
        QCOMPARE(text(grid, 5, 0), QString());
        QCOMPARE(text(grid, 4, 0), QStringLiteral("0005"));  // the rows before the new one are intact
        items.fieldByName(QStringLiteral("CODE"))->setAsString(QStringLiteral("0006"));
        QCOMPARE(text(grid, 5, 0), QStringLiteral("0006"));
        items.post();
        QCOMPARE(grid.model()->rowCount(), 6);
        QTRY_COMPARE(grid.currentIndex().row(), items.recNo() - 1);

        items.append();
        items.cancel();
        QCOMPARE(grid.model()->rowCount(), 6);
        items.first();
        items.deleteRecord();
        QCOMPARE(grid.model()->rowCount(), 5);
        grid.setColumns({gridColumn("QTY")});
        QCOMPARE(grid.model()->columnCount(), 1);
        items.close();
        QCOMPARE(grid.model()->rowCount(), 0);
        items.open();
        QCOMPARE(grid.model()->rowCount(), 5);
        grid.setDataSource(nullptr);
        QCOMPARE(grid.model()->rowCount(), 0);
    }

    void editingACellWritesTheRecordWhenTheRowIsLeft()
    {
        FakeDialogs fake;
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        DBGrid grid;
        grid.setReadOnly(false);
        grid.setDataSource(&source);
        GridColumn code = gridColumn("CODE");
        code.readOnly = true;
        GridColumn done = gridColumn("DONE");
        done.yesNo = true;
        grid.setColumns({code, gridColumn("NAME"), gridColumn("QTY"), done});
        items.open();
        show(grid);
        QVERIFY(!(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable);

        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellPoint(grid, 1, 1));
        QCOMPARE(items.recNo(), 2);
        grid.setFocus();
        QTest::keyClicks(&grid, QStringLiteral("C"));  // any key opens the editor with it
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != &grid);
        QTest::keyClicks(editor, QStringLiteral("AMPERON"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(items.state(), Dataset::State::Edit);  // the editor commits on the next turn
        QCOMPARE(text(grid, 1, 1), QStringLiteral("CAMPERON"));
        QCOMPARE(storedName(QStringLiteral("0002")), QStringLiteral("CAMPERA NEGRA"));

        QTest::keyClick(&grid, Qt::Key_Down);  // leaving the row posts it
        QCOMPARE(items.state(), Dataset::State::Browse);
        QCOMPARE(storedName(QStringLiteral("0002")), QStringLiteral("CAMPERON"));
        QCOMPARE(items.recNo(), 3);

        // Yes/no cells take "Si" and "No"; a number that does not convert is refused with its message.
        QVERIFY(grid.model()->setData(grid.model()->index(2, 3), QStringLiteral("Si")));
        QVERIFY(grid.model()->setData(grid.model()->index(2, 2), QStringLiteral("4,5")));
        QVERIFY(!grid.model()->setData(grid.model()->index(2, 2), QStringLiteral("cuatro")));
        QCOMPARE(fake.texts(QStringLiteral("error")).size(), 1);
        QVERIFY(!grid.model()->setData(grid.model()->index(4, 2), QStringLiteral("1")));  // not the current row
        items.post();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT DONE FROM ITEMS WHERE CODE = '0003'")).toInt(), 1);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT QTY FROM ITEMS WHERE CODE = '0003'")).toDouble(), 4.5);
    }

    void aRecordThatCannotBePostedKeepsTheSelection()
    {
        FakeDialogs fake;
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        DBGrid grid;
        grid.setDataSource(&source);
        grid.setColumns({gridColumn("CODE"), gridColumn("NAME")});
        items.open();
        show(grid);
        items.edit();
        items.fieldByName(QStringLiteral("NAME"))->setAsString(QString(40, QLatin1Char('X')));  // longer than 30
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellPoint(grid, 3, 0));
        QCOMPARE(fake.texts(QStringLiteral("error")).size(), 1);
        QCOMPARE(items.recNo(), 1);
        QCOMPARE(items.state(), Dataset::State::Edit);
        QTRY_COMPARE(grid.currentIndex().row(), 0);
        items.cancel();
    }

    void rowsDeletedElsewhereDropOut()
    {
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        DBGrid grid;
        grid.setDataSource(&source);
        grid.setColumns({gridColumn("CODE"), gridColumn("NAME")});
        items.open();
        m_db->execute(QStringLiteral("DELETE FROM ITEMS WHERE CODE IN ('0003', '0004')"));
        show(grid);
        QTRY_COMPARE(grid.model()->rowCount(), 3);
        QCOMPARE(columnTexts(grid, 0), QStringList({"0001", "0002", "0005"}));
    }

    void bigTableOpensAndScrollsReadingOnlyVisibleRows()
    {
        const int articles = 200000;
        uitest::addManyItems(*m_db, articles);
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("CODE"));
        DataSource source(&items);
        DBGrid grid;
        grid.setDataSource(&source);
        grid.setColumns({gridColumn("CODE", "CODIGO ", 13), gridColumn("NAME"), gridColumn("QTY"), gridColumn("PRICE")});

        QElapsedTimer timer;
        timer.start();
        items.open();
        const qint64 opened = timer.elapsed();
        show(grid);
        const qint64 shown = timer.elapsed();
        const int visibleRows = grid.viewport()->height() / grid.rowHeight(0) + 1;
        QCOMPARE(grid.model()->rowCount(), articles + 5);
        QVERIFY2(grid.datasetModel()->rowsRead() <= 2 * visibleRows,
                 qPrintable(QString::number(grid.datasetModel()->rowsRead())));

        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
        grid.repaint();
        const qint64 scrolled = timer.elapsed();
        const int lastRow = grid.model()->rowCount() - 1;
        // The five short codes sort after the long ones.
        QCOMPARE(text(grid, lastRow, 0), QStringLiteral("0005"));
        QCOMPARE(text(grid, lastRow - 5, 0), QStringLiteral("0000000200000"));
        QVERIFY2(grid.datasetModel()->rowsRead() <= 4 * visibleRows,
                 qPrintable(QString::number(grid.datasetModel()->rowsRead())));

        items.last();
        QTRY_COMPARE(grid.currentIndex().row(), lastRow);
        items.first();
        QCoreApplication::processEvents();
        QCOMPARE(grid.rowAt(0), 0);
        qInfo("grid over %d rows: open %lld ms, shown %lld ms, scrolled to the end %lld ms, %lld rows read",
              articles, opened, shown - opened, scrolled - shown, grid.datasetModel()->rowsRead());
    }

    // A key in a search moves the record; the grid paints only the rows that changed or came into
    // view, and reads from the database about the rows it shows, however many keys came before.
    void aMoveRepaintsAndReadsOnlyWhatItShows()
    {
        uitest::addManyItems(*m_db, 20000);
        Table items(m_db.get(), QStringLiteral("ITEMS"));
        items.setIndexFieldNames(QStringLiteral("NAME"));
        DataSource source(&items);
        DBGrid grid;
        grid.setDataSource(&source);
        grid.setColumns({gridColumn("CODE"), gridColumn("NAME"), gridColumn("QTY"), gridColumn("PRICE")});
        PaintedRows painted(grid.itemDelegate());
        grid.setItemDelegate(&painted);
        items.open();
        show(grid);
        grid.setFocus();
        const int visibleRows = grid.viewport()->height() / grid.rowHeight(0) + 1;
        const auto settle = [&] {
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        };
        settle();

        painted.rows.clear();
        QTest::keyClick(&grid, Qt::Key_Down);
        settle();
        QCOMPARE(painted.rows, (std::set<int>{0, 1}));

        for (const char *typed : {"ARTICULO 1", "ARTICULO 5", "ARTICULO 55", "ARTICULO 9", "ARTICULO 1234",
                                     "ARTICULO 19", "ARTICULO 3", "ARTICULO 77"}) {
            painted.rows.clear();
            const qint64 before = items.rowsFetched();
            QVERIFY(items.locate(QStringLiteral("NAME"), QString::fromLatin1(typed), LocateOption::PartialKey));
            settle();
            QVERIFY(items.fieldByName(QStringLiteral("NAME"))->asString().startsWith(QLatin1String(typed)));
            QCOMPARE(grid.currentIndex().row(), items.recNo() - 1);
            const int top = grid.rowAt(0);
            const int bottom = grid.rowAt(grid.viewport()->height() - 1);
            QVERIFY(!painted.rows.empty());
            QVERIFY2(*painted.rows.begin() >= top && *painted.rows.rbegin() <= bottom,
                     qPrintable(QStringLiteral("%1: painted rows %2..%3, shown %4..%5")
                                    .arg(typed)
                                    .arg(*painted.rows.begin())
                                    .arg(*painted.rows.rbegin())
                                    .arg(top)
                                    .arg(bottom)));
            QVERIFY2(items.rowsFetched() - before <= 2 * visibleRows,
                     qPrintable(QStringLiteral("%1: %2 rows read for %3 shown")
                                    .arg(typed)
                                    .arg(items.rowsFetched() - before)
                                    .arg(visibleRows)));
        }
    }
};

QTEST_MAIN(TestDBGrid)
#include "tst_dbgrid.moc"
