// The shop schema, checked through a real SQLite file: every table created from the definition,
// then read back column by column against the stored layout written out below.

#include "data/Schema.h"
#include "platform/db/SqlDialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

// The stored layout, one table per entry, in stored order: "TABLE: COLUMN TYPE, ...".
// Types: A autonumber, I integer, SI small integer, N number, D date-time, Sn text(n), M memo,
// B yes/no. A table without an autonumber must get the hidden row key as its last column.
const char *const kLayout[] = {
    "STOCK: ARTUNO A, ARTCOD S13, ARTCMCT S20, ARTDES S255, ARTMAR N, ARTMARD S50, ARTCOL N, ARTCOLD S50, "
    "ARTTAL N, ARTTALD S50, ARTFOT S100, ARTREP N, ARTEX1 N, ARTEX2 N, ARTCOS1 N, ARTCOS2 N, ARTFEC1 D, ARTFEC2 D, "
    "ARTVEN1 N, ARTVEN2 N, ARTUTI1 N, ARTUTI2 N, ARTRUB S5, ARTOBS S100, ARTOPE I, ARTVEN3 N, ARTVEN4 N, "
    "ARTUTI3 N, ARTUTI4 N, ARTEXT N, ARTEX3 N, ARTEX4 N, ARTRUB2 S5, ARTRUB3 S5",
    "MARCAS: Id A, MARCOD N, MARDES S30",
    "COLORES: Id A, COLCOD N, COLDES S30",
    "TALLES: Id A, TALCOD N, TALDES S30",
    "IMAGEN: ImgId A, ImgCod N, ImgDes S100, ImgEti S50, ImgAct B, ImgPre N",
    "INGRESOS: INGUNO A, INGFEC D, INGHOR D, INGNRO I, INGCOD S13, INGCAN1 N, INGCAN2 N, INGCOS1 N, INGCOS2 N, "
    "INGOBS S100, INGCMCT S20, INGRUB S5, INGOPE I, INGNIV I, INGCAN3 N, INGCAN4 N, INGSUC I, INGRUB2 S5, "
    "INGRUB3 S5, INGCLI I, INGMAR N, INGTIP N, INGFAM N, INGCOL N, INGTAL N",
    "EGRESOS: EGRUNO A, EGRFEC D, EGRHOR D, EGRNRO I, EGRCOD S13, EGRCAN1 N, EGRCAN2 N, EGRCOS1 N, EGRCOS2 N, "
    "EGROBS S100, EGRCMCT S20, EGRVTA1 N, EGRVTA2 N, EGRRUB S5, EGRNIV I, EGROPE I, EGRCLI I, EGRCAN3 N, "
    "EGRCAN4 N, EGRSUC I, EGRRUB2 S5, EGRRUB3 S5, EGRMAR N, EGRTIP N, EGRFAM N, EGRCOL N, EGRTAL N",
    "MOVIM: MOVUNO A, MOVTIP S1, MOVFEC D, MOVHOR S50, MOVNRO I, MOVCOD S13, MOVCAN1 N, MOVCAN2 N, MOVOBS S50, "
    "MOVCMCT S20, MOVOPE SI, MOVRUB S5, MOVNIV I, MOVCAN3 N, MOVCAN4 N, MOVRUB2 S5, MOVRUB3 S5, MOVMAR N, "
    "MOVTIPO N, MOVFAM N, MOVSUC N, MOVCOL N, MOVTAL N",
    "OPERADOR: OPEUNO A, OPECOD SI, OPEAPE S30, OPECLA S50, OPENIV SI, OPESUC N",
    "CLIENTE: CLIUNO A, CLIEMP I, CLICOD SI, CLIRAZ S30, CLICON S30, CLICAR S20, CLIDIR S30, CLILOC S20, "
    "CLIZON SI, CLIC_P S10, CLITEL S30, CLICEL S20, CLIMAIL S50, CLIDIRE S30, CLILOCE S20, CLIFLE SI, CLICUI S13, "
    "CLIRET S1, CLISAL N, CLISAN N, CLIOLD D, CLIANB N, CLIANN N, CLICRB N, CLICRN N, CLIPRE SI, CLIMEM S30, "
    "CLIMAQ SI, CLIDEPO SI, CLIOBS S50, CLIVEN SI, CLIVENPOR N, CLIDTO N, CLIPAG I, CLIAPE S50, CLITDOC S6, "
    "CLINDOC I, CLIFEC D, CLIPRO S30, CLIIVA S50",
    "CLICOM: COMUNO A, COMTIP S2, COMSN S13, COMNRO N, COMEMP N, COMCLI SI, COMVEN N, COMCOMI N, COMZON SI, "
    "COMTOT N, COMIV1 N, COMIV2 N, COMSUB N, COMSAL N, COMDIA D, COMDIAV D, COMCON S100, COMNOTA S60, COMBON N, "
    "COMTDO S1, COMNDO N, COMPAG S1, BON S1, COMREM S13, COMPED S13, COMREC S50, COMPOR N, COMUSS B, COMTUS N, "
    "COMSUS N, COMVTO SI, COMNOT N, COMANU B, COMSNR S13, COMREL S45, COMMAQ SI, COMCOS N, COMNIV I, "
    "COMOBS S100, COMOPE I, COMSCLI S10",
    "ITECLI: ITEUNO A, ITETIP S2, ITESC S13, ITEFEC D, ITECOM N, ITECOD S25, ITEMAR N, ITECAN N, ITEPRE N, "
    "ITECAU N, ITEDEV N, ITEMAQ SI, ITEEDI N, ITEPOR N, ITEANU B, ITERUB S5, ITENIV I, ITEOPE I, ITERUB2 S5, "
    "ITERUB3 S5, ITECLI N, ITECOL N, ITETAL N",
    "CAJA: CAJUNO A, CAJMOV S1, CAJCOM S13, CAJTIP S2, CAJIMP N, CAJFEC D, CAJENT D, CAJSAL D, CAJCON S100",
    "CAJAD: CAJUNO A, CAJMOV S1, CAJCOM S13, CAJTIP S2, CAJIMP N, CAJFEC D, CAJENT D, CAJSAL D, CAJCON S100",
    "BANCO: BANCOD N, BANDES S50",
    "CTAPROP: Id A, CTATIP S3, CTABCO I, CTACOD I, CTADES S50, CTANRO S50",
    "TARJETAS: Id A, TARCOD N, TARNOM S50, TARBCO S50, TARCTA S50, TARDIA I",
    "CUPONES: Id A, CUPTARC I, CUPTARD S50, CUPFEC D, CUPCOM S13, CUPNRO S50, CUPCTA S50, CUPDIA N, CUPFAC D, "
    "CUPEST S2, CUPIMP N",
    "PROVEEDORES: CLIUNO A, CLIEMP I, CLISCLI S10, CLISUC I, CLICOD I, CLIRAZ S30, CLIAPE S50, CLICON S30, "
    "CLICAR S20, CLIDIR S30, CLILOC S20, CLIZON SI, CLIPRO S30, CLIC_P S10, CLITEL S30, CLICEL S20, CLIMAIL S50, "
    "CLITDOC S6, CLINDOC I, CLIFEC D, CLIDIRE S30, CLILOCE S20, CLIFLE SI, CLICUI S13, CLIIVA S50, CLIRET S1, "
    "CLISAL N, CLISAN N, CLIOLD D, CLIANB N, CLIANN N, CLICRB N, CLICRN N, CLIPRE I, CLIMEM S30, CLIMAQ I, "
    "CLIDEPO SI, CLIOBS S50, CLIVEN I, CLIVENPOR N, CLIDTO N, CLIPAG I",
    "PROCOM: COMUNO A, COMTIP S2, COMSN S13, COMSUC I, COMNRO N, COMEMP N, COMCLI I, COMVEN I, COMCOMI N, "
    "COMZON SI, COMSUB N, COMPOR N, COMIV1 N, COMIV2 N, COMTOT N, COMSAL N, COMDIA D, COMDIAV D, COMCON S100, "
    "COMNOTA S60, COMBON N, COMTDO S1, COMNDO N, COMPAG S1, BON S1, COMREM S13, COMPED S13, COMREC S50, "
    "COMUSS B, COMTUS N, COMSUS N, COMVTO SI, COMNOT N, COMANU B, COMSNR S13, COMREL S45, COMMAQ I, COMCOS N, "
    "COMOPE I, COMOBS S200",
    "PAGOS: COBUNO A, COBCOM S2, COBPRO SI, COBREC S50, COBTIP S2, COBNRO S50, COBIMP N, COBBON S1, COBFEC D, "
    "COBVEN SI, COBMAQ I, COBSUC I",
    "FILCOL: FCUNO A, FCTIPO S2, FCCOMPRO S15, FCTIPO2 B, FCESPACIO SI, "
    "FCFILA01 SI, FCFILA02 SI, FCFILA03 SI, FCFILA04 SI, FCFILA05 SI, FCFILA06 SI, FCFILA07 SI, FCFILA08 SI, "
    "FCFILA09 SI, FCFILA10 SI, FCFILA11 SI, FCFILA12 SI, FCFILA13 SI, FCFILA14 SI, FCFILA15 SI, FCFILA16 SI, "
    "FCFILA17 SI, FCFILA18 SI, FCFILA19 SI, FCFILA20 SI, FCFILA21 SI, FCFILA22 SI, FCFILA23 SI, FCFILA24 SI, "
    "FCFILA25 SI, "
    "FCCOL01 SI, FCCOL02 SI, FCCOL03 SI, FCCOL04 SI, FCCOL05 SI, FCCOL06 SI, FCCOL07 SI, FCCOL08 SI, FCCOL09 SI, "
    "FCCOL10 SI, FCCOL11 SI, FCCOL12 SI, FCCOL13 SI, FCCOL14 SI, FCCOL15 SI, FCCOL16 SI, FCCOL17 SI, FCCOL18 SI, "
    "FCCOL19 SI, FCCOL20 SI, FCCOL21 SI, FCCOL22 SI, FCCOL23 SI, FCCOL24 SI, FCCOL25 SI, "
    "FCFECHA1 B, FCFECHA2 B",
    "TMP1: TM1UNO A, TM1NUM1 N, TM1NUM2 N, TM1NUM3 N, TM1NUM4 N, TM1NUM5 N, TM1PRE1 N, TM1PRE2 N, TM1PRE3 N, "
    "TM1PRE4 N, TM1PRE5 N, TM1PRE6 N, TM1PRE7 N, TM1CHR1 S30, TM1CHR2 S30, TM1CHR3 S30, TM1CHR4 S30, "
    "TM1CHR5 S30, TM1CHR6 S30, TM1CHR7 S30, TM1DAT1 D, TM1DAT2 D, TM1DAT3 D, TM1CHR8 S30, TM1CHR9 S50, "
    "TM1CHR10 S100, TM1NUM6 N, TM1CHR11 S100, TM1IMG1 M, TM1NUM7 N, TM1NUM8 N, TM1NUM9 N, TM1DAT4 D",
    "EMPRESAS: EMPUNO A, EMPCOD S3, EMPDES S30",
    "RUBROS: RUBUNO A, RUBCOD S5, RUBDES S30",
    "ITEPRO: ITEUNO A, ITETIP S2, ITESC S13, ITESUC I, ITEFEC D, ITECOM N, ITECLI I, ITECOD S25, ITEMAR N, "
    "ITECOL N, ITETAL N, ITECAN N, ITEPRE N, ITECAU N, ITEDEV N, ITEMAQ I, ITEEDI N, ITEPOR N, ITEANU B, ITEOPE I",
    "EQUIPOS: EQUUNO A, EQUCLI N, EQUAPE S50, EQUORDEN I, EQUMAR S50, EQUMOD S50, EQUSER S50, EQUTEC S50, "
    "EQUFECE D, EQUFECS D, EQUPRE N, EQUVEN D, EQUOBS S100, EQUMEM M, EQUEST S30",
    "GASTOS: GASID A, GASCOD SI, GASDES S50",
    "ITEGAS: GASUNO A, GASCOD I, GASDES S50, GASFEC D, GASIMP N, GASMP S2, GASCON S50",
    "PRESUPUESTOS: ID I, PRECMCT S20, PRECLI I, PRECAN I, PREPRE N, PRETIP S2, PREFEC D, PREEDI N, PREDTO N, "
    "PRECOM S255",
    "CLIPRE:",
    "MATPRIM: MatPrimID A, MatPrimCod S13, MatPrimCodTrece S20, MatPrimDesc S255, MatPrimUM S255, "
    "MatPrimCosto N, MatPrimFecAlta D, MatPrimCant N, MatPrimObser S255, MatPrimFoto S255, MatPrimFecIngre D, "
    "MatPrimFecEgre D",
    "FORMULAS: FORID A, FORCODART S255, FORCODMP S255, FORMPCANT N, FORMPUM S255, FORDESC S255",
    "AUXILIARFORMULAS: Id A, MatPrimCodTrece S255",
};

