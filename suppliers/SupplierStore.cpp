#include "suppliers/SupplierStore.h"

#include "data/RowWriter.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/SchemaTypes.h"
#include "suppliers/SupplierRecording.h"

#include <QSqlQuery>

namespace suppliers {

namespace {

// The columns the window writes, in the order of enteredValues(); CLISAL is not among them.
const QStringList enteredColumns{QStringLiteral("CLICOD"), QStringLiteral("CLIAPE"), QStringLiteral("CLIDIR"),
                                 QStringLiteral("CLIC_P"), QStringLiteral("CLILOC"), QStringLiteral("CLIPRO"),
                                 QStringLiteral("CLITEL"), QStringLiteral("CLICEL"), QStringLiteral("CLIMAIL"),
                                 QStringLiteral("CLIIVA"), QStringLiteral("CLICUI"), QStringLiteral("CLITDOC"),
                                 QStringLiteral("CLINDOC"), QStringLiteral("CLIFEC"), QStringLiteral("CLIOBS")};

QVariantList enteredValues(const Supplier &s)
{
    return {s.code,         s.name,      s.address,      s.postcode,       s.town,
            s.province,     s.phone,     s.mobile,       s.mail,           s.taxCondition,
            s.taxNumber,    s.documentType, s.documentNumber, vx::naiveDateTime(s.date), s.observations};
}

qint64 rowOf(vx::Connection &connection, int code)
{
    const QVariant id = connection.scalar(
        QStringLiteral("SELECT CLIUNO FROM PROVEEDORES WHERE CLICOD = ? ORDER BY CLIUNO LIMIT 1"), {code});
    return id.isValid() && !id.isNull() ? id.toLongLong() : -1;
}

void updateRow(vx::Connection &connection, qint64 id, const Supplier &supplier)
{
    const vx::TableDef *table = connection.schema()->table(QStringLiteral("PROVEEDORES"));
    const QVariantList values = enteredValues(supplier);
    QStringList assignments;
    QVariantList params;
    for (int i = 0; i < enteredColumns.size(); ++i) {
        const vx::ColumnDef *column = table->column(enteredColumns[i]);
        vx::checkValueFits(*column, values[i], QStringLiteral("PROVEEDORES"));
        assignments << enteredColumns[i] + QStringLiteral(" = ?");
        params << connection.dialect().toDatabase(values[i], column->type);
    }
    params << id;
    connection.execute(
        QStringLiteral("UPDATE PROVEEDORES SET %1 WHERE CLIUNO = ?").arg(assignments.join(QStringLiteral(", "))), params);
}

} // namespace

std::optional<Supplier> findSupplier(vx::Connection &connection, int code)
{
    QSqlQuery query = connection.execute(
        QStringLiteral("SELECT CLICOD, CLIAPE, CLIDIR, CLIC_P, CLILOC, CLIPRO, CLITEL, CLICEL, CLIMAIL, CLIIVA, "
                       "CLICUI, CLITDOC, CLINDOC, CLIFEC, CLISAL, CLIOBS FROM PROVEEDORES WHERE CLICOD = ? "
                       "ORDER BY CLIUNO LIMIT 1"),
        {code});
    if (!query.next())
        return std::nullopt;
    const auto text = [&](int index) { return query.value(index).toString(); };
    Supplier s;
    s.code = query.value(0).toInt();
    s.name = text(1);
    s.address = text(2);
    s.postcode = text(3);
    s.town = text(4);
    s.province = text(5);
    s.phone = text(6);
    s.mobile = text(7);
    s.mail = text(8);
    s.taxCondition = text(9);
    s.taxNumber = text(10);
    s.documentType = text(11);
    s.documentNumber = query.value(12).toInt();
    s.date = connection.dialect().fromDatabase(query.value(13), vx::FieldType::DateTime).toDateTime().date();
    s.balance = query.value(14).toDouble();
    s.observations = text(15);
    return s;
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
    const QVariant highest = connection.scalar(QStringLiteral("SELECT MAX(CLICOD) FROM PROVEEDORES"));
    return highest.isNull() ? 1 : highest.toInt() + 1;
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
        const qint64 id = rowOf(connection, supplier.code);
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
            updateRow(connection, id, supplier);
        } else {
            data::RowWriter(connection).insert(QStringLiteral("PROVEEDORES"),
                                               QStringList(enteredColumns) << QStringLiteral("CLISAL"),
                                               enteredValues(supplier) << 0.0);
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
        if (rowOf(connection, code) < 0)
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
