#pragma once

class QWidget;

namespace vx {
class Connection;
}

// The copies the program makes by itself or from its menu, with the wait window up meanwhile.
namespace backup {

// "UTILIDADES" / "Copia de Seguridad": a copy into the default folder, the folder tidied by the
// keeping rule, and a message with the copy's name, size and folder (or the reason it failed).
void copyFromMenu(QWidget *parent, vx::Connection &shop);

// After a cash closing was recorded: a copy, with the wait window up. A failure is told to the
// operator; the closing stands.
void copyAfterClosing(QWidget *parent, vx::Connection &shop);

// At start-up: the copy of the day, when the default folder holds none of today yet. A failure is
// told to the operator and the program starts all the same.
void copyOfTheDayAtStart(vx::Connection &shop);

}  // namespace backup
