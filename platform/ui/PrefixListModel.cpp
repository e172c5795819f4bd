#include "platform/ui/PrefixListModel.h"

#include "platform/db/Connection.h"

#include <QSqlQuery>

#include <utility>

namespace vx::ui {

PrefixListModel::PrefixListModel(Connection *connection, PickSource source, QObject *parent)
    : QAbstractListModel(parent), m_connection(connection), m_source(std::move(source))
{
}

void PrefixListModel::setPrefix(const QString &prefix)
{
    QStringList page = readPage(prefix, QString());
    beginResetModel();
    m_prefix = prefix;
    m_more = page.size() >= m_pageSize;
    m_texts = std::move(page);
    endResetModel();
}

void PrefixListModel::forget()
{
    beginResetModel();
    m_texts.clear();
    m_more = false;
    endResetModel();
}

QStringList PrefixListModel::readPage(const QString &prefix, const QString &after) const
{
    // A range on the column rather than LIKE: both engines then walk the column's index and stop
    // after a page. The highest code point closes the range of texts that begin with the prefix.
    // Empty texts are never listed: the first page of an empty prefix starts after "".
    const bool first = after.isEmpty();
    const QString lower = first && !prefix.isEmpty() ? QStringLiteral(">=") : QStringLiteral(">");
    // The range leaves nulls out, so the plain order is the index's on every engine (PostgreSQL's
    // "nulls first" would sort the whole range instead of walking the index).
    const QString sql = QStringLiteral("SELECT DISTINCT %1 FROM %2 WHERE %1 %3 ? AND %1 < ? ORDER BY %1 LIMIT %4")
                            .arg(m_source.column, m_source.table, lower)
                            .arg(m_pageSize);
    // A null text would be bound as NULL, which no text follows.
    const QString from = first ? prefix : after;
    QSqlQuery &query = m_connection->executeCached(
        sql, {from.isNull() ? QStringLiteral("") : from, prefix + QString::fromUcs4(U"\U0010FFFF")});
    QStringList texts;
    while (query.next())
        texts << query.value(0).toString();
    query.finish();
    return texts;
}

int PrefixListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_texts.size());
}

QVariant PrefixListModel::data(const QModelIndex &index, int role) const
{
    // A combo box with no current item asks for the invalid index: no warning, no text.
    if (!index.isValid() || index.parent().isValid() || index.row() >= m_texts.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_texts.at(index.row());
    return {};
}

bool PrefixListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void PrefixListModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || !m_more || m_texts.isEmpty())
        return;
    const QStringList page = readPage(m_prefix, m_texts.constLast());
    m_more = page.size() >= m_pageSize;
    if (page.isEmpty())
        return;
    beginInsertRows({}, int(m_texts.size()), int(m_texts.size() + page.size() - 1));
    m_texts << page;
    endInsertRows();
}

}  // namespace vx::ui
