#include "export/DataToXLS.h"
#include "export/ExportError.h"

#include "platform/db/Connection.h"
#include "platform/db/DataSource.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"

#include "BiffReader.h"
#include "LibreOfficeCsv.h"
#include "XlrdCsv.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <csignal>
#include <functional>
#include <limits>
#include <map>
#include <sys/resource.h>

using vx::ColumnDef;
using vx::FieldType;

namespace {

ColumnDef column(const char *name, FieldType type, const char *label, int size = 0)
{
    ColumnDef c;
    c.name = QString::fromLatin1(name);
    c.type = type;
    c.size = size;
    c.displayLabel = QString::fromUtf8(label);
    return c;
}

vx::Schema shopSchema()
{
    const vx::TableDef garments{
        QStringLiteral("PRENDAS"),
        {column("PRNID", FieldType::AutoInc, "Nº"), column("PRNCOD", FieldType::String, "Código", 13),
         column("PRNDES", FieldType::String, "Descripción", 60), column("PRNCAN", FieldType::Integer, "Cantidad"),
         column("PRNPRE", FieldType::Float, "Precio"), column("PRNFEC", FieldType::DateTime, "Fecha"),
         column("PRNACT", FieldType::Boolean, "Activo"), column("PRNOBS", FieldType::Memo, "Observaciones")},
        {{QStringLiteral("PRNCOD")}}};
    return vx::Schema({garments});
}

// The sheet's cells as text, one line per row: a label as its text, "I5" an INTEGER, "N2.5" a
// NUMBER, "B1" a BOOLERR, "_" a BLANK; cells joined by "|".
QStringList sheetRows(const QByteArray &bytes)
{
    std::map<int, std::map<int, QString>> grid;
    for (const BiffReader::Record &r : BiffReader::split(bytes)) {
        switch (r.id) {
        case 0x0001:
            grid[r.row()][r.column()] = "_";
            break;
        case 0x0002:
            grid[r.row()][r.column()] = "I" + QString::number(r.word(7));
            break;
        case 0x0003:
            grid[r.row()][r.column()] = "N" + QString::number(r.value());
            break;
        case 0x0004:
            grid[r.row()][r.column()] = r.label();
            break;
        case 0x0005:
            grid[r.row()][r.column()] = "B" + QString::number(int(r.data.at(7)));
            break;
        default:
            break;
        }
    }
    QStringList rows;
    for (const auto &[row, cells] : grid) {
        while (rows.size() < row)
            rows << QString();
        QStringList line;
        for (const auto &[col, text] : cells) {
            while (line.size() < col)
                line << "(gap)";
            line << text;
        }
        rows << line.join('|');
    }
    return rows;
}

QList<BiffReader::Record> recordsWithId(const QByteArray &bytes, quint16 id)
{
    QList<BiffReader::Record> out;
    for (const BiffReader::Record &r : BiffReader::split(bytes)) {
        if (r.id == id)
            out << r;
    }
    return out;
}

bool endsWithEof(const QByteArray &bytes)
{
    const QList<BiffReader::Record> records = BiffReader::split(bytes);
    return !records.isEmpty() && records.last().id == 0x000A;
}

// Keeps the size of files this process writes under a limit, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_previous); }

private:
    rlimit m_previous{};
};

// The message of the error of type E that work throws.
template<typename E> QString messageOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const E &error) {
        return error.message();
    }
    return QStringLiteral("(nothing thrown)");
}

const QStringList garmentHeader{"Nº", "Código", "Descripción", "Cantidad", "Precio", "Fecha", "Activo"};

} // namespace

class TestDataToXls : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    vx::Schema m_schema = shopSchema();
    std::unique_ptr<vx::Connection> m_db;
    std::unique_ptr<vx::Table> m_table;

    void addGarment(const QVariantList &values)
    {
        static const QList<FieldType> types{FieldType::String, FieldType::String,   FieldType::Integer,
                                            FieldType::Float,  FieldType::DateTime, FieldType::Boolean,
                                            FieldType::Memo};
        QVariantList stored;
        for (int i = 0; i < values.size(); ++i)
            stored << m_db->dialect().toDatabase(values[i], types[i]);
        m_db->execute("INSERT INTO PRENDAS (PRNCOD, PRNDES, PRNCAN, PRNPRE, PRNFEC, PRNACT, PRNOBS) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?)",
                      stored);
    }

    QByteArray exported(TDataToXLS &xls)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        xls.SaveToStream(&buffer);
        return buffer.data();
    }

