#include "catalogue/ArticleDelete.h"

#include "data/DataModule.h"

namespace catalogue {

namespace {

bool anyRow(vx::Connection &connection, const QString &table, const QString &column, const QString &code)
{
    return !connection.scalar(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? LIMIT 1").arg(table, column), {code}).isNull();
}

// The shared cursors over the deleted rows are closed, so that none shows a row that is gone.
void closeMovementTables(TDM1 &dm)
{
    for (vx::Table *table : {dm.Egresos, dm.Ingresos, dm.Movim}) {
        table->setFiltered(false);
        if (table->active())
            table->close();
    }
}

}  // namespace

FilesBusy::FilesBusy() : vx::DbError(QStringLiteral("Archivos ocupados, intente en unos instantes.")) {}

ArticleUsage articleUsage(TDM1 &dm, const QString &code, double stock1, double stock2)
{
    vx::Connection &connection = *dm.ADOConnection1;
    ArticleUsage usage;
    usage.hasStock = stock1 != 0.0 || stock2 != 0.0;
    usage.hasMovements = anyRow(connection, QStringLiteral("EGRESOS"), QStringLiteral("EGRCMCT"), code)
                         || anyRow(connection, QStringLiteral("INGRESOS"), QStringLiteral("INGCMCT"), code);
    return usage;
}

void deleteArticle(TDM1 &dm, const QString &code, bool withMovements)
{
    vx::Connection &connection = *dm.ADOConnection1;
    if (connection.inTransaction())
        throw FilesBusy();
    vx::Table &stock = *dm.Stock;
    try {
        vx::Transaction transaction(connection);
        if (withMovements) {
            connection.execute(QStringLiteral("DELETE FROM EGRESOS WHERE EGRCMCT = ?"), {code});
            connection.execute(QStringLiteral("DELETE FROM INGRESOS WHERE INGCMCT = ?"), {code});
            connection.execute(QStringLiteral("DELETE FROM MOVIM WHERE MOVCMCT = ?"), {code});
        }
        if (!stock.active())
            stock.open();
        if (stock.fieldByName(QStringLiteral("ARTCMCT"))->asString() != code && !stock.locate(QStringLiteral("ARTCMCT"), code))
            throw vx::DbError(QStringLiteral("El articulo %1 ya no existe.").arg(code));
        stock.deleteRecord();
        transaction.commit();
    } catch (...) {
        closeMovementTables(dm);
        // The cursor shows the article again when the rollback kept it.
        try {
            stock.refresh();
        } catch (const vx::DbError &) {
        }
        throw;
    }
    closeMovementTables(dm);
}

}  // namespace catalogue
