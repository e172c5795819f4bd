#pragma once

#include "backup/Backup.h"

#include <QString>

// The copy of an SQLite shop, on its own connections so that it may run on any thread.
namespace backup {

// The operator's words for a system error number ("El disco está lleno.").
QString systemCause(int error);

// Writes what the system still holds of the file (or folder) to the disk, so that a copy reported
// made survives a power cut. Throws vx::DbError with the cause.
void syncToDisk(const QString &path, bool directory);

// Copies the shop page by page into `partial` (an existing empty file) as it stood at one moment,
// while other connections keep writing, checks that every page of the copy is sound and syncs it to
// the disk. `source` is the file name (or "file:" address) the shop was opened with; `readOnly` when
// nothing may be written to it; `milestone` is told each part's beginning and end. Throws vx::DbError with the cause.
void copySqliteFile(const QString &source, bool readOnly, const QString &partial, const Progress &progress,
                    const Milestone &milestone = {});

}  // namespace backup