struct ExpectedColumn {
    QString name;
    QString sqlType;  // as SQLite reports the declared type
    bool primaryKey = false;
};

struct ExpectedTable {
    QString name;
    QList<ExpectedColumn> columns;
};

QString sqlTypeOf(const QString &code)
{
    if (code == QLatin1String("A") || code == QLatin1String("I"))
        return QStringLiteral("INTEGER");
    if (code == QLatin1String("SI"))
        return QStringLiteral("SMALLINT");
    if (code == QLatin1String("N"))
        return QStringLiteral("REAL");
    if (code == QLatin1String("D"))
        return QStringLiteral("DATETIME");
    if (code == QLatin1String("M"))
        return QStringLiteral("TEXT");
    if (code == QLatin1String("B"))
        return QStringLiteral("BOOLEAN");
    if (code.startsWith(QLatin1Char('S')))
        return QStringLiteral("VARCHAR(%1)").arg(code.mid(1).toInt());
    return {};
}

QList<ExpectedTable> expectedLayout()
{
    QList<ExpectedTable> tables;
    for (const char *line : kLayout) {
        const QString text = QString::fromLatin1(line);
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        ExpectedTable table{text.left(colon), {}};
        bool hasAutonumber = false;
        const QStringList entries = text.mid(colon + 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString &entry : entries) {
            const QStringList parts = entry.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            Q_ASSERT(parts.size() == 2 && !sqlTypeOf(parts[1]).isEmpty());
            const bool autonumber = parts[1] == QLatin1String("A");
            hasAutonumber = hasAutonumber || autonumber;
            table.columns.append({parts[0], sqlTypeOf(parts[1]), autonumber});
        }
        if (!hasAutonumber)
            table.columns.append({QStringLiteral("VXROWKEY"), QStringLiteral("INTEGER"), true});
        tables.append(table);
    }
    return tables;
}

