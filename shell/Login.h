#pragma once

#include <QString>

#include <optional>

namespace vx {
class Table;
}

// The login's steps on the OPERADOR table, apart from the window.
namespace Login {

struct Operator {
    int code = 0;
    int level = 0;
    QString name;
};

// The operator whose password is exactly the text (the whole value); with two operators on one
// password, the first in password order. Opens the table when it is closed and leaves it sorted
// by password. Throws vx::DbError when the table cannot be read.
std::optional<Operator> findByPassword(vx::Table &operador, const QString &password);

// "Operador: ANA - Acceso Nivel: 9"
QString statusLine(const Operator &op);

// Consecutive wrong passwords: the fourth in a row ends the program.
class FailedAttempts {
public:
    void reset() { m_count = 0; }
    // Counts one more; true when the program must now end (the count then starts again).
    bool addFailure();
    int count() const { return m_count; }

private:
    static constexpr int allowed = 3;
    int m_count = 0;
};

}  // namespace Login
