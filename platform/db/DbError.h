#pragma once

#include "platform/VxPlatformExport.h"

#include <QString>

#include <stdexcept>

class QSqlError;

namespace vx {

// A failure of the data layer. The message is Spanish and meant for the operator: it names the
// table, field or file involved and the cause. The data layer never shows it; windows decide.
class VXPLATFORM_EXPORT DbError : public std::runtime_error {
public:
    // What kind of failure it was, so that callers can tell a lock worth waiting out from a full
    // disk or a lost server.
    enum class Kind {
        Other,
        ConnectionLost,   // the server went away and could not be reached again
        NotRecorded,      // the server went away inside a transaction: rolled back, connection back
        DiskFull,
        ReadOnly,
        Locked,
        Corrupt,
        NotADatabase,
        Unreachable,      // the server cannot be reached or refused the login
        NotAShop,         // a database, but not one of the schema, or of another version of it
    };

    explicit DbError(const QString &message, Kind kind = Kind::Other, QString cause = {});
    QString message() const { return m_message; }
    Kind kind() const { return m_kind; }
    // The engine's reason in the operator's words ("El disco está lleno."), to be added after a
    // window's own message; empty when the reason is not one the program knows.
    QString cause() const { return m_cause; }

private:
    QString m_message;
    Kind m_kind;
    QString m_cause;
};

// The engine's reason for a failed statement, told in Spanish.
struct EngineCause {
    DbError::Kind kind = DbError::Kind::Other;
    QString text;  // empty when the reason is not one the program knows
};

// Translates the common SQLite result codes and PostgreSQL states (and, where a driver gives no
// code, their English texts) into one cause the operator can act on.
VXPLATFORM_EXPORT EngineCause engineCause(const QSqlError &error);

// The cause of any failure to add after a window's own message: the Spanish cause of a database
// failure, nothing for other failures.
VXPLATFORM_EXPORT QString causeOf(const std::exception &failure);

}  // namespace vx