const QString kConnection = QStringLiteral("tst_schema");

}  // namespace

class TestSchema : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void tablesInStoredOrder();
    void columnsAsStored_data();
    void columnsAsStored();
    void indexesForSearchesAndOrders_data();
    void indexesForSearchesAndOrders();
    void noIndexOnRowKey();
    void lookupsRunOnIndexes_data();
    void lookupsRunOnIndexes();
    void presentation_data();
    void presentation();
    void everyDateIsTypedAsDayMonthYear();
    void onlyTheAddedRowKeyIsHidden();

private:
    QSqlDatabase db() const { return QSqlDatabase::database(kConnection); }
    QList<QStringList> indexesOf(const QString &table) const;

    QTemporaryDir m_dir;
};

void TestSchema::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
    database.setDatabaseName(m_dir.filePath(QStringLiteral("shop.db")));
    QVERIFY2(database.open(), qPrintable(database.lastError().text()));

    const auto dialect = vx::SqlDialect::create(vx::SqlDialect::Engine::SQLite);
    for (const vx::TableDef &table : data::vendrixSchema().tables()) {
        for (const QString &statement : dialect->createTableStatements(table)) {
            QSqlQuery query(database);
            QVERIFY2(query.exec(statement), qPrintable(statement + QLatin1String(": ") + query.lastError().text()));
        }
    }
}

