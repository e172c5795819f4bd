// The stock list's spreadsheet export on a big shop: the whole STOCK table, in own-code order,
// through TDataToXLS to a file. Timed beside its floor (the same columns read with plain SQL
// through the same driver) and beside python3-xlwt, the peer a user would script, writing the
// same values to an .xls file in the same run.
#include "bench/Bench.h"
#include "bench/SyntheticShop.h"
#include "export/DataToXLS.h"
#include "export/VariantConversion.h"
#include "platform/db/Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSaveFile>
#include <QSqlQuery>

#include <algorithm>
#include <iterator>
#include <limits>
#include <stdexcept>

namespace {

// An .xls sheet holds rows 0..65535; the title and header lines take the first two.
constexpr qint64 mostRecords = 65534;
constexpr int repeats = 3;

struct StockColumn {
    const char *field;
    const char *title;
    int width;
    Qt::Alignment alignment;
    TCellType type;
};

// The stock list window's export columns for the columns its grid shows.
const StockColumn stockColumns[] = {
    {"ARTCMCT", "CODIGO PROPIO", 6000, Qt::AlignLeft, ctLabel},
    {"ARTDES", "DESCRIPCION", 10000, Qt::AlignLeft, ctLabel},
    {"ARTEX1", "Cant.1", 2200, Qt::AlignRight, ctDouble},
    {"ARTEX2", "Cant.2", 2200, Qt::AlignRight, ctDouble},
    {"ARTCOS1", "Costo 1", 3000, Qt::AlignRight, ctDouble},
    {"ARTVEN1", "Venta 1", 3000, Qt::AlignRight, ctDouble},
    {"ARTVEN2", "Venta 2", 3000, Qt::AlignRight, ctDouble},
    {"ARTVEN3", "Venta 3", 3000, Qt::AlignRight, ctLabel},
    {"ARTVEN4", "Venta 4", 3000, Qt::AlignRight, ctLabel},
    {"ARTFEC1", "F.Ingreso", 3200, Qt::AlignHCenter, ctLabel},
    {"ARTFEC2", "F.Egreso", 3200, Qt::AlignHCenter, ctLabel},
    {"ARTFOT", "Arch.de Foto", 8800, Qt::AlignLeft, ctLabel},
    {"ARTOBS", "Observaciones", 8800, Qt::AlignLeft, ctLabel},
};

const char xlwtScript[] = R"(import json, sys, time
import xlwt
rows = json.load(open(sys.argv[1], encoding='utf-8'))
start = time.perf_counter()
book = xlwt.Workbook(encoding='utf-8')
sheet = book.add_sheet('Stock')
for r, row in enumerate(rows):
    for c, value in enumerate(row):
        if value is None:
            sheet.write(r, c)
        else:
            sheet.write(r, c, value)
book.save(sys.argv[2])
print(time.perf_counter() - start)
)";

void configure(TDataToXLS &xls, vx::Table &stock)
{
    xls.setDataSet(&stock);
    xls.Title().Text = QStringLiteral("Consulta de Stock al   ") + QDate::currentDate().toString("dd/MM/yyyy");
    for (const StockColumn &c : stockColumns) {
        TxlColumn *column = xls.Columns().addColumn();
        column->DataField = QString::fromLatin1(c.field);
        column->Title = QString::fromLatin1(c.title);
        column->ColWidth = c.width;
        column->Alignment = c.alignment;
        column->DataType = c.type;
    }
}

// The values the export writes, header first, as the export converts them.
QList<QVariantList> exportedValues(vx::Table &stock)
{
    QList<QVariantList> rows;
    QVariantList header;
    for (const StockColumn &c : stockColumns)
        header.append(QString::fromLatin1(c.title));
    rows.append(header);
    for (stock.first(); !stock.eof(); stock.next()) {
        QVariantList row;
        for (const StockColumn &c : stockColumns) {
            const QVariant value = stock.fieldByName(QString::fromLatin1(c.field))->value();
            if (value.isNull())
                row.append(QVariant());
            else if (c.type == ctDouble)
                row.append(VariantConversion::toDouble(value));
            else
                row.append(VariantConversion::toText(value));
        }
        rows.append(row);
    }
    return rows;
}

// The same values written with the spreadsheet writer alone, from memory, as the peer does.
void writeValues(const QList<QVariantList> &rows, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot create the writer's file");
    TBiffFile sheet(&file);
    sheet.WriteFont(QFont(QStringLiteral("Arial"), 10));
    sheet.WriteDimensions(0, 1025, 0, 4);
    for (int r = 0; r < rows.size(); ++r) {
        const QVariantList &row = rows[r];
        for (int c = 0; c < row.size(); ++c)
            sheet.WriteCell(r, c, CellAttribute::AlignLeft, r == 0 ? ctLabel : stockColumns[c].type, row[c]);
    }
    sheet.finish();
    if (!file.commit())
        throw std::runtime_error("cannot save the writer's file");
}

QJsonArray asJson(const QList<QVariantList> &rows)
{
    QJsonArray out;
    for (const QVariantList &row : rows)
        out.append(QJsonArray::fromVariantList(row));
    return out;
}

