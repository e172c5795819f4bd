#pragma once

#include <QString>

namespace vx {
class Table;
}

// The steps of the operators window on the OPERADOR table, apart from its widgets.
namespace OperatorStore {

// What the operators window's boxes hold for a new operator.
struct NewOperator {
    QString code;
    QString name;
    QString password;
    QString passwordAgain;
    QString level;

    // Every box has text.
    bool complete() const;
};

// The highest code in code order plus 1; 1 for an empty table. Leaves the table sorted by code.
int nextCode(vx::Table &operador);

// Whether an operator already logs in with exactly this password; the table stays on that
// operator when one does. The login tells operators apart by the password alone.
bool passwordInUse(vx::Table &operador, const QString &password);

// The keys the level box lets through: the digits 1 to 9 and backspace.
bool isLevelKey(QChar key);

// The level of the operators who alone see every command, this window's among them.
inline constexpr int administratorLevel = 9;
inline constexpr const char *lastAdministratorMessage = "Debe quedar al menos un operador de nivel 9.";

// Whether deleting the current operator, or storing the level its record now holds, would leave
// the shop without an operator of level 9: nobody could open this window again.
bool removesLastAdministrator(vx::Table &operador, bool deleting);

// Appends the operator in one transaction on the table's connection. On any failure (a code or
// level that is not a whole number, a database error) nothing is stored and vx::DbError is thrown.
void add(vx::Table &operador, const NewOperator &entry);

}  // namespace OperatorStore
