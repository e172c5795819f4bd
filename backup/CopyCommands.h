#pragma once

class QObject;
class QWidget;

namespace vx {
class Connection;
}

// The copies the program makes by itself or from its menu.
namespace backup {

// "UTILIDADES" / "Copia de Seguridad": a copy into the default folder, the folder tidied by the
// keeping rule, and a message with the copy's name, size and folder (or the reason it failed), the
// wait window up meanwhile. A copy still running in the background is waited for first.
void copyFromMenu(QWidget *parent, vx::Connection &shop);

// After a cash closing was recorded: a copy, with the wait window up (a few seconds on the largest
// shop). A failure is told to the operator; the closing stands.
void copyAfterClosing(QWidget *parent, vx::Connection &shop);

// At start-up: the copy of the day, when the default folder holds none of today yet, made in the
// background while the operator logs in and works. A failure is told to the operator when the copy
// ends; the program goes on all the same. The copy belongs to `owner`: one still running when the
// owner goes is finished first, never cut off.
void copyOfTheDayAtStart(vx::Connection &shop, QObject *owner);

// Waits for the copy running in the background, if any, to end, the wait window telling it meanwhile.
void waitForBackgroundCopy();

}  // namespace backup
