#include "platform/db/DbError.h"

#include <QSqlError>

#include <array>

namespace vx {

DbError::DbError(const QString &message, Kind kind, QString cause)
    : std::runtime_error(message.toStdString()), m_message(message), m_kind(kind), m_cause(std::move(cause))
{
}

namespace {

using Kind = DbError::Kind;

EngineCause known(Kind kind)
{
    switch (kind) {
    case Kind::DiskFull: return {kind, QStringLiteral("El disco está lleno.")};
    case Kind::ReadOnly: return {kind, QStringLiteral("La base de datos es de sólo lectura: no se puede grabar en ella.")};
    case Kind::Locked:
        return {kind, QStringLiteral("La base de datos está ocupada por otro puesto; intente en unos instantes.")};
    case Kind::Corrupt: return {kind, QStringLiteral("La base de datos está dañada.")};
    case Kind::NotADatabase: return {kind, QStringLiteral("El archivo no es una base de datos.")};
    case Kind::ConnectionLost: return {kind, QStringLiteral("Se perdió la conexión con el servidor de datos.")};
    case Kind::Unreachable: return {kind, QStringLiteral("No se puede conectar con el servidor de datos.")};
    case Kind::NotRecorded:
    case Kind::NotAShop:
    case Kind::Other: break;
    }
    return {};
}

// SQLite's primary result codes (the low byte of an extended code).
EngineCause sqliteCause(int code)
{
    switch (code & 0xFF) {
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        return known(Kind::Locked);
    case 8: return known(Kind::ReadOnly);
    case 10: return {Kind::Other, QStringLiteral("Falló la lectura o escritura del disco.")};
    case 11: return known(Kind::Corrupt);
    case 13: return known(Kind::DiskFull);
    case 14: return {Kind::Other, QStringLiteral("No se puede abrir el archivo de la base de datos.")};
    case 23: return {Kind::Other, QStringLiteral("No hay permiso para usar la base de datos.")};
    case 26: return known(Kind::NotADatabase);
    default: return {};
    }
}

// PostgreSQL's SQLSTATE codes, by class where the class says enough.
EngineCause postgresCause(const QString &state)
{
    if (state.startsWith(QLatin1String("08")) || state == QLatin1String("57P01") || state == QLatin1String("57P02"))
        return known(Kind::ConnectionLost);
    if (state == QLatin1String("57P03"))
        return known(Kind::Unreachable);
    if (state == QLatin1String("53100"))
        return known(Kind::DiskFull);
    if (state.startsWith(QLatin1String("53")))
        return {Kind::Other, QStringLiteral("Al servidor de datos le faltan recursos (memoria o conexiones).")};
    if (state == QLatin1String("25006"))
        return known(Kind::ReadOnly);
    if (state == QLatin1String("55P03") || state == QLatin1String("40P01") || state == QLatin1String("40001"))
        return known(Kind::Locked);
    if (state.startsWith(QLatin1String("XX00")))
        return known(Kind::Corrupt);
    if (state == QLatin1String("3D000"))
        return {Kind::Unreachable, QStringLiteral("La base de datos no existe en el servidor.")};
    if (state.startsWith(QLatin1String("28")))
        return {Kind::Unreachable, QStringLiteral("El servidor de datos rechazó el usuario o la clave.")};
    if (state == QLatin1String("42501"))
        return {Kind::Other, QStringLiteral("No hay permiso para usar la base de datos.")};
    return {};
}

// Drivers that report no code (a connection that failed or died) still say why in English.
EngineCause textCause(const QString &text)
{
    struct Phrase {
        const char *english;
        Kind kind;
    };
    static constexpr std::array phrases{
        Phrase{"database or disk is full", Kind::DiskFull},
        Phrase{"No space left on device", Kind::DiskFull},
        Phrase{"could not extend file", Kind::DiskFull},
        Phrase{"readonly database", Kind::ReadOnly},
        Phrase{"read-only transaction", Kind::ReadOnly},
        Phrase{"database is locked", Kind::Locked},
        Phrase{"database table is locked", Kind::Locked},
        Phrase{"disk image is malformed", Kind::Corrupt},
        Phrase{"file is not a database", Kind::NotADatabase},
        Phrase{"server closed the connection", Kind::ConnectionLost},
        Phrase{"terminating connection", Kind::ConnectionLost},
        Phrase{"no connection to the server", Kind::ConnectionLost},
        Phrase{"connection to server was lost", Kind::ConnectionLost},
        Phrase{"could not receive data from server", Kind::ConnectionLost},
        Phrase{"could not send data to server", Kind::ConnectionLost},
        Phrase{"Connection refused", Kind::Unreachable},
        Phrase{"could not connect to server", Kind::Unreachable},
        Phrase{"timeout expired", Kind::Unreachable},
        Phrase{"could not translate host name", Kind::Unreachable},
        Phrase{"No route to host", Kind::Unreachable},
        Phrase{"the database system is starting up", Kind::Unreachable},
        Phrase{"the database system is shutting down", Kind::Unreachable},
    };
    for (const Phrase &phrase : phrases) {
        if (text.contains(QLatin1String(phrase.english), Qt::CaseInsensitive))
            return known(phrase.kind);
    }
    return {};
}

}  // namespace

EngineCause engineCause(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    EngineCause cause;
    bool numeric = false;
    const int number = code.toInt(&numeric);
    if (numeric && code.size() < 5)
        cause = sqliteCause(number);
    else if (!code.isEmpty())
        cause = postgresCause(code);
    if (cause.text.isEmpty())
        cause = textCause(error.databaseText() + QLatin1Char('\n') + error.driverText());
    return cause;
}

QString causeOf(const std::exception &failure)
{
    if (const auto *db = dynamic_cast<const DbError *>(&failure))
        return db->cause();
    return {};
}

}  // namespace vx
