#pragma once

#include "backup/Backup.h"

#include <QString>

// The copy of an SQLite shop, on its own connections so that it may run on any thread.
namespace backup {

// The operator's words for a system error number ("El disco está lleno.").
QString systemCause(int error);

// Copies the shop page by page into `partial` (an existing empty file) as it stood at one moment,
// while other connections keep writing, and checks that every page of the copy is sound. `source`
// is the file name (or "file:" address) the shop was opened with; `readOnly` when nothing may be
// written to it. The copy is not synced to the disk. Throws vx::DbError with the cause.
void copySqliteFile(const QString &source, bool readOnly, const QString &partial, const Progress &progress);

}  // namespace backup
