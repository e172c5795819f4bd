#include "shell/OperatorStore.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Table.h"

namespace OperatorStore {

namespace {

int wholeNumber(const QString &text, const QString &what)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw vx::DbError(QStringLiteral("%1 '%2' no es un número entero.").arg(what, text));
    return value;
}

}  // namespace

bool NewOperator::complete() const
{
    return !code.isEmpty() && !name.isEmpty() && !password.isEmpty() && !passwordAgain.isEmpty() && !level.isEmpty();
}

int nextCode(vx::Table &operador)
{
    if (!operador.active())
        operador.open();
    operador.setIndexFieldNames(QStringLiteral("OPECOD"));
    operador.last();
    return operador.fieldByName(QStringLiteral("OPECOD"))->asInteger() + 1;
}

bool passwordInUse(vx::Table &operador, const QString &password)
{
    if (!operador.active())
        operador.open();
    return operador.locate(QStringLiteral("OPECLA"), password);
}

bool isLevelKey(QChar key)
{
    return (key >= QLatin1Char('1') && key <= QLatin1Char('9')) || key == QChar(0x08);
}

bool removesLastAdministrator(vx::Table &operador, bool deleting)
{
    if (operador.state() == vx::Dataset::State::Insert)
        return false;
    vx::Connection &connection = *operador.connection();
    const QVariant row = operador.fieldByName(QStringLiteral("OPEUNO"))->value();
    const QVariant stored = connection.scalar(QStringLiteral("SELECT OPENIV FROM OPERADOR WHERE OPEUNO = ?"), {row});
    if (stored.isNull() || stored.toInt() != administratorLevel)
        return false;
    if (!deleting && operador.fieldByName(QStringLiteral("OPENIV"))->asInteger() == administratorLevel)
        return false;
    return connection
               .scalar(QStringLiteral("SELECT COUNT(*) FROM OPERADOR WHERE OPENIV = ? AND OPEUNO <> ?"),
                       {administratorLevel, row})
               .toInt()
           == 0;
}

void add(vx::Table &operador, const NewOperator &entry)
{
    if (!operador.active())
        operador.open();
    vx::Transaction transaction(*operador.connection());
    try {
        const int code = wholeNumber(entry.code, QStringLiteral("El código"));
        const int level = wholeNumber(entry.level, QStringLiteral("El nivel"));
        operador.append();
        operador.fieldByName(QStringLiteral("OPECOD"))->setAsInteger(code);
        operador.fieldByName(QStringLiteral("OPEAPE"))->setAsString(entry.name);
        operador.fieldByName(QStringLiteral("OPECLA"))->setAsString(entry.password);
        operador.fieldByName(QStringLiteral("OPENIV"))->setAsInteger(level);
        operador.post();
        transaction.commit();
    } catch (...) {
        if (operador.state() == vx::Dataset::State::Insert)
            operador.cancel();
        throw;
    }
}

}  // namespace OperatorStore