private slots:
    void init();
    void exportsEveryFieldWhenNoColumns();
    void titleAndCommentPlaceTheHeader_data();
    void titleAndCommentPlaceTheHeader();
    void chosenColumnsLeaveNoGap();
    void columnFromGrid();
    void eventsCancelAndCellParams();
    void refusesWithoutAnOpenNonEmptyDataset();
    void unknownFieldLeavesNoEndAndRestoresDataset();
    void handlersMayChangeTheFieldsMidExport();
    void saveToFileReplacesOnlyWhenComplete();
    void destroyedDuringExportStops();
    void libreOfficeAndXlrdReadTheExport();
};

void TestDataToXls::init()
{
    m_table.reset();
    static int databases = 0;
    m_db = vx::Connection::openSqlite(m_dir.filePath(QString("t%1.db").arg(++databases)), &m_schema, true);
    m_db->createSchema();
    const QDateTime afternoon = vx::naiveDateTime(QDate(2026, 1, 31), QTime(14, 5, 9));
    addGarment({"0001", "Camisa ñandú", 5, 1234.5, vx::naiveDateTime(QDate(2026, 12, 8)), true, "obs"});
    addGarment({"0002", "Remera", 0, 0.25, afternoon, false, QVariant()});
    addGarment({"0003", QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    addGarment({"0004", "Buzo", 70000, -3, afternoon, true, QVariant()});
    m_table = std::make_unique<vx::Table>(m_db.get(), "PRENDAS");
    m_table->setIndexFieldNames("PRNCOD");
    m_table->open();
}

void TestDataToXls::exportsEveryFieldWhenNoColumns()
{
    m_table->fieldByName("PRNOBS")->setVisible(false);
    m_table->setRecNo(3);
    TDataToXLS xls;
    xls.setDataSet(m_table.get());
    const QByteArray bytes = exported(xls);

    QCOMPARE(sheetRows(bytes), QStringList({garmentHeader.join('|'), "I1|0001|Camisa ñandú|I5|N1234.5|08/12/2026|B1",
                                            "I2|0002|Remera|I0|N0.25|31/01/2026 14:05:09|B0", "I3|0003|_|_|_|_|_",
                                            "I4|0004|Buzo|N70000|N-3|31/01/2026 14:05:09|B1"}));
    QVERIFY(xls.Columns().isEmpty());
    QVERIFY(endsWithEof(bytes));
    QCOMPARE(m_table->recNo(), 3);
    QVERIFY(!m_table->controlsDisabled());

    // Fonts: detail (0) regular, title (1) and header (2) bold; all Arial 10.
    const QList<BiffReader::Record> fonts = recordsWithId(bytes, 0x0031);
    QCOMPARE(fonts.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(fonts[i].word(0), quint16(200));
        QCOMPARE(fonts[i].word(2), quint16(i == 0 ? 0 : 1));
        QCOMPARE(fonts[i].data.mid(5), QByteArray("Arial"));
    }
    const QList<BiffReader::Record> dimensions = recordsWithId(bytes, 0x0000);
    QCOMPARE(dimensions.size(), 1);
    QCOMPARE(dimensions[0].data, QByteArray::fromHex("0000 0104 0000 0400"));

    // Header cells in font 2; numbers aligned right, the rest left, in font 0.
    const QList<BiffReader::Record> cells = BiffReader::split(bytes);
    for (const BiffReader::Record &r : cells) {
        if (r.id < 0x0001 || r.id > 0x0005)
            continue;
        const bool numeric = r.column() == 0 || r.column() == 3 || r.column() == 4;
        const QByteArray expected = QByteArray::fromHex(r.row() == 0 ? "008000" : numeric ? "000003" : "000001");
        QCOMPARE(r.attributes().toHex(), expected.toHex());
    }
}

void TestDataToXls::titleAndCommentPlaceTheHeader_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<int>("headerRow");

    QTest::newRow("neither") << QString() << QString() << 0;
    QTest::newRow("title") << "Lista de precios" << QString() << 1;
    QTest::newRow("comment") << QString() << "Exportado por el encargado" << 0;
    QTest::newRow("both") << "Lista de precios"
                          << "Exportado por el encargado" << 1;
}

void TestDataToXls::titleAndCommentPlaceTheHeader()
{
    QFETCH(QString, title);
    QFETCH(QString, comment);
    QFETCH(int, headerRow);

    TDataToXLS xls;
    xls.setDataSet(m_table.get());
    xls.Title().Text = title;
    xls.setComment(comment);
    const QByteArray bytes = exported(xls);
    const QStringList rows = sheetRows(bytes);

    QCOMPARE(rows.size(), headerRow + 5);
    QVERIFY(rows[headerRow].startsWith("Nº|Código|"));
    QVERIFY(rows[headerRow + 1].startsWith("I1|0001|"));
    const QList<BiffReader::Record> labels = recordsWithId(bytes, 0x0004);
    if (!title.isEmpty()) {
        QCOMPARE(rows[0], title);
        QCOMPARE(labels[0].attributes(), QByteArray::fromHex("004000"));
    }
    const QList<BiffReader::Record> notes = recordsWithId(bytes, 0x001C);
    QCOMPARE(notes.size(), comment.isEmpty() ? 0 : 1);
    if (!comment.isEmpty())
        QCOMPARE(notes[0].data, QByteArray::fromHex("0000 0000") + char(comment.size()) + '\0' + comment.toLatin1());
}

void TestDataToXls::chosenColumnsLeaveNoGap()
{
    TDataToXLS xls;
    xls.setDataSet(m_table.get());
    TxlColumn *code = xls.Columns().addColumn();
    code->DataField = "PRNCOD";
    code->Title = "Cód.";
    code->ColWidth = 2960;
    TxlColumn *description = xls.Columns().addColumn();
    description->Assign(*m_table->fieldByName("PRNDES"));
    description->Save = false;
    TxlColumn *price = xls.Columns().addColumn();
    price->Assign(*m_table->fieldByName("PRNPRE"));
    price->DataType = ctLabel;
    price->Alignment = Qt::AlignHCenter;
    price->ColWidth = 1500;
    xls.Columns().addColumn()->Assign(*price);
    xls.Columns().column(3)->Title = "Otra vez";

    const QByteArray bytes = exported(xls);
    QCOMPARE(sheetRows(bytes),
             QStringList({"Cód.|Precio|Otra vez", "0001|1234,5|1234,5", "0002|0,25|0,25", "0003|_|_", "0004|-3|-3"}));
    QCOMPARE(xls.Columns().count(), 4);

    const QList<BiffReader::Record> widths = recordsWithId(bytes, 0x0024);
    QCOMPARE(widths.size(), 3);
    QCOMPARE(widths[0].data, QByteArray::fromHex("0000 900B"));
    QCOMPARE(widths[1].data, QByteArray::fromHex("0101 DC05"));
    QCOMPARE(widths[2].data, QByteArray::fromHex("0202 DC05"));
    QCOMPARE(recordsWithId(bytes, 0x0004).last().attributes(), QByteArray::fromHex("000002"));
}

void TestDataToXls::columnFromGrid()
{
    vx::DataSource source(m_table.get());
    vx::ui::DBGrid grid;
    grid.setDataSource(&source);
    grid.addColumn("PRNDES", "Descripción larga");
    grid.addColumn("PRNPRE");
    grid.addColumn("PRNCOD");
    grid.setColumnVisible(2, false);
    vx::ui::GridColumn centred = grid.column(0);
    centred.alignment = Qt::AlignHCenter;
    grid.setColumn(0, centred);
    grid.setColumnWidth(1, 80);

    TxlColumn description;
    description.Assign(grid, 0);
    QCOMPARE(description.DataField, QString("PRNDES"));
    QVERIFY(description.Save);
    QCOMPARE(description.Title, QString("Descripción larga"));
    QCOMPARE(description.Alignment, Qt::Alignment(Qt::AlignHCenter));
    QVERIFY(description.ColWidth > 0);
    QCOMPARE(description.ColWidth, grid.columnWidth(0) * 37);
    QCOMPARE(description.DataType, ctLabel);

    TxlColumn price;
    price.Assign(grid, 1);
    QCOMPARE(price.Title, QString("Precio"));
    QCOMPARE(price.Alignment, Qt::Alignment(Qt::AlignRight));
    QCOMPARE(price.ColWidth, 80 * 37);
    QCOMPARE(price.DataType, ctDouble);

    TxlColumn code;
    code.Assign(grid, 2);
    QCOMPARE(code.DataField, QString("PRNCOD"));
    QVERIFY(!code.Save);

    // A column stretched past 1 771 pixels is written at the widest width a sheet records.
    grid.setColumnWidth(0, 2400);
    description.Assign(grid, 0);
    QCOMPARE(description.ColWidth, 0xFFFF);
    TDataToXLS xls;
    xls.setDataSet(m_table.get());
    xls.Columns().addColumn()->Assign(description);
    xls.Columns().column(0)->ColWidth = 2400 * 37; // set by hand: capped as well
    const QByteArray bytes = exported(xls);
    QVERIFY(endsWithEof(bytes));
    for (const BiffReader::Record &r : BiffReader::split(bytes)) {
        if (r.id == 0x0024)
            QCOMPARE(r.data.mid(2), QByteArray::fromHex("FFFF"));
    }
}

void TestDataToXls::eventsCancelAndCellParams()
{
    TDataToXLS xls;
    xls.setDataSet(m_table.get());
    QStringList log;
    xls.OnBeginExport = [&](QObject *sender) { log << (sender == &xls ? "begin" : "?"); };
    xls.OnEndExport = [&](QObject *) { log << "end"; };
    xls.BeforeWriteRecord = [&](QObject *, bool &cancel) {
        const QString code = m_table->fieldByName("PRNCOD")->asString();
        log << "before " + code;
        cancel = code == "0002";
    };
    xls.AfterWriteRecord = [&](QObject *) { log << "after " + m_table->fieldByName("PRNCOD")->asString(); };
    QStringList cellsSeen;
    xls.OnGetDetailParams = [&](int row, int col, const TxlColumn &column, QVariant &value, TCellType &type,
                                TCellAttributes &attributes) {
        if (row == 1)
            cellsSeen << QString("%1,%2 %3").arg(row).arg(col).arg(column.DataField);
        if (column.DataField == "PRNCAN") {
            type = ctDouble;
            attributes = CellAttribute::Shaded;
            value = value.isNull() ? QVariant() : QVariant(value.toDouble() / 2);
        }
    };

    const QByteArray bytes = exported(xls);
    QCOMPARE(log, QStringList({"begin", "before 0001", "after 0001", "before 0002", "before 0003", "after 0003",
                               "before 0004", "after 0004", "end"}));
    QCOMPARE(cellsSeen, QStringList({"1,0 PRNID", "1,1 PRNCOD", "1,2 PRNDES", "1,3 PRNCAN", "1,4 PRNPRE", "1,5 PRNFEC",
                                     "1,6 PRNACT", "1,7 PRNOBS"}));
    const QStringList rows = sheetRows(bytes);
    QCOMPARE(rows.size(), 4); // the cancelled record leaves no empty row
    QVERIFY(rows[1].startsWith("I1|0001|Camisa ñandú|N2.5|"));
    QVERIFY(rows[2].startsWith("I3|0003|_|_|"));
    QVERIFY(rows[3].startsWith("I4|0004|Buzo|N35000|"));
    for (const BiffReader::Record &r : BiffReader::split(bytes)) {
        if (r.id >= 0x0001 && r.id <= 0x0005 && r.row() > 0 && r.column() == 3)
            QCOMPARE(r.attributes(), QByteArray::fromHex("000080"));
    }
    QVERIFY(!xls.exporting());
}

void TestDataToXls::refusesWithoutAnOpenNonEmptyDataset()
{
    TDataToXLS xls;
    int events = 0;
    xls.OnBeginExport = [&](QObject *) { ++events; };
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);

    const auto save = [&] { xls.SaveToStream(&buffer); };
    QCOMPARE(messageOf<ExportError>(save), QString("Cannot perform this operation without a dataset"));

    xls.setDataSet(m_table.get());
    m_table->close();
    const QString closed = messageOf<vx::DbError>(save);
    QVERIFY2(closed.contains("PRENDAS está cerrada."), qPrintable(closed));

    m_table->setFilter("PRNCOD = 'NINGUNO'");
    m_table->setFiltered(true);
    m_table->open();
    const QString empty = messageOf<vx::DbError>(save);
    QVERIFY2(empty.contains("PRENDAS") && empty.contains("registros"), qPrintable(empty));

    QVERIFY(buffer.data().isEmpty());
    QCOMPARE(events, 0);

    // The dataset is let go when it is destroyed.
    m_table.reset();
    QVERIFY(!xls.DataSet());
}

