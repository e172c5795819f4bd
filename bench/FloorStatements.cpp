#include "bench/FloorStatements.h"

#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"

#include <QSqlError>

namespace bench {

namespace {
void check(bool ok, const QSqlQuery &query)
{
    if (!ok)
        throw vx::DbError(vx::Connection::errorText(query.lastError()));
}
}  // namespace

FloorStatements::FloorStatements(vx::Connection &connection)
    : m_db(connection.database()), m_dialect(connection.dialect())
{
}

QSqlQuery FloorStatements::prepare(const char *sql) const
{
    QSqlQuery query(m_db);
    check(query.prepare(QString::fromLatin1(sql)), query);
    return query;
}

void FloorStatements::run(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    check(query.exec(), query);
    if (query.isSelect()) {
        query.next();
        query.finish();
    }
}

int FloorStatements::nextNumber(QSqlQuery &query)
{
    check(query.exec(), query);
    const int number = query.next() ? query.value(0).toInt() + 1 : 1;
    query.finish();
    return number;
}

void FloorStatements::begin() const
{
    QSqlQuery control(m_db);
    for (const QString &statement : m_dialect.beginWriteTransaction())
        check(control.exec(statement), control);
}

void FloorStatements::commit() const
{
    QSqlQuery control(m_db);
    check(control.exec(QStringLiteral("COMMIT")), control);
}

QVariant FloorStatements::today() const
{
    return m_dialect.toDatabase(vx::naiveDateTime(QDate::currentDate()), vx::FieldType::DateTime);
}

QVariant FloorStatements::now() const
{
    return m_dialect.toDatabase(vx::naiveNow(), vx::FieldType::DateTime);
}

}  // namespace bench
