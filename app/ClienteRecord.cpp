#include "app/ClienteRecord.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/Field.h"
#include "platform/db/SchemaTypes.h"

#include <QSqlQuery>

namespace app {

const QStringList &clienteColumns()
{
    static const QStringList columns{QStringLiteral("CLICOD"), QStringLiteral("CLIAPE"), QStringLiteral("CLIDIR"),
                                     QStringLiteral("CLIC_P"), QStringLiteral("CLILOC"), QStringLiteral("CLIPRO"),
                                     QStringLiteral("CLITEL"), QStringLiteral("CLICEL"), QStringLiteral("CLIMAIL"),
                                     QStringLiteral("CLIIVA"), QStringLiteral("CLICUI"), QStringLiteral("CLITDOC"),
                                     QStringLiteral("CLINDOC"), QStringLiteral("CLIFEC"), QStringLiteral("CLIOBS")};
    return columns;
}

QVariantList clienteValues(const ClienteRecord &r)
{
    return {r.code,     r.name,         r.address,   r.postcode,     r.town,
            r.province, r.phone,        r.mobile,    r.mail,         r.taxCondition,
            r.taxNumber, r.documentType, r.documentNumber, vx::naiveDateTime(r.date), r.observations};
}

std::optional<ClienteRecord> findCliente(vx::Connection &connection, const QString &table, int code)
{
    QSqlQuery query = connection.execute(
        QStringLiteral("SELECT CLICOD, CLIAPE, CLIDIR, CLIC_P, CLILOC, CLIPRO, CLITEL, CLICEL, CLIMAIL, CLIIVA, "
                       "CLICUI, CLITDOC, CLINDOC, CLIFEC, CLISAL, CLIOBS FROM %1 WHERE CLICOD = ? "
                       "ORDER BY CLIUNO LIMIT 1")
            .arg(table),
        {code});
    if (!query.next())
        return std::nullopt;
    const auto text = [&](int index) { return query.value(index).toString(); };
    ClienteRecord r;
    r.code = query.value(0).toInt();
    r.name = text(1);
    r.address = text(2);
    r.postcode = text(3);
    r.town = text(4);
    r.province = text(5);
    r.phone = text(6);
    r.mobile = text(7);
    r.mail = text(8);
    r.taxCondition = text(9);
    r.taxNumber = text(10);
    r.documentType = text(11);
    r.documentNumber = query.value(12).toInt();
    r.date = connection.dialect().fromDatabase(query.value(13), vx::FieldType::DateTime).toDateTime().date();
    r.balance = query.value(14).toDouble();
    r.observations = text(15);
    return r;
}

ClienteRecord clienteAt(const vx::Dataset &cursor)
{
    const auto field = [&](const char *name) { return cursor.fieldByName(QLatin1String(name)); };
    ClienteRecord r;
    r.code = field("CLICOD")->asInteger();
    r.name = field("CLIAPE")->asString();
    r.address = field("CLIDIR")->asString();
    r.postcode = field("CLIC_P")->asString();
    r.town = field("CLILOC")->asString();
    r.province = field("CLIPRO")->asString();
    r.phone = field("CLITEL")->asString();
    r.mobile = field("CLICEL")->asString();
    r.mail = field("CLIMAIL")->asString();
    r.taxCondition = field("CLIIVA")->asString();
    r.taxNumber = field("CLICUI")->asString();
    r.documentType = field("CLITDOC")->asString();
    r.documentNumber = field("CLINDOC")->asInteger();
    r.date = field("CLIFEC")->asDateTime().date();
    r.balance = field("CLISAL")->asFloat();
    r.observations = field("CLIOBS")->asString();
    return r;
}

qint64 clienteRowOf(vx::Connection &connection, const QString &table, int code)
{
    const QVariant id = connection.scalar(
        QStringLiteral("SELECT CLIUNO FROM %1 WHERE CLICOD = ? ORDER BY CLIUNO LIMIT 1").arg(table), {code});
    return id.isValid() && !id.isNull() ? id.toLongLong() : -1;
}

int nextClienteCode(vx::Connection &connection, const QString &table)
{
    const QVariant highest = connection.scalar(QStringLiteral("SELECT MAX(CLICOD) FROM %1").arg(table));
    return highest.isNull() ? 1 : highest.toInt() + 1;
}

void updateCliente(vx::Connection &connection, const QString &table, qint64 id, const QStringList &columns,
                   const QVariantList &values)
{
    const vx::TableDef *def = connection.schema()->table(table);
    QStringList assignments;
    QVariantList params;
    for (int i = 0; i < columns.size(); ++i) {
        const vx::ColumnDef *column = def->column(columns[i]);
        vx::checkValueFits(*column, values[i], table);
        assignments << columns[i] + QStringLiteral(" = ?");
        params << connection.dialect().toDatabase(values[i], column->type);
    }
    params << id;
    connection.execute(
        QStringLiteral("UPDATE %1 SET %2 WHERE CLIUNO = ?").arg(table, assignments.join(QStringLiteral(", "))), params);
}

} // namespace app