void TestDataToXls::unknownFieldLeavesNoEndAndRestoresDataset()
{
    TDataToXLS xls;
    xls.setDataSet(m_table.get());
    xls.Columns().addColumn()->DataField = "PRNCOD";
    xls.Columns().addColumn()->DataField = "PRNTALLE";
    int ends = 0;
    xls.OnEndExport = [&](QObject *) { ++ends; };
    m_table->setRecNo(2);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString unknown = messageOf<vx::DbError>([&] { xls.SaveToStream(&buffer); });
    QVERIFY2(unknown.contains("PRNTALLE") && unknown.contains("PRENDAS"), qPrintable(unknown));
    QVERIFY(!endsWithEof(buffer.data()));
    QCOMPARE(sheetRows(buffer.data()).value(0), QString("|")); // the header line, two empty titles
    QCOMPARE(m_table->recNo(), 2);
    QVERIFY(!m_table->controlsDisabled());
    QVERIFY(!xls.exporting());
    QCOMPARE(ends, 1);
    QCOMPARE(xls.Columns().count(), 2);

    // The component is usable again once the column is right.
    xls.Columns().column(1)->DataField = "PRNDES";
    QVERIFY(endsWithEof(exported(xls)));
}

void TestDataToXls::handlersMayChangeTheFieldsMidExport()
{
    TDataToXLS xls;
    xls.setDataSet(m_table.get());
    TxlColumn *column = xls.Columns().addColumn();
    column->DataField = "PRNCOD";
    column->Title = "Dato";
    bool reopened = false;
    xls.BeforeWriteRecord = [&](QObject *, bool &) {
        const QString code = m_table->fieldByName("PRNCOD")->asString();
        // From the second record on, the column shows another field...
        if (code == "0002")
            column->DataField = "PRNDES";
        // ...and once the dataset is opened anew under the walk: new field objects, and the walk
        // starts again from the first record.
        if (code == "0003" && !reopened) {
            reopened = true;
            m_table->close();
            m_table->open();
        }
    };
    QCOMPARE(sheetRows(exported(xls)), QStringList({"Dato", "0001", "Remera", "Camisa ñandú", "Remera", "_", "Buzo"}));
}