void TestSchema::cleanupTestCase()
{
    QSqlDatabase::database(kConnection).close();
    QSqlDatabase::removeDatabase(kConnection);
}

void TestSchema::tablesInStoredOrder()
{
    QStringList expected;
    for (const ExpectedTable &table : expectedLayout())
        expected << table.name;
    QCOMPARE(expected.size(), 34);

    QStringList defined;
    for (const vx::TableDef &table : data::vendrixSchema().tables())
        defined << table.name;
    QCOMPARE(defined, expected);

    // What the file really holds, not only what the definition says.
    QStringList inFile = db().tables(QSql::Tables);
    inFile.removeAll(QStringLiteral("sqlite_sequence"));
    QStringList sortedExpected = expected;
    inFile.sort();
    sortedExpected.sort();
    QCOMPARE(inFile, sortedExpected);
}

void TestSchema::columnsAsStored_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("expected");  // "NAME TYPE" or "NAME TYPE PK"
    for (const ExpectedTable &table : expectedLayout()) {
        QStringList columns;
        for (const ExpectedColumn &column : table.columns)
            columns << column.name + QLatin1Char(' ') + column.sqlType + (column.primaryKey ? " PK" : "");
        QTest::newRow(qPrintable(table.name)) << table.name << columns;
    }
}

