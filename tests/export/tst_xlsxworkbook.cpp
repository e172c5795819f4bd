// A list longer than a .xls sheet: every caller of TDataToXLS is asked, and on Yes gets one .xlsx
// workbook with the same title, header and cell types, read back by LibreOffice; on No nothing.
#include "export/DataToXLS.h"

#include "platform/db/Connection.h"
#include "platform/db/Table.h"
#include "platform/ui/FakeDialogs.h"

#include "LibreOfficeCsv.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

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

const vx::Schema &schema()
{
    static const vx::Schema shop({vx::TableDef{
        QStringLiteral("PRENDAS"),
        {column("PRNID", FieldType::AutoInc, "Nº"), column("PRNDES", FieldType::String, "Descripción", 40),
         column("PRNCAN", FieldType::Integer, "Cantidad"), column("PRNPRE", FieldType::Float, "Precio"),
         column("PRNACT", FieldType::Boolean, "Activo")},
        {}}});
    return shop;
}

} // namespace

class TestXlsxWorkbook : public QObject {
    Q_OBJECT

private slots:
    void longListsAreOfferedAsOneWorkbook()
    {
        if (LibreOfficeCsv::soffice().isEmpty())
            QSKIP("LibreOffice (scripts/install-deps) reads the workbook");
        QTemporaryDir dir;
        auto db = vx::Connection::openSqlite(dir.filePath(QStringLiteral("shop.db")), &schema(), true);
        db->createSchema();
        db->execute(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 65535) "
            "INSERT INTO PRENDAS (PRNDES, PRNCAN, PRNPRE, PRNACT) "
            "SELECT CASE WHEN i = 2 THEN 'CAMISA, \"LISA\" ÑANDÚ' ELSE 'PRENDA ' || i END, "
            "CASE WHEN i = 3 THEN NULL ELSE i END, i * 0.25, i % 2 FROM n"));
        vx::Table garments(db.get(), QStringLiteral("PRENDAS"));
        garments.open();
        vx::ui::FakeDialogs dialogs;
        TDataToXLS sheet;
        sheet.setDataSet(&garments);
        sheet.Title().Text = QStringLiteral("Prendas");
        const QString asked = dir.filePath(QStringLiteral("prendas.xls"));
        const QString question =
            QStringLiteral("La lista tiene 65 535 filas y una planilla .xls admite 65 534. ¿Graba un libro .xlsx?");

        QVERIFY_THROWS_EXCEPTION(ExportDeclined, sheet.SaveToFile(asked));
        QCOMPARE(dialogs.texts(QStringLiteral("confirm")), QStringList{question});
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("prendas*")}, QDir::Files), QStringList{});
        QVERIFY(!sheet.exporting() && sheet.Columns().isEmpty());

        dialogs.confirmAnswers.enqueue(true);
        sheet.SaveToFile(asked);
        QCOMPARE(sheet.LastFileName(), asked + QLatin1Char('x'));
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("prendas*")}, QDir::Files),
                 QStringList{QStringLiteral("prendas.xlsx")});
        QString error;
        const QStringList rows = LibreOfficeCsv::convertQuotingText(sheet.LastFileName(), &error);
        QVERIFY2(!rows.isEmpty(), qPrintable(error));
        QCOMPARE(rows.size(), 65537);
        // Texts quoted, numbers and booleans not, a null a blank cell.
        const QStringList expected{
            QStringLiteral("\"Prendas\",,,,"),
            QStringLiteral("\"Nº\",\"Descripción\",\"Cantidad\",\"Precio\",\"Activo\""),
            QStringLiteral("1,\"PRENDA 1\",1,0.25,TRUE"),
            QStringLiteral("2,\"CAMISA, \"\"LISA\"\" ÑANDÚ\",2,0.5,FALSE"),
            QStringLiteral("3,\"PRENDA 3\",,0.75,TRUE"),
        };
        QCOMPARE(rows.mid(0, 5), expected);
        QCOMPARE(rows.last(), QStringLiteral("65535,\"PRENDA 65535\",65535,16383.75,TRUE"));

        // A list that fits stays a .xls sheet, with no question.
        garments.setFilter(QStringLiteral("PRNID <= 65534"));
        garments.setFiltered(true);
        sheet.SaveToFile(asked);
        QCOMPARE(sheet.LastFileName(), asked);
        QCOMPARE(dialogs.texts(QStringLiteral("confirm")).size(), 2);
        QVERIFY(QFile(asked).open(QIODevice::ReadOnly));
    }
};

QTEST_MAIN(TestXlsxWorkbook)
#include "tst_xlsxworkbook.moc"
