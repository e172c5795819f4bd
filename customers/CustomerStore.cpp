#include "customers/CustomerStore.h"

#include "data/RowWriter.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"

#include <QSqlQuery>

#include <memory>

namespace customers {

namespace {

const QString busyMessage = QStringLiteral("Archivos ocupados, intente en unos instantes.");
const QString failedMessage =
    QStringLiteral("No se pudo concluir el proceso. \r\nIntente nuevamente o aguarde unos instantes...");
const QString balanceNote = QStringLiteral(" - Saldo Modificado el ");
constexpr int observationsSize = 50;

// The columns the window writes, in the order of customerValues().
const QStringList enteredColumns{QStringLiteral("CLICOD"), QStringLiteral("CLIAPE"), QStringLiteral("CLIDIR"),
                                 QStringLiteral("CLIC_P"), QStringLiteral("CLILOC"), QStringLiteral("CLIPRO"),
                                 QStringLiteral("CLITEL"), QStringLiteral("CLICEL"), QStringLiteral("CLIMAIL"),
                                 QStringLiteral("CLITDOC"), QStringLiteral("CLINDOC"), QStringLiteral("CLIIVA"),
                                 QStringLiteral("CLICUI"), QStringLiteral("CLIFEC"), QStringLiteral("CLIOBS")};

QVariantList customerValues(const Customer &c)
{
    return {c.code,         c.name,           c.address,         c.postcode,
            c.town,         c.province,       c.phone,           c.mobile,
            c.mail,         c.documentType,   c.documentNumber,  c.taxCondition,
            c.taxNumber,    vx::naiveDateTime(c.date), c.observations};
}

std::unique_ptr<vx::Transaction> begin(vx::Connection &connection)
{
    if (connection.inTransaction())
        throw CustomerError(CustomerError::Kind::Busy, busyMessage);
    try {
        return std::make_unique<vx::Transaction>(connection);
    } catch (const vx::DbError &) {
        throw CustomerError(CustomerError::Kind::Busy, busyMessage);
    }
}

// Runs the recording's steps; a refusal passes as it is, anything else becomes the failure
// message with its cause. The transaction rolls back when the steps throw.
template <typename Steps>
auto guarded(Steps steps)
{
    try {
        return steps();
    } catch (const CustomerError &) {
        throw;
    } catch (const vx::DbError &failure) {
        throw CustomerError(CustomerError::Kind::Failed, failedMessage + QStringLiteral("\r\n") + failure.message());
    } catch (const std::exception &) {
        throw CustomerError(CustomerError::Kind::Failed, failedMessage);
    }
}

// The row identity of the first customer with the code, or -1.
qint64 rowOf(vx::Connection &connection, int code)
{
    const QVariant id = connection.scalar(
        QStringLiteral("SELECT CLIUNO FROM CLIENTE WHERE CLICOD = ? ORDER BY CLIUNO LIMIT 1"), {code});
    return id.isValid() ? id.toLongLong() : -1;
}

// Sets columns of one row, each value in its column's stored form and within its size.
void updateRow(vx::Connection &connection, qint64 id, const QStringList &columns, const QVariantList &values)
{
    const vx::TableDef *table = connection.schema()->table(QStringLiteral("CLIENTE"));
    QStringList assignments;
    QVariantList params;
    for (int i = 0; i < columns.size(); ++i) {
        const vx::ColumnDef *column = table->column(columns[i]);
        vx::checkValueFits(*column, values[i], QStringLiteral("CLIENTE"));
        assignments << columns[i] + QStringLiteral(" = ?");
        params << connection.dialect().toDatabase(values[i], column->type);
    }
    params << id;
    connection.execute(QStringLiteral("UPDATE CLIENTE SET %1 WHERE CLIUNO = ?").arg(assignments.join(QStringLiteral(", "))),
                       params);
}

QString text(const QSqlQuery &query, int index)
{
    return query.value(index).toString();
}

} // namespace

std::optional<Customer> findCustomer(vx::Connection &connection, int code)
{
    QSqlQuery query = connection.execute(
        QStringLiteral("SELECT CLICOD, CLIAPE, CLIDIR, CLIC_P, CLILOC, CLIPRO, CLITEL, CLICEL, CLIMAIL, CLIIVA, "
                       "CLICUI, CLITDOC, CLINDOC, CLIFEC, CLISAL, CLIOBS FROM CLIENTE WHERE CLICOD = ? "
                       "ORDER BY CLIUNO LIMIT 1"),
        {code});
    if (!query.next())
        return std::nullopt;
    Customer c;
    c.code = query.value(0).toInt();
    c.name = text(query, 1);
    c.address = text(query, 2);
    c.postcode = text(query, 3);
    c.town = text(query, 4);
    c.province = text(query, 5);
    c.phone = text(query, 6);
    c.mobile = text(query, 7);
    c.mail = text(query, 8);
    c.taxCondition = text(query, 9);
    c.taxNumber = text(query, 10);
    c.documentType = text(query, 11);
    c.documentNumber = query.value(12).toInt();
    c.date = connection.dialect().fromDatabase(query.value(13), vx::FieldType::DateTime).toDateTime().date();
    c.balance = query.value(14).toDouble();
    c.observations = text(query, 15);
    return c;
}

int nextCustomerCode(vx::Connection &connection)
{
    const QVariant highest = connection.scalar(QStringLiteral("SELECT MAX(CLICOD) FROM CLIENTE"));
    return highest.isNull() ? 1 : highest.toInt() + 1;
}

std::optional<int> namesakeCode(vx::Connection &connection, const QString &name, int exceptCode)
{
    // The index on the name finds it; names stored with blanks around them are caught as well.
    const QString trimmed = name.trimmed();
    const QVariant code = connection.scalar(
        QStringLiteral("SELECT CLICOD FROM CLIENTE WHERE (CLIAPE = ? OR TRIM(CLIAPE) = ?) AND CLICOD <> ? "
                       "ORDER BY CLIUNO LIMIT 1"),
        {trimmed, trimmed, exceptCode});
    if (!code.isValid())
        return std::nullopt;
    return code.toInt();
}

std::optional<QString> withBalanceNote(const QString &observations, const QString &dateText)
{
    const qsizetype earlier = observations.indexOf(balanceNote);
    const QString kept = earlier < 0 ? observations : observations.left(earlier);
    const QString out = kept + balanceNote + dateText;
    if (out.size() > observationsSize)
        return std::nullopt;
    return out;
}

SaveResult saveCustomer(vx::Connection &connection, const SaveRequest &request)
{
    const std::unique_ptr<vx::Transaction> transaction = begin(connection);
    return guarded([&] {
        SaveResult result;
        Customer customer = request.customer;
        const qint64 id = rowOf(connection, customer.code);
        if (id >= 0 && request.origin == SaveRequest::Origin::Proposed && !request.modify) {
            customer.code = nextCustomerCode(connection);
            if (customer.code > highestCode)
                throw CustomerError(CustomerError::Kind::Refused,
                                    QStringLiteral("No quedan codigos de cliente libres (el mayor es %1).").arg(highestCode));
            result.movedToFreeCode = true;
        } else if (id >= 0 && !request.modify) {
            throw CustomerError(CustomerError::Kind::Refused,
                                QStringLiteral("Otra estacion grabo el cliente con Codigo %1 mientras tanto. "
                                               "Revise los datos y grabe nuevamente.")
                                    .arg(customer.code));
        }
        result.code = customer.code;
        if (id >= 0 && request.modify) {
            QStringList columns = enteredColumns;
            QVariantList values = customerValues(customer);
            if (request.changeBalance) {
                columns << QStringLiteral("CLISAL");
                values << customer.balance;
            }
            updateRow(connection, id, columns, values);
        } else {
            data::RowWriter(connection).insert(QStringLiteral("CLIENTE"), QStringList(enteredColumns) << QStringLiteral("CLISAL"),
                                               customerValues(customer) << customer.balance);
            result.added = true;
        }
        transaction->commit();
        return result;
    });
}

std::optional<QString> customerUse(vx::Connection &connection, int code)
{
    if (code == walkInCustomer)
        return QStringLiteral("Cliente reservado para CONSUMIDOR FINAL.");
    if (connection.scalar(QStringLiteral("SELECT 1 FROM CLICOM WHERE COMCLI = ? LIMIT 1"), {code}).isValid())
        return QStringLiteral("Tiene ventas registradas.");
    if (connection.scalar(QStringLiteral("SELECT 1 FROM EGRESOS WHERE EGRCLI = ? LIMIT 1"), {code}).isValid())
        return QStringLiteral("Tiene movientos de Egresos registrados.");
    return std::nullopt;
}

void deleteCustomer(vx::Connection &connection, int code)
{
    const std::unique_ptr<vx::Transaction> transaction = begin(connection);
    guarded([&] {
        if (const std::optional<QString> use = customerUse(connection, code))
            throw CustomerError(CustomerError::Kind::Refused, *use);
        connection.execute(QStringLiteral("DELETE FROM CLIENTE WHERE CLICOD = ?"), {code});
        transaction->commit();
        return 0;
    });
}

void storeObservations(vx::Connection &connection, int code, const QString &observations)
{
    if (observations.size() > observationsSize)
        throw CustomerError(CustomerError::Kind::Refused,
                            QStringLiteral("Las observaciones admiten hasta %1 caracteres.").arg(observationsSize));
    const std::unique_ptr<vx::Transaction> transaction = begin(connection);
    guarded([&] {
        connection.execute(QStringLiteral("UPDATE CLIENTE SET CLIOBS = ? WHERE CLICOD = ?"), {observations, code});
        transaction->commit();
        return 0;
    });
}

} // namespace customers