void TestSchema::columnsAsStored()
{
    QFETCH(QString, table);
    QFETCH(QStringList, expected);

    QSqlQuery query(db());
    QVERIFY(query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)));
    QStringList actual;
    int primaryKeys = 0;
    while (query.next()) {
        const bool primaryKey = query.value(QStringLiteral("pk")).toInt() > 0;
        primaryKeys += primaryKey ? 1 : 0;
        actual << query.value(QStringLiteral("name")).toString() + QLatin1Char(' ')
                      + query.value(QStringLiteral("type")).toString() + (primaryKey ? " PK" : "");
    }
    QCOMPARE(actual, expected);
    // One integer key per table: it is the SQLite row id, so every row can be found again.
    QCOMPARE(primaryKeys, 1);
}

QList<QStringList> TestSchema::indexesOf(const QString &table) const
{
    QList<QStringList> result;
    QSqlQuery list(db());
    if (!list.exec(QStringLiteral("PRAGMA index_list(%1)").arg(table)))
        return result;
    while (list.next()) {
        QSqlQuery info(db());
        if (!info.exec(QStringLiteral("PRAGMA index_info(%1)").arg(list.value(QStringLiteral("name")).toString())))
            continue;
        QStringList columns;
        while (info.next())
            columns << info.value(QStringLiteral("name")).toString();
        result << columns;
    }
    return result;
}

void TestSchema::indexesForSearchesAndOrders_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("leading");  // the index must start with these columns

    const char *const wanted[][3] = {
        // Article lookups and the article search orders.
        {"STOCK", "ARTCMCT", nullptr}, {"STOCK", "ARTCOD", nullptr}, {"STOCK", "ARTDES", nullptr},
        // Login by password and the operators window orders.
        {"OPERADOR", "OPECLA", nullptr}, {"OPERADOR", "OPECOD", nullptr}, {"OPERADOR", "OPEAPE", nullptr},
        {"OPERADOR", "OPENIV", nullptr},
        {"CLIENTE", "CLICOD", nullptr}, {"CLIENTE", "CLIAPE", nullptr},
        // Next voucher numbers.
        {"INGRESOS", "INGNRO", nullptr}, {"EGRESOS", "EGRNRO", nullptr}, {"CLICOM", "COMNRO", nullptr},
        {"CLICOM", "COMTIP", "COMNRO"},
        // Lines of a receipt; the article of each movement.
        {"ITECLI", "ITECOM", nullptr}, {"INGRESOS", "INGCMCT", nullptr}, {"EGRESOS", "EGRCMCT", nullptr},
        {"MOVIM", "MOVCMCT", nullptr}, {"ITECLI", "ITECOD", nullptr},
        // Date ranges of the queries and the cash windows.
        {"INGRESOS", "INGFEC", nullptr}, {"EGRESOS", "EGRFEC", nullptr}, {"CLICOM", "COMDIA", nullptr},
        {"ITECLI", "ITEFEC", nullptr}, {"CAJA", "CAJFEC", nullptr}, {"CAJAD", "CAJENT", nullptr},
        {"MOVIM", "MOVFEC", nullptr}, {"CUPONES", "CUPEST", nullptr},
        // Catalogues, banks, cards and suppliers.
        {"MARCAS", "MARCOD", nullptr}, {"COLORES", "COLCOD", nullptr}, {"TALLES", "TALCOD", nullptr},
        {"BANCO", "BANCOD", nullptr}, {"TARJETAS", "TARNOM", nullptr}, {"CTAPROP", "CTABCO", nullptr},
        {"PROVEEDORES", "CLICOD", nullptr}, {"PROCOM", "COMCLI", nullptr}, {"PAGOS", "COBPRO", nullptr},
        {"INGRESOS", "INGCLI", nullptr},
    };
    for (const auto &entry : wanted) {
        QStringList leading{QString::fromLatin1(entry[1])};
        if (entry[2])
            leading << QString::fromLatin1(entry[2]);
        QTest::newRow(qPrintable(QString::fromLatin1(entry[0]) + QLatin1Char('.') + leading.join(QLatin1Char('+'))))
            << QString::fromLatin1(entry[0]) << leading;
    }
}

