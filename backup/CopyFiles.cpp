#include "backup/CopyFiles.h"

#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace backup {

namespace {

constexpr int keptDays = 30;

const QRegularExpression &copyPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^Vendrix (\\d{4}-\\d{2}-\\d{2}) (\\d{6})(?:-(\\d+))?\\.(db|dump)$"));
    return pattern;
}

struct NamedCopy {
    QString name;
    QDateTime when;
    int attempt = 1;
};

}  // namespace

QString copyFileName(const QDateTime &when, const QString &extension, int attempt)
{
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    const QString again = attempt > 1 ? QStringLiteral("-%1").arg(attempt) : QString();
    return QStringLiteral("Vendrix %1%2.%3").arg(stamp, again, extension);
}

std::optional<QDateTime> copyTime(const QString &fileName)
{
    const QRegularExpressionMatch match = copyPattern().match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime when = QDateTime::fromString(match.captured(1) + match.captured(2), QStringLiteral("yyyy-MM-ddHHmmss"));
    if (!when.isValid())
        return std::nullopt;
    return when;
}

QStringList copiesToRemove(const QStringList &fileNames)
{
    QList<NamedCopy> copies;
    for (const QString &name : fileNames) {
        if (const auto when = copyTime(name)) {
            const QString attempt = copyPattern().match(name).captured(3);
            copies.append({name, *when, attempt.isEmpty() ? 1 : attempt.toInt()});
        }
    }
    // Newest first; copies of the same second in the order they were made.
    std::sort(copies.begin(), copies.end(), [](const NamedCopy &a, const NamedCopy &b) {
        return a.when != b.when ? a.when > b.when : a.attempt > b.attempt;
    });
    QSet<QString> kept;
    QSet<QDate> days;
    QSet<QPair<int, int>> months;
    const QDate newestDay = copies.isEmpty() ? QDate() : copies.first().when.date();
    for (const NamedCopy &copy : copies) {
        const QDate day = copy.when.date();
        const QPair<int, int> month(day.year(), day.month());
        if (day == newestDay) {
            kept.insert(copy.name);
        } else if (!days.contains(day) && days.size() < keptDays) {
            kept.insert(copy.name);
        } else if (!days.contains(day) && !months.contains(month)) {
            kept.insert(copy.name);
        }
        days.insert(day);
        months.insert(month);
    }
    QStringList removed;
    for (const NamedCopy &copy : copies) {
        if (!kept.contains(copy.name))
            removed << copy.name;
    }
    return removed;
}

QStringList pruneCopies(const QString &folder)
{
    const QDir dir(folder);
    QStringList removed;
    for (const QString &name : copiesToRemove(dir.entryList(QDir::Files))) {
        if (QFile::remove(dir.filePath(name)))
            removed << name;
    }
    return removed;
}

}  // namespace backup
