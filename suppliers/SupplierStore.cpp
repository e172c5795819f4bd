#include "suppliers/SupplierStore.h"

#include "data/RowWriter.h"
#include "platform/db/Connection.h"
#include "suppliers/SupplierRecording.h"

#include <QSqlQuery>

namespace suppliers {

namespace {

const QString table = QStringLiteral("PROVEEDORES");

} // namespace

std::optional<Supplier> findSupplier(vx::Connection &connection, int code)
{
    return app::findCliente(connection, table, code);
}

std::optional<int> supplierCodeByName(vx::Connection &connection, const QString &name)
{
    const vx::SqlDialect &dialect = connection.dialect();
    QSqlQuery query = connection.execute(QStringLiteral("SELECT CLICOD, CLIAPE FROM PROVEEDORES WHERE %1 = %2 ORDER BY CLIUNO")
                                             .arg(dialect.upper(QStringLiteral("CLIAPE")), dialect.upper(QStringLiteral("?"))),
                                         {name.trimmed()});
    std::optional<int> found;
    while (query.next()) {
        if (!found || query.value(1).toString() == name.trimmed())
            found = query.value(0).toInt();
        if (query.value(1).toString() == name.trimmed())
            break;
    }
    return found;
}

int nextSupplierCode(vx::Connection &connection)
{
    return app::nextClienteCode(connection, table);
}

SupplierSaved saveSupplier(vx::Connection &connection, const SupplierSave &request)
{
    Supplier supplier = request.supplier;
    supplier.name = supplier.name.trimmed().toUpper();
    if (supplier.name.isEmpty())
        throw refusal(QStringLiteral("Debe ingresar el nombre del proveedor."));
    if (supplier.code < 1 || supplier.code > highestSupplierCode)
        throw refusal(QStringLiteral("El código de proveedor debe ser un número entre 1 y %1.").arg(highestSupplierCode));
    return inTransaction(connection, [&] {
        SupplierSaved result;
        const qint64 id = app::clienteRowOf(connection, table, supplier.code);
        if (id >= 0 && !request.modify) {
            if (!request.proposed)
                throw refusal(QStringLiteral("Otra estación grabó el proveedor con Código %1 mientras tanto. "
                                             "Revise los datos y grabe nuevamente.")
                                  .arg(supplier.code));
            supplier.code = nextSupplierCode(connection);
            if (supplier.code > highestSupplierCode)
                throw refusal(QStringLiteral("No quedan códigos de proveedor libres (el mayor es %1).").arg(highestSupplierCode));
            result.movedToFreeCode = true;
        }
        const QVariant namesake = connection.scalar(
            QStringLiteral("SELECT CLICOD FROM PROVEEDORES WHERE (CLIAPE = ? OR UPPER(TRIM(CLIAPE)) = ?) AND CLICOD <> ? "
                           "ORDER BY CLIUNO LIMIT 1"),
            {supplier.name, supplier.name, supplier.code});
        if (namesake.isValid() && !namesake.isNull())
            throw refusal(QStringLiteral("Ya hay un proveedor llamado %1 (Código %2).").arg(supplier.name).arg(namesake.toInt()));
        result.code = supplier.code;
        if (id >= 0 && request.modify) {
            app::updateCliente(connection, table, id, app::clienteColumns(), app::clienteValues(supplier));
        } else {
            data::RowWriter(connection).insert(QStringLiteral("PROVEEDORES"),
                                               QStringList(app::clienteColumns()) << QStringLiteral("CLISAL"),
                                               app::clienteValues(supplier) << 0.0);
            result.added = true;
        }
        connection.noteWrite();
        return result;
    });
}

std::optional<QString> supplierUse(vx::Connection &connection, int code)
{
    const QString registered = QStringLiteral("Tiene comprobantes registrados.");
    for (const QString &sql : {QStringLiteral("SELECT 1 FROM PROCOM WHERE COMCLI = ? LIMIT 1"),
                               QStringLiteral("SELECT 1 FROM PAGOS WHERE COBPRO = ? LIMIT 1"),
                               QStringLiteral("SELECT 1 FROM INGRESOS WHERE INGCLI = ? LIMIT 1")})
        if (connection.scalar(sql, {code}).isValid())
            return registered;
    return std::nullopt;
}

void deleteSupplier(vx::Connection &connection, int code)
{
    inTransaction(connection, [&] {
        if (app::clienteRowOf(connection, table, code) < 0)
            throw PaymentError(PaymentError::Kind::NoSupplier,
                               QStringLiteral("No existe un proveedor con el Código %1.").arg(code));
        if (const std::optional<QString> use = supplierUse(connection, code))
            throw refusal(*use);
        connection.execute(QStringLiteral("DELETE FROM PROVEEDORES WHERE CLICOD = ?"), {code});
        connection.noteWrite();
        return 0;
    });
}

} // namespace suppliers