void TestDataToXls::saveToFileReplacesOnlyWhenComplete()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lista.xls");
    const auto writeOld = [&] {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("hoja anterior");
    };
    const auto content = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    };
    writeOld();

    TDataToXLS xls;
    xls.setDataSet(m_table.get());
    xls.SaveToFile(path);
    // A worksheet, and the code page of its texts right after.
    QVERIFY(content().startsWith(QByteArray::fromHex("0900 0400 0200 1000 4200 0200 E404")));
    QVERIFY(endsWithEof(content()));
    writeOld();

    // A failure in the middle of the export leaves the earlier file as it was.
    xls.Columns().addColumn()->DataField = "PRNTALLE";
    QVERIFY_THROWS_EXCEPTION(vx::DbError, xls.SaveToFile(path));
    QCOMPARE(content(), QByteArray("hoja anterior"));
    xls.Columns().clear();

    // So does a full disk, and the failure reaches the caller.
    {
        const FileSizeLimit nearlyFull(64);
        QVERIFY_THROWS_EXCEPTION(ExportError, xls.SaveToFile(path));
    }
    QCOMPARE(content(), QByteArray("hoja anterior"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"lista.xls"}));

    const QString noFolder = messageOf<ExportError>([&] { xls.SaveToFile(dir.filePath("no/existe/lista.xls")); });
    QVERIFY2(noFolder.contains("lista.xls"), qPrintable(noFolder));
}

