#pragma once

#include <QStringList>

// The console commands that keep the shop safe; each returns the process exit code.
// "vendrix backup [CARPETA]": a backup copy of the workstation's shop.
int runBackupCommand(const QStringList &arguments);
// "vendrix restore COPIA [DESTINO.udl] [NUEVA]": a copy back into an empty database.
int runRestoreCommand(const QStringList &arguments);
// "vendrix check [ENLACE.udl | COPIA.db]": the shop's integrity and its rules, as a report; exit
// code 1 when anything is wrong.
int runCheckCommand(const QStringList &arguments);
