#include "platform/ui/TitleSort.h"

#include <QRegularExpression>
#include <QStringList>

namespace vx::ui {

QString titleSortText(const QString &currentSort, const QString &fieldName)
{
    static const QRegularExpression separators(QStringLiteral("[;,]"));
    const QString firstTerm = currentSort.section(separators, 0, 0).simplified();
    const QStringList words = firstTerm.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString firstField = words.value(0);
    firstField.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    const bool descending = words.size() > 1 && words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    const bool sortedAscendingByIt = !descending && firstField.compare(fieldName, Qt::CaseInsensitive) == 0;
    return fieldName + (sortedAscendingByIt ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
}

}  // namespace vx::ui
