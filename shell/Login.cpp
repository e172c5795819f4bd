#include "shell/Login.h"

#include "platform/db/Table.h"

namespace Login {

std::optional<Operator> findByPassword(vx::Table &operador, const QString &password)
{
    if (!operador.active())
        operador.open();
    operador.setIndexFieldNames(QStringLiteral("OPECLA"));
    if (!operador.locate(QStringLiteral("OPECLA"), password))
        return std::nullopt;
    Operator found;
    found.code = operador.fieldByName(QStringLiteral("OPECOD"))->asInteger();
    found.level = operador.fieldByName(QStringLiteral("OPENIV"))->asInteger();
    found.name = operador.fieldByName(QStringLiteral("OPEAPE"))->asString();
    return found;
}

QString statusLine(const Operator &op)
{
    return QStringLiteral("Operador: ") + op.name + QStringLiteral(" - ") + QStringLiteral("Acceso Nivel: ")
           + QString::number(op.level);
}

bool FailedAttempts::addFailure()
{
    ++m_count;
    if (m_count <= allowed)
        return false;
    m_count = 0;
    return true;
}

}  // namespace Login