void TestSchema::indexesForSearchesAndOrders()
{
    QFETCH(QString, table);
    QFETCH(QStringList, leading);

    const QList<QStringList> indexes = indexesOf(table);
    const bool found = std::any_of(indexes.cbegin(), indexes.cend(), [&](const QStringList &columns) {
        return columns.mid(0, leading.size()) == leading;
    });
    QVERIFY2(found, qPrintable(QStringLiteral("no index on %1 starts with %2").arg(table, leading.join(','))));
}

void TestSchema::noIndexOnRowKey()
{
    // The row key is the table's own b-tree; a second index on it would only slow every insert.
    for (const vx::TableDef &table : data::vendrixSchema().tables()) {
        for (const QStringList &columns : indexesOf(table.name))
            QVERIFY2(columns.value(0) != table.rowKey(), qPrintable(table.name));
    }
}

void TestSchema::lookupsRunOnIndexes_data()
{
    QTest::addColumn<QString>("sql");

    // The searches and orders that would otherwise scan or sort a large table.
    QTest::newRow("article by own code") << "SELECT * FROM STOCK WHERE ARTCMCT = '0000000000057'";
    QTest::newRow("articles by description") << "SELECT * FROM STOCK WHERE ARTDES >= 'CAMISA' ORDER BY ARTDES";
    QTest::newRow("history of one article by date")
        << "SELECT * FROM MOVIM WHERE MOVCMCT = '0000000000057' ORDER BY MOVFEC, MOVUNO";
    QTest::newRow("receipts of a period by date and number")
        << "SELECT * FROM CLICOM WHERE COMDIA >= '2024-01-01' AND COMDIA <= '2024-01-31' ORDER BY COMDIA, COMNRO";
    QTest::newRow("lines of one receipt") << "SELECT * FROM ITECLI WHERE ITECOM = 42 ORDER BY ITECOM, ITEUNO";
    QTest::newRow("last receipt number") << "SELECT * FROM CLICOM ORDER BY COMNRO DESC LIMIT 1";
    QTest::newRow("operator by password") << "SELECT * FROM OPERADOR WHERE OPECLA = 'x'";
    // A supplier's account and the check before a supplier is deleted.
    QTest::newRow("documents of one supplier") << "SELECT * FROM PROCOM WHERE COMCLI = 7 ORDER BY COMCLI, COMTIP, COMNRO";
    QTest::newRow("payments of one supplier") << "SELECT * FROM PAGOS WHERE COBPRO = 7";
    QTest::newRow("receipts of one supplier") << "SELECT 1 FROM INGRESOS WHERE INGCLI = 7 LIMIT 1";
}

void TestSchema::lookupsRunOnIndexes()
{
    QFETCH(QString, sql);

    QSqlQuery query(db());
    QVERIFY2(query.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql), qPrintable(query.lastError().text()));
    QStringList plan;
    while (query.next())
        plan << query.value(QStringLiteral("detail")).toString();
    const QString text = plan.join(QLatin1String(" | "));
    QVERIFY2(text.contains(QLatin1String("USING INDEX")) || text.contains(QLatin1String("USING COVERING INDEX")),
             qPrintable(text));
    QVERIFY2(!text.contains(QLatin1String("TEMP B-TREE")), qPrintable(text));
}

