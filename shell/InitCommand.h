#pragma once

#include <QStringList>

// "vendrix init [--demo] [--admin-password PASSWORD] [--provider postgresql --host ... --port ...
// --database ... --user ... [--password ...]]": creates the shop database and its data-link file.
// Asks for the administrator's password on the terminal when it is not given. Returns the
// process exit code.
int runInitCommand(const QStringList &arguments);

// "vendrix copy-db FROM.udl TO.udl [--provider ... ]": copies every table of one shop database
// into another, empty one, printing a line per table. With the options of a new database, creates
// it and writes TO.udl naming it. Returns the process exit code.
int runCopyDbCommand(const QStringList &arguments);
