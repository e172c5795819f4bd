#pragma once

#include <QStringList>

// "vendrix upgrade [ENLACE.udl]": brings the shop database the data-link file names (by default
// the workstation's) to this program's version of the tables. Returns the process exit code.
int runUpgradeCommand(const QStringList &arguments);
