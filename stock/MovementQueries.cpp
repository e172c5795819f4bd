#include "stock/MovementQueries.h"

#include "data/Schema.h"

namespace stock {

namespace {

MovementQueryKind makeReceipts()
{
    MovementQueryKind kind;
    kind.caption = QStringLiteral("Consulta de Ingresos");
    kind.statement.columns = {QStringLiteral("INGFEC"),  QStringLiteral("INGNRO"),  QStringLiteral("INGCMCT"),
                              QStringLiteral("ARTDES"),  QStringLiteral("INGCAN1"), QStringLiteral("INGCOS1"),
                              QStringLiteral("INGCAN2"), QStringLiteral("INGCLI"),  QStringLiteral("INGOPE"),
                              QStringLiteral("INGUNO"),
                              // The supplier's name, one row per line whatever the suppliers file holds;
                              // empty for a receipt without supplier or one whose supplier was deleted.
                              QStringLiteral("(SELECT MIN(CLIAPE) FROM PROVEEDORES WHERE CLICOD = INGRESOS.INGCLI) AS CLIAPE")};
    kind.statement.from = QStringLiteral("INGRESOS JOIN STOCK ON STOCK.ARTCMCT = INGRESOS.INGCMCT");
    kind.statement.where = QStringLiteral("(INGCAN1 <> 0 OR INGCAN2 <> 0)");
    kind.statement.order = {QStringLiteral("INGNRO")};
    kind.statement.rowKey = QStringLiteral("INGUNO");
    kind.dateColumn = QStringLiteral("INGFEC");
    kind.codeColumn = QStringLiteral("INGCMCT");
    kind.quantityColumns = {QStringLiteral("INGCAN1"), QStringLiteral("INGCAN2")};
    kind.gridColumns = {{QStringLiteral("INGFEC"), QStringLiteral("Fecha")},
                        {QStringLiteral("INGNRO"), QStringLiteral("No.Comp.")},
                        {QStringLiteral("INGCMCT"), QStringLiteral("Articulo"), 14},
                        {QStringLiteral("ARTDES"), QStringLiteral("Descripción"), 28},
                        {QStringLiteral("INGCAN1"), QStringLiteral("Cant."), 6},
                        {QStringLiteral("INGCOS1"), QStringLiteral("Costo"), 8},
                        {QStringLiteral("INGCAN2"), QStringLiteral("Cant.2"), 6},
                        {QStringLiteral("INGCLI"), QStringLiteral("Prov."), 5},
                        {QStringLiteral("CLIAPE"), QStringLiteral("Proveedor"), 20},
                        {QStringLiteral("INGOPE"), QStringLiteral("Ope"), 4}};
    // The date of the receipt line, not the article's last receipt date.
    kind.exportColumns = {{QStringLiteral("INGFEC"), QStringLiteral("Fecha")},
                          {QStringLiteral("INGNRO"), QStringLiteral("Nro.Comp.")},
                          {QStringLiteral("INGCMCT"), QStringLiteral("Codigo")},
                          {QStringLiteral("ARTDES"), QStringLiteral("Descripcion")},
                          {QStringLiteral("INGCAN1"), QStringLiteral("Cant.1")},
                          {QStringLiteral("INGCAN2"), QStringLiteral("Cant.2")},
                          {QStringLiteral("INGCOS1"), QStringLiteral("Costo")},
                          {QStringLiteral("CLIAPE"), QStringLiteral("Proveedor")}};
    kind.showsLookups = true;
    kind.codeLabel = QStringLiteral("Por CODIGO PROPIO ");
    kind.articleList = uGlobales::ArticleList::ConsIng;
    return kind;
}

MovementQueryKind makeIssues()
{
    MovementQueryKind kind;
    kind.caption = QStringLiteral("Consulta de Egresos");
    kind.statement.columns = {QStringLiteral("EGRFEC"),  QStringLiteral("EGRNRO"),  QStringLiteral("EGRCMCT"),
                              QStringLiteral("ARTDES"),  QStringLiteral("EGRCAN1"), QStringLiteral("EGRCOS1"),
                              QStringLiteral("EGRCAN2"), QStringLiteral("EGRCOS2"), QStringLiteral("ARTEX1"),
                              QStringLiteral("ARTEX2"),  QStringLiteral("EGRUNO")};
    kind.statement.from = QStringLiteral("EGRESOS JOIN STOCK ON STOCK.ARTCMCT = EGRESOS.EGRCMCT");
    kind.statement.where = QStringLiteral("(EGRCAN1 <> 0 OR EGRCAN2 <> 0)");
    // Listed in voucher order, as the receipts are, rather than in whatever order the engine reads.
    kind.statement.order = {QStringLiteral("EGRNRO")};
    kind.statement.rowKey = QStringLiteral("EGRUNO");
    kind.dateColumn = QStringLiteral("EGRFEC");
    kind.codeColumn = QStringLiteral("EGRCMCT");
    kind.codeContains = true;
    kind.quantityColumns = {QStringLiteral("EGRCAN1"), QStringLiteral("EGRCAN2")};
    kind.gridColumns = {{QStringLiteral("EGRFEC"), QStringLiteral("Fecha")},
                        {QStringLiteral("EGRNRO"), QStringLiteral("No.Comp.")},
                        {QStringLiteral("EGRCMCT"), QStringLiteral("Articulo")},
                        {QStringLiteral("ARTDES"), QStringLiteral("Descripcion"), 28},
                        {QStringLiteral("EGRCAN1"), QStringLiteral("Cant.")},
                        {QStringLiteral("EGRCOS1"), QStringLiteral("Costo 1")},
                        {QStringLiteral("EGRCAN2"), QStringLiteral("Cant.2")},
                        {QStringLiteral("EGRCOS2"), QStringLiteral("Costo 2")},
                        {QStringLiteral("ARTEX1"), QStringLiteral("Stock 1")},
                        {QStringLiteral("ARTEX2"), QStringLiteral("Stock 2")}};
    kind.exportColumns = {{QStringLiteral("EGRFEC"), QStringLiteral("Fecha")},
                          {QStringLiteral("EGRNRO"), QStringLiteral("Nro.Comp.")},
                          {QStringLiteral("EGRCMCT"), QStringLiteral("Codigo")},
                          {QStringLiteral("ARTDES"), QStringLiteral("Descripcion")},
                          {QStringLiteral("EGRCAN1"), QStringLiteral("Cant.1")},
                          {QStringLiteral("EGRCAN2"), QStringLiteral("Cant.2")},
                          {QStringLiteral("EGRCOS1"), QStringLiteral("Costo 1")},
                          {QStringLiteral("EGRCOS2"), QStringLiteral("Costo 2")}};
    kind.codeLabel = QStringLiteral("Por CODIGO PROPIO");
    kind.articleList = uGlobales::ArticleList::ConsEgr;
    return kind;
}

}  // namespace

const MovementQueryKind &receiptQuery()
{
    static const MovementQueryKind kind = makeReceipts();
    return kind;
}

const MovementQueryKind &issueQuery()
{
    static const MovementQueryKind kind = makeIssues();
    return kind;
}

vx::QueryStatement movementJournalStatement()
{
    vx::QueryStatement statement;
    for (const vx::ColumnDef &column : data::vendrixSchema().table(QStringLiteral("MOVIM"))->columns)
        statement.columns << column.name;
    statement.from = QStringLiteral("MOVIM");
    statement.order = {QStringLiteral("MOVFEC")};
    statement.rowKey = QStringLiteral("MOVUNO");
    return statement;
}

QStringList movementTotalsExpressions()
{
    const auto part = [](const char *kind, const char *column) {
        return QStringLiteral("CASE WHEN MOVTIP = '%1' THEN COALESCE(%2, 0) ELSE 0 END")
            .arg(QLatin1String(kind), QLatin1String(column));
    };
    return {part("I", "MOVCAN1"), part("I", "MOVCAN2"), part("E", "MOVCAN1"), part("E", "MOVCAN2")};
}

}  // namespace stock