// Seconds python3-xlwt took to write the values, or a negative number when it cannot run.
double xlwtSeconds(const QString &workDir, const QJsonArray &values, QString *why)
{
    const QString python = QStringLiteral("/usr/bin/python3");
    const QString script = QDir(workDir).filePath("xlwt_peer.py");
    const QString input = QDir(workDir).filePath("stock.json");
    QFile scriptFile(script);
    QFile inputFile(input);
    if (!scriptFile.open(QIODevice::WriteOnly) || !inputFile.open(QIODevice::WriteOnly)) {
        *why = QStringLiteral("cannot write the peer's files");
        return -1;
    }
    scriptFile.write(xlwtScript);
    scriptFile.close();
    inputFile.write(QJsonDocument(values).toJson(QJsonDocument::Compact));
    inputFile.close();

    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < repeats; ++i) {
        QProcess peer;
        peer.start(python, {script, input, QDir(workDir).filePath("stock-xlwt.xls")});
        if (!peer.waitForFinished(-1) || peer.exitCode() != 0) {
            *why = QString::fromUtf8(peer.readAllStandardError()).trimmed().section('\n', -1);
            return -1;
        }
        bool ok = false;
        const double seconds = QString::fromUtf8(peer.readAllStandardOutput()).trimmed().toDouble(&ok);
        if (!ok) {
            *why = QStringLiteral("the peer printed no time");
            return -1;
        }
        best = std::min(best, seconds);
    }
    return best;
}

void run(bench::Context &context)
{
    const qint64 wanted = context.option(QStringLiteral("export-rows"), 100000);
    const qint64 rows = std::min(wanted, mostRecords);
    if (rows < wanted)
        bench::note(QStringLiteral("rows asked / written"),
                    QStringLiteral("%1 / %2 (an .xls sheet holds 65536 rows, title and header included)")
                        .arg(wanted)
                        .arg(rows));

    bench::ShopSize size;
    size.articles = rows;
    size.movements = 0;
    const auto connection = bench::createSyntheticShop(QDir(context.workDir).filePath("export.db"), size);
    vx::Table stock(connection.get(), QStringLiteral("STOCK"));
    stock.setIndexFieldNames(QStringLiteral("ARTCMCT"));
    stock.open();

    TDataToXLS xls;
    configure(xls, stock);
    const QString path = QDir(context.workDir).filePath("stock.xls");
    const double ours = bench::bestOf(repeats, [&] { xls.SaveToFile(path); });

    QStringList columnNames;
    for (const StockColumn &c : stockColumns)
        columnNames << QString::fromLatin1(c.field);
    const QString select = QStringLiteral("SELECT %1 FROM STOCK ORDER BY ARTCMCT").arg(columnNames.join(", "));
    const double floor = bench::bestOf(repeats, [&] {
        QSqlQuery query(connection->database());
        query.setForwardOnly(true);
        query.exec(select);
        qint64 read = 0;
        while (query.next()) {
            for (int i = 0; i < columnNames.size(); ++i)
                read += query.value(i).isNull() ? 0 : 1;
        }
        if (read == 0)
            throw std::runtime_error("the floor read nothing");
    });

    // What the dataset alone costs: the same walk reading the same fields, nothing written.
    const double walk = bench::bestOf(repeats, [&] {
        qint64 read = 0;
        for (stock.first(); !stock.eof(); stock.next()) {
            for (const QString &name : std::as_const(columnNames))
                read += stock.fieldByName(name)->isNull() ? 0 : 1;
        }
        if (read == 0)
            throw std::runtime_error("the walk read nothing");
    });

    const QString what = QStringLiteral("stock list %1 x %2 to .xls").arg(rows).arg(columnNames.size());
    const double megabytes = double(QFileInfo(path).size()) / 1e6;
    bench::report(what, ours, QStringLiteral("plain SQL read"), floor);
    bench::report(QStringLiteral("dataset walk alone, same fields"), walk, QStringLiteral("plain SQL read"), floor);
    bench::note(QStringLiteral("file size, throughput"),
                QStringLiteral("%1 MB, %2 MB/s").arg(megabytes, 0, 'f', 2).arg(megabytes / ours, 0, 'f', 1));

    const QList<QVariantList> values = exportedValues(stock);
    const qint64 cells = (values.size() - 1) * qint64(std::size(stockColumns));
    const double writer = bench::bestOf(repeats, [&] { writeValues(values, QDir(context.workDir).filePath("writer.xls")); });
    QString why;
    const double peer = xlwtSeconds(context.workDir, asJson(values), &why);
    if (peer < 0) {
        bench::note(QStringLiteral("python3-xlwt"), QStringLiteral("not run: ") + why);
        return;
    }
    bench::report(what, ours, QStringLiteral("python3-xlwt"), peer);
    bench::report(QStringLiteral("same values, writer alone from memory"), writer, QStringLiteral("python3-xlwt"),
                  peer);
    bench::note(QStringLiteral("times faster than python3-xlwt"),
                QStringLiteral("export %1, writer alone %2 (target: 10); %3 cells")
                    .arg(peer / ours, 0, 'f', 1)
                    .arg(peer / writer, 0, 'f', 1)
                    .arg(cells));
}

} // namespace

static bench::Registrar reg("export", run);
