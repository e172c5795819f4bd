#pragma once

#include <QDateTime>
#include <QStringList>

#include <optional>

// The names of the shop's backup copies and the rule that decides which ones are kept.
namespace backup {

// "Vendrix 2026-12-08 201500.db" (an SQLite copy) or ".dump" (a PostgreSQL copy); a second copy
// within the same second gets "-2", "-3", ... before the extension.
QString copyFileName(const QDateTime &when, const QString &extension, int attempt = 1);
// The moment a copy's file name tells; nothing for any other file.
std::optional<QDateTime> copyTime(const QString &fileName);

// Which of the copies named must go, by the rule the README states: every copy of the newest day
// stays; of each earlier day only its last copy, for the 30 most recent days that have copies;
// before those, the last copy of each month, for ever. Names that are not copies never go.
QStringList copiesToRemove(const QStringList &fileNames);

// Applies the rule to the copies in the folder; returns the names removed. A copy that cannot be
// removed is left and not reported.
QStringList pruneCopies(const QString &folder);

}  // namespace backup