void TestDataToXls::destroyedDuringExportStops()
{
    m_table->setRecNo(4);
    auto *xls = new TDataToXLS;
    xls->setDataSet(m_table.get());
    xls->BeforeWriteRecord = [&](QObject *, bool &) {
        if (m_table->recNo() == 2)
            delete xls;
    };
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY_THROWS_EXCEPTION(ExportError, xls->SaveToStream(&buffer));
    QVERIFY(!endsWithEof(buffer.data()));
    QCOMPARE(sheetRows(buffer.data()).size(), 2); // header and the first record
    QCOMPARE(m_table->recNo(), 4);
    QVERIFY(!m_table->controlsDisabled());

    // Losing the dataset midway stops the export too.
    TDataToXLS survivor;
    survivor.setDataSet(m_table.get());
    survivor.AfterWriteRecord = [&](QObject *) { m_table.reset(); };
    QBuffer second;
    second.open(QIODevice::WriteOnly);
    QVERIFY_THROWS_EXCEPTION(ExportError, survivor.SaveToStream(&second));
    QVERIFY(!endsWithEof(second.data()));
    QVERIFY(!survivor.exporting());
    QVERIFY(survivor.Columns().isEmpty());
}

void TestDataToXls::libreOfficeAndXlrdReadTheExport()
{
    if (LibreOfficeCsv::soffice().isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    QVERIFY2(XlrdCsv::available(), "python3-xlrd (scripts/install-deps) is needed to read the export");

    // Well past the extent every export declares (1025 rows, 4 columns).
    // Garments 2 and 4 get a price that is not a figure (not a number, minus infinity): blank cells.
    QStringList expected{garmentHeader.join(',') + ",Observaciones", "1,0001,Camisa ñandú,5,1234.5,08/12/2026,1,obs",
                         "2,0002,Remera,0,,31/01/2026 14:05:09,0,", "3,0003,,,,,,",
                         "4,0004,Buzo,70000,,31/01/2026 14:05:09,1,"};
    {
        vx::Transaction transaction(*m_db);
        for (int i = 1; i <= 1500; ++i) {
            const QString code = QString("A%1").arg(i, 4, 10, QChar('0'));
            const QString description = QString("Pantalón «%1», talle \"Ñ\" — 3€").arg(i);
            const int quantity = i * 53 - 700;
            const double price = i / 4.0;
            const QDate date = QDate(2025, 3, 1).addDays(i);
            const QVariant note = i % 10 == 0 ? QVariant() : QVariant(QString("nota %1").arg(i));
            addGarment({code, description, quantity, price, vx::naiveDateTime(date), i % 2 == 0, note});
            expected << QStringList{QString::number(i + 4),
                                    code,
                                    LibreOfficeCsv::field(description),
                                    QString::number(quantity),
                                    QString::number(price, 'g', 15),
                                    date.toString("dd/MM/yyyy"),
                                    i % 2 == 0 ? "1" : "0",
                                    note.toString()}
                            .join(',');
        }
        transaction.commit();
    }
    m_table->refresh();

    QTemporaryDir dir;
    const QString path = dir.filePath("prendas.xls");
    TDataToXLS xls;
    xls.setDataSet(m_table.get());
    xls.OnGetDetailParams = [](int row, int, const TxlColumn &column, QVariant &value, TCellType &, TCellAttributes &) {
        if (column.DataField == "PRNPRE" && (row == 2 || row == 4))
            value = row == 2 ? std::nan("") : -std::numeric_limits<double>::infinity();
    };
    xls.SaveToFile(path);

    for (const auto &[reader, read] :
         {std::pair{"LibreOffice", &LibreOfficeCsv::convert}, std::pair{"xlrd", &XlrdCsv::convert}}) {
        QString error;
        const QStringList lines = read(path, &error);
        QVERIFY2(!lines.isEmpty(), qPrintable(QString("%1: %2").arg(reader, error)));
        QCOMPARE(lines.size(), expected.size());
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY2(lines[i] == expected[i], qPrintable(QString("%1 read \"%2\"").arg(reader, lines[i])));
    }
}

QTEST_MAIN(TestDataToXls)
#include "tst_datatoxls.moc"
