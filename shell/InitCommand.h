#pragma once

#include <QStringList>

// "vendrix init [--demo] [--admin-password PASSWORD] [--provider postgresql --host ... --port ...
// --database ... --user ... [--password ...]]": creates the shop database and its data-link file.
// Asks for the administrator's password on the terminal when it is not given. Returns the
// process exit code.
int runInitCommand(const QStringList &arguments);

// "vendrix copy-db FROM.udl TO.udl": copies every table of one shop database into another, empty
// one, printing a line per table. Returns the process exit code.
int runCopyDbCommand(const QStringList &arguments);
