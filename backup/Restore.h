#pragma once

#include "backup/Backup.h"

#include <QTemporaryDir>

#include <memory>

namespace vx {
class Connection;
}

namespace backup {

// Opens an SQLite copy for reading, through a private duplicate in `work`, so that nothing ever
// changes the copy itself. Refuses a file that is not a copy of a shop of this program's version.
// Throws vx::DbError.
std::unique_ptr<vx::Connection> openCopy(const QString &copyFile, const QTemporaryDir &work);

// Puts a backup copy back into an empty database, never over a shop with rows. The copy is checked
// first (the engine's integrity check for an SQLite copy, the archive's table of contents for a
// PostgreSQL one, and the version of its tables). With `toLink` naming an existing data-link file,
// the copy goes into the database it names, which must hold no rows. Otherwise a new database is
// made: the one `newConnectionString` names, by default an SQLite file "Vendrix.db" beside the
// data-link file, and `toLink` is written once the copy is in. An SQLite copy goes to either engine
// (through the database copy of "vendrix copy-db"); a PostgreSQL copy to a PostgreSQL database.
// When anything fails, nothing is written. Returns the database restored into.
QString restoreCopy(const QString &copyFile, const QString &toLink, const QString &newConnectionString,
                    const Progress &progress);

}  // namespace backup
