#include "catalogue/ABMEmpStore.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QSqlQuery>

#include <memory>

namespace catalogue {

namespace {

const QString busyMessage = QStringLiteral("Archivos ocupados, intente en unos instantes.");
const QString saveFailedMessage = QStringLiteral("No se pudo completar el proceso...");

CatalogueKind makeKind(const char *table, const char *prefix, const QString &caption, const QString &newCaption,
                       const QString &gridTitle, const char *objectName)
{
    const QString p = QString::fromLatin1(prefix);
    CatalogueKind kind;
    kind.table = QString::fromLatin1(table);
    kind.codeField = p + QStringLiteral("COD");
    kind.descField = p + QStringLiteral("DES");
    kind.issueField = QStringLiteral("EGR") + p;
    kind.receiptField = QStringLiteral("ING") + p;
    kind.articleField = QStringLiteral("ART") + p;
    kind.caption = caption;
    kind.newCaption = newCaption;
    kind.gridTitle = gridTitle;
    kind.objectName = QString::fromLatin1(objectName);
    return kind;
}

std::unique_ptr<vx::Transaction> begin(vx::Connection &connection)
{
    if (connection.inTransaction())
        throw CatalogueError(busyMessage);
    try {
        return std::make_unique<vx::Transaction>(connection);
    } catch (const vx::DbError &) {
        throw CatalogueError(busyMessage);
    }
}

bool codeExists(vx::Connection &connection, const CatalogueKind &kind, int code)
{
    return connection
        .scalar(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? LIMIT 1").arg(kind.table, kind.codeField), {double(code)})
        .isValid();
}

} // namespace

const CatalogueKind &brandKind()
{
    static const CatalogueKind kind = [] {
        CatalogueKind k = makeKind("MARCAS", "MAR", QStringLiteral("Marcas"), QStringLiteral("Nueva Marca:"),
                                   QStringLiteral("Descripcion - Marca"), "FEmpresas");
        k.padWidth = 3;
        k.emptyStaysEmpty = true;
        k.sortOnSearchField = true;
        k.upperCaseOnNavigate = true;
        k.closeSearchField = QStringLiteral("Descripcion");
        return k;
    }();
    return kind;
}

const CatalogueKind &colourKind()
{
    static const CatalogueKind kind = makeKind("COLORES", "COL", QStringLiteral("Colores"),
                                               QStringLiteral("Nuevo Color:"), QStringLiteral("Descripcion - Color"),
                                               "FColores");
    return kind;
}

const CatalogueKind &sizeKind()
{
    static const CatalogueKind kind = [] {
        CatalogueKind k = makeKind("TALLES", "TAL", QStringLiteral("Talles"), QStringLiteral("Nuevo Taller:"),
                                   QStringLiteral("Descripcion - Talle"), "FTalles");
        k.closeClearsEntry = false;
        return k;
    }();
    return kind;
}

QString padCode(const CatalogueKind &kind, const QString &text)
{
    if (text.isEmpty() && kind.emptyStaysEmpty)
        return text;
    return text.rightJustified(kind.padWidth, QLatin1Char('0'));
}

std::optional<int> codeOf(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    for (const QChar c : trimmed) {
        if (!c.isDigit())
            return std::nullopt;
    }
    bool ok = false;
    const int code = trimmed.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return code;
}

int nextCode(vx::Connection &connection, const CatalogueKind &kind)
{
    const QVariant highest = connection.scalar(QStringLiteral("SELECT MAX(%1) FROM %2").arg(kind.codeField, kind.table));
    return highest.isNull() ? 1 : int(highest.toDouble()) + 1;
}

SavedEntry saveCatalogueEntry(vx::Connection &connection, const CatalogueKind &kind, int code,
                              const QString &description, bool proposed)
{
    const std::unique_ptr<vx::Transaction> transaction = begin(connection);
    try {
        SavedEntry saved;
        saved.code = code;
        if (codeExists(connection, kind, code)) {
            if (proposed) {
                saved.code = nextCode(connection, kind);
                saved.movedToFreeCode = true;
            } else {
                saved.replaced = true;
            }
        }
        if (saved.replaced) {
            connection.execute(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?").arg(kind.table, kind.descField, kind.codeField),
                               {description, double(code)});
        } else {
            connection.execute(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)").arg(kind.table, kind.codeField, kind.descField),
                               {double(saved.code), description});
        }
        transaction->commit();
        return saved;
    } catch (const std::exception &) {
        throw CatalogueError(saveFailedMessage);
    }
}

std::optional<QString> catalogueEntryUse(vx::Connection &connection, const CatalogueKind &kind, int code)
{
    const struct {
        const char *table;
        const QString &field;
        const char *message;
    } uses[] = {
        {"EGRESOS", kind.issueField, "Tiene movientos de Egresos registrados."},
        {"INGRESOS", kind.receiptField, "Tiene movientos de Ingresos registrados."},
        {"STOCK", kind.articleField, "Tiene articulos registrados."},
    };
    for (const auto &use : uses) {
        // One row is enough: an entry used a hundred thousand times answers as fast as one used once.
        const QString sql = QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? LIMIT 1").arg(QLatin1String(use.table), use.field);
        if (connection.scalar(sql, {double(code)}).isValid())
            return QString::fromLatin1(use.message);
    }
    return std::nullopt;
}

void deleteCatalogueEntry(vx::Connection &connection, const CatalogueKind &kind, int code)
{
    const std::unique_ptr<vx::Transaction> transaction = begin(connection);
    std::optional<QString> use;
    try {
        use = catalogueEntryUse(connection, kind, code);
    } catch (const std::exception &) {
        throw CatalogueError(QStringLiteral("No se pudo completar el proceso..."));
    }
    if (use)
        throw CatalogueError(*use);
    try {
        connection.execute(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(kind.table, kind.codeField), {double(code)});
        transaction->commit();
    } catch (const std::exception &) {
        throw CatalogueError(QStringLiteral("No se pudo completar el proceso..."));
    }
}

} // namespace catalogue
