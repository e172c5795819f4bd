#pragma once

#include <QStringList>

// "vendrix init [--demo] [--admin-password PASSWORD]": creates the shop database and its data-link
// file. Asks for the administrator's password on the terminal when it is not given. Returns the
// process exit code.
int runInitCommand(const QStringList &arguments);
