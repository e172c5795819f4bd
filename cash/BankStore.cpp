#include "cash/BankStore.h"

#include "data/RowWriter.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QSqlQuery>

namespace cash {

namespace {

int nextCode(vx::Connection &connection, const QString &statement)
{
    const QVariant highest = connection.scalar(statement);
    return highest.isNull() ? 1 : qRound64(highest.toDouble()) + 1;
}

// Runs the writing steps in one transaction; a database failure rolls back and is said with
// `failure` and its cause.
template <typename Steps>
void written(vx::Connection &connection, const QString &failure, Steps steps)
{
    try {
        vx::Transaction transaction(connection);
        steps();
        transaction.commit();
    } catch (const vx::DbError &error) {
        throw BankError(failure + QStringLiteral("\r\n") + error.message());
    }
}

} // namespace

std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

int nextBankCode(vx::Connection &connection)
{
    return nextCode(connection, QStringLiteral("SELECT MAX(BANCOD) FROM BANCO"));
}

std::optional<QString> bankName(vx::Connection &connection, int code)
{
    const QVariant name =
        connection.scalar(QStringLiteral("SELECT BANDES FROM BANCO WHERE BANCOD = ? ORDER BY BANDES LIMIT 1"), {double(code)});
    return name.isValid() ? std::optional<QString>(name.toString()) : std::nullopt;
}

std::optional<int> firstBankCodeStartingWith(vx::Connection &connection, const QString &digits)
{
    // Codes are compared as the digits the operator sees, so "1" finds 1 before 10 and 12.
    QSqlQuery query = connection.execute(QStringLiteral("SELECT DISTINCT BANCOD FROM BANCO ORDER BY BANCOD"));
    while (query.next()) {
        const qint64 code = qRound64(query.value(0).toDouble());
        if (QString::number(code).startsWith(digits))
            return int(code);
    }
    return std::nullopt;
}

void addBank(vx::Connection &connection, int code, const QString &name)
{
    written(connection, QStringLiteral("No se pudo completar el proceso."), [&] {
        data::RowWriter(connection).insert(QStringLiteral("BANCO"), {QStringLiteral("BANCOD"), QStringLiteral("BANDES")},
                                           {double(code), name});
    });
}

int nextAccountCode(vx::Connection &connection)
{
    return nextCode(connection, QStringLiteral("SELECT MAX(CTACOD) FROM CTAPROP"));
}

void addAccount(vx::Connection &connection, const OwnAccount &account)
{
    written(connection, QStringLiteral("No se pudo completar el proceso."), [&] {
        data::RowWriter(connection).insert(
            QStringLiteral("CTAPROP"),
            {QStringLiteral("CTANRO"), QStringLiteral("CTABCO"), QStringLiteral("CTADES"), QStringLiteral("CTACOD")},
            {account.number, account.bank, account.name, account.code});
    });
}

QStringList accountNumbers(vx::Connection &connection)
{
    QStringList numbers;
    QSqlQuery query = connection.execute(QStringLiteral("SELECT CTANRO FROM CTAPROP ORDER BY CTABCO, Id"));
    while (query.next())
        numbers << query.value(0).toString();
    return numbers;
}

QString accountBankName(vx::Connection &connection, const QString &accountNumber)
{
    if (accountNumber.isEmpty())
        return {};
    const QVariant bank =
        connection.scalar(QStringLiteral("SELECT CTABCO FROM CTAPROP WHERE CTANRO = ? ORDER BY Id LIMIT 1"), {accountNumber});
    if (!bank.isValid() || bank.isNull())
        return {};
    return bankName(connection, bank.toInt()).value_or(QString());
}

int nextCardCode(vx::Connection &connection)
{
    return nextCode(connection, QStringLiteral("SELECT MAX(TARCOD) FROM TARJETAS"));
}

void addCard(vx::Connection &connection, const CardEntry &card)
{
    written(connection, QStringLiteral("No se pudo completar la grabación..."), [&] {
        data::RowWriter(connection).insert(QStringLiteral("TARJETAS"),
                                           {QStringLiteral("TARCOD"), QStringLiteral("TARNOM"), QStringLiteral("TARBCO"),
                                            QStringLiteral("TARDIA"), QStringLiteral("TARCTA")},
                                           {double(card.code), card.name, accountBankName(connection, card.account),
                                            card.days, card.account});
    });
}

} // namespace cash
