#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

namespace vx {
class Connection;
}

// Backup copies of the open shop, made while other workstations keep selling.
namespace backup {

using Progress = std::function<void(const QString &)>;

struct CopyMade {
    QString path;
    qint64 bytes = 0;
};

// "Copias" in the user folder: where the menu command and the automatic copies put theirs.
QString defaultFolder();
// "12,3 MB", for the operator.
QString sizeText(qint64 bytes);

// Copies the shop into the folder (created if missing) as "Vendrix AAAA-MM-DD HHMMSS.db" (SQLite:
// a compacted, transactionally consistent copy of the file, checked with the engine's integrity
// check) or ".dump" (PostgreSQL: the server's own dump in its custom format, read back to check
// it). The copy is written under a temporary name and only renamed once whole and checked, so
// no half-written file ever carries a copy's name; when anything fails nothing is left in the
// folder and the shop is untouched. Works beside the caller's connection, which may be in use.
// Throws vx::DbError with the Spanish reason.
CopyMade makeCopy(vx::Connection &shop, const QString &folder, const Progress &progress,
                  const QDateTime &when = QDateTime::currentDateTime());

// A copy into the default folder, then the folder's old copies removed by the keeping rule
// (backup/CopyFiles.h). The cash closing runs it after a closing was recorded; the caller shows
// the failure, if any: the closing stands either way.
CopyMade automaticCopy(vx::Connection &shop, const Progress &progress = {},
                       const QDateTime &when = QDateTime::currentDateTime());

// The automatic copy of the first start of a day: made only when the default folder holds no copy
// of that day yet.
std::optional<CopyMade> copyOfTheDay(vx::Connection &shop, const Progress &progress = {},
                                     const QDateTime &when = QDateTime::currentDateTime());

}  // namespace backup