void TestSchema::presentation_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("width");

    const QString dateMask = QStringLiteral("!99/99/0000;1;_");
    QTest::newRow("stock 1") << "STOCK" << "ARTEX1" << "Cant.1" << "0.00" << "" << 0;
    QTest::newRow("origin code") << "STOCK" << "ARTCOD" << "Cod. Origen" << "" << "" << 0;
    QTest::newRow("sale price") << "STOCK" << "ARTVEN1" << "Venta 1" << "0.00" << "" << 0;
    QTest::newRow("last receipt date") << "STOCK" << "ARTFEC1" << "Ult.F.Ingreso" << "" << dateMask << 0;
    QTest::newRow("password") << "OPERADOR" << "OPECLA" << "Clave de Acceso" << "" << "**********" << 0;
    QTest::newRow("receipt number") << "CLICOM" << "COMNRO" << "Comprobante" << "" << "" << 13;
    QTest::newRow("sale date") << "CLICOM" << "COMDIA" << "Fecha" << "" << dateMask << 0;
    QTest::newRow("movement time") << "MOVIM" << "MOVHOR" << "" << "" << "!90:00;1;_" << 0;
    QTest::newRow("brand code") << "MARCAS" << "MARCOD" << "Codigo" << "" << "" << 3;
    QTest::newRow("size code") << "TALLES" << "TALCOD" << "Codigo" << "" << "" << 3;
    QTest::newRow("image article") << "IMAGEN" << "ImgCod" << "Codigo" << "" << "" << 13;
    QTest::newRow("image active") << "IMAGEN" << "ImgAct" << "Act" << "Si;No" << "" << 0;
    QTest::newRow("cash amount") << "CAJAD" << "CAJIMP" << "Importe" << "0.00" << "" << 0;
    QTest::newRow("line article") << "ITECLI" << "ITECOD" << QString::fromUtf8("Código Art.") << "" << "" << 0;
    QTest::newRow("coupon number") << "CUPONES" << "CUPNRO" << QString::fromUtf8("Cupón Nro.") << "" << "" << 0;
    QTest::newRow("customer balance") << "CLIENTE" << "CLISAL" << "Saldo" << "0.00" << "" << 0;
}

void TestSchema::presentation()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, label);
    QFETCH(QString, format);
    QFETCH(QString, mask);
    QFETCH(int, width);

    const vx::TableDef *def = data::vendrixSchema().table(table);
    QVERIFY(def);
    const vx::ColumnDef *col = def->column(column);
    QVERIFY(col);
    QCOMPARE(col->displayLabel, label);
    QCOMPARE(col->displayFormat, format);
    QCOMPARE(col->editMask, mask);
    QCOMPARE(col->displayWidth, width);
    QVERIFY(!col->hidden);
}

void TestSchema::everyDateIsTypedAsDayMonthYear()
{
    // Every date is typed day/month/year; only the recording times of the movement lines are times.
    const QStringList times{QStringLiteral("INGHOR"), QStringLiteral("EGRHOR")};
    qsizetype dates = 0;
    for (const vx::TableDef &table : data::vendrixSchema().tables()) {
        for (const vx::ColumnDef &column : table.columns) {
            if (column.type != vx::FieldType::DateTime)
                continue;
            const QString where = table.name + QLatin1Char('.') + column.name;
            if (times.contains(column.name))
                QVERIFY2(column.editMask.isEmpty(), qPrintable(where));
            else
                QVERIFY2(column.editMask == QLatin1String("!99/99/0000;1;_"), qPrintable(where));
            ++dates;
        }
    }
    qsizetype expectedDates = 0;
    for (const ExpectedTable &table : expectedLayout()) {
        expectedDates += std::count_if(table.columns.cbegin(), table.columns.cend(), [](const ExpectedColumn &c) {
            return c.sqlType == QLatin1String("DATETIME");
        });
    }
    QCOMPARE(dates, expectedDates);
}

void TestSchema::onlyTheAddedRowKeyIsHidden()
{
    for (const vx::TableDef &table : data::vendrixSchema().tables()) {
        for (const vx::ColumnDef &column : table.columns) {
            const bool addedKey = column.name == QLatin1String("VXROWKEY");
            QVERIFY2(column.hidden == addedKey, qPrintable(table.name + QLatin1Char('.') + column.name));
        }
    }
    QCOMPARE(data::vendrixSchema().table(QStringLiteral("BANCO"))->rowKey(), QStringLiteral("VXROWKEY"));
    QCOMPARE(data::vendrixSchema().table(QStringLiteral("STOCK"))->rowKey(), QStringLiteral("ARTUNO"));
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
