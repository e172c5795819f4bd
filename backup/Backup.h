#pragma once

#include "backup/PgTools.h"

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
// Told, from whichever thread does it, the moment each part of an SQLite copy begins or ends
// ("pages copied", "sync ended", ...): for measuring where a copy spends its time.
using Milestone = std::function<void(const char *)>;

struct CopyMade {
    QString path;
    qint64 bytes = 0;
};

// What a copy is made from, read from the open shop's connection on that connection's thread; the
// copy itself then works with connections of its own, on any thread, beside the shop's connection
// that may be in use meanwhile.
struct CopySource {
    // Implicit: wherever a copy is asked for, the shop's connection says what to copy.
    CopySource(vx::Connection &shop);  // NOLINT(google-explicit-constructor)

    bool sqlite = true;
    QString sqliteFile;  // the file name, or "file:" address, the shop was opened with
    bool readOnly = false;
    pgtools::Server server;
    int serverMajorVersion = 0;
    Milestone milestone;  // none unless someone measures the copy
};

// "Copias" in the user folder: where the menu command and the automatic copies put theirs.
QString defaultFolder();
// "12,3 MB", for the operator.
QString sizeText(qint64 bytes);

// Copies the shop into the folder (created if missing) as "Vendrix AAAA-MM-DD HHMMSS.db" (SQLite:
// the file's pages as they stood at one moment, every page of the copy then proven sound by the
// engine's check) or ".dump" (PostgreSQL: the server's own dump in its custom format, read back to check
// it). The copy is written under a temporary name and only renamed once whole and checked, so
// no half-written file ever carries a copy's name; when anything fails nothing is left in the
// folder and the shop is untouched. Throws vx::DbError with the Spanish reason.
CopyMade makeCopy(const CopySource &shop, const QString &folder, const Progress &progress,
                  const QDateTime &when = QDateTime::currentDateTime());

// A copy into the default folder, then the folder's old copies removed by the keeping rule
// (backup/CopyFiles.h). The cash closing runs it after a closing was recorded; the caller shows
// the failure, if any: the closing stands either way.
CopyMade automaticCopy(const CopySource &shop, const Progress &progress = {},
                       const QDateTime &when = QDateTime::currentDateTime());

// The automatic copy of the first start of a day: made only when the default folder holds no copy
// of that day yet.
std::optional<CopyMade> copyOfTheDay(const CopySource &shop, const Progress &progress = {},
                                     const QDateTime &when = QDateTime::currentDateTime());

}  // namespace backup
