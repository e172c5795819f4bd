#include "customers/CustomerStore.h"

#include "data/RowWriter.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"


#include <memory>

namespace customers {

namespace {

const QString busyMessage = QStringLiteral("Archivos ocupados, intente en unos instantes.");
const QString failedMessage =
    QStringLiteral("No se pudo concluir el proceso. \r\nIntente nuevamente o aguarde unos instantes...");
const QString balanceNote = QStringLiteral(" - Saldo Modificado el ");
constexpr int observationsSize = 50;

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

const QString table = QStringLiteral("CLIENTE");

} // namespace

std::optional<Customer> findCustomer(vx::Connection &connection, int code)
{
    return app::findCliente(connection, table, code);
}

int nextCustomerCode(vx::Connection &connection)
{
    return app::nextClienteCode(connection, table);
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
        const qint64 id = app::clienteRowOf(connection, table, customer.code);
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
            QStringList columns = app::clienteColumns();
            QVariantList values = app::clienteValues(customer);
            if (request.changeBalance) {
                columns << QStringLiteral("CLISAL");
                values << customer.balance;
            }
            app::updateCliente(connection, table, id, columns, values);
        } else {
            data::RowWriter(connection).insert(QStringLiteral("CLIENTE"), QStringList(app::clienteColumns()) << QStringLiteral("CLISAL"),
                                               app::clienteValues(customer) << customer.balance);
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
